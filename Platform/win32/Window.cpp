// USER32 windows: window classes, CreateWindowExA on an SDL window with an
// OpenGL surface, showing, activation and focus, and the window rectangles.
#include <strings.h>

#include <cstdlib>
#include <vector>

#include "PlatformInternal.h"

namespace {

// This file's part of the layer's state.
WindowState& State()
{
    return Platform().windows;
}

// The system's stock icon and cursor are constants: their handles are these addresses.
struct StockHandle {
    int unused;
};
StockHandle s_applicationIcon;
StockHandle s_arrowCursor;

PlatformWindowClass* FindClass(LPCSTR name)
{
    const uintptr_t value = reinterpret_cast<uintptr_t>(name);
    for (PlatformWindowClass& c : State().classes) {
        if (value < 0x10000) {
            if (c.atom == value) return &c;
        } else if (strcasecmp(c.name.c_str(), name) == 0) {
            return &c;
        }
    }
    return nullptr;
}

void ExitHandler()
{
    // A fullscreen mode must not outlive the program, whatever way it ends.
    if (PlatformIsFullscreenModeActive()) ChangeDisplaySettingsA(nullptr, 0);
}

// The pixel format's buffers; the context version is asked for by wglCreateContext.
void SetGlAttributes(const PlatformGlFormat& format)
{
    const int red = format.colorBits <= 16 ? 5 : 8;
    const int green = format.colorBits <= 16 ? 6 : 8;
    const int blue = format.colorBits <= 16 ? 5 : 8;
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, red);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, green);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, blue);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, format.alphaBits);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, format.depthBits);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, format.stencilBits);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, format.doubleBuffer ? 1 : 0);
}

SDL_Window* CreateSdlWindow(PlatformWindow* window)
{
    SetGlAttributes(window->glFormat);
    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN;
    if ((window->style & WS_CAPTION) != WS_CAPTION) flags |= SDL_WINDOW_BORDERLESS;
    if ((window->style & WS_THICKFRAME) != 0) flags |= SDL_WINDOW_RESIZABLE;
    SDL_Window* sdl = SDL_CreateWindow(window->title.c_str(), window->clientOrigin.x, window->clientOrigin.y,
                                       window->clientWidth, window->clientHeight, flags);
    if (sdl == nullptr) PlatformLog("Platform: SDL_CreateWindow failed: %s\n", SDL_GetError());
    return sdl;
}

void ForgetWindow(PlatformWindow* window)
{
    std::vector<PlatformWindow*>& live = State().live;
    for (size_t i = 0; i < live.size(); ++i) {
        if (live[i] == window) {
            live.erase(live.begin() + static_cast<long>(i));
            break;
        }
    }
    State().graveyard.push_back(window);
}

void SetFocusTo(PlatformWindow* window)
{
    PlatformWindow* old = State().focus;
    if (old == window) return;
    State().focus = window;
    if (old != nullptr && old->alive) PlatformSendMessage(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(window), 0);
    if (window != nullptr && window->alive) PlatformSendMessage(window, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
}

}  // namespace

bool PlatformEnsureVideo()
{
    VideoState& video = Platform().video;
    if (video.start != VideoStart::NOT_TRIED) return video.start == VideoStart::STARTED;
    // Ctrl+C ends the program as it does any Unix program; SDL would turn it into SDL_QUIT.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // Windows' defaults: 500 ms and a 4 x 4 pixel rectangle around the first click.
    SDL_SetHint(SDL_HINT_MOUSE_DOUBLE_CLICK_TIME, "500");
    SDL_SetHint(SDL_HINT_MOUSE_DOUBLE_CLICK_RADIUS, "2");
    // A click that activates the window is also delivered, as on Windows.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        PlatformLog("Platform: SDL could not start its video subsystem: %s\n", SDL_GetError());
        video.start = VideoStart::FAILED;
        return false;
    }
    video.start = VideoStart::STARTED;
    // Keep the OpenGL library loaded for the life of the process: SDL would unload it with
    // the last OpenGL window, and the driver's allocations would then look leaked.
    if (SDL_GL_LoadLibrary(nullptr) != 0) PlatformLog("Platform: SDL could not load OpenGL: %s\n", SDL_GetError());
    PlatformApplyCursorVisibility();  // ShowCursor may have counted before SDL was there
    atexit(ExitHandler);
    return true;
}

bool PlatformIsVideoStarted()
{
    return Platform().video.start == VideoStart::STARTED;
}

bool PlatformIsHeadless()
{
    // The driver is fixed once SDL's video is up; every message asks, so it is looked up once.
    int& headless = Platform().video.headless;
    if (headless >= 0) return headless == 1;
    if (!PlatformEnsureVideo()) return true;
    const char* driver = SDL_GetCurrentVideoDriver();
    headless = driver == nullptr || SDL_strcasecmp(driver, "offscreen") == 0 || SDL_strcasecmp(driver, "dummy") == 0;
    return headless == 1;
}

