// Frames per second of the empty frame loop, headless. The 2 ms sleep before
// every frame sets the ceiling at 500 frames per second.
#include <benchmark/benchmark.h>

#include <windows.h>

#include "Engine/TheApplication.h"
#include "Engine/TheGameInterfaceAbstract.h"
#include "HeadlessEngine.h"

namespace {

class EmptyGame : public TheGameInterfaceAbstract {};
EmptyGame theEmptyGame;

// One pass of the main loop with an empty queue: the sleep, then the frame.
void BM_EmptyFrameLoop(benchmark::State& state)
{
    for (auto _ : state) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        Sleep(2);
        theApplication.RunFrame();
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["frames_per_second"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_EmptyFrameLoop)->UseRealTime()->MinTime(2.0);

// The frame's own work without the sleep, to see how far below the ceiling it stays.
void BM_EmptyFrameWork(benchmark::State& state)
{
    for (auto _ : state) theApplication.RunFrame();
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_EmptyFrameWork)->UseRealTime();

}  // namespace

int main(int argc, char** argv)
{
    return RunBenchmarksInHeadlessEngine(argc, argv);
}
