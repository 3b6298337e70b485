// The editor shell: its preferences, the pane tree and its log lines, mouse focus and
// event routing, closing and rebuilding, and the console's map operations.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

#include "EditorTestGame.h"
#include "Engine/TheInputSystem.h"
#include "Game/EditorPreferences.h"
#include "Game/EditorShell.h"
#include "Game/MapArea.h"
#include "Game/Pane.h"
#include "Game/ViewInfo.h"
#include "Game/ViewXY.h"
#include "RenderTestSupport.h"
#include "TestSupport.h"

namespace {

using EditorShellTest = EditorTest;

// The console lines of the captured output, "CONSOLE: " taken off.
std::vector<std::string> ConsoleLines(const std::string& output)
{
    std::vector<std::string> lines;
    for (const std::string& line : SplitLines(output))
        if (line.rfind("CONSOLE: ", 0) == 0) lines.push_back(line.substr(9));
    return lines;
}

}  // namespace

TEST_F(EditorShellTest, PreferencesFileIsReadButNeverChangesTheDefaults)
{
    std::string log = Capture([] { EditorPreferences missing("data/Pinwhirl.ini"); });
    EXPECT_EQ(ConsoleLines(log),
              std::vector<std::string>{"Couldn't find preferences file \"data/Pinwhirl.ini\"; using defaults"});

    std::ofstream("data/Pinwhirl.ini") << "panSpeed = 9 // \"unterminated\n{ rainbowBackground true pickRadius 1 }\n";
    EditorPreferences* read = nullptr;
    log = Capture([&read] { read = new EditorPreferences("data/Pinwhirl.ini"); });
    EXPECT_EQ(ConsoleLines(log), std::vector<std::string>{"Reading editor preferences from \"data/Pinwhirl.ini\"..."});
    EXPECT_EQ(thePreferences, read);
    EXPECT_EQ(read->fileName, "data/Pinwhirl.ini");
    EXPECT_EQ(read->panSpeed, 0.5f);
    EXPECT_FALSE(read->rainbowBackground);
    EXPECT_EQ(read->pickRadius, 8.0f);
    EXPECT_EQ(read->pickRadiusPixels, 3.0f);
    delete read;
    EXPECT_EQ(thePreferences, nullptr);
}

TEST_F(EditorShellTest, PanesAndViewsAt1280x1024)
{
    const std::string log = Capture([this] { shell->_BuildEditor(Vec2i(1280, 1024)); });
    const Pane& root = *shell->root;
    auto numbered = [](const char* format, const void* instance, const char* corners = "") {
        char line[160];
        snprintf(line, sizeof(line), format, InstanceNumber(instance), corners);
        return std::string(line);
    };
    EXPECT_EQ(
        ConsoleLines(log),
        (std::vector<std::string>{
            numbered("Constructing ViewBase #%u", &MapView()), numbered("Constructing ViewXY #%u", &MapView()),
            numbered("Creating pane #%u at %s", &root, "1,1 -> 1278,1022"),
            numbered("Setting view #%u at %s", &MapView(), "2,2 -> 1277,1021"),
            numbered("Constructing ViewBase #%u", &InfoView()), numbered("Constructing ViewInfo #%u", &InfoView()),
            numbered("Creating pane #%u at %s", root.first, "1,1 -> 957,1022"),
            numbered("Setting view #%u at %s", &MapView(), "2,2 -> 956,1021"),
            numbered("Creating pane #%u at %s", root.second, "959,1 -> 1278,1022"),
            numbered("Setting view #%u at %s", &InfoView(), "960,2 -> 1277,1021")}));
    EXPECT_EQ(root.splitKind, Pane::SIDE_BY_SIDE);
    EXPECT_EQ(root.splitX, 958);
    EXPECT_EQ(root.splitRatio, 0.75f);
    EXPECT_EQ(root.second->bottomRight, Vec2i(1278, 1022));
    EXPECT_EQ(root.view, root.first->view) << "the split pane keeps its view, now its first child's";
    EXPECT_EQ(MapView().backgroundColor, Color(0, 0, 0, 255));
    EXPECT_EQ(InfoView().backgroundColor, Color::DARK_BLUE);
}

TEST_F(EditorShellTest, OneAboveTheOtherWithTheNewViewFirst)
{
    ViewBase* old = nullptr;
    ViewBase* added = nullptr;
    Pane* made = nullptr;
    Capture([&] {
        old = new ViewBase();
        added = new ViewBase();
        made = new Pane(old, Vec2i(10, 20), Vec2i(110, 221));
        made->Split(added, 0.25f, false, true);
    });
    std::unique_ptr<Pane> owner(made);
    const Pane& pane = *made;
    EXPECT_EQ(pane.splitKind, Pane::ONE_ABOVE_THE_OTHER);
    EXPECT_EQ(pane.splitY, 20 + 50);
    EXPECT_EQ(pane.first->view, added);
    EXPECT_EQ(pane.first->bottomRight, Vec2i(110, 69));
    EXPECT_EQ(pane.second->view, old);
    EXPECT_EQ(pane.second->topLeft, Vec2i(10, 71));
    EXPECT_EQ(old->topLeft, Vec2i(11, 72));
}

