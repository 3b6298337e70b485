// Renderer throughput on a headless context: textured quads, DrawText strings,
// and the console overlay with a nearly empty and a full console.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "Engine/Texture.h"
#include "Engine/TheConsole.h"
#include "Engine/TheRenderer.h"
#include "Engine/TheVideoSystem.h"

namespace {

void StopRendering()
{
    theRenderer.Shutdown();
    theVideoSystem.Shutdown();
    theConsole.Shutdown();
}

void StartRenderingOnce()
{
    static bool started = false;
    if (started) return;
    started = true;
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    theConsole.Startup();
    theVideoSystem.SetDesiredDisplayMode(1280, 1024, 32, 60, 0);
    theVideoSystem.Startup();
    theRenderer.Startup();
    atexit(StopRendering);  // before the singletons' own destructors check that they were stopped
}

// A 64 x 64 32-bit picture, written to a temporary file and loaded as the game loads its sprites.
const Texture& SpriteTexture()
{
    static std::unique_ptr<Texture> texture;
    if (!texture) {
        char file[] = "/tmp/pinwhirl-bench-XXXXXX";
        const int fd = mkstemp(file);
        const uint8_t header[18] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 64, 0, 64, 0, 32, 8};
        std::vector<uint8_t> bytes(header, header + sizeof(header));
        for (int i = 0; i < 64 * 64 * 4; ++i) bytes.push_back(uint8_t(i * 7));
        if (fd < 0 || write(fd, bytes.data(), bytes.size()) != ssize_t(bytes.size())) abort();
        close(fd);
        texture = std::make_unique<Texture>(std::string(file));
        unlink(file);
    }
    return *texture;
}

void BM_TexturedQuads(benchmark::State& state)
{
    StartRenderingOnce();
    const Texture& texture = SpriteTexture();
    const int quadsPerBatch = 1000;
    const float angle = float(state.range(0));
    theRenderer.SetPixelOrtho(false);
    for (auto _ : state) {
        for (int i = 0; i < quadsPerBatch; ++i) {
            const Vec2f at(float((i * 37) % 1200), float((i * 53) % 960));
            theRenderer.DrawTexturedQuad(texture, at, at + Vec2f(64.0f, 64.0f), angle, Vec2f::ONE, Color::WHITE, true,
                                         false);
        }
        glFinish();
    }
    state.SetItemsProcessed(state.iterations() * quadsPerBatch);
}
BENCHMARK(BM_TexturedQuads)->Arg(0)->Arg(30)->ArgName("angle")->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DrawTextStrings(benchmark::State& state)
{
    StartRenderingOnce();
    const int stringsPerBatch = 100;
    theRenderer.SetPixelOrtho(false);
    for (auto _ : state) {
        for (int i = 0; i < stringsPerBatch; ++i)
            theRenderer.DrawText(10.0f, float(14 + (i * 14) % 1000), Color::ORANGE, "Frame %d: ball at (%.1f, %.1f)", i,
                                 i * 1.5, i * 2.5);
        glFinish();
    }
    state.SetItemsProcessed(state.iterations() * stringsPerBatch);
}
BENCHMARK(BM_DrawTextStrings)->Unit(benchmark::kMillisecond)->UseRealTime();

// The overlay reads only the rows it shows: its cost must not depend on how many lines are held.
void BM_ConsoleOverlay(benchmark::State& state)
{
    StartRenderingOnce();
    const int linesHeld = int(state.range(0));
    Quietly([&] {
        theConsole.Shutdown();
        theConsole.Startup();
        for (int i = theConsole.GetLineCount(); i < linesHeld; ++i)
            theConsole.Printf("console line %d: some typical log text of moderate length\n", i);
    });
    if (theConsole.GetLineCount() != linesHeld) state.SkipWithError("console did not hold the lines asked for");
    theRenderer.SetConsoleVisible(true);
    for (auto _ : state) {
        theRenderer.DrawOverlays();
        glFinish();
    }
    theRenderer.SetConsoleVisible(false);
    state.counters["lines_held"] = linesHeld;
}
BENCHMARK(BM_ConsoleOverlay)->Arg(30)->Arg(65536)->ArgName("lines")->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
