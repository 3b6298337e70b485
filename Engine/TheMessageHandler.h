// Routes window messages to the video system, the application and the input system.
#pragma once

#include <windows.h>

class TheMessageHandler {
public:
    TheMessageHandler() = default;
    ~TheMessageHandler();

    void Startup();
    void Shutdown();
    static bool IsInitialized() { return _isInitialized; }

    bool HandleMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    static bool _isInitialized;
};

extern TheMessageHandler theMessageHandler;

// The window procedure of the rendering window.
LRESULT CALLBACK WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