TEST_F(EditorShellTest, TheMouseChoosesTheLeafAndItsViewTakesTheEvents)
{
    MoveMouseTo(958, 500);  // the split column belongs to no pane
    RunFrame();
    EXPECT_EQ(focusPane, nullptr);
    EXPECT_EQ(focusView, nullptr);
    EXPECT_FALSE(shell->HandleEditorInput(KEY_PRESSED, 'G'));
    EXPECT_EQ(MapView().gridDisplay, ViewXY::GRID_LINES);

    MoveMouseTo(1, 1);  // the corners are inside
    RunFrame();
    EXPECT_EQ(focusPane, shell->root->first);
    EXPECT_EQ(focusView, &MapView());
    EXPECT_TRUE(MapView().hasMouse);
    Key('G');
    EXPECT_EQ(MapView().gridDisplay, ViewXY::GRID_DOTS);

    MoveMouseTo(1278, 1022);
    RunFrame();
    EXPECT_EQ(focusView, &InfoView());
    EXPECT_FALSE(MapView().hasMouse);
    EXPECT_FALSE(shell->root->first->hasMouse);
    const int consumed = theEditorTestGame.eventsConsumed;
    Key('G');
    EXPECT_EQ(theEditorTestGame.eventsConsumed, consumed) << "the info view consumes nothing";
}

TEST_F(EditorShellTest, PaneFramesShowWhichPaneHasTheMouse)
{
    MoveMouseTo(1100, 500);
    RunFrame();
    theEditorShell->Frame();  // drawn again, to read back before the swap
    const Frame frame;
    EXPECT_TRUE(SameRgb(frame.At(958, 500), Color::BLACK, 0)) << "between the panes";
    EXPECT_TRUE(SameRgb(frame.At(1, 1), Color(160, 160, 160), 3));
    EXPECT_TRUE(SameRgb(frame.At(957, 1022), Color(64, 64, 64), 3));
    EXPECT_TRUE(SameRgb(frame.At(0, 500), Color::BLACK, 0));
    EXPECT_TRUE(SameRgb(frame.At(959, 1), Color::YELLOW, 0));
    EXPECT_TRUE(SameRgb(frame.At(1278, 1022), Color::YELLOW, 0));
    EXPECT_TRUE(SameRgb(frame.At(1100, 700), Color(0, 0, 64), 1)) << "the info view's own background";
}

TEST_F(EditorShellTest, BuildingAgainMakesANewTreeAndClosingLeavesNothingBehind)
{
    MoveMouseToWorld(Vec2f(128, 128));
    RunFrame();
    DoubleClick(1);  // a line chain in the middle of being drawn
    RunFrame();
    ASSERT_EQ(EditMode, LINE_CHAIN_CREATION);

    const std::string log = Capture([this] { shell->BuildEditor(); });
    int panes = 0;
    for (const std::string& line : ConsoleLines(log)) panes += line.rfind("Creating pane", 0) == 0 ? 1 : 0;
    EXPECT_EQ(panes, 3);
    EXPECT_EQ(EditMode, EDIT_MAP_ELEMENTS);
    EXPECT_EQ(chainStart, nullptr);
    EXPECT_TRUE(theMapArea->GetVertexes().empty());

    RunFrame();
    DoubleClick(1);
    RunFrame();
    ASSERT_NE(chainCursor, nullptr);
    Capture([this] { shell->CloseEditor(); });
    EXPECT_FALSE(shell->active);
    EXPECT_EQ(shell->root, nullptr);
    EXPECT_EQ(theMapArea, nullptr);
    EXPECT_EQ(focusPane, nullptr);
    EXPECT_EQ(focusView, nullptr);
    EXPECT_EQ(chainStart, nullptr);
    EXPECT_EQ(chainCursor, nullptr);
    EXPECT_EQ(EditMode, EDIT_MAP_ELEMENTS);
    RunFrame();  // an inactive shell does nothing
    EXPECT_FALSE(shell->HandleEditorInput(KEY_PRESSED, VK_ESCAPE));

    const std::vector<std::string> refusals = ConsoleLines(Capture([this] {
        shell->SetHighlightedProperty("a", "b");
        shell->RemoveHighlightedProperty("a");
        shell->SaveMapByName("NEW");
        shell->SaveMap();
        shell->LoadMapByName("NEW");
        shell->SetUnderlay("data/maps/NEW.tga");
        shell->LeaveForPlay();
    }));
    EXPECT_EQ(refusals, (std::vector<std::string>{"WARNING: the editor is not open; no property is set",
                                                  "WARNING: the editor is not open; no property is removed",
                                                  "WARNING: the editor is not open; no map is saved",
                                                  "WARNING: the editor is not open; no map is saved",
                                                  "WARNING: the editor is not open; no map is loaded",
                                                  "WARNING: the editor is not open; the underlay is not changed",
                                                  "WARNING: the editor is not open; there is no edited map to play"}));
    EXPECT_FALSE(std::filesystem::exists("data/maps/NEW.map"));
}

