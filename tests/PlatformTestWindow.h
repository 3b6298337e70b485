// A window of the platform layer's own tests: a class whose procedure records
// every message it receives, created and torn down for each test.
#pragma once

#include <SDL.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "PlatformTesting.h"

struct RecordedMessage {
    HWND hWnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

inline std::vector<RecordedMessage>& RecordedMessages()
{
    static std::vector<RecordedMessage> messages;
    return messages;
}

// Handles WM_CLOSE itself, as the program does; everything else goes to default handling.
inline LRESULT CALLBACK RecordingWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    RecordedMessages().push_back(RecordedMessage{hWnd, message, wParam, lParam});
    if (message == WM_CLOSE) return 0;
    return DefWindowProcA(hWnd, message, wParam, lParam);
}

inline bool WasRecorded(UINT message)
{
    for (const RecordedMessage& m : RecordedMessages()) {
        if (m.message == message) return true;
    }
    return false;
}

inline int CountRecorded(UINT message)
{
    int count = 0;
    for (const RecordedMessage& m : RecordedMessages()) count += m.message == message ? 1 : 0;
    return count;
}

inline ATOM RegisterTestClass(UINT style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC,
                              const char* name = "Platform Test Window Class")
{
    WNDCLASSA wc = {};
    wc.style = style;
    wc.lpfnWndProc = RecordingWindowProc;
    wc.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = name;
    return RegisterClassA(&wc);
}

// A windowed 320 x 240 client area whose top-left corner is at screen (100, 50).
inline HWND CreateTestWindow(const char* className = "Platform Test Window Class")
{
    RECT rect = {100, 50, 420, 290};
    const DWORD style = WS_CAPTION | WS_SYSMENU;
    AdjustWindowRectEx(&rect, style, FALSE, WS_EX_APPWINDOW);
    return CreateWindowExA(WS_EX_APPWINDOW, className, "Platform test", style, rect.left, rect.top,
                           rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr, nullptr, nullptr);
}

inline PIXELFORMATDESCRIPTOR TestPixelFormat()
{
    PIXELFORMATDESCRIPTOR pfd = {};
    pfd.nSize = sizeof(pfd);
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = 32;
    pfd.cDepthBits = 16;
    pfd.iLayerType = PFD_MAIN_PLANE;
    return pfd;
}

// Pixel format, context, current: what the video system does.
inline HGLRC MakeCurrentContext(HWND hWnd)
{
    HDC hdc = GetDC(hWnd);
    const PIXELFORMATDESCRIPTOR pfd = TestPixelFormat();
    const int format = ChoosePixelFormat(hdc, &pfd);
    if (format <= 0 || !SetPixelFormat(hdc, format, &pfd)) return nullptr;
    HGLRC hglrc = wglCreateContext(hdc);
    if (hglrc == nullptr || !wglMakeCurrent(hdc, hglrc)) return nullptr;
    return hglrc;
}

// Every message waiting now, in the order PeekMessageA gives them.
// Every queued message, in order; translated as the main loop does when asked, so the
// characters a key-down makes come right after it.
inline std::vector<MSG> DrainQueue(bool translate = false)
{
    std::vector<MSG> messages;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        messages.push_back(msg);
        if (translate) TranslateMessage(&msg);
    }
    return messages;
}

inline void PushSdlEvent(SDL_Event event)
{
    ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
}

// The SDL id of the one window the test made (SDL numbers its windows from 1).
inline Uint32 TheSdlWindowId()
{
    for (Uint32 id = 1; id < 100000; ++id) {
        if (SDL_GetWindowFromID(id) != nullptr) return id;
    }
    return 0;
}

class PlatformWindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        PlatformResetForTesting();
        RecordedMessages().clear();
        ASSERT_NE(RegisterTestClass(), 0);
        hWnd = CreateTestWindow();
        ASSERT_NE(hWnd, nullptr);
        ShowWindow(hWnd, SW_SHOWNORMAL);
        DrainQueue();
        RecordedMessages().clear();
    }
    void TearDown() override { PlatformResetForTesting(); }

    HWND hWnd = nullptr;
};
