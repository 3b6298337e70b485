// USER32 message queue: posted and input messages, the quit flag, dispatch to
// the class procedure, default handling, and SDL events turned into messages.
#include <deque>

#include "PlatformInternal.h"

namespace {

// This file's part of the layer's state.
MessageState& State()
{
    return Platform().messages;
}

std::deque<MSG>& PostedQueue()
{
    return State().posted;
}

std::deque<MSG>& InputQueue()
{
    return State().input;
}

MSG MakeMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    MSG msg;
    msg.hwnd = hWnd;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = PlatformIsVideoStarted() ? SDL_GetTicks() : 0;
    PlatformGetCursorScreen(&msg.pt);
    return msg;
}

bool Passes(const MSG& msg, HWND hWnd, UINT filterMin, UINT filterMax)
{
    if (hWnd != nullptr && msg.hwnd != hWnd) return false;
    if (filterMin == 0 && filterMax == 0) return true;
    return msg.message >= filterMin && msg.message <= filterMax;
}

bool TakeFrom(std::deque<MSG>& queue, LPMSG out, HWND hWnd, UINT filterMin, UINT filterMax, bool remove)
{
    for (auto it = queue.begin(); it != queue.end(); ++it) {
        if (!Passes(*it, hWnd, filterMin, filterMax)) continue;
        *out = *it;
        if (remove) queue.erase(it);
        return true;
    }
    return false;
}

// The window an input event belongs to; SDL leaves the id 0 for some synthetic events.
PlatformWindow* InputWindow(Uint32 sdlId)
{
    PlatformWindow* window = PlatformWindowFromSdlId(sdlId);
    return window != nullptr ? window : PlatformMainWindow();
}

void TranslateKey(const SDL_KeyboardEvent& key)
{
    UINT vk = 0, scanCode = 0;
    bool extended = false;
    const bool numLock = (key.keysym.mod & KMOD_NUM) != 0;
    if (!PlatformKeyFromScancode(key.keysym.scancode, numLock, &vk, &scanCode, &extended)) return;
    KeyAction action = KeyAction::UP;
    if (key.type == SDL_KEYDOWN) action = key.repeat != 0 ? KeyAction::REPEAT : KeyAction::DOWN;
    PlatformKeyEvent(InputWindow(key.windowID), vk, scanCode, extended, action);
}

void TranslateButton(const SDL_MouseButtonEvent& button)
{
    if (button.which == SDL_TOUCH_MOUSEID) return;
    int index = -1;
    if (button.button == SDL_BUTTON_LEFT) index = 0;
    if (button.button == SDL_BUTTON_RIGHT) index = 1;
    if (button.button == SDL_BUTTON_MIDDLE) index = 2;
    if (index < 0) return;
    ButtonAction action = ButtonAction::UP;
    if (button.type == SDL_MOUSEBUTTONDOWN) {
        // Windows pairs clicks: the 2nd, 4th, ... of a run are double-clicks.
        action = (button.clicks >= 2 && button.clicks % 2 == 0) ? ButtonAction::DBLCLK : ButtonAction::DOWN;
    }
    PlatformButtonEvent(InputWindow(button.windowID), index, action, button.x, button.y);
}

void TranslateMotion(const SDL_MouseMotionEvent& motion)
{
    if (motion.which == SDL_TOUCH_MOUSEID) return;
    PlatformMouseMoveEvent(InputWindow(motion.windowID), motion.x, motion.y);
}

void TranslateWheel(const SDL_MouseWheelEvent& wheel)
{
    if (wheel.which == SDL_TOUCH_MOUSEID) return;
    // SDL's precise value keeps the fractions of a notch that high-resolution wheels report.
    float notches = wheel.preciseY != 0.0f ? wheel.preciseY : static_cast<float>(wheel.y);
    if (wheel.direction == SDL_MOUSEWHEEL_FLIPPED) notches = -notches;
    PlatformWheelEvent(InputWindow(wheel.windowID), static_cast<int>(SDL_lroundf(notches * WHEEL_DELTA)));
}

void TranslateWindowEvent(const SDL_WindowEvent& event)
{
    PlatformWindow* window = PlatformWindowFromSdlId(event.windowID);
    if (window == nullptr) return;
    switch (event.event) {
    case SDL_WINDOWEVENT_MOVED:
        if (!window->fullscreen) PlatformWindowMoved(window, event.data1, event.data2);
        return;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        if (window->clientWidth != event.data1 || window->clientHeight != event.data2) {
            window->clientWidth = event.data1;
            window->clientHeight = event.data2;
            PlatformSendMessage(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(window->clientWidth, window->clientHeight));
        }
        return;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        PlatformActivate(window);
        return;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        if (PlatformActiveWindow() == window) PlatformDeactivateApp();
        return;
    case SDL_WINDOWEVENT_CLOSE:
        // The close box: DefWindowProc's WM_SYSCOMMAND SC_CLOSE would send WM_CLOSE.
        PlatformPostInput(window, WM_CLOSE, 0, 0);
        return;
    default:
        return;
    }
}