TEST_F(EditorShellTest, SavingInTheMiddleOfALineChainLeavesItsFloatingEndOut)
{
    MapArea& map = *theMapArea;
    // The floating end is not written, and the chain goes on.
    MoveMouseToWorld(Vec2f(128, 64));
    RunFrame();
    DoubleClick(1);
    RunFrame();
    ASSERT_EQ(EditMode, LINE_CHAIN_CREATION);
    // Before the first segment the start vertex the chain made is no peg of the map either.
    Capture([this] { shell->SaveMapByName("STARTED"); });
    EXPECT_EQ(ReadWholeFile("data/maps/STARTED.map"), "Vertexes\n{\n}\n\nLinedefs\n{\n}\n\nObjects\n{\n}\n\n");
    EXPECT_FALSE(shell->HasUnsavedChanges());
    ASSERT_EQ(map.GetVertexes().size(), 2u);
    EXPECT_EQ(chainStart, map.GetVertexes().front());
    MoveMouseToWorld(Vec2f(192, 64));
    RunFrame();
    Click(1);
    RunFrame();
    ASSERT_EQ(map.GetVertexes().size(), 3u) << "the chain's two vertexes and its floating end";
    // Saving changes nothing in the map: a SOLVE under way goes on.
    const uint64_t revision = map.GetRevision();
    Capture([this] { shell->SaveMapByName("CHAIN"); });
    EXPECT_EQ(map.GetRevision(), revision);
    EXPECT_EQ(ReadWholeFile("data/maps/CHAIN.map"),
              "Vertexes\n{\n\t(128, 64)\n\t(192, 64)\n}\n\nLinedefs\n{\n\t0, 1\n}"
              "\n\nObjects\n{\n}\n\n");
    ASSERT_NE(chainCursor, nullptr);
    EXPECT_EQ(chainCursor, map.GetVertexes().back());
    MoveMouseToWorld(Vec2f(192, 128));
    RunFrame();
    EXPECT_EQ(chainCursor->position, Vec2f(192, 128)) << "the chain's end follows the mouse again";
    Key(VK_ESCAPE);
    RunFrame();
    EXPECT_EQ(map.GetVertexes().size(), 2u);
}

TEST_F(EditorShellTest, SaveNamesTheMapAndLoadReplacesItOnlyFromAFile)
{
    MapArea& map = *theMapArea;
    Capture([&map] {
        Vertex* a = map.AddVertex(Vec2f(0, 0), true);
        Vertex* b = map.AddVertex(Vec2f(64, 32.5f), true);
        map.AddLinedef(a, b);
        map.Highlight(map.AddObject(Vec2f(100, 200)));
    });
    shell->SetHighlightedProperty("collect", "1");
    shell->SetHighlightedProperty("BallSpawn", "0");
    shell->RemoveHighlightedProperty("COLLECT");

    EXPECT_EQ(ConsoleLines(Capture([this] { shell->SaveMap(); })),
              std::vector<std::string>{"WARNING: the map has no name yet; save it with SAVE NAME"})
        << "a map without a name has no file to go to";
    EXPECT_EQ(ConsoleLines(Capture([this] { shell->SaveMapByName("TEST"); })),
              (std::vector<std::string>{"Saved map \"data/maps/TEST.map\"",
                                        "Painted background picture \"data/maps/TEST.tga\""}));
    EXPECT_EQ(map.GetName(), "TEST");
    EXPECT_EQ(ReadWholeFile("data/maps/TEST.map"),
              "Vertexes\n{\n\t(0, 0)\n\t(64, 32.5)\n}\n\nLinedefs\n{\n\t0, 1\n}\n\nObjects\n{\n\t(100, 200)\n"
              "\t{\n\t\t\"BallSpawn\" \"0\"\n\t}\n}\n\n");

    std::filesystem::create_directory("data/maps/DIR.map");
    EXPECT_EQ(ConsoleLines(Capture([this] { shell->SaveMapByName("DIR"); })),
              std::vector<std::string>{"WARNING: could not save map \"data/maps/DIR.map\": it is a folder"});
    EXPECT_EQ(map.GetName(), "TEST");

    MoveMouseToWorld(Vec2f(300, 300));
    RunFrame();
    DoubleClick(1);
    RunFrame();
    EXPECT_EQ(ConsoleLines(Capture([this] { shell->LoadMapByName("MISSING"); })),
              std::vector<std::string>{"WARNING: no map file \"data/maps/MISSING.map\""});
    EXPECT_EQ(map.GetLinedefs().size(), 1u) << "the map being edited stays";
    EXPECT_EQ(EditMode, LINE_CHAIN_CREATION);

    std::ofstream("data/maps/OTHER.map") << "Vertexes { (1, 2) } Linedefs { } Objects { }";
    Capture([this] { shell->LoadMapByName("OTHER"); });
    EXPECT_EQ(map.GetName(), "OTHER");
    EXPECT_EQ(map.GetVertexes().size(), 1u);
    EXPECT_EQ(EditMode, EDIT_MAP_ELEMENTS) << "the chain's vertexes went with the old map";
    EXPECT_EQ(chainCursor, nullptr);
    RunFrames(2);
}
