// State and helpers shared by the files of the platform layer. Nothing outside
// Platform/win32/ includes this.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <string>
#include <vector>

#include "GdiObjects.h"
#include "PlatformState.h"
#include "windows.h"

struct PlatformWindow;

// A device context: the window's own (CS_OWNDC) or the screen's.
struct PlatformDC {
    PlatformWindow* window = nullptr;
    int bkMode = OPAQUE;
    UINT textAlign = TA_LEFT | TA_TOP;
    COLORREF textColor = RGB(0, 0, 0);
    GdiObject* font = nullptr;   // never null once the DC is set up: the stock system font
    GdiObject* brush = nullptr;  // the stock white brush to begin with
};

// The OpenGL buffers a window's SDL surface was made for.
struct PlatformGlFormat {
    int colorBits = 24;
    int alphaBits = 0;
    int depthBits = 16;
    int stencilBits = 0;
    bool doubleBuffer = true;
    bool operator==(const PlatformGlFormat& o) const
    {
        return colorBits == o.colorBits && alphaBits == o.alphaBits && depthBits == o.depthBits &&
               stencilBits == o.stencilBits && doubleBuffer == o.doubleBuffer;
    }
    bool operator!=(const PlatformGlFormat& o) const { return !(*this == o); }
};

struct PlatformWindow {
    bool isDesktop = false;
    bool alive = true;
    SDL_Window* sdl = nullptr;
    Uint32 sdlId = 0;
    WNDCLASSA wndClass = {};
    DWORD style = 0;
    DWORD exStyle = 0;
    std::string title;
    POINT clientOrigin = {0, 0};  // screen position of the client area's top-left corner
    int clientWidth = 0;
    int clientHeight = 0;
    bool visible = false;
    bool fullscreen = false;
    int pixelFormat = 0;  // 0 until SetPixelFormat
    PlatformGlFormat glFormat;
    PlatformDC dc;
    // What GDI painted: RGBA, the bottom row first, the client size. The layer shows it with
    // a context of its own until the program has one current on the window.
    std::vector<uint8_t> gdiPicture;
    SDL_GLContext gdiContext = nullptr;
    bool gdiShown = false;  // the layer's context has shown the whole picture once
};

inline HWND ToHandle(PlatformWindow* window)
{
    return reinterpret_cast<HWND>(window);
}

// --- SDL start-up (Window.cpp) ---
// Starts SDL's video subsystem on first use; false when there is no video driver.
bool PlatformEnsureVideo();
bool PlatformIsVideoStarted();
// True under the offscreen or dummy driver, or when no video driver can start.
bool PlatformIsHeadless();

// --- windows (Window.cpp) ---
PlatformWindow* PlatformWindowFromHandle(HWND hWnd);  // live, non-desktop windows only
PlatformWindow* PlatformWindowFromSdlId(Uint32 id);
PlatformWindow* PlatformDesktop();
const std::vector<PlatformWindow*>& PlatformWindows();  // live windows, oldest first
// The window that scripted input and unattributed SDL input go to: the active
// window, else the newest live one.
PlatformWindow* PlatformMainWindow();
PlatformWindow* PlatformActiveWindow();
// Calls the class procedure at once, as SendMessage does.
LRESULT PlatformSendMessage(PlatformWindow* window, UINT message, WPARAM wParam, LPARAM lParam);
// Activation changes with the messages Windows sends for them.
void PlatformActivate(PlatformWindow* window);
void PlatformDeactivateApp();
// The client origin as SDL now reports it; sends WM_MOVE when it changed.
void PlatformWindowMoved(PlatformWindow* window, int clientX, int clientY);
void PlatformDestroyWindow(PlatformWindow* window);
void PlatformDestroyAllWindows();
// Makes the window's SDL surface fit the given OpenGL format (may recreate it).
bool PlatformWindowUseGlFormat(PlatformWindow* window, const PlatformGlFormat& format);
// The frame that AdjustWindowRectEx adds for a style.
void PlatformFrameMetrics(DWORD style, BOOL menu, DWORD exStyle, RECT* frame);

