// What the editor's undo history holds: a map's exact snapshot text, and steps kept within
// their budget. (Undo and redo themselves are tested in the editor, editor_undo_test.)
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <string>

#include "Game/MapArea.h"
#include "Game/MapHistory.h"
#include "Game/MapSnapshot.h"

TEST(MapSnapshot, GivesBackEveryBitAndLeavesOutOnlyVertexesWithoutLinedefs)
{
    MapArea map;
    Vertex* zero = map.AddVertex(Vec2f(-0.0f, 1e-40f), true);
    Vertex* far = map.AddVertex(Vec2f(0.1f, -FLT_MAX), true);
    Vertex* lone = map.AddVertex(Vec2f(16777217.0f, 3.0517578e-05f), true);
    map.AddLinedef(zero, far)->properties.Set("Key", "a \"b\" // %41\tc\nd");
    map.AddObject(Vec2f(1.5f, 2.5f))->properties.Set("", " ");
    const std::string text = MapSnapshot::Write(map);
    MapArea copy;
    MapSnapshot::Read(text, copy);
    EXPECT_EQ(MapSnapshot::Write(copy), text);
    ASSERT_EQ(copy.GetVertexes().size(), 3u);
    EXPECT_TRUE(std::signbit(copy.GetVertexes().front()->position.x));
    EXPECT_EQ(copy.GetVertexes().front()->position.y, 1e-40f);
    EXPECT_EQ(copy.GetVertexes().back()->position, lone->position);
    EXPECT_EQ(copy.GetLinedefs().front()->properties, map.GetLinedefs().front()->properties);
    EXPECT_EQ(copy.GetObjects().front()->properties, map.GetObjects().front()->properties);

    MapArea without;
    MapSnapshot::Read(MapSnapshot::Write(map, lone, zero), without);  // zero has a linedef: it stays
    map.RemoveVertex(lone);
    EXPECT_EQ(MapSnapshot::Write(without), MapSnapshot::Write(map));
}

TEST(MapHistory, KeepsTheNewest200StepsAndOlderOnesWithinItsBudget)
{
    // Each step changes a whole section of the given size, and the last one a little.
    auto state = [](int i, size_t size) {
        return "head\n\n" + std::string(size, char('a' + i % 2)) + "\n\ntail " + std::to_string(i) + "\n";
    };
    for (size_t size : {100000u, 20000u}) {
        SCOPED_TRACE(testing::Message() << "steps of " << size << " bytes");
        MapHistory history;
        history.Reset(state(0, size), "");
        for (int i = 1; i <= 1000; ++i) history.Record(state(i, size), "");
        const size_t kept = history.UndoCount();
        if (size * MapHistory::STEPS_ALWAYS_KEPT > MapHistory::BYTE_BUDGET) {
            EXPECT_EQ(kept, MapHistory::STEPS_ALWAYS_KEPT);
        } else {
            EXPECT_GT(kept, MapHistory::STEPS_ALWAYS_KEPT);
            EXPECT_LE(history.Bytes(), MapHistory::BYTE_BUDGET);
            EXPECT_GT(history.Bytes(), MapHistory::BYTE_BUDGET - 2 * size);
        }
        while (history.Undo()) {}
        EXPECT_EQ(history.Text(), state(int(1000 - kept), size)) << "the oldest step kept";
    }
}
