#include "Engine/TheApplication.h"

#include "Engine/AssertionFailure.h"
#include "Engine/FailureBoxes.h"
#include "Engine/TheConsole.h"
#include "Engine/TheGameInterfaceAbstract.h"
#include "Engine/TheInputSystem.h"
#include "Engine/TheMessageHandler.h"
#include "Engine/TheRenderer.h"
#include "Engine/TheSoundSystem.h"
#include "Engine/TheVideoSystem.h"
#include "Engine/Timer.h"

bool TheApplication::_isInitialized = false;

// The frame duration every consumer sees stays within these limits, so a stall never moves the
// simulation on by more than a tenth of a second.
static const double MAX_FRAME_SECONDS = 0.1;
static const double MIN_FRAME_SECONDS = 0.001;
// The frame-rate estimate takes a tenth of each new frame's rate (32-bit float weights).
static const float NEW_RATE_WEIGHT = 0.1f;
static const float OLD_RATE_WEIGHT = 0.9f;
static const DWORD FRAME_SLEEP_MILLISECONDS = 2;

TheApplication::TheApplication() : _currentSeconds(Timer::GetSeconds())
{
    SetCurrentFrameNumber(0);
    // A failure in the program with a window ends with the message boxes and the shutdown.
    SetFailureEnding(EndFailureWithMessageBoxes);
}

TheApplication::~TheApplication()
{
    FATAL_CHECK(!_isInitialized,
                "TheApplication was destroyed while running; RequestShutdown() should be called first!");
}

void TheApplication::SetName(const std::string& name)
{
    s_name = name;
}

const char* TheApplication::GetName()
{
    return s_name.c_str();
}

bool TheApplication::Startup()
{
    theConsole.Printf("::: Initialization : Application (starting)\n");
    CHECK_NOT_YET_INITIALIZED("TheApplication");
    FATAL_CHECK(TheGameInterfaceAbstract::IsGamePresent(),
                "ENGINE USAGE ERROR:\n"
                "  You must create a static instance of a class derived from TheGameInterfaceAbstract.\n"
                "  This derived class - typically named TheGameInterface - serves as the main interface    by which "
                "the engine can call into game code.\n"
                "  See TheGameInterfaceAbstract and engine documentation for more details.\n");
    _ProcessCommandLine();
    _isInitialized = true;

    TheGameInterfaceAbstract::GetInstance()->PreInit();
    if (_isShutdownRequested) {
        _isInitialized = false;
        return false;
    }

    theConsole.Startup();
    theInputSystem.Startup();
    theMessageHandler.Startup();
    theVideoSystem.Startup();
    theSoundSystem.Startup();
    theRenderer.Startup();

    TheGameInterfaceAbstract::GetInstance()->PostInit();
    theConsole.Printf("::: Initialization : Application (finished)\n");
    return true;
}

void TheApplication::_ProcessCommandLine()
{
    TheGameInterfaceAbstract::GetInstance()->ProcessCommandLine(_commandLine);  // the game gets its own copy
}

void TheApplication::RunMainLoop()
{
    while (!_isShuttingDown) {
        MSG msg;
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                RequestShutdown();
            } else {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        } else {
            Sleep(FRAME_SLEEP_MILLISECONDS);
            RunFrame();
        }
    }
}

void TheApplication::RunFrame()
{
    if (_isShuttingDown) return;
    _UpdateFrameTiming();
    theSoundSystem.Update();
    theInputSystem.Update();
    TheGameInterfaceAbstract::GetInstance()->RunFrame();
    theRenderer.DrawOverlays();
    theVideoSystem.SwapBuffers();
    theRenderer.SetFullWindowViewport();
    _CheckForShutdownRequest();
    SetCurrentFrameNumber(GetCurrentFrameNumber() + 1);
}

void TheApplication::_UpdateFrameTiming()
{
    const double now = Timer::GetSeconds();
    _frameSeconds = now - _currentSeconds;
    _currentSeconds = now;
    if (_frameSeconds > MAX_FRAME_SECONDS) {
        _frameSeconds = MAX_FRAME_SECONDS;
    } else if (_frameSeconds < MIN_FRAME_SECONDS) {
        _frameSeconds = MIN_FRAME_SECONDS;
    }
    _framesPerSecond = static_cast<float>((1.0 / _frameSeconds) * static_cast<double>(NEW_RATE_WEIGHT) +
                                          static_cast<double>(_framesPerSecond) * static_cast<double>(OLD_RATE_WEIGHT));
}

void TheApplication::_CheckForShutdownRequest()
{
    if (_isShutdownRequested) _Shutdown();
}

void TheApplication::_Shutdown()
{
    theConsole.Printf("::: _Shutdown : Application (starting)\n");
    _isShuttingDown = true;
    if (TheGameInterfaceAbstract::IsGamePresent()) TheGameInterfaceAbstract::GetInstance()->PreShutdown();

    theRenderer.Shutdown();
    theSoundSystem.Shutdown();
    theVideoSystem.Shutdown();
    theMessageHandler.Shutdown();
    theInputSystem.Shutdown();
    theConsole.Shutdown();

    _isInitialized = false;
    theConsole.Printf("::: _Shutdown : Application (finished)\n");
}

void TheApplication::OnAppActivated()
{
    theInputSystem.StartMouseTracking();
}

void TheApplication::OnAppDeactivated()
{
    theInputSystem.StopMouseTracking();
}