// --- display (Display.cpp) ---
// Puts a new or existing window into the fullscreen mode in effect, if any.
void PlatformApplyFullscreen(PlatformWindow* window);
bool PlatformIsFullscreenModeActive();

// --- messages (Messages.cpp) ---
// Appends an input message (keyboard, mouse, close box) to the queue.
void PlatformPostInput(PlatformWindow* window, UINT message, WPARAM wParam, LPARAM lParam);
void PlatformClearQueue();
void PlatformPumpSdlEvents();

// --- input translation shared by SDL events and the script (Input.cpp) ---
void PlatformKeyEvent(PlatformWindow* window, UINT vk, UINT scanCode, bool extended, KeyAction action);
void PlatformButtonEvent(PlatformWindow* window, int button, ButtonAction action, int clientX, int clientY);
void PlatformWheelEvent(PlatformWindow* window, int delta);
void PlatformMouseMoveEvent(PlatformWindow* window, int clientX, int clientY);
bool PlatformIsVkDown(UINT vk);
WPARAM PlatformMouseKeyFlags();

// --- key table (KeyMap.cpp) ---
// The virtual key, scan code and extended flag of a physical key on a US layout.
bool PlatformKeyFromScancode(SDL_Scancode scancode, bool numLock, UINT* vk, UINT* scanCode, bool* extended);
void PlatformScanCodeFromVk(UINT vk, UINT* scanCode, bool* extended);
// The character TranslateMessage makes of a key on a US layout, or 0.
int PlatformCharFromVk(UINT vk, bool shift, bool control);

// --- cursor (Cursor.cpp) ---
void PlatformCursorMovedTo(int screenX, int screenY);  // what SDL or the script says
void PlatformGetCursorScreen(POINT* point);
void PlatformApplyCursorVisibility();

// --- GDI (Gdi.cpp) ---
void PlatformInitDC(PlatformDC* dc, PlatformWindow* window);
void PlatformReleaseDC(PlatformDC* dc);
// Null for a handle that names no device context, or no live GDI object.
PlatformDC* PlatformDCFromHandle(HDC hdc);
GdiObject* PlatformGdiObjectFromHandle(HGDIOBJ handle);

// --- GDI painting (GdiPaint.cpp) ---
// The window's own context for showing what GDI painted, gone with the SDL window it was made on.
void PlatformDestroyGdiContext(PlatformWindow* window);

// --- OpenGL (Wgl.cpp) ---
// A legacy context that keeps OpenGL 1.1 immediate mode, current on the window once made.
SDL_GLContext PlatformCreateSdlContext(SDL_Window* sdl);
// After the layer used a context of its own: the program's current context again, or none.
void PlatformRestoreCurrentContext(PlatformWindow* window);
void PlatformDestroyContextsOf(PlatformWindow* window);
void PlatformDestroyAllContexts();
// True when an OpenGL context is current on this window.
bool PlatformIsContextCurrentOn(PlatformWindow* window);

// --- clock and log (Kernel32.cpp) ---
void PlatformClockFramePresented();
bool PlatformFixedStep(double* seconds, std::string* error);
// seconds <= 0: the real counter again. The count never runs back either way.
void PlatformClockSetStep(double seconds);
// The clock as the environment sets it (PINWHIRL_FIXED_STEP read again), its count kept.
void PlatformClockReset();

// The layer's own messages (a failed SDL call, a screenshot that could not be written),
// printf-style, to the debugger output, which is stderr here.
void PlatformLog(const char* format, ...) __attribute__((format(printf, 1, 2)));

// --- script (Script.cpp) ---
void PlatformScriptBeforeSwap(PlatformWindow* window);
void PlatformScriptAfterSwap();
void PlatformScriptReleaseDueEvents();
bool PlatformIsScriptRunning();

// --- GDI objects (Gdi.cpp) ---
void PlatformDeleteAllGdiObjects();
