// The start-up dialog answered by the script's dialog lines, headless: each choice, Quit, Help,
// and no answer at all (Enter at once).
#include <gtest/gtest.h>

#include <PlatformScript.h>

#include <cstring>
#include <string>
#include <vector>

#include "Engine/TheConsole.h"
#include "Engine/TheRenderer.h"
#include "Game/GameInterface.h"
#include "GameFixture.h"

static TheGameInterface theGameInterface;

namespace {

const char* const PREFIX = "CONSOLE (pre-initialization!): ";

class StartupDialogTest : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        // The adapter offers 1280 x 1024 at 32 bits and 60 or 85 Hz, and at 16 bits and 85 Hz.
        const std::vector<DEVMODEA> modes = {MakeAdapterMode(1280, 1024, 32, 60), MakeAdapterMode(1280, 1024, 32, 85),
                                             MakeAdapterMode(1280, 1024, 16, 85)};
        PlatformSetAdapterModesForTesting(modes.data(), int(modes.size()));
        PlatformSetFullscreenResultForTesting(DISP_CHANGE_SUCCESSFUL);
    }
    void TearDown() override
    {
        GameTest::TearDown();
        PlatformUnloadScript();
        PlatformClearFullscreenResultForTesting();
        PlatformSetAdapterModesForTesting(nullptr, -1);
    }
    void Answer(const std::string& lines)
    {
        std::string error;
        ASSERT_TRUE(PlatformLoadScriptText(lines, "dialog.script", &error)) << error;
    }
    // The dialog's lines of the log, without their prefix.
    std::vector<std::string> DialogLines() const
    {
        std::vector<std::string> lines;
        for (const std::string& line : SplitLines(log)) {
            if (line.compare(0, strlen(PREFIX), PREFIX) != 0) continue;
            const std::string text = line.substr(strlen(PREFIX));
            if (text.compare(0, 3, "ON ") == 0 || text.compare(0, 15, "Dialog returned") == 0) lines.push_back(text);
        }
        return lines;
    }
    std::string ModeLine() const
    {
        for (const std::string& line : SplitLines(log))
            if (line.find("Setting current display mode") != std::string::npos) return line;
        return "";
    }
};

const std::vector<std::string> OK_LINES = {"ON OKAY", "Dialog returned; return-value was 2", "Dialog returned : OK"};

}  // namespace

struct Choice {
    int radio;
    const char* mode;
    GameMode gameMode;
    bool editor;
};

void PrintTo(const Choice& choice, std::ostream* out)
{
    *out << choice.radio;
}

// One program run each: the engine starts once per process.
class StartupChoiceTest : public StartupDialogTest, public testing::WithParamInterface<Choice> {};

TEST_P(StartupChoiceTest, GivesItsDisplayModeGameModeAndEditorFlag)
{
    const Choice& choice = GetParam();
    Answer("dialog " + std::to_string(choice.radio) + " ok\n");
    Start();
    EXPECT_EQ(DialogLines(), OK_LINES);
    EXPECT_EQ(ModeLine(), std::string("CONSOLE: VideoSystem : Setting current display mode ") + choice.mode);
    EXPECT_EQ(theGame->mode, choice.gameMode);
    EXPECT_EQ(theEditorShell->active, choice.editor);
    EXPECT_EQ(theGame->maps.empty(), choice.editor);  // only the game loads map01 at once
}

// A full-screen request is 1280 x 1024 at 32 bits and 85 Hz: the adapter's second mode, entry 11.
INSTANTIATE_TEST_SUITE_P(Choices, StartupChoiceTest,
                         testing::Values(Choice{1001, "#11: 1280 x 1024 x 32 bpp, 85 hz (fullscreen)", MODE_EDIT, true},
                                         Choice{1002, "#8: 1280 x 1024 x 32 bpp (windowed)", MODE_EDIT, true},
                                         Choice{1003, "#11: 1280 x 1024 x 32 bpp, 85 hz (fullscreen)", MODE_TITLE,
                                                false},
                                         Choice{1004, "#8: 1280 x 1024 x 32 bpp (windowed)", MODE_TITLE, false}),
                         [](const testing::TestParamInfo<Choice>& info) { return std::to_string(info.param.radio); });

TEST_F(StartupDialogTest, WithoutAnAnswerEnterStartsTheWindowedGame)
{
    Start();
    EXPECT_EQ(DialogLines(), OK_LINES);
    EXPECT_EQ(ModeLine(), "CONSOLE: VideoSystem : Setting current display mode #8: 1280 x 1024 x 32 bpp (windowed)");
    EXPECT_EQ(theGame->mode, MODE_TITLE);
    EXPECT_FALSE(theEditorShell->active);
}

TEST_F(StartupDialogTest, QuitStartsNothingAndWinMainReturnsZero)
{
    Answer("dialog 1001 cancel\n");
    int result = -1;
    char commandLine[] = "";
    log = CaptureDebugOutput([&] { result = WinMain(nullptr, nullptr, commandLine, SW_SHOWNORMAL); });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(DialogLines(), (std::vector<std::string>{"ON CANCEL", "Dialog returned; return-value was 1",
                                                       "Dialog returned : CANCEL"}));
    EXPECT_FALSE(TheApplication::IsInitialized());
    EXPECT_FALSE(TheConsole::IsInitialized());
    EXPECT_EQ(log.find("(finished)"), std::string::npos) << log;
    EXPECT_EQ(theGame->mode, MODE_TITLE);  // the choice was not taken
}

TEST_F(StartupDialogTest, HelpOnlyLogsAndTheDialogStaysOpenWithItsChoice)
{
    // Help with "Fullscreen Editor" chosen, then nothing more: Enter takes that choice.
    Answer("dialog 1001 help\n");
    Start();
    std::vector<std::string> expected = {"ON HELP"};
    expected.insert(expected.end(), OK_LINES.begin(), OK_LINES.end());
    EXPECT_EQ(DialogLines(), expected);
    EXPECT_EQ(theGame->mode, MODE_EDIT);
    EXPECT_NE(ModeLine().find("(fullscreen)"), std::string::npos);
}
