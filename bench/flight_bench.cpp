// Frames per second of the game in flight on map01, headless: the whole frame (physics, field,
// items, trail, ball, panel) with the main loop's 2 ms sleep, which sets the ceiling at 500
// frames per second, and without it. Run from the folder that holds data/.
#include <benchmark/benchmark.h>

#include <windows.h>

#include "Engine/TheApplication.h"
#include "HeadlessEngine.h"
#include "Game/Game.h"
#include "Game/GameInterface.h"

namespace {

TheGameInterface theGameInterface;

// A shot that keeps bouncing about map01 without completing it: up and to the left.
void ShootAgain()
{
    theGame->SetMap("map01");
    theGame->SetMode(MODE_AIM);
    theGame->angle = 240;
    theGame->power = 60;
    theGameInterface.HandleInputEvent(KEY_PRESSED, VK_SPACE);
}

void KeepFlying(benchmark::State& state)
{
    if (theGame->mode == MODE_FLIGHT) return;
    state.PauseTiming();
    ShootAgain();
    state.ResumeTiming();
}

void BM_FlightFrameLoop(benchmark::State& state)
{
    ShootAgain();
    for (auto _ : state) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        Sleep(2);
        theApplication.RunFrame();
        KeepFlying(state);
    }
    state.counters["frames_per_second"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_FlightFrameLoop)->UseRealTime()->MinTime(2.0);

void BM_FlightFrameWork(benchmark::State& state)
{
    ShootAgain();
    for (auto _ : state) {
        theApplication.RunFrame();
        KeepFlying(state);
    }
    state.counters["frames_per_second"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_FlightFrameWork)->UseRealTime();

}  // namespace

int main(int argc, char** argv)
{
    return RunBenchmarksInHeadlessEngine(argc, argv);
}
