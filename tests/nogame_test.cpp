#include <gtest/gtest.h>

#include "Engine/TheApplication.h"

// This program defines no game interface, as a game that forgot it would.
TEST(NoGameDeathTest, StartupWithoutAGameIsAnEngineUsageError)
{
    EXPECT_EXIT(theApplication.Startup(), testing::ExitedWithCode(1),
                "Expression was: \\( TheGameInterfaceAbstract::IsGamePresent\\(\\) \\)\n\n   ENGINE USAGE ERROR:\n"
                "  You must create a static instance of a class derived from TheGameInterfaceAbstract\\.\n"
                "  This derived class - typically named TheGameInterface - serves as the main interface    by which "
                "the engine can call into game code\\.\n"
                "  See TheGameInterfaceAbstract and engine documentation for more details\\.\n");
}
