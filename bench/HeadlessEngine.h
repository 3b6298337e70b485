// The main() of the benchmarks that run the whole engine headless: start it, measure, stop it.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

#include "Engine/TheApplication.h"

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
