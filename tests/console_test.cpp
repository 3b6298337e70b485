#include <gtest/gtest.h>

#include <string>

#include "Engine/TheConsole.h"
#include "TestSupport.h"

namespace {

// Every test starts with a freshly started console and leaves it stopped.
class ConsoleTest : public testing::Test {
protected:
    void SetUp() override
    {
        CaptureDebugOutput([] { theConsole.Startup(); });
    }
    void TearDown() override
    {
        CaptureDebugOutput([] { theConsole.Shutdown(); });
    }

    std::vector<std::string> HeldLines(int count)
    {
        std::vector<std::string> lines;
        for (int n = theConsole.GetNewestLineNumber() - count + 1; n <= theConsole.GetNewestLineNumber(); ++n)
            lines.push_back(theConsole.GetLine(n));
        return lines;
    }
};

// A console as a new program has it: nothing logged yet.
class ConsoleStartupLog : public testing::Test {
protected:
    void SetUp() override { Reconstruct(theConsole); }
};

}  // namespace

TEST(ConsoleBeforeStartup, PrintfGoesToTheDebuggerWithThePrefixOnly)
{
    const int newestBefore = theConsole.GetNewestLineNumber();
    const std::string out = CaptureDebugOutput([] { theConsole.Printf("x=%d\n", 5); });
    EXPECT_EQ(out, "CONSOLE (pre-initialization!): x=5\n");
    EXPECT_EQ(theConsole.GetNewestLineNumber(), newestBefore);
}

TEST_F(ConsoleTest, StartupHoldsTheEmptyLineAndTheFinishedLine)
{
    // A restarted console keeps counting its serial numbers; only the ring is cleared.
    const int newest = theConsole.GetNewestLineNumber();
    EXPECT_EQ(theConsole.GetOldestLineNumber(), newest - 1);
    EXPECT_EQ(theConsole.GetLine(newest - 1), "");
    EXPECT_EQ(theConsole.GetLine(newest), "::: Initialization : Console (finished)");
}

TEST_F(ConsoleStartupLog, FirstStartLogsThroughBothPaths)
{
    // The first start of the console: line 0 and line 1, as a new program sees them.
    const std::string out = CaptureDebugOutput([] { theConsole.Startup(); });
    EXPECT_EQ(out,
              "CONSOLE (pre-initialization!): ::: Initialization : Console (starting)\n"
              "CONSOLE: ::: Initialization : Console (finished)\n");
    EXPECT_EQ(theConsole.GetNewestLineNumber(), 1);
    EXPECT_EQ(theConsole.GetOldestLineNumber(), 0);
    const std::string stop = CaptureDebugOutput([] { theConsole.Shutdown(); });
    EXPECT_EQ(stop,
              "CONSOLE: ::: Shutdown : Console (starting)\n"
              "CONSOLE (pre-initialization!): ::: Shutdown : Console (finished)\n");
}

TEST_F(ConsoleTest, PrintSplitsAtLineFeeds)
{
    struct Case {
        const char* text;
        std::vector<std::string> lines;
    } cases[] = {
        {"plain", {"plain"}}, {"ended\n", {"ended"}}, {"\n", {""}}, {"a\n\nb", {"a", "", "b"}}, {"a\n\n", {"a", ""}},
    };
    for (const Case& c : cases) {
        const int before = theConsole.GetNewestLineNumber();
        CaptureDebugOutput([&] { theConsole.Print(c.text); });
        const int added = theConsole.GetNewestLineNumber() - before;
        ASSERT_EQ(added, static_cast<int>(c.lines.size())) << c.text;
        EXPECT_EQ(HeldLines(added), c.lines) << c.text;
    }
    const int before = theConsole.GetNewestLineNumber();
    CaptureDebugOutput([] { theConsole.Print(""); });
    EXPECT_EQ(theConsole.GetNewestLineNumber(), before);
}

TEST_F(ConsoleTest, EachLineIsEchoedOnce)
{
    const int before = theConsole.GetNewestLineNumber();
    const std::string out = CaptureDebugOutput([] { theConsole.Printf("a\nb"); });
    EXPECT_EQ(out, "CONSOLE: a\nCONSOLE: b\n");
    EXPECT_EQ(theConsole.GetNewestLineNumber(), before + 2);
}

TEST_F(ConsoleTest, FormattedOutputIsCutAt2047Characters)
{
    const std::string longText(5000, 'x');
    CaptureDebugOutput([&] { theConsole.Printf("%s", longText.c_str()); });
    EXPECT_EQ(theConsole.GetLine(theConsole.GetNewestLineNumber()).size(), 2047u);
    CaptureDebugOutput([&] { theConsole.PrintfCategory(CONSOLE_CATEGORY_SOUND, "%s", longText.c_str()); });
    EXPECT_EQ(theConsole.GetLine(theConsole.GetNewestLineNumber()), std::string(2047, 'x'));
}

TEST_F(ConsoleTest, CategoryLinesPrintWhileTheMaskIsAllOnes)
{
    CaptureDebugOutput([] { theConsole.PrintfCategory(CONSOLE_CATEGORY_SOUND, "WARNING: %s\n", "beep"); });
    EXPECT_EQ(theConsole.GetLine(theConsole.GetNewestLineNumber()), "WARNING: beep");
}

TEST_F(ConsoleTest, FullRingReplacesTheOldestLine)
{
    testing::internal::CaptureStderr();
    for (int i = 0; i < TheConsole::MAX_CONSOLE_LINES + 10; ++i) theConsole.Printf("line %d\n", i);
    testing::internal::GetCapturedStderr();

    EXPECT_EQ(theConsole.GetLineCount(), TheConsole::MAX_CONSOLE_LINES);
    const int newest = theConsole.GetNewestLineNumber();
    const int oldest = theConsole.GetOldestLineNumber();
    EXPECT_EQ(newest - oldest + 1, TheConsole::MAX_CONSOLE_LINES);
    EXPECT_EQ(theConsole.GetLine(newest), "line " + std::to_string(TheConsole::MAX_CONSOLE_LINES + 9));
    // The two start-up lines and the first ten of ours were pushed out.
    EXPECT_EQ(theConsole.GetLine(oldest), "line 10");

    CaptureDebugOutput([] { theConsole.Printf("one more\n"); });
    EXPECT_EQ(theConsole.GetOldestLineNumber(), oldest + 1);
    EXPECT_EQ(theConsole.GetLineCount(), TheConsole::MAX_CONSOLE_LINES);
    EXPECT_EQ(theConsole.GetLine(newest + 1), "one more");
    EXPECT_EQ(theConsole.GetLine(oldest + 1), "line 11");
}

TEST(ConsoleDeathTest, StartingTwiceIsFatal)
{
    EXPECT_EXIT(
        {
            theConsole.Startup();
            theConsole.Startup();
        },
        testing::ExitedWithCode(1),
        "Expression was: \\( !_isInitialized \\)\n\n   TheConsole was initialized twice; either a second "
        "TheConsole was started or Startup\\(\\) was called on an already-running system\\.");
}

TEST(ConsoleDeathTest, DestroyedWhileRunningIsFatal)
{
    EXPECT_EXIT(
        {
            theConsole.Startup();
            exit(0);  // static destruction with the console still running
        },
        testing::ExitedWithCode(1), "TheConsole was destroyed while running; Shutdown\\(\\) should be called first!");
}
