// Frames per second of the game headless, beside the ceiling (the same loop with a frame that
// draws nothing): in flight on map01, in flight with the command line (and so the console) open,
// and on the title. Each frame is presented through the swap the program uses. The loops keep
// the main loop's 2 ms sleep, which puts the ceiling near 500 frames per second; the work
// benchmarks leave it out. Run from the folder that holds data/.
#include <benchmark/benchmark.h>

#include <windows.h>

#include <cstring>

#include "Engine/TheApplication.h"
#include "Game/Game.h"
#include "Game/GameInterface.h"
#include "HeadlessEngine.h"

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

void OpenCommandLine(bool open)
{
    theGame->SetCommandLineOpen(open);
    strcpy(theGame->commandLineText, open ? "WARP MAP02" : "");
    theGame->commandLineLength = open ? int32_t(strlen(theGame->commandLineText)) : 0;
}

void FlightLoop(benchmark::State& state, bool commandLine)
{
    ShootAgain();
    OpenCommandLine(commandLine);
    const double start = MainThreadSeconds();
    for (auto _ : state) {
        MainLoopPass([] { theApplication.RunFrame(); });
        KeepFlying(state);
    }
    ReportFrames(state, MainThreadSeconds() - start);
    OpenCommandLine(false);
}

void BM_FlightFrameLoop(benchmark::State& state)
{
    FlightLoop(state, false);
}
BENCHMARK(BM_FlightFrameLoop)->UseRealTime()->MinTime(2.0);

void BM_FlightWithCommandLineLoop(benchmark::State& state)
{
    FlightLoop(state, true);
}
BENCHMARK(BM_FlightWithCommandLineLoop)->UseRealTime()->MinTime(2.0);

void BM_TitleFrameLoop(benchmark::State& state)
{
    theGame->SetMode(MODE_TITLE);
    const double start = MainThreadSeconds();
    for (auto _ : state) MainLoopPass([] { theApplication.RunFrame(); });
    ReportFrames(state, MainThreadSeconds() - start);
}
BENCHMARK(BM_TitleFrameLoop)->UseRealTime()->MinTime(2.0);

BENCHMARK(BM_CeilingFrameLoop)->UseRealTime()->MinTime(2.0);

void BM_FlightFrameWork(benchmark::State& state)
{
    ShootAgain();
    const double start = MainThreadSeconds();
    for (auto _ : state) {
        theApplication.RunFrame();
        KeepFlying(state);
    }
    ReportFrames(state, MainThreadSeconds() - start);
}
BENCHMARK(BM_FlightFrameWork)->UseRealTime();

}  // namespace

int main(int argc, char** argv)
{
    return RunBenchmarksInHeadlessEngine(argc, argv);
}
