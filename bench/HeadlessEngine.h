// The main() of the benchmarks that run the whole engine headless: start it, measure, stop it;
// and the frame loop's ceiling, measured through the same path.
#pragma once

#include <benchmark/benchmark.h>

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "Engine/TheApplication.h"
#include "Engine/TheVideoSystem.h"

inline int RunBenchmarksInHeadlessEngine(int argc, char** argv)
{
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    if (!freopen("/dev/null", "w", stderr)) return 1;  // the log is not what we measure
    benchmark::Initialize(&argc, argv);
    if (!theApplication.Startup()) return 1;
    benchmark::RunSpecifiedBenchmarks();
    theApplication.RequestShutdown();
    theApplication.RunFrame();
    benchmark::Shutdown();
    return 0;
}

// Seconds of this thread's own processor time: the main thread's share of a frame, without the
// driver's rasteriser threads.
inline double MainThreadSeconds()
{
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

// One pass of the main loop as RunMainLoop makes it: the queue, the 2 ms sleep, the frame.
template <typename Frame>
void MainLoopPass(Frame frame)
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    Sleep(2);
    frame();
}

// The counters every frame benchmark reports: frames per second and the main thread's
// milliseconds a frame.
inline void ReportFrames(benchmark::State& state, double mainThreadSeconds)
{
    state.counters["frames_per_second"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["main_thread_ms"] = mainThreadSeconds * 1000.0 / double(state.iterations());
}

// The ceiling: the loop with a frame that draws nothing and presents it through the same swap.
inline void BM_CeilingFrameLoop(benchmark::State& state)
{
    const double start = MainThreadSeconds();
    for (auto _ : state) MainLoopPass([] { theVideoSystem.SwapBuffers(); });
    ReportFrames(state, MainThreadSeconds() - start);
}
