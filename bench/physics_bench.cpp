// One sub-step of the ball physics on maps of 100, 1 000 and 10 000 elements. Every sub-step
// tests every vertex and linedef (and the push-out walks them again), so the cost grows with
// the map. Map elements trace their construction to stderr: run with 2>/dev/null.
#include <benchmark/benchmark.h>

#include <random>

#include "Game/BallPhysics.h"
#include "Game/PlayField.h"

namespace {

// Short walls, each a linedef with two vertexes of its own, scattered over the field but clear
// of the ball's corridor, so that the sub-step tests everything and hits nothing.
void BuildScatteredWalls(PlayField& field, int elements)
{
    std::mt19937 random(2024);
    std::uniform_real_distribution<float> x(0.0f, 1024.0f);
    std::uniform_real_distribution<float> y(600.0f, 1024.0f);
    std::uniform_real_distribution<float> offset(-20.0f, 20.0f);
    for (int made = 0; made + 3 <= elements; made += 3) {
        const Vec2f start(x(random), y(random));
        field.AddLinedef(field.AddVertex(start, true),
                         field.AddVertex(start + Vec2f(offset(random), offset(random)), true));
    }
}

void BM_SubStep(benchmark::State& state)
{
    PlayField field;
    BuildScatteredWalls(field, int(state.range(0)));
    FlightRecord record;
    FlightListener quiet;
    BallPhysics physics(field, record, quiet);
    physics.SetFrame(0.01, 1);
    BallBody ball;
    for (auto _ : state) {
        ball.position = Vec2f(100, 300);
        ball.velocity = Vec2f(800, -200);
        float timeLeft = 0.01f;
        physics.SubStep(ball, timeLeft);
        benchmark::DoNotOptimize(ball.position);
    }
    state.counters["elements"] = double(field.GetVertexes().size() + field.GetLinedefs().size());
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SubStep)->Arg(100)->Arg(1000)->Arg(10000);

}  // namespace
