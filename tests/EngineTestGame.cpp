#include "EngineTestGame.h"

#include "Engine/TheApplication.h"
#include "TestSupport.h"

EngineTestGame theTestGame;

void EngineTestGame::PreInit()
{
    calls.push_back("PreInit");
    TheApplication::SetName("Engine Test");
    if (stopInPreInit) theApplication.RequestShutdown();
}

void EngineTestGame::RunFrame()
{
    calls.push_back("RunFrame");
    ++framesRun;
}

void EngineTestGame::ProcessCommandLine(std::string line)
{
    calls.push_back("ProcessCommandLine");
    commandLine = line;
}

bool EngineTestGame::HandleInputEvent(int32_t type, uint8_t code)
{
    events.emplace_back(type, code);
    return consumeEvents;
}

void EngineTestGame::Reset()
{
    calls.clear();
    events.clear();
    commandLine.clear();
    stopInPreInit = false;
    consumeEvents = false;
    keepOpen = false;
    framesRun = 0;
}

void StartEngineForTest()
{
    CaptureDebugOutput([] { theApplication.Startup(); });
}

void StopEngineForTest()
{
    theApplication.RequestShutdown();
    CaptureDebugOutput([] { theApplication.RunFrame(); });
}
