// Console lines per second through Printf (ring storage plus the debugger echo).
#include <benchmark/benchmark.h>

#include <cstdio>

#include "Engine/TheConsole.h"

namespace {

// The echo goes to stderr; send it to /dev/null so the terminal's speed isn't what we measure.
struct QuietStderr {
    QuietStderr() { stream = freopen("/dev/null", "w", stderr); }
    FILE* stream;
};

void BM_ConsolePrintf(benchmark::State& state)
{
    static QuietStderr quiet;
    if (!TheConsole::IsInitialized()) theConsole.Startup();
    int i = 0;
    for (auto _ : state) {
        theConsole.Printf("line %d of the benchmark with a value %f\n", i++, 3.25);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ConsolePrintf);

// Once the ring is full each line replaces the oldest in place; the cost must stay flat.
void BM_ConsolePrintfFullRing(benchmark::State& state)
{
    static QuietStderr quiet;
    if (!TheConsole::IsInitialized()) theConsole.Startup();
    for (int i = theConsole.GetLineCount(); i <= TheConsole::MAX_CONSOLE_LINES; ++i) theConsole.Printf("fill\n");
    int i = 0;
    for (auto _ : state) {
        theConsole.Printf("line %d of the benchmark with a value %f\n", i++, 3.25);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ConsolePrintfFullRing);

}  // namespace

// The console must be stopped before static destruction.
int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    if (TheConsole::IsInitialized()) theConsole.Shutdown();
    benchmark::Shutdown();
    return 0;
}
