// The engine's core: the console and the frame number, which the map model and the flight use
// without a window. The console is constructed between the application and the other engine
// singletons (EngineGlobals.cpp), and destroyed between them.
#include "Engine/Compiler.h"
#include "Engine/FrameNumber.h"
#include "Engine/TheConsole.h"

PW_STATICS_FIRST

TheConsole theConsole PW_CONSTRUCT_CONSOLE;

static int32_t s_frameNumber = 0;

int32_t GetCurrentFrameNumber()
{
    return s_frameNumber;
}

void SetCurrentFrameNumber(int32_t frameNumber)
{
    s_frameNumber = frameNumber;
}