PlatformWindow* PlatformWindowFromHandle(HWND hWnd)
{
    if (hWnd == nullptr) return nullptr;
    for (PlatformWindow* window : State().live) {
        if (ToHandle(window) == hWnd) return window;
    }
    return nullptr;
}

PlatformWindow* PlatformWindowFromSdlId(Uint32 id)
{
    for (PlatformWindow* window : State().live) {
        if (window->sdlId == id) return window;
    }
    return nullptr;
}

PlatformWindow* PlatformDesktop()
{
    PlatformWindow*& desktop = State().desktop;
    if (desktop == nullptr) {
        desktop = new PlatformWindow;
        desktop->isDesktop = true;
        desktop->visible = true;
        desktop->alive = false;  // no window procedure, no SDL window
        PlatformInitDC(&desktop->dc, nullptr);
    }
    return desktop;
}

const std::vector<PlatformWindow*>& PlatformWindows()
{
    return State().live;
}

PlatformWindow* PlatformActiveWindow()
{
    return State().active;
}

PlatformWindow* PlatformMainWindow()
{
    if (State().active != nullptr && State().active->alive) return State().active;
    return State().live.empty() ? nullptr : State().live.back();
}

LRESULT PlatformSendMessage(PlatformWindow* window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (window == nullptr || !window->alive || window->wndClass.lpfnWndProc == nullptr) return 0;
    return window->wndClass.lpfnWndProc(ToHandle(window), message, wParam, lParam);
}

void PlatformActivate(PlatformWindow* window)
{
    if (window == nullptr || !window->alive) return;
    WindowState& state = State();
    if (state.isAppActive && state.active == window) {
        SetFocusTo(window);
        return;
    }
    PlatformWindow* old = state.active;
    if (state.isAppActive && old != nullptr && old->alive) {
        PlatformSendMessage(old, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(window));
    }
    if (!state.isAppActive) {
        state.isAppActive = true;
        // Windows tells every top-level window of the application.
        std::vector<PlatformWindow*> windows = state.live;
        for (PlatformWindow* w : windows) PlatformSendMessage(w, WM_ACTIVATEAPP, TRUE, 0);
    }
    state.active = window;
    PlatformSendMessage(window, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(old));
    SetFocusTo(window);
}

void PlatformDeactivateApp()
{
    WindowState& state = State();
    if (!state.isAppActive) return;
    PlatformWindow* old = state.active;
    if (old != nullptr && old->alive) PlatformSendMessage(old, WM_ACTIVATE, WA_INACTIVE, 0);
    state.isAppActive = false;
    state.active = nullptr;
    std::vector<PlatformWindow*> windows = state.live;
    for (PlatformWindow* w : windows) PlatformSendMessage(w, WM_ACTIVATEAPP, FALSE, 0);
    SetFocusTo(nullptr);
}

void PlatformWindowMoved(PlatformWindow* window, int clientX, int clientY)
{
    if (window->clientOrigin.x == clientX && window->clientOrigin.y == clientY) return;
    window->clientOrigin.x = clientX;
    window->clientOrigin.y = clientY;
    PlatformSendMessage(window, WM_MOVE, 0, MAKELPARAM(clientX, clientY));
}

void PlatformDestroyWindow(PlatformWindow* window)
{
    if (window == nullptr || !window->alive) return;
    if (window->visible) {
        window->visible = false;
        if (window->sdl != nullptr) SDL_HideWindow(window->sdl);
    }
    if (State().active == window) PlatformDeactivateApp();
    if (State().focus == window) State().focus = nullptr;
    PlatformSendMessage(window, WM_DESTROY, 0, 0);
    window->alive = false;
    PlatformDestroyContextsOf(window);
    PlatformDestroyGdiContext(window);
    PlatformReleaseDC(&window->dc);
    if (window->sdl != nullptr) SDL_DestroyWindow(window->sdl);
    window->sdl = nullptr;
    window->sdlId = 0;
    ForgetWindow(window);
}

void PlatformDestroyAllWindows()
{
    WindowState& state = State();
    while (!state.live.empty()) {
        PlatformWindow* window = state.live.back();
        // No messages: a test is tearing down, the program is not closing a window.
        window->wndClass.lpfnWndProc = nullptr;
        PlatformDestroyWindow(window);
    }
    for (PlatformWindow* window : state.graveyard) delete window;
    state.graveyard.clear();
    state.active = nullptr;
    state.focus = nullptr;
    state.isAppActive = false;
}

