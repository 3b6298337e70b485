// A game interface for engine tests: records what the engine calls and can be
// told to consume events or to stop during PreInit.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "Engine/TheGameInterfaceAbstract.h"
#include "TestSupport.h"

class EngineTestGame : public TheGameInterfaceAbstract {
public:
    void PreInit() override;
    void PostInit() override { calls.push_back("PostInit"); }
    void RunFrame() override;
    void PreShutdown() override { calls.push_back("PreShutdown"); }
    void ProcessCommandLine(std::string commandLine) override;
    bool HandleInputEvent(int32_t type, uint8_t code) override;
    bool MayClose() override { return !keepOpen; }
    // Forgets every call and setting (the instance itself lives as long as the program).
    void Reset();

    std::vector<std::string> calls;
    std::vector<std::pair<int32_t, int>> events;
    std::string commandLine;
    bool stopInPreInit = false;
    bool consumeEvents = false;
    // Answers the close box with "not now".
    bool keepOpen = false;
    int framesRun = 0;
};

extern EngineTestGame theTestGame;

// Starts the engine as WinMain would (windowed 640 x 480) and stops it again.
void StartEngineForTest();
void StopEngineForTest();

// Each engine test starts from a fresh engine, so a test program passes run on its own and
// repeated, not only one test per process as ctest runs it.
class EngineTest : public testing::Test {
protected:
    void SetUp() override
    {
        // Death tests start a fresh process rather than fork one with a GL driver's threads.
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        ResetEngineForTest();
        theTestGame.Reset();
    }
};
