// Random sequences of editing operations keep the map area's invariants after every step.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>
#include <vector>

#include "Game/MapArea.h"
#include "MapInvariants.h"

namespace {

std::vector<MapElement*> Elements(const MapArea& map)
{
    std::vector<MapElement*> all(map.GetVertexes().begin(), map.GetVertexes().end());
    all.insert(all.end(), map.GetLinedefs().begin(), map.GetLinedefs().end());
    all.insert(all.end(), map.GetObjects().begin(), map.GetObjects().end());
    return all;
}

// MoveSelection moves each selected vertex and each end of a selected linedef once,
// each selected object once, and nothing else.
void MoveAndCheck(MapArea& map, const Vec2f& offset)
{
    std::set<const MapElement*> moving;
    for (const MapElement* e : map.GetSelection()) {
        if (e->type == MAP_ELEMENT_LINEDEF) {
            moving.insert(static_cast<const Linedef*>(e)->start);
            moving.insert(static_cast<const Linedef*>(e)->end);
        } else {
            moving.insert(e);
        }
    }
    std::map<const MapElement*, Vec2f> before;
    for (const Vertex* v : map.GetVertexes()) before[v] = v->position;
    for (const MapObject* o : map.GetObjects()) before[o] = o->position;

    map.MoveSelection(offset);

    for (const Vertex* v : map.GetVertexes()) {
        Vec2f expected = moving.count(v) ? before[v] + offset : before[v];
        EXPECT_EQ(v->position, expected);
    }
    for (const MapObject* o : map.GetObjects()) {
        Vec2f expected = moving.count(o) ? before[o] + offset : before[o];
        EXPECT_EQ(o->position, expected);
    }
}

void RunRandomEdits(unsigned seed, int steps)
{
    std::mt19937 random(seed);
    auto chance = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    auto coordinate = [&]() { return static_cast<float>(chance(16)) + 0.25f * static_cast<float>(chance(3)); };

    MapArea map;
    for (int step = 0; step < steps; ++step) {
        std::vector<MapElement*> all = Elements(map);
        std::vector<Vertex*> vertexes(map.GetVertexes().begin(), map.GetVertexes().end());
        MapElement* any = all.empty() ? nullptr : all[static_cast<size_t>(chance(static_cast<int>(all.size())))];
        Vertex* vertex =
            vertexes.empty() ? nullptr : vertexes[static_cast<size_t>(chance(static_cast<int>(vertexes.size())))];
        Vertex* other =
            vertexes.empty() ? nullptr : vertexes[static_cast<size_t>(chance(static_cast<int>(vertexes.size())))];

        int operation = chance(100);
        if (operation < 18) {
            map.AddVertex(Vec2f(coordinate(), coordinate()), chance(2) == 0);
        } else if (operation < 36) {
            if (vertex != nullptr) map.AddLinedef(vertex, other);  // sometimes a loop
        } else if (operation < 42) {
            map.AddObject(Vec2f(coordinate(), coordinate()));
        } else if (operation < 50) {
            map.RemoveElement(any);
        } else if (operation < 56) {
            if (vertex != nullptr && other != nullptr) {
                vertex->position = other->position + Vec2f(0.125f, 0.0f) * static_cast<float>(chance(3));
                map.MergeVertex(vertex);
            }
        } else if (operation < 66) {
            map.Select(any);
        } else if (operation < 71) {
            map.Deselect(any);
        } else if (operation < 80) {
            if (chance(4) == 0) map.ClearHighlights();
            map.Highlight(any);
        } else if (operation < 85) {
            map.ToggleHighlightedSelection();
        } else if (operation < 88) {
            map.DeleteSelection();
        } else if (operation < 95) {
            MoveAndCheck(map, Vec2f(static_cast<float>(chance(5)) - 2.0f, 0.5f * static_cast<float>(chance(3))));
        } else if (operation < 98) {
            map.ClearSelection();
        } else {
            map.Clear();
        }
        ExpectMapInvariants(map);
        if (::testing::Test::HasFailure()) {
            ADD_FAILURE() << "seed " << seed << ", step " << step << ", operation " << operation;
            return;
        }
    }
}

}  // namespace

TEST(MapAreaInvariants, HoldAfterEveryStepOfRandomEditing)
{
    for (unsigned seed = 1; seed <= 6; ++seed) RunRandomEdits(seed, 1500);
}

TEST(MapAreaInvariants, HoldOnADenseMapWithManyLoopsAndMerges)
{
    // A small grid: almost every added vertex lands on another, linedefs pile up.
    std::mt19937 random(99);
    MapArea map;
    for (int i = 0; i < 300; ++i) {
        float x = static_cast<float>(random() % 3);
        Vertex* a = map.AddVertex(Vec2f(x, 0.0f), true);
        Vertex* b = map.AddVertex(Vec2f(x + 0.25f, 0.0f), random() % 2 == 0);
        map.AddLinedef(a, b);
        map.Select(map.GetLinedefs().back());
        map.Highlight(b);
        map.MergeVertex(b);
        ExpectMapInvariants(map);
        ASSERT_FALSE(::testing::Test::HasFailure()) << "step " << i;
    }
    map.DeleteSelection();
    ExpectMapInvariants(map);
    EXPECT_TRUE(map.GetLinedefs().empty());
    EXPECT_TRUE(map.GetHighlighted().empty());
}
