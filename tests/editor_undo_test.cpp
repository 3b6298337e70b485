// Undo and redo in the editor by Ctrl+Z, Ctrl+Y and Ctrl+Shift+Z, over every kind of change
// made as the user makes it, and the unsaved-changes state they leave.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <random>

#include "EditorTestGame.h"
#include "Game/EditorShell.h"
#include "Game/MapArea.h"
#include "Game/MapSnapshot.h"
#include "Game/ViewInfo.h"
#include "Game/ViewXY.h"
#include "TestSupport.h"

namespace {

class EditorUndo : public EditorTest {
protected:
    // The map's exact text (its snapshot, which map_history_test checks) and its name.
    static std::string Describe() { return theMapArea->GetName() + "\n" + MapSnapshot::Write(*theMapArea); }
    void HoverAt(const Vec2f& world)
    {
        MoveMouseToWorld(world);
        RunFrame();
    }
    void Ctrl(uint8_t key, bool shift = false)
    {
        KeyDown(VK_CONTROL);
        if (shift) KeyDown(VK_SHIFT);
        Key(key);
        if (shift) KeyUp(VK_SHIFT);
        KeyUp(VK_CONTROL);
    }
    // One whole user action of every kind that changes the map, or a click and a pan that don't.
    void RandomAction(std::mt19937& random)
    {
        auto pick = [&random](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
        auto somewhere = [&pick] { return Vec2f(float(64 + 64 * pick(12)), float(64 + 64 * pick(12))); };
        // An element's own point, so that it is highlighted there.
        auto onElement = [&pick, &somewhere]() {
            const MapArea& map = *theMapArea;
            if (pick(2) == 0 && !map.GetObjects().empty()) return map.GetObjects().front()->position;
            return map.GetVertexes().empty() ? somewhere()
                                             : map.VertexByIndex(pick(int(map.GetVertexes().size())))->position;
        };
        static const char* const values[] = {"1", "a \"b\" // c", "", "%20 x"};
        HoverAt(pick(3) == 0 ? somewhere() : onElement());
        switch (pick(8)) {
        case 0:
            DoubleClick(2);  // an object
            break;
        case 1:  // a line chain of up to three segments, ended by Escape or a right click
            Click(1);
            DoubleClick(1);
            for (int segments = pick(4); segments > 0; --segments) {
                HoverAt(somewhere());
                Click(1);
            }
            pick(2) == 0 ? Key(VK_ESCAPE) : Click(2);
            break;
        case 2:  // a drag of what is under the mouse, of the selection, or a box
            ButtonDown(1);
            MoveMouseBy(1, 0);
            RunFrame();
            HoverAt(somewhere());
            ButtonUp(1);
            break;
        case 3:
            Key(VK_DELETE);
            break;
        case 4:  // any text, under a key in any case
            Capture([&] { shell->SetHighlightedProperty(pick(2) == 0 ? "Kind" : "KIND", values[pick(4)]); });
            break;
        case 5:
            Capture([this] { shell->RemoveHighlightedProperty("kind"); });
            break;
        case 6:
            Capture([&] { shell->LoadMapByName(pick(2) == 0 ? "FIRST" : "SECOND"); });
            break;
        default:
            Click(1);
            ButtonDown(2);
            MoveMouseBy(pick(41) - 20, pick(41) - 20);
            RunFrame();
            ButtonUp(2);
            break;
        }
        RunFrame();
    }
    void _RunSequences();
};

}  // namespace

TEST_F(EditorUndo, RandomEditsAndUndosGiveBackEveryEarlierMapExactly)
{
    std::ofstream("data/maps/FIRST.map") << "Vertexes { (64, 64) (320, 64) (900.25, 17) } Linedefs { 0, 1 { \"a\" "
                                            "\"1\" } } Objects { (512, 512) { \"collect\" \"1\" } }";
    std::ofstream("data/maps/SECOND.map") << "Vertexes { } Linedefs { } Objects { (100, 100) }";
    Capture([this] { _RunSequences(); });
}

void EditorUndo::_RunSequences()
{
    for (unsigned seed = 1; seed <= 3; ++seed) {
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        shell->BuildEditor();
        RunFrames(2);
        std::mt19937 random(seed);
        std::vector<std::string> states{Describe()};
        size_t at = 0;
        for (int step = 0; step < 60; ++step) {
            SCOPED_TRACE(testing::Message() << "step " << step);
            const int action = std::uniform_int_distribution<int>(0, 5)(random);
            if (action == 0 && at > 0) {
                Ctrl('Z');
                --at;
            } else if (action == 1 && at + 1 < states.size()) {
                Ctrl(random() % 2 == 0 ? 'Y' : 'Z', true);
                ++at;
            } else {
                RandomAction(random);
                if (Describe() != states[at]) {
                    states.resize(++at);
                    states.push_back(Describe());
                }
            }
            ASSERT_EQ(Describe(), states[at]);
            ASSERT_EQ(shell->GetHistory().UndoCount(), at) << "one step per change, a chain is one";
            ASSERT_EQ(EditMode, EDIT_MAP_ELEMENTS);
        }
        for (; at > 0; --at) {
            Ctrl('Z');
            ASSERT_EQ(Describe(), states[at - 1]);
        }
        for (; at + 1 < states.size(); ++at) {
            Ctrl('Y');
            ASSERT_EQ(Describe(), states[at + 1]);
        }
    }
}

TEST_F(EditorUndo, UndoAfterASaveMakesTheMapUnsavedAgainAndLeavesTheFile)
{
    auto status = [this] { return InfoView().ComposeMapStatus(*theMapArea, shell->HasUnsavedChanges()).text; };
    EXPECT_NE(Capture([this] { Ctrl('Z'); }).find("CONSOLE: Undo: nothing to undo\n"), std::string::npos);
    HoverAt(Vec2f(256, 256));
    DoubleClick(2);
    EXPECT_EQ(status(), "New map - unsaved changes");
    Capture([this] { shell->SaveMapByName("ONE"); });
    const std::string saved = ReadWholeFile("data/maps/ONE.map");
    EXPECT_EQ(status(), "Map \"ONE\"");
    EXPECT_NE(Capture([this] {
                  Ctrl('Z');
              }).find("CONSOLE: Undo: the map as before its last change (0 more to undo, 1 to redo)\n"),
              std::string::npos);
    EXPECT_EQ(status(), "Map \"ONE\" - unsaved changes") << "still ONE, and no longer its file";
    EXPECT_EQ(ReadWholeFile("data/maps/ONE.map"), saved);
    Ctrl('Y');
    EXPECT_EQ(status(), "Map \"ONE\"");

    // In the middle of a chain or a drag, neither undo nor redo cuts the step in two.
    HoverAt(Vec2f(512, 512));
    Click(1);
    DoubleClick(1);
    HoverAt(Vec2f(640, 512));
    Click(1);
    EXPECT_NE(Capture([this] { Ctrl('Z'); }).find("CONSOLE: Undo: end the line chain first"), std::string::npos);
    Key(VK_ESCAPE);
    HoverAt(Vec2f(256, 256));
    ButtonDown(1);
    MoveMouseBy(1, 0);
    RunFrame();
    HoverAt(Vec2f(320, 256));
    EXPECT_NE(Capture([this] { Ctrl('Y', true); }).find("CONSOLE: Redo: let go of the left button first"),
              std::string::npos);
    ButtonUp(1);
    Ctrl('Z');
    Ctrl('Z');
    EXPECT_TRUE(theMapArea->GetLinedefs().empty()) << "the drag and the whole chain undone";
    EXPECT_EQ(theMapArea->GetObjects().front()->position, Vec2f(256, 256));
}
