// Map loading throughput, nearest-linedef picking speed and the cost of removal cascades.
// Every element traces its construction and destruction to stderr: run with 2>/dev/null.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "Engine/ParseBuffer.h"
#include "Game/MapArea.h"

namespace {

const int MAP_ELEMENTS = 100000;
const int PICK_LINEDEFS = 10000;

float Quarter(std::mt19937& random, int range)
{
    return static_cast<float>(std::uniform_int_distribution<int>(0, range * 4)(random)) / 4.0f;
}

// A map of 100 000 vertexes and 100 000 linedefs (chains with some cross links) and a
// few hundred objects with properties, written by the map writer itself.
struct GeneratedMap {
    std::string path;
    std::string text;

    GeneratedMap()
    {
        char pattern[] = "/tmp/map_bench_XXXXXX";
        if (mkdtemp(pattern) == nullptr) abort();
        path = std::string(pattern) + "/generated.map";

        std::mt19937 random(2024);
        MapArea map;
        std::vector<Vertex*> vertexes;
        for (int i = 0; i < MAP_ELEMENTS; ++i)
            vertexes.push_back(map.AddVertex(Vec2f(Quarter(random, 4096), Quarter(random, 4096)), true));
        std::uniform_int_distribution<int> any(0, MAP_ELEMENTS - 1);
        for (int i = 0; i < MAP_ELEMENTS; ++i) {
            Vertex* end = (i % 10 == 9) ? vertexes[static_cast<size_t>(any(random))]
                                        : vertexes[static_cast<size_t>((i + 1) % MAP_ELEMENTS)];
            Linedef* linedef = map.AddLinedef(vertexes[static_cast<size_t>(i)], end);
            if (i % 50 == 0) linedef->properties.Set("bounce", "0.5");
        }
        for (int i = 0; i < 500; ++i) {
            MapObject* object = map.AddObject(Vec2f(Quarter(random, 1024), Quarter(random, 1024)));
            object->properties.Set("SPRITE", "collection01");
            object->properties.Set("COLLECT", "1");
        }
        if (!map.Save(path)) abort();

        FILE* file = fopen(path.c_str(), "rb");
        char chunk[65536];
        for (size_t n; (n = fread(chunk, 1, sizeof(chunk), file)) > 0;) text.append(chunk, n);
        fclose(file);
    }
};

const GeneratedMap& TheGeneratedMap()
{
    static GeneratedMap generated;
    return generated;
}

// Load from the file into map elements (the map is cleared outside the timing).
void BM_MapLoad(benchmark::State& state)
{
    const GeneratedMap& generated = TheGeneratedMap();
    for (auto _ : state) {
        MapArea map;
        map.Load(generated.path);
        state.PauseTiming();
        map.Clear();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(generated.text.size()));
}
BENCHMARK(BM_MapLoad)->Unit(benchmark::kMillisecond);

// The tokenizer alone over the same text, without building elements.
void BM_ParseMapTokens(benchmark::State& state)
{
    const GeneratedMap& generated = TheGeneratedMap();
    std::string text;
    for (auto _ : state) {
        state.PauseTiming();
        text = generated.text;
        state.ResumeTiming();
        ParseBuffer buffer(&text[0], static_cast<int32_t>(text.size()), "generated");
        buffer.StripComments();
        float sum = 0.0f;
        buffer.ExpectWord("Vertexes");
        buffer.ExpectChar('{');
        while (buffer.PeekChar() != '}') sum += buffer.ReadPoint().x;
        buffer.ExpectChar('}');
        buffer.ExpectWord("Linedefs");
        buffer.ExpectChar('{');
        std::string key;
        while (buffer.PeekChar() != '}') {
            sum += static_cast<float>(buffer.ReadInt());
            buffer.ExpectChar(',');
            sum += static_cast<float>(buffer.ReadInt());
            if (buffer.PeekChar() == '{') {
                buffer.ExpectChar('{');
                while (buffer.PeekChar() != '}') buffer.ReadQuotedString(key, false);
                buffer.ExpectChar('}');
            }
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(generated.text.size()));
}
BENCHMARK(BM_ParseMapTokens)->Unit(benchmark::kMillisecond);

// One NearestLinedef query over 10 000 linedefs scattered on the play field.
void BM_NearestLinedef(benchmark::State& state)
{
    std::mt19937 random(7);
    MapArea map;
    for (int i = 0; i < PICK_LINEDEFS; ++i) {
        Vec2f a(Quarter(random, 1024), Quarter(random, 1024));
        Vec2f b = a + Vec2f(Quarter(random, 64) - 32.0f, Quarter(random, 64) - 32.0f);
        map.AddLinedef(map.AddVertex(a, true), map.AddVertex(b, true));
    }
    std::vector<Vec2f> queries;
    for (int i = 0; i < 1024; ++i) queries.push_back(Vec2f(Quarter(random, 1024), Quarter(random, 1024)));

    size_t next = 0;
    for (auto _ : state) {
        const Vec2f& q = queries[next++ & 1023];
        float distanceSquared;
        benchmark::DoNotOptimize(map.NearestLinedef(q.x, q.y, distanceSquared));
        benchmark::DoNotOptimize(distanceSquared);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}
BENCHMARK(BM_NearestLinedef)->Unit(benchmark::kMicrosecond);

// Removing a vertex that carries n linedefs from itself to itself (a file of "0, 0" lines):
// the cost should grow with n, not with n squared.
void BM_RemoveVertexWithLoops(benchmark::State& state)
{
    const int loops = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        MapArea map;
        Vertex* vertex = map.AddVertex(Vec2f(0.0f, 0.0f), true);
        for (int i = 0; i < loops; ++i) map.AddLinedef(vertex, vertex);
        state.ResumeTiming();
        map.RemoveVertex(vertex);
    }
    state.SetComplexityN(loops);
}
BENCHMARK(BM_RemoveVertexWithLoops)
    ->RangeMultiplier(2)
    ->Range(10000, 160000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

}  // namespace
