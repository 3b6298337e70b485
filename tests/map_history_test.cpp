// The editor's undo history: a map's exact snapshot text and back, and the history of such
// texts kept as differences.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "Game/MapArea.h"
#include "Game/MapFile.h"
#include "Game/MapHistory.h"
#include "Game/MapSnapshot.h"

TEST(MapSnapshot, GivesBackEveryBitAndEveryPropertyAndLeavesOutOnlyLoneVertexes)
{
    MapArea map;
    const float awkward[] = {-0.0f, 1e-40f, 0.1f, 16777217.0f, -FLT_MAX, 3.0517578e-05f};
    std::vector<Vertex*> vertexes;
    for (float value : awkward) vertexes.push_back(map.AddVertex(Vec2f(value, -value), true));
    Vertex* lone = map.AddVertex(Vec2f(7, 7), true);
    Linedef* line = map.AddLinedef(vertexes[0], vertexes[5]);
    map.AddLinedef(vertexes[2], vertexes[2]);
    line->properties.Set("Key", "a \"quoted\" // %41\tvalue\nwith a break");
    line->properties.Set("", "");
    MapObject* object = map.AddObject(Vec2f(1.5f, 2.5f));
    object->properties.Set("100%", " ");

    const std::string text = MapSnapshot::Write(map);
    MapArea copy;
    MapSnapshot::Read(text, copy);
    EXPECT_EQ(MapSnapshot::Write(copy), text);
    ASSERT_EQ(copy.GetVertexes().size(), 7u);
    EXPECT_TRUE(std::signbit(copy.GetVertexes().front()->position.x));
    EXPECT_EQ(copy.VertexByIndex(1)->position.x, 1e-40f);
    EXPECT_EQ(copy.GetLinedefs().front()->properties, line->properties);
    EXPECT_EQ(copy.GetLinedefs().back()->start, copy.VertexByIndex(2));
    EXPECT_EQ(copy.GetObjects().front()->properties, object->properties);

    // Left out: the lone vertex; a vertex with linedefs stays whatever the caller asks.
    MapArea without;
    MapSnapshot::Read(MapSnapshot::Write(map, lone, vertexes[0]), without);
    EXPECT_EQ(without.GetVertexes().size(), 6u);
    EXPECT_EQ(without.GetLinedefs().size(), 2u);
    map.RemoveVertex(lone);
    EXPECT_EQ(MapSnapshot::Write(without), MapSnapshot::Write(map));
}

namespace {

// A text of three sections as the snapshots have, with lines drawn from a few.
std::string RandomState(std::mt19937& random)
{
    auto pick = [&random](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    std::string text;
    for (int section = 0; section < 3; ++section) {
        text += "Section\n";
        for (int lines = pick(6); lines > 0; --lines) text += "line " + std::to_string(pick(4)) + "\n";
        if (section < 2) text += "\n";
    }
    return text;
}

}  // namespace

TEST(MapHistory, RandomRecordsUndosAndRedosGiveBackEveryStateAndName)
{
    for (unsigned seed = 1; seed <= 20; ++seed) {
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        std::mt19937 random(seed);
        std::vector<std::pair<std::string, std::string>> states{{RandomState(random), "first"}};
        size_t at = 0;
        MapHistory history;
        history.Reset(states[0].first, states[0].second);
        for (int step = 0; step < 200; ++step) {
            const int action = std::uniform_int_distribution<int>(0, 3)(random);
            if (action == 0 && at > 0) {
                ASSERT_TRUE(history.Undo());
                --at;
            } else if (action == 1 && at + 1 < states.size()) {
                ASSERT_TRUE(history.Redo());
                ++at;
            } else if (action >= 2) {
                const std::string name = random() % 5 == 0 ? "map" + std::to_string(step) : states[at].second;
                const std::string text = RandomState(random);
                const bool same = text == states[at].first && name == states[at].second;
                EXPECT_EQ(history.Record(text, name), !same);
                if (!same) {
                    states.resize(++at);
                    states.emplace_back(text, name);
                }
            }
            ASSERT_EQ(history.Text(), states[at].first);
            ASSERT_EQ(history.Name(), states[at].second);
            ASSERT_EQ(history.UndoCount(), at);
            ASSERT_EQ(history.RedoCount(), states.size() - 1 - at);
        }
        for (; at > 0; --at) {
            ASSERT_TRUE(history.Undo());
            ASSERT_EQ(history.Text(), states[at - 1].first);
        }
        EXPECT_FALSE(history.Undo());
    }
}

TEST(MapHistory, ASaveUnderANewNameRenamesTheStatesOfTheOldOneOnly)
{
    MapHistory history;
    history.Reset("a\n", "old");
    history.Record("b\n", "old");
    history.Record("c\n", "loaded");  // a map loaded: the states before are another map's
    history.Record("d\n", "loaded");
    history.Undo();
    history.Rename("new");
    history.Redo();
    EXPECT_EQ(history.Name(), "new");
    for (const char* name : {"new", "old", "old"}) {
        history.Undo();
        EXPECT_EQ(history.Name(), name);
    }
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
            EXPECT_LT(kept, 1000u);
            EXPECT_LE(history.Bytes(), MapHistory::BYTE_BUDGET);
            EXPECT_GT(history.Bytes(), MapHistory::BYTE_BUDGET - 2 * size);
        }
        while (history.Undo()) {}
        EXPECT_EQ(history.Text(), state(int(1000 - kept), size)) << "the oldest step kept";
        EXPECT_EQ(history.RedoCount(), kept);
    }
}
