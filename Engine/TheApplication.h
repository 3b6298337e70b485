// The program's life: start-up, the message pump and frame loop, shutdown, and the frame clock.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "Engine/FrameNumber.h"

class TheApplication {
public:
    TheApplication();
    ~TheApplication();

    bool Startup();
    void RunMainLoop();
    void RequestShutdown() { _isShutdownRequested = true; }

    // The failure reporter's way into the end-of-frame shutdown check.
    void RunEmergencyShutdown() { _CheckForShutdownRequest(); }

    static void SetName(const std::string& name);
    static const char* GetName();

    void OnAppActivated();
    void OnAppDeactivated();

    void SetInstanceHandle(HINSTANCE instance) { _instance = instance; }
    HINSTANCE GetInstanceHandle() const { return _instance; }
    void SetCommandLine(const std::string& commandLine) { _commandLine = commandLine; }
    const std::string& GetCommandLine() const { return _commandLine; }

    // Kept in the engine's core (FrameNumber.h), where the map model reads it.
    int GetFrameNumber() const { return GetCurrentFrameNumber(); }
    double GetFrameSeconds() const { return _frameSeconds; }
    double GetCurrentSeconds() const { return _currentSeconds; }
    float GetFramesPerSecond() const { return _framesPerSecond; }
    bool IsShutdownRequested() const { return _isShutdownRequested; }
    bool IsShuttingDown() const { return _isShuttingDown; }
    static bool IsInitialized() { return _isInitialized; }

    // One frame; normally only RunMainLoop calls it.
    void RunFrame();

private:
    void _ProcessCommandLine();
    void _UpdateFrameTiming();
    void _CheckForShutdownRequest();
    void _Shutdown();

    std::string _commandLine;
    HINSTANCE _instance = nullptr;
    bool _isShuttingDown = false;
    bool _isShutdownRequested = false;
    double _frameSeconds = 0.1;
    double _currentSeconds = 0.0;
    float _framesPerSecond = 60.0f;

    static bool _isInitialized;
    static std::string s_name;
};

extern TheApplication theApplication;
