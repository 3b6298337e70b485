// A game interface for engine tests: records what the engine calls and can be
// told to consume events or to stop during PreInit.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "Engine/TheGameInterfaceAbstract.h"

class EngineTestGame : public TheGameInterfaceAbstract {
public:
    void PreInit() override;
    void PostInit() override { calls.push_back("PostInit"); }
    void RunFrame() override;
    void PreShutdown() override { calls.push_back("PreShutdown"); }
    void ProcessCommandLine(std::string commandLine) override;
    bool HandleInputEvent(int32_t type, uint8_t code) override;

    std::vector<std::string> calls;
    std::vector<std::pair<int32_t, int>> events;
    std::string commandLine;
    bool stopInPreInit = false;
    bool consumeEvents = false;
    int framesRun = 0;
};

extern EngineTestGame theTestGame;

// Starts the engine as WinMain would (windowed 640 x 480) and stops it again.
void StartEngineForTest();
void StopEngineForTest();
