// The editor inside the real game, started as the start-up dialog's editor choice does: a map
// drawn, saved, played from its file and edited again. The console's commands are stood in for
// by the shell operations they call.
#include <gtest/gtest.h>

#include <FmodTesting.h>
#include <PlatformTesting.h>

#include <filesystem>

#include "EditorDriver.h"
#include "Engine/TheApplication.h"
#include "Engine/TheInputSystem.h"
#include "Engine/TheRenderer.h"
#include "Game/Ball.h"
#include "Game/EditorPreferences.h"
#include "Game/EditorShell.h"
#include "Game/Game.h"
#include "Game/GameInterface.h"
#include "Game/MapArea.h"
#include "Game/PlayMap.h"
#include "Game/ViewXY.h"
#include "GameTestData.h"
#include "RenderTestSupport.h"
#include "TestSupport.h"

namespace {

// The game as the start-up dialog leaves it when the user picks an editor mode.
class EditorChoice : public TheGameInterface {
public:
    void PreInit() override
    {
        TheGameInterface::PreInit();
        theGame->SetMode(MODE_EDIT);
        theEditorShell->active = true;
    }
};
EditorChoice theGameInterface;

class GameEditorTest : public testing::Test, public EditorDriver {
protected:
    void SetUp() override
    {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        ResetEngineForTest();  // a test before this one shut the application down
        game_test_data::WriteAll(folder.Path());
        previous = std::filesystem::current_path();
        std::filesystem::current_path(folder.Path());
        FmodSetManualOutputForTesting(true);
        PlatformSetFixedStepForTesting(0.01);
    }
    void TearDown() override
    {
        ReleaseAll();
        if (TheApplication::IsInitialized()) {
            theApplication.RequestShutdown();
            Capture([] { theApplication.RunFrame(); });
        }
        Capture([] {
            delete theGame;
            theGame = nullptr;
            delete theEditorShell;
            theEditorShell = nullptr;
        });
        PlatformSetFixedStepForTesting(0);
        std::filesystem::current_path(previous);
    }
    void Start()
    {
        Capture([] { theApplication.Startup(); });
        ASSERT_TRUE(TheApplication::IsInitialized());
        RunFrames(2);
    }
    void At(float x, float y)
    {
        MoveMouseToWorld(Vec2f(x, y));
        RunFrame();
    }

    TestFolder folder;
    std::filesystem::path previous;
};

}  // namespace

TEST_F(GameEditorTest, DrawSaveAndPlayAMap)
{
    Start();
    ASSERT_EQ(theGame->mode, MODE_EDIT);
    ASSERT_NE(theMapArea, nullptr);
    EXPECT_TRUE(theMapArea->GetVertexes().empty()) << "the editor starts without a map";
    EXPECT_EQ(theEditorShell->underlay, nullptr);

    // A closed triangle as one line chain, through the game's own input routing.
    At(128, 128);
    Click(1);
    DoubleClick(1);
    At(512, 128);
    Click(1);
    At(320, 448);
    Click(1);
    At(128, 128);
    Click(2);
    ASSERT_EQ(EditMode, EDIT_MAP_ELEMENTS);

    At(192, 320);
    DoubleClick(2);
    RunFrame();  // hovered, so SET finds it
    theEditorShell->SetHighlightedProperty("BALLSPAWN", "1");
    theEditorShell->SetHighlightedProperty("COLLECT", "0");
    At(704, 704);
    DoubleClick(2);

    std::string log = Capture([] { theEditorShell->LeaveForPlay(); });
    EXPECT_NE(log.find("CONSOLE: WARNING: the map has no name yet; save it with SAVE NAME, then PLAY\n"),
              std::string::npos)
        << log;
    EXPECT_EQ(theGame->mode, MODE_EDIT) << "never saved: nothing to play, nothing lost";
    ASSERT_NE(theMapArea, nullptr);
    EXPECT_EQ(theMapArea->GetObjects().size(), 2u);

    log = Capture([] { theEditorShell->SaveMapByName("TEST"); });
    EXPECT_NE(log.find("CONSOLE: Saved map \"data/maps/TEST.map\"\n"), std::string::npos);
    EXPECT_EQ(
        ReadWholeFile("data/maps/TEST.map"),
        "Vertexes\n{\n\t(128, 128)\n\t(512, 128)\n\t(320, 448)\n}\n\n"
        "Linedefs\n{\n\t0, 1\n\t1, 2\n\t2, 0\n}\n\n"
        "Objects\n{\n\t(192, 320)\n\t{\n\t\t\"BALLSPAWN\" \"1\"\n\t\t\"COLLECT\" \"0\"\n\t}\n\t(704, 704)\n}\n\n");

    // SAVE painted the new map's background beside it, so the game starts it at once.
    EXPECT_NE(log.find("CONSOLE: Painted background picture \"data/maps/TEST.tga\"\n"), std::string::npos) << log;
    Capture([] { theEditorShell->LeaveForPlay(); });
    EXPECT_EQ(theGame->mode, MODE_AIM);
    EXPECT_FALSE(theEditorShell->active);
    EXPECT_EQ(theMapArea, nullptr);
    EXPECT_EQ(theGame->currentMapName, "TEST");
    ASSERT_NE(theGame->GetCurrentMap(), nullptr);
    EXPECT_EQ(theGame->GetCurrentMap()->GetLinedefs().size(), 3u);
    ASSERT_EQ(theGame->balls.size(), 1u);
    EXPECT_EQ(theGame->balls[0]->position, Vec2f(192, 1024 - 320)) << "the spawn, mirrored onto the field";
    RunFrames(2);

    // And back: the editor opens on the map just played, with its picture under it.
    theGame->SetCommandLineOpen(true);
    Capture([] { theEditorShell->EnterEditor(); });
    EXPECT_EQ(theGame->mode, MODE_EDIT);
    EXPECT_FALSE(theGame->commandLineOpen);
    ASSERT_NE(theMapArea, nullptr);
    EXPECT_EQ(theMapArea->GetName(), "TEST");
    EXPECT_EQ(theMapArea->GetVertexes().front()->position, Vec2f(128, 128)) << "as saved, not mirrored";
    EXPECT_NE(theEditorShell->underlay, nullptr);
    RunFrames(2);
}

// The game draws the ball's shine adding light, and the editor opened from play must not
// inherit that: its elements keep their own colours.
TEST_F(GameEditorTest, TheEditorOpenedFromPlayDrawsInItsOwnColours)
{
    Start();
    Capture([] {
        theEditorShell->CloseEditor();
        theGame->SetMode(MODE_AIM);
        theGame->SetMap("map01");
    });
    RunFrames(2);
    Capture([] { theEditorShell->EnterEditor(); });
    ASSERT_NE(theMapArea, nullptr);
    RunFrame();  // the new view's world rectangle
    MapObject* item = theMapArea->GetObjects().back();
    MapObject* spawn = theMapArea->GetObjects().front();
    At(spawn->position.x, spawn->position.y);
    Click(1);
    ASSERT_TRUE(spawn->selected);
    At(512, 512);
    theEditorShell->Frame();
    const Frame frame;
    const EditorPreferences& preferences = *thePreferences;
    const Vec2i plain = PixelOfWorld(item->position);
    const Vec2i selected = PixelOfWorld(spawn->position);
    EXPECT_TRUE(SameRgb(frame.At(plain.x, plain.y), preferences.objectColour)) << frame.At(plain.x, plain.y);
    EXPECT_TRUE(SameRgb(frame.At(selected.x, selected.y), preferences.objectSelectedInner))
        << frame.At(selected.x, selected.y);
}