bool PlatformWindowUseGlFormat(PlatformWindow* window, const PlatformGlFormat& format)
{
    if (window->glFormat == format) return true;
    // An SDL window gets its visual (X11) or surface config (EGL) when it is made, so a
    // different pixel format needs a new SDL window under the same HWND.
    const PlatformGlFormat old = window->glFormat;
    window->glFormat = format;
    SDL_Window* replacement = CreateSdlWindow(window);
    if (replacement == nullptr) {
        window->glFormat = old;
        return false;
    }
    PlatformDestroyGdiContext(window);
    SDL_DestroyWindow(window->sdl);
    window->sdl = replacement;
    window->sdlId = SDL_GetWindowID(replacement);
    if (window->fullscreen) PlatformApplyFullscreen(window);
    if (window->visible) SDL_ShowWindow(replacement);
    return true;
}

void PlatformFrameMetrics(DWORD style, BOOL menu, DWORD exStyle, RECT* frame)
{
    // There are no decorations to measure under SDL (the window manager draws its own,
    // if any), so these are fixed Win32-like metrics: a 3-pixel fixed frame (4 when
    // resizable) and a 26-pixel caption for WS_CAPTION, a 1-pixel WS_BORDER, and
    // nothing for a bare WS_POPUP.
    (void)exStyle;
    LONG border = 0;
    if ((style & WS_THICKFRAME) != 0) {
        border = 4;
    } else if ((style & WS_DLGFRAME) != 0) {
        border = 3;
    } else if ((style & WS_BORDER) != 0) {
        border = 1;
    }
    frame->left = border;
    frame->right = border;
    frame->bottom = border;
    frame->top = border;
    if ((style & WS_CAPTION) == WS_CAPTION) frame->top += 26;
    if (menu) frame->top += 20;
}

BOOL WINAPI AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL menu, DWORD exStyle)
{
    if (rect == nullptr) return FALSE;
    RECT frame;
    PlatformFrameMetrics(style, menu, exStyle, &frame);
    rect->left -= frame.left;
    rect->top -= frame.top;
    rect->right += frame.right;
    rect->bottom += frame.bottom;
    return TRUE;
}

ATOM WINAPI RegisterClassA(const WNDCLASSA* wndClass)
{
    if (wndClass == nullptr || wndClass->lpszClassName == nullptr || wndClass->lpfnWndProc == nullptr) return 0;
    if (reinterpret_cast<uintptr_t>(wndClass->lpszClassName) < 0x10000) return 0;
    if (FindClass(wndClass->lpszClassName) != nullptr) return 0;  // ERROR_CLASS_ALREADY_EXISTS
    PlatformWindowClass c;
    c.wndClass = *wndClass;
    c.name = wndClass->lpszClassName;
    c.atom = State().nextAtom++;
    State().classes.push_back(c);
    PlatformWindowClass& stored = State().classes.back();
    stored.wndClass.lpszClassName = nullptr;  // the copy in name is the one that lives
    stored.wndClass.lpszMenuName = nullptr;
    return stored.atom;
}

HICON WINAPI LoadIconA(HINSTANCE hInstance, LPCSTR name)
{
    // Only the system's stock icon exists; the program has no icon resources.
    if (hInstance == nullptr && name == IDI_APPLICATION) return reinterpret_cast<HICON>(&s_applicationIcon);
    return nullptr;
}

HCURSOR WINAPI LoadCursorA(HINSTANCE hInstance, LPCSTR name)
{
    if (hInstance == nullptr && name == IDC_ARROW) return reinterpret_cast<HCURSOR>(&s_arrowCursor);
    return nullptr;
}

HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                            int height, HWND parent, HMENU menu, HINSTANCE hInstance, LPVOID param)
{
    (void)parent;
    (void)hInstance;
    (void)param;
    if (className == nullptr) return nullptr;
    PlatformWindowClass* windowClass = FindClass(className);
    if (windowClass == nullptr) return nullptr;
    if (!PlatformEnsureVideo()) return nullptr;

    PlatformWindow* window = new PlatformWindow;
    window->wndClass = windowClass->wndClass;
    window->style = style;
    window->exStyle = exStyle;
    window->title = windowName != nullptr ? windowName : "";
    RECT frame;
    PlatformFrameMetrics(style, menu != nullptr, exStyle, &frame);
    if (x == CW_USEDEFAULT) {
        x = 0;
        y = 0;
    }
    if (width == CW_USEDEFAULT) {
        width = 640 + frame.left + frame.right;
        height = 480 + frame.top + frame.bottom;
    }
    window->clientOrigin.x = x + frame.left;
    window->clientOrigin.y = y + frame.top;
    window->clientWidth = SDL_max(1, width - frame.left - frame.right);
    window->clientHeight = SDL_max(1, height - frame.top - frame.bottom);

    window->sdl = CreateSdlWindow(window);
    if (window->sdl == nullptr) {
        delete window;
        return nullptr;
    }
    window->sdlId = SDL_GetWindowID(window->sdl);
    PlatformInitDC(&window->dc, window);
    State().live.push_back(window);
    if ((style & WS_POPUP) != 0 && PlatformIsFullscreenModeActive()) PlatformApplyFullscreen(window);

    // What a real window receives while CreateWindowEx runs.
    if (PlatformSendMessage(window, WM_CREATE, 0, 0) == -1) {
        PlatformDestroyWindow(window);
        return nullptr;
    }
    if (!window->alive) return nullptr;
    PlatformSendMessage(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(window->clientWidth, window->clientHeight));
    PlatformSendMessage(window, WM_MOVE, 0, MAKELPARAM(window->clientOrigin.x, window->clientOrigin.y));
    if (!window->alive) return nullptr;
    HWND hWnd = ToHandle(window);
    if ((style & WS_VISIBLE) != 0) ShowWindow(hWnd, SW_SHOW);
    return hWnd;
}

