// What R costs, headless: a restart of map01, a restart of a crowded map of 300 objects (the
// whole of it should take well under 0.1 s), and the resident memory after 1 000 restarts, which
// should be what it was after 10. Run from the folder that holds data/.
#include <benchmark/benchmark.h>

#include <windows.h>
#include <GL/gl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "Engine/TheApplication.h"
#include "Game/Game.h"
#include "Game/GameInterface.h"
#include "HeadlessEngine.h"

namespace {

TheGameInterface theGameInterface;

const char* const SPRITES[] = {"collection01", "collection02", "collection03", "marker01"};

// R in flight: the current map starts again from its files.
void Restart()
{
    theGame->SetMode(MODE_FLIGHT);
    theGameInterface.HandleInputEvent(KEY_PRESSED, 'R');
}

double ResidentMegabytes()
{
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// A data folder under /tmp whose map "crowd" has a box of walls, a ball spawn and 300 objects
// in rows, showing the shipped item sprites in turn over map01's background. Pictures and
// sounds are the shipped ones, reached through links.
class CrowdedData {
public:
    CrowdedData()
    {
        char pattern[] = "/tmp/restart_bench_XXXXXX";
        if (mkdtemp(pattern) == nullptr) abort();
        root = pattern;
        namespace fs = std::filesystem;
        const fs::path shipped = fs::absolute("data");
        fs::create_directories(root + "/data/maps");
        for (const char* folder : {"sprites", "ui", "sounds"})
            fs::create_directory_symlink(shipped / folder, root + "/data/" + folder);
        fs::create_symlink(shipped / "maps/map01.tga", root + "/data/maps/crowd.tga");

        std::ofstream map(root + "/data/maps/crowd.map");
        map << "Vertexes { (0, 0) (1024, 0) (1024, 1024) (0, 1024) }\nLinedefs { 0, 1 1, 2 2, 3 3, 0 }\n"
            << "Objects {\n (512, 960) { \"BALLSPAWN\" \"1\" \"COLLECT\" \"0\" }\n";
        for (int i = 0; i < 300; ++i)
            map << " (" << 64 + (i % 20) * 48 << ", " << 64 + (i / 20) * 56 << ") { \"SPRITE\" \"" << SPRITES[i % 4]
                << "\" }\n";
        map << "}\n";
    }
    ~CrowdedData() { std::filesystem::remove_all(root); }

    std::string root;
};

void BM_RestartMap01(benchmark::State& state)
{
    theGame->SetMap("map01");
    for (auto _ : state) Restart();
}
BENCHMARK(BM_RestartMap01)->Unit(benchmark::kMillisecond);

void BM_Restart300Objects(benchmark::State& state)
{
    const CrowdedData data;
    char previous[4096];
    if (getcwd(previous, sizeof(previous)) == nullptr || chdir(data.root.c_str()) != 0) abort();
    theGame->SetMap("crowd");
    for (auto _ : state) Restart();
    if (chdir(previous) != 0) abort();
    theGame->SetMap("map01");
}
BENCHMARK(BM_Restart300Objects)->Unit(benchmark::kMillisecond);

// Each restart is drawn once, as the game's next frame draws it; the frame is finished at
// once, since headless GL may otherwise keep presented frames, and their textures, queued.
void BM_MemoryAfter1000Restarts(benchmark::State& state)
{
    theGame->SetMap("map01");
    double afterTen = 0.0;
    for (auto _ : state) {
        for (int i = 1; i <= 1000; ++i) {
            Restart();
            theApplication.RunFrame();
            glFinish();
            if (i == 10) afterTen = ResidentMegabytes();
        }
    }
    state.counters["rss_after_10_MB"] = afterTen;
    state.counters["rss_after_1000_MB"] = ResidentMegabytes();
}
BENCHMARK(BM_MemoryAfter1000Restarts)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv)
{
    return RunBenchmarksInHeadlessEngine(argc, argv);
}
