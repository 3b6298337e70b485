// The editor's frames while SOLVE runs on map03, headless: one whole editor frame (the search's
// slice, the views' update and drawing, glFinish), with the longest frame as a counter. SOLVE
// starts again whenever it ends, so every frame measured flies shots. The same frame without
// a search beside it, for comparison, and the slice alone. Run from the folder that
// holds data/; map elements trace their construction to stderr: run with 2>/dev/null.
#include <benchmark/benchmark.h>

#include <windows.h>
#include <GL/gl.h>

#include <algorithm>
#include <chrono>

#include "BenchEditor.h"
#include "Game/EditorShell.h"
#include "Game/MapArea.h"
#include "Game/MapSolver.h"

namespace {

void StartEditorOnce()
{
    StartBenchEditorOnce([] { theEditorShell->LoadMapByName("map03"); });
}

// Runs step once an iteration with a search always under way (SOLVE starts again, untimed,
// whenever one ends); the longest step in seconds.
template <typename Step>
double TimeWhileSolving(benchmark::State& state, Step step)
{
    double longest = 0.0;
    for (auto _ : state) {
        if (!theEditorShell->solver.IsRunning()) {
            state.PauseTiming();
            Quietly([] { theEditorShell->Solve(); });
            state.ResumeTiming();
        }
        const auto start = std::chrono::steady_clock::now();
        step();
        longest = std::max(longest, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return longest;
}

void BM_EditorFrameWhileSolving(benchmark::State& state)
{
    StartEditorOnce();
    const double longest = TimeWhileSolving(state, [] {
        theEditorShell->Frame();
        glFinish();
    });
    state.counters["longest_ms"] = longest * 1000.0;
    state.counters["slice_ms"] = MapSolver::SLICE_SECONDS * 1000.0;
}
BENCHMARK(BM_EditorFrameWhileSolving)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(5.0);

// The search's slice alone, as the frame runs it: at most 8 ms, and how far past it the longest went.
void BM_SolveSlice(benchmark::State& state)
{
    StartEditorOnce();
    const double longest = TimeWhileSolving(state, [] { theEditorShell->solver.RunFrame(theMapArea); });
    state.counters["longest_ms"] = longest * 1000.0;
}
BENCHMARK(BM_SolveSlice)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

void BM_EditorFrameWithoutSolving(benchmark::State& state)
{
    StartEditorOnce();
    theEditorShell->solver.Cancel();
    for (auto _ : state) {
        theEditorShell->Frame();
        glFinish();
    }
}
BENCHMARK(BM_EditorFrameWithoutSolving)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
