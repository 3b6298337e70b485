// Display modes, the one window and its OpenGL context.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "Engine/AssertionFailure.h"
#include "Engine/Vector.h"

struct DisplayModeRecord {
    static constexpr uint32_t FLAG_FULLSCREEN = 1;
    static constexpr uint32_t FLAG_KEEP_POSITION = 4;

    DEVMODEA devMode;
    uint32_t flags;
};

class TheVideoSystem {
public:
    static constexpr uint32_t MAX_VID_MODES = 1024;
    // Each part of a mode's description is formatted into a buffer of this size.
    static constexpr size_t DESCRIPTION_BUFFER_SIZE = 256;

    TheVideoSystem() = default;
    ~TheVideoSystem();

    void SetDesiredDisplayMode(int width, int height, int bitsPerPixel, int refreshHz, int flags);
    void Startup();
    void Shutdown();
    static bool IsInitialized() { return _isInitialized; }

    void EnumerateDisplayModes();
    void LogDisplayModes(bool verbose);
    uint32_t FindBestDisplayMode(int width, int height, int bitsPerPixel, int refreshHz, bool fullscreen) const;
    uint32_t SelectDisplayMode(int width, int height, int bitsPerPixel, int refreshHz, int flags);
    void SetDisplayMode(uint32_t vidMode, int flags, bool force);
    std::string GetDisplayModeDescription(uint32_t index) const;

    bool IsWindowedMode(uint32_t index) const;
    bool IsCurrentModeWindowed() const { return IsWindowedMode(_currentMode); }
    int GetWidth() const;
    int GetHeight() const;
    Vec2i GetSize() const { return Vec2i(GetWidth(), GetHeight()); }
    uint32_t GetNumDisplayModes() const { return _numVidModes; }
    uint32_t GetCurrentDisplayMode() const { return _currentMode; }
    const DisplayModeRecord* GetDisplayModeRecord(uint32_t index) const { return _vidModes[index]; }
    const RECT& GetWindowRectangle() const { return _windowRect; }
    const RECT& GetDesktopRectangle() const { return _desktopRect; }
    Vec2i GetClientOrigin() const { return Vec2i(_clientOriginX, _clientOriginY); }
    HDC GetHDC() const { return _hDC; }

    static HWND GetHWnd() { return _hWnd; }
    // True when the pixel format's swap copies the back buffer and leaves it as it was, so a
    // frame need only redraw what changed; false where the driver does not say so.
    bool IsBackBufferKept() const { return _isBackBufferKept; }
    void SwapBuffers();
    void SetClientOrigin(int x, int y);
    void ScreenToClient(int screenX, int screenY, int& outX, int& outY) const;

    void ShowGdiPlaque(const char* format, ...) PW_PRINTF(2, 3);

private:
    // The tests of the window rules measure a desktop of their own and place a window on it
    // without creating one.
    friend class VideoSystemTestAccess;

    // Measures the desktop; the first step of Startup.
    void _GetDesktopCharacteristics();
    // Window and client rectangles for the current mode, fitted to the desktop.
    void _ComputeWindowRectangle(DWORD style, DWORD exStyle);
    uint32_t _CreateWindowedDisplayMode(int width, int height, int bitsPerPixel);
    void _FreeDisplayModes();
    void _FitWindowToDesktop();
    void _CreateRenderingWindow();
    void _RegisterWindowClass();
    void _SwitchToFullscreenMode(const std::string& description);
    void _CreateAndShowWindow();
    PIXELFORMATDESCRIPTOR _DescribePixelFormat() const;
    void _CreateRenderingContextForWindow(HWND window, const PIXELFORMATDESCRIPTOR& pfd);

    const char* _windowClassName = "OpenGL GameEngine Window Class";
    int32_t _desiredWidth = 640;
    int32_t _desiredHeight = 480;
    int32_t _desiredBitsPerPixel = 32;
    int32_t _desiredRefreshHz = 60;
    // Nothing draws with depth testing: a depth buffer would only cost its clearing.
    int32_t _desiredDepthBits = 0;
    int32_t _desiredFlags = 0;
    DisplayModeRecord* _vidModes[MAX_VID_MODES] = {};
    uint32_t _numVidModes = 0;
    uint32_t _currentMode = 0;
    RECT _clientRect = {0, 0, 0, 0};
    int32_t _clientOriginX = 0;
    int32_t _clientOriginY = 0;
    RECT _windowRect = {0, 0, 0, 0};
    RECT _desktopRect = {0, 0, 0, 0};
    HDC _hDC = nullptr;
    HGLRC _hRC = nullptr;
    HWND _hDesktopWnd = nullptr;
    bool _showPlaqueText = true;
    bool _isBackBufferKept = false;
    bool _isPlaqueShown = false;  // the window has been filled once

    static bool _isInitialized;
    static HWND _hWnd;
};

extern TheVideoSystem theVideoSystem;