BOOL WINAPI ShowWindow(HWND hWnd, int cmdShow)
{
    PlatformWindow* window = PlatformWindowFromHandle(hWnd);
    if (window == nullptr) return FALSE;
    const BOOL wasVisible = window->visible ? TRUE : FALSE;
    if (cmdShow == SW_HIDE) {
        if (!window->visible) return wasVisible;
        PlatformSendMessage(window, WM_SHOWWINDOW, FALSE, 0);
        window->visible = false;
        if (window->sdl != nullptr) SDL_HideWindow(window->sdl);
        // The only window of the application going away hands activation to another program.
        if (State().active == window) PlatformDeactivateApp();
        return wasVisible;
    }
    if (!window->visible) {
        PlatformSendMessage(window, WM_SHOWWINDOW, TRUE, 0);
        if (!window->alive) return wasVisible;
        window->visible = true;
        SDL_ShowWindow(window->sdl);
    }
    if (cmdShow != SW_SHOWNA && cmdShow != SW_SHOWNOACTIVATE) PlatformActivate(window);
    return wasVisible;
}

BOOL WINAPI SetForegroundWindow(HWND hWnd)
{
    PlatformWindow* window = PlatformWindowFromHandle(hWnd);
    if (window == nullptr) return FALSE;
    if (window->visible && !PlatformIsHeadless()) SDL_RaiseWindow(window->sdl);
    PlatformActivate(window);
    return TRUE;
}

HWND WINAPI SetFocus(HWND hWnd)
{
    PlatformWindow* old = State().focus;
    if (hWnd == nullptr) {
        SetFocusTo(nullptr);
        return ToHandle(old);
    }
    PlatformWindow* window = PlatformWindowFromHandle(hWnd);
    if (window == nullptr) return nullptr;
    PlatformActivate(window);  // gives the focus too, and only that when already active
    return ToHandle(old);
}

HWND WINAPI GetDesktopWindow(void)
{
    return ToHandle(PlatformDesktop());
}

BOOL WINAPI GetWindowRect(HWND hWnd, LPRECT rect)
{
    if (rect == nullptr) return FALSE;
    if (hWnd == ToHandle(PlatformDesktop())) {
        if (State().hasFakeDesktop) {
            *rect = State().fakeDesktop;
            return TRUE;
        }
        if (!PlatformEnsureVideo()) return FALSE;
        SDL_Rect bounds;
        if (SDL_GetDisplayBounds(0, &bounds) != 0) return FALSE;
        rect->left = bounds.x;
        rect->top = bounds.y;
        rect->right = bounds.x + bounds.w;
        rect->bottom = bounds.y + bounds.h;
        return TRUE;
    }
    PlatformWindow* window = PlatformWindowFromHandle(hWnd);
    if (window == nullptr) return FALSE;
    RECT frame;
    PlatformFrameMetrics(window->style, FALSE, window->exStyle, &frame);
    rect->left = window->clientOrigin.x - frame.left;
    rect->top = window->clientOrigin.y - frame.top;
    rect->right = window->clientOrigin.x + window->clientWidth + frame.right;
    rect->bottom = window->clientOrigin.y + window->clientHeight + frame.bottom;
    return TRUE;
}

HDC WINAPI GetDC(HWND hWnd)
{
    if (hWnd == nullptr) return reinterpret_cast<HDC>(&PlatformDesktop()->dc);
    if (hWnd == ToHandle(PlatformDesktop())) return reinterpret_cast<HDC>(&PlatformDesktop()->dc);
    PlatformWindow* window = PlatformWindowFromHandle(hWnd);
    if (window == nullptr) return nullptr;
    // Every window keeps one device context for its life, as CS_OWNDC gives.
    return reinterpret_cast<HDC>(&window->dc);
}
