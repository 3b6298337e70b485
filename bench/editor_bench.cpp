// The editor on a 10 000-element map, headless: one whole editor frame (every view's update,
// then drawing the panes, the grid and every element), hover picking queries per second, and
// what the undo history adds to a change and costs to go back and forth.
#include <benchmark/benchmark.h>

#include <windows.h>
#include <GL/gl.h>

#include <cstdlib>
#include <random>

#include "BenchEditor.h"
#include "HeadlessEngine.h"
#include "Engine/TheApplication.h"
#include "Engine/TheInputSystem.h"
#include "Engine/TheVideoSystem.h"
#include "Game/EditorShell.h"
#include "Game/MapArea.h"
#include "Game/Pane.h"
#include "Game/ViewXY.h"

namespace {

const int CHAINS = 400;
const int CHAIN_VERTEXES = 10;  // closed chains: as many linedefs as vertexes
const int OBJECTS = 10000 - 2 * CHAINS * CHAIN_VERTEXES;

// Closed chains of ten vertexes scattered over the map, objects between them, one element in
// a hundred selected.
void StartEditorOnce()
{
    StartBenchEditorOnce([] {
        std::mt19937 random(12);
        std::uniform_real_distribution<float> place(16.0f, 1008.0f);
        std::uniform_real_distribution<float> step(-24.0f, 24.0f);
        MapArea& map = *theMapArea;
        for (int c = 0; c < CHAINS; ++c) {
            Vec2f at(place(random), place(random));
            Vertex* first = map.AddVertex(at, true);
            Vertex* previous = first;
            for (int i = 1; i < CHAIN_VERTEXES; ++i) {
                at += Vec2f(step(random), step(random));
                Vertex* next = map.AddVertex(at, true);
                Linedef* linedef = map.AddLinedef(previous, next);
                if ((c * CHAIN_VERTEXES + i) % 100 == 1) map.Select(linedef);
                previous = next;
            }
            map.AddLinedef(previous, first);
        }
        for (int i = 0; i < OBJECTS; ++i) {
            MapObject* object = map.AddObject(Vec2f(place(random), place(random)));
            if (i % 100 == 0) map.Select(object);
        }
    });
}

ViewXY& MapView()
{
    return *static_cast<ViewXY*>(theEditorShell->root->first->view);
}

void MouseTo(int x, int y)
{
    const Vec2i origin = theVideoSystem.GetClientOrigin();
    SetCursorPos(origin.x + x, origin.y + y);
    theInputSystem.Update();
}

void BM_EditorFrame(benchmark::State& state)
{
    StartEditorOnce();
    MouseTo(480, 500);
    for (auto _ : state) {
        theEditorShell->Frame();
        glFinish();
    }
    state.counters["elements"] =
        double(theMapArea->GetVertexes().size() + theMapArea->GetLinedefs().size() + theMapArea->GetObjects().size());
}
BENCHMARK(BM_EditorFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

// The editor as the main loop runs it, beside the ceiling: the loop with a frame that draws
// nothing, presented through the same swap.
void BM_EditorFrameLoop(benchmark::State& state)
{
    StartEditorOnce();
    MouseTo(480, 500);
    const double start = MainThreadSeconds();
    for (auto _ : state) MainLoopPass([] { theApplication.RunFrame(); });
    ReportFrames(state, MainThreadSeconds() - start);
}
BENCHMARK(BM_EditorFrameLoop)->UseRealTime()->MinTime(2.0);

void BM_EditorCeilingFrameLoop(benchmark::State& state)
{
    StartEditorOnce();
    BM_CeilingFrameLoop(state);
}
BENCHMARK(BM_EditorCeilingFrameLoop)->UseRealTime()->MinTime(2.0);

// The map view's update with the mouse over it is one hover pick over all three kinds.
void BM_HoverPicking(benchmark::State& state)
{
    StartEditorOnce();
    ViewXY& view = MapView();
    int i = 0;
    for (auto _ : state) {
        state.PauseTiming();
        MouseTo(20 + (i * 37) % 900, 20 + (i * 53) % 980);
        ++i;
        state.ResumeTiming();
        view.hasMouse = true;
        view.Update();
        benchmark::DoNotOptimize(theMapArea->GetHighlighted().size());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_HoverPicking)->Unit(benchmark::kMicrosecond);

// A change (the selection moved a unit) kept as a step: the map's snapshot, the step's
// difference and the unsaved-changes test, as at the end of a drag.
void BM_ChangeKeptForUndo(benchmark::State& state)
{
    StartEditorOnce();
    float dx = 1.0f;
    for (auto _ : state) {
        theMapArea->MoveSelection(Vec2f(dx, 0.0f));
        dx = -dx;
        theEditorShell->HandleEditorInput(KEY_RELEASED, 0);  // the editor commits after each event
        benchmark::DoNotOptimize(theEditorShell->HasUnsavedChanges());
    }
    state.counters["history kB"] = double(theEditorShell->GetHistory().Bytes()) / 1024.0;
}
BENCHMARK(BM_ChangeKeptForUndo)->Unit(benchmark::kMillisecond);

// Ctrl+Z then Ctrl+Y: the map rebuilt from its snapshot twice.
void BM_UndoAndRedo(benchmark::State& state)
{
    StartEditorOnce();
    theMapArea->MoveSelection(Vec2f(1.0f, 0.0f));
    theEditorShell->HandleEditorInput(KEY_RELEASED, 0);
    Quietly([&state] {
        for (auto _ : state) {
            theEditorShell->Undo();
            theEditorShell->Redo();
        }
    });
}
BENCHMARK(BM_UndoAndRedo)->Unit(benchmark::kMillisecond);

}  // namespace
