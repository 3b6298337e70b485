#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <stdexcept>

#include "Engine/AssertionFailure.h"
#include "Engine/TheApplication.h"
#include "Engine/TheConsole.h"
#include "Engine/TheGameInterfaceAbstract.h"
#include "TestSupport.h"

namespace {

// Marks the game's PreShutdown in the debugger output so the emergency path can be seen.
class FailureTestGame : public TheGameInterfaceAbstract {
public:
    void PreShutdown() override
    {
        OutputDebugStringA("game PreShutdown\n");
        if (s_failInPreShutdown) AssertionFailure(2, "g.cpp", "ALL BUILDS", "inner", "second failure");
    }
    static bool s_failInPreShutdown;
};
bool FailureTestGame::s_failInPreShutdown = false;
FailureTestGame theFailureTestGame;

}  // namespace

TEST(SafeFormat, AlwaysTerminatesAndCuts)
{
    char buffer[8];
    SafeFormat(buffer, sizeof(buffer), "%s", "abcdefghijkl");
    EXPECT_STREQ(buffer, "abcdefg");
    SafeFormat(buffer, sizeof(buffer), "%d", 42);
    EXPECT_STREQ(buffer, "42");
}

TEST(DebugPrintf, CutsAt2047Characters)
{
    const std::string big(3000, 'y');
    const std::string out = CaptureDebugOutput([&] { DebugPrintf("%s", big.c_str()); });
    EXPECT_EQ(out, std::string(2047, 'y'));
}

TEST(FailureDeathTest, ReportBoxesShutdownAndExitCode)
{
    TheApplication::SetName("Failing App");
    EXPECT_EXIT(
        {
            theConsole.Startup();
            AssertionFailure(77, "Engine/Somewhere.cpp", "ALL BUILDS", "file != NULL", "Failed to load sound %s",
                             "data/sounds/x.wav");
        },
        testing::ExitedWithCode(1),
        "ASSERTION FAILURE:\nEngine/Somewhere.cpp\\(77\\):  \\(ALL BUILDS\\)\nExpression was: \\( file != NULL \\)\n\n"
        "   Failed to load sound data/sounds/x.wav\n"
        "(.|\n)*Failing App : Program Error"
        "(.|\n)*Failing App : Emergency Shutdown(.|\n)*The application will now close\\."
        "(.|\n)*::: _Shutdown : Application \\(starting\\)"
        "(.|\n)*game PreShutdown"
        "(.|\n)*::: Shutdown : Console \\(starting\\)"
        "(.|\n)*CONSOLE \\(pre-initialization!\\): ::: _Shutdown : Application \\(finished\\)");
}

TEST(FailureDeathTest, MissingMessageLeavesThreeBlanks)
{
    EXPECT_EXIT(AssertionFailure(1, "f.cpp", "ALL BUILDS", "x", "%s", ""), testing::ExitedWithCode(1),
                "Expression was: \\( x \\)\n\n   \n");
}

TEST(FailureDeathTest, FailureDuringTheEmergencyShutdownEndsAtOnce)
{
    using testing::AllOf;
    using testing::HasSubstr;
    using testing::Not;
    EXPECT_EXIT(
        {
            theConsole.Startup();
            FailureTestGame::s_failInPreShutdown = true;
            AssertionFailure(1, "f.cpp", "ALL BUILDS", "outer", "first failure");
        },
        testing::ExitedWithCode(1),
        AllOf(HasSubstr("first failure"), HasSubstr("game PreShutdown"), Not(HasSubstr("second failure")),
              Not(HasSubstr("::: Shutdown : Console"))));
}

TEST(FailureTrap, TurnsAReportIntoItsPartsShowingNothingAndStopsOnlyTheWork)
{
    TrappedReport report;
    bool wentOn = false;
    const std::string output = CaptureDebugOutput([&] {
        EXPECT_FALSE(TrapFatalReports(
            [&] {
                AssertionFailure(12, "Engine/Here.cpp", "ALL BUILDS", "x > 0", "bad %s %d", "file", 3);
                wentOn = true;
            },
            report));
    });
    EXPECT_FALSE(wentOn);
    EXPECT_EQ(output, "") << "no report text, no boxes";
    EXPECT_EQ(report.file, "Engine/Here.cpp");
    EXPECT_EQ(report.line, 12);
    EXPECT_EQ(report.expression, "x > 0");
    EXPECT_EQ(report.message, "bad file 3");

    // The innermost trap takes the report, and the work around it goes on.
    bool outerWentOn = false;
    EXPECT_TRUE(TrapFatalReports(
        [&] {
            TrappedReport inner;
            EXPECT_FALSE(TrapFatalReports([] { FATAL_CHECK(1 + 1 == 3, "%s", "inner"); }, inner));
            EXPECT_EQ(inner.expression, "1 + 1 == 3");
            outerWentOn = true;
        },
        report));
    EXPECT_TRUE(outerWentOn);
    // Anything else the work throws is not the trap's.
    EXPECT_THROW(TrapFatalReports([] { throw std::runtime_error("other"); }, report), std::runtime_error);
}

TEST(FailureTrapDeathTest, AfterATrapHowEverItsWorkEndedAReportEndsTheProgramAgain)
{
    EXPECT_EXIT(
        {
            TrappedReport report;
            TrapFatalReports([] { FATAL_CHECK(false, "%s", "trapped"); }, report);
            try {
                TrapFatalReports([] { throw 1; }, report);
            } catch (int) {}
            AssertionFailure(5, "f.cpp", "ALL BUILDS", "after", "not trapped");
        },
        testing::ExitedWithCode(1), "Expression was: \\( after \\)\n\n   not trapped\n(.|\n)*Emergency Shutdown");
}
