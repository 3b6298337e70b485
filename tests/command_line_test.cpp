// The ~ command line through key messages: opening and closing it, typing, what reaches the game
// while it is open, and the commands that act on the game.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "Engine/TheRenderer.h"
#include "Game/GameInterface.h"
#include "GameFixture.h"

static TheGameInterface theGameInterface;

namespace {

const UINT KEY_COMMAND_LINE = VK_OEM_3;

class CommandLineTest : public GameTest {
protected:
    // Letters, digits and the space bar are their own key codes.
    void Type(const std::string& text)
    {
        for (char c : text) {
            Press(UINT(c));
            Release(UINT(c));
        }
    }
    void Command(const std::string& text)
    {
        Type(text);
        Press(VK_RETURN);
    }
    std::string Text() const { return std::string(theGame->commandLineText, size_t(theGame->commandLineLength)); }
};

}  // namespace

TEST_F(CommandLineTest, WarpPlaysTheTypedMapAndLeavesTheLineOpenAndEmptyForTheNext)
{
    game_test_data::WriteMap(folder.Path(), "map03", game_test_data::BoxMap(300, 300, " (900, 900)\n"));
    Start();
    Press(KEY_COMMAND_LINE);
    EXPECT_TRUE(theGame->commandLineOpen);
    EXPECT_TRUE(theRenderer.IsConsoleVisible());
    Command("WARP MAP02");
    EXPECT_NE(log.find("CONSOLE: Executing Console Command: WARP MAP02\n"), std::string::npos) << log;
    EXPECT_EQ(theGame->mode, MODE_AIM);
    EXPECT_EQ(theGame->currentMapName, "MAP02");
    EXPECT_EQ(TheBall().position, Vec2f(512, 512));  // map02's spawn
    EXPECT_TRUE(theGame->commandLineOpen);
    EXPECT_EQ(theGame->commandLineLength, 0);
    EXPECT_STREQ(theGame->commandLineText, "");

    // The name typed in capitals leads on to map03 when MAP02 is complete.
    Press(KEY_COMMAND_LINE);
    Press(VK_SUBTRACT);
    ASSERT_EQ(theGame->mode, MODE_MAP_COMPLETE);
    Press('A');
    EXPECT_EQ(theGame->currentMapName, "MAP03");
    EXPECT_EQ(TheBall().position, Vec2f(300, 1024 - 300));
}

TEST_F(CommandLineTest, WarpToAMissingMapWarnsAndChangesNothing)
{
    StartAiming();
    Ball* ball = &TheBall();
    Press(KEY_COMMAND_LINE);
    Command("WARP NOPE");
    EXPECT_NE(log.find("CONSOLE: WARNING: no map file \"data/maps/NOPE.map\"\n"), std::string::npos) << log;
    EXPECT_EQ(theGame->mode, MODE_AIM);
    EXPECT_EQ(theGame->currentMapName, "map01");
    EXPECT_EQ(&TheBall(), ball);
    // A map file without its background picture cannot start either.
    game_test_data::WriteMap(folder.Path(), "bare", game_test_data::BoxMap(300, 300));
    ASSERT_EQ(remove("data/maps/bare.tga"), 0);
    Command("WARP BARE");
    EXPECT_NE(log.find("CONSOLE: WARNING: no background picture \"data/maps/BARE.tga\"\n"), std::string::npos) << log;
    // A name is a map of data/maps, never a path beside or above it.
    Command("WARP ../MAP02");
    Command("WARP ..");
    EXPECT_NE(log.find("CONSOLE: WARNING: \"../MAP02\" is not a map name\n"), std::string::npos) << log;
    EXPECT_NE(log.find("CONSOLE: WARNING: \"..\" is not a map name\n"), std::string::npos) << log;
    EXPECT_EQ(theGame->currentMapName, "map01");
    EXPECT_EQ(&TheBall(), ball);
    Press(VK_ESCAPE);
    Press(VK_SPACE);
    Frames(3);
    EXPECT_EQ(theGame->mode, MODE_FLIGHT);
    EXPECT_FALSE(theApplication.IsShutdownRequested());
}

TEST_F(CommandLineTest, EscapeAndTheKeyLeftOf1CloseTheLineAndKeepTheUnfinishedText)
{
    StartAiming();
    Press(KEY_COMMAND_LINE);
    Type("SAV");
    Press(VK_ESCAPE);
    EXPECT_FALSE(theGame->commandLineOpen);
    EXPECT_FALSE(theRenderer.IsConsoleVisible());
    EXPECT_FALSE(theApplication.IsShutdownRequested());  // Escape closed the line instead of quitting
    Press(KEY_COMMAND_LINE);
    EXPECT_TRUE(theGame->commandLineOpen);
    EXPECT_EQ(Text(), "SAV");
    Press(KEY_COMMAND_LINE);
    EXPECT_FALSE(theGame->commandLineOpen);
    EXPECT_EQ(Text(), "SAV");
}

