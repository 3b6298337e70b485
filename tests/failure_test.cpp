#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>

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
