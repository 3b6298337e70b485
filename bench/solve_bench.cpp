// Shots the solver flies per second on map06, on one thread and on two, at each frame time: an
// even sample of the panel (every 8 degrees, every 4 %), each shot flown as the solver flies it
// (until the win, rest, the ball's leaving or 30 s). Run from the folder that holds data/; map
// elements trace their construction to stderr: run with 2>/dev/null.
#include <benchmark/benchmark.h>

#include "ShotSearch.h"

namespace {

std::vector<Shot> PanelSample()
{
    std::vector<Shot> shots;
    for (int32_t angle = 0; angle < 360; angle += 8)
        for (int32_t power = 0; power <= 100; power += 4) shots.push_back(Shot{angle, power});
    return shots;
}

void BM_SolverShots(benchmark::State& state)
{
    ShotSearch search("map06", int32_t(state.range(0)));
    const double step = 1.0 / double(state.range(1));
    const std::vector<Shot> shots = PanelSample();
    for (auto _ : state) benchmark::DoNotOptimize(search.FlyAll(shots, step));
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(shots.size()));
    state.counters["threads"] = double(state.range(0));
}
BENCHMARK(BM_SolverShots)
    ->ArgNames({"threads", "hz"})
    ->ArgsProduct({{1, 2}, {200, 100, 60}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