TEST_F(CommandLineTest, BackspaceTakesTheLastCharacterAndOnAnEmptyLineNothing)
{
    StartAiming();
    Press(KEY_COMMAND_LINE);
    Press(VK_BACK);
    EXPECT_EQ(theGame->commandLineLength, 0);
    Type("AB");
    Press(VK_BACK);
    EXPECT_EQ(Text(), "A");
    EXPECT_STREQ(theGame->commandLineText, "A");
    Press(VK_BACK);
    Press(VK_BACK);
    EXPECT_EQ(theGame->commandLineLength, 0);
    EXPECT_STREQ(theGame->commandLineText, "");
}

TEST_F(CommandLineTest, WhileOpenPressesGoIntoTheTextButReleasesStillReachTheGame)
{
    StartAiming();
    Press(VK_UP);
    EXPECT_EQ(theGame->powerDirection, +1);
    Press(KEY_COMMAND_LINE);
    Press(VK_LEFT);
    Press(VK_SPACE);
    EXPECT_FALSE(ReachedDefaultHandling());
    EXPECT_EQ(Text(), std::string("\x25 ", 2));  // the arrow's code, then the blank
    EXPECT_EQ(theGame->angleDirection, 0);
    EXPECT_EQ(theGame->mode, MODE_AIM);
    Release(VK_UP);
    EXPECT_EQ(theGame->powerDirection, 0);
    // F11 is the frame rate's, even now.
    const bool fps = theRenderer.IsFpsDisplayed();
    Press(VK_F11);
    EXPECT_NE(theRenderer.IsFpsDisplayed(), fps);
    EXPECT_EQ(Text(), std::string("\x25 ", 2));
}

TEST_F(CommandLineTest, AFullLineTakesNoMoreKeysAndItsCommandRunsWhole)
{
    StartAiming();
    Press(KEY_COMMAND_LINE);
    const std::string name(250, 'N');
    Type("WARP " + name + "XYZ");
    EXPECT_EQ(theGame->commandLineLength, 254);
    EXPECT_EQ(Text(), "WARP " + name.substr(0, 249));
    Press(VK_BACK);
    Type("Q");
    EXPECT_EQ(Text(), "WARP " + name.substr(0, 248) + "Q");
    Press(VK_RETURN);
    EXPECT_NE(log.find("WARNING: no map file \"data/maps/" + name.substr(0, 248) + "Q.map\""), std::string::npos);
}

TEST_F(CommandLineTest, AWordCountsOverItsOwnLengthAndItsFormatScansTheRest)
{
    StartAiming();
    Press(KEY_COMMAND_LINE);
    // WARPX: the word is "warp", and "WARP %s" reads X from right after it.
    Command("WARPX");
    EXPECT_NE(log.find("no map file \"data/maps/X.map\""), std::string::npos);
    // The editor's commands, without an editor, only say so.
    Command("LOAD NOPE");
    EXPECT_NE(log.find("CONSOLE: WARNING: the editor is not open; no map is loaded\n"), std::string::npos);
    // No field: the command does nothing; an unknown word only logs.
    const size_t warnings = SplitLines(log).size();
    Command("WARP");
    Command("HELLO");
    EXPECT_NE(log.find("CONSOLE: Executing Console Command: HELLO\n"), std::string::npos);
    EXPECT_EQ(SplitLines(log).size(), warnings + 2);
    EXPECT_EQ(theGame->currentMapName, "map01");
    // The words match ignoring case, the formats' capitals do not: this is "warp" doing nothing.
    strcpy(theGame->commandLineText, "warp map02");
    theGame->commandLineLength = 10;
    log += CaptureDebugOutput([] { theGame->ExecuteCommand(); });
    EXPECT_EQ(theGame->currentMapName, "map01");
    EXPECT_EQ(log.find("no map file \"data/maps/map02.map\""), std::string::npos);
}

TEST_F(CommandLineTest, QuitEndsTheProgramAtTheEndOfTheFrame)
{
    Start();
    Press(KEY_COMMAND_LINE);
    Command("QUITTING");
    EXPECT_TRUE(theApplication.IsShutdownRequested());
    Frames(1);
    EXPECT_FALSE(TheApplication::IsInitialized());
}