void TranslateSdlEvent(const SDL_Event& event)
{
    switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        TranslateKey(event.key);
        return;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        TranslateButton(event.button);
        return;
    case SDL_MOUSEMOTION:
        TranslateMotion(event.motion);
        return;
    case SDL_MOUSEWHEEL:
        TranslateWheel(event.wheel);
        return;
    case SDL_WINDOWEVENT:
        TranslateWindowEvent(event.window);
        return;
    default:
        return;  // SDL_QUIT among others: closing goes through SDL_WINDOWEVENT_CLOSE
    }
}

}  // namespace

void PlatformPostInput(PlatformWindow* window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (window == nullptr || !window->alive) return;
    // Windows keeps only the newest of a run of mouse moves.
    if (message == WM_MOUSEMOVE && !InputQueue().empty() && InputQueue().back().message == WM_MOUSEMOVE &&
        InputQueue().back().hwnd == ToHandle(window)) {
        InputQueue().pop_back();
    }
    InputQueue().push_back(MakeMessage(ToHandle(window), message, wParam, lParam));
}

void PlatformClearQueue()
{
    PostedQueue().clear();
    InputQueue().clear();
    State().isQuitPosted = false;
    State().quitCode = 0;
}

void PlatformPumpSdlEvents()
{
    if (!PlatformIsVideoStarted()) return;
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) TranslateSdlEvent(event);
}

BOOL WINAPI PeekMessageA(LPMSG msg, HWND hWnd, UINT filterMin, UINT filterMax, UINT removeMsg)
{
    if (msg == nullptr) return FALSE;
    // Window moves and activation changes are sent messages on Windows: the window
    // procedure gets them from inside this call, before any queued message.
    PlatformPumpSdlEvents();
    PlatformScriptReleaseDueEvents();
    const bool remove = (removeMsg & PM_REMOVE) != 0;
    if (TakeFrom(PostedQueue(), msg, hWnd, filterMin, filterMax, remove)) return TRUE;
    if (TakeFrom(InputQueue(), msg, hWnd, filterMin, filterMax, remove)) return TRUE;
    // The quit flag turns into WM_QUIT only once nothing else is waiting.
    const bool quitPasses = (filterMin == 0 && filterMax == 0) || (WM_QUIT >= filterMin && WM_QUIT <= filterMax);
    if (State().isQuitPosted && quitPasses) {
        *msg = MakeMessage(nullptr, WM_QUIT, static_cast<WPARAM>(State().quitCode), 0);
        if (remove) State().isQuitPosted = false;
        return TRUE;
    }
    return FALSE;
}

BOOL WINAPI TranslateMessage(const MSG* msg)
{
    if (msg == nullptr) return FALSE;
    if (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN) return FALSE;
    const bool control = PlatformIsVkDown(VK_CONTROL) && !PlatformIsVkDown(VK_MENU);
    const int character =
        PlatformCharFromVk(static_cast<UINT>(msg->wParam & 0xFF), PlatformIsVkDown(VK_SHIFT), control);
    if (character == 0) return FALSE;
    const UINT charMessage = msg->message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR;
    PostedQueue().push_back(MakeMessage(msg->hwnd, charMessage, static_cast<WPARAM>(character), msg->lParam));
    return TRUE;
}

LRESULT WINAPI DispatchMessageA(const MSG* msg)
{
    if (msg == nullptr) return 0;
    PlatformWindow* window = PlatformWindowFromHandle(msg->hwnd);
    if (window == nullptr) return 0;  // thread messages have no window procedure
    return PlatformSendMessage(window, msg->message, msg->wParam, msg->lParam);
}

LRESULT WINAPI DefWindowProcA(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (State().defWindowProcObserver != nullptr) State().defWindowProcObserver(msg, wParam);
    PlatformWindow* window = PlatformWindowFromHandle(hWnd);
    switch (msg) {
    case WM_CLOSE:
        // DefWindowProc destroys the window; WM_DESTROY reaches its procedure.
        PlatformDestroyWindow(window);
        return 0;
    case WM_SYSKEYDOWN:
        // Alt+F4 is the system menu's Close: WM_CLOSE is sent to the window.
        if ((wParam & 0xFF) == VK_F4 && (HIWORD(lParam) & KF_ALTDOWN) != 0 && window != nullptr) {
            PlatformSendMessage(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE && window != nullptr) PlatformSendMessage(window, WM_CLOSE, 0, 0);
        return 0;
    default:
        return 0;
    }
}

BOOL WINAPI PostMessageA(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (hWnd != nullptr && PlatformWindowFromHandle(hWnd) == nullptr) return FALSE;
    PostedQueue().push_back(MakeMessage(hWnd, msg, wParam, lParam));
    return TRUE;
}

void WINAPI PostQuitMessage(int exitCode)
{
    State().isQuitPosted = true;
    State().quitCode = exitCode;
}
