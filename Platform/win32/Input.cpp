// Keyboard and mouse input as window messages, built the way Win32 builds them.
// SDL events and script lines both come through here, so both give the same
// wParam and lParam.
#include "PlatformInternal.h"

namespace {

// This file's part of the layer's state.
bool* IsVkDown()
{
    return Platform().input.isVkDown;
}

const UINT BUTTON_DOWN_MESSAGES[3] = {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN};
const UINT BUTTON_VKS[3] = {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON};

LPARAM KeyLParam(UINT scanCode, bool extended, bool context, bool previous, bool transition)
{
    const WORD repeatCount = 1;
    WORD flags = static_cast<WORD>(scanCode & 0xFF);
    if (extended) flags |= KF_EXTENDED;
    if (context) flags |= KF_ALTDOWN;
    if (previous) flags |= KF_REPEAT;
    if (transition) flags |= KF_UP;
    return MAKELPARAM(repeatCount, flags);
}

// Shift, Ctrl and Alt are kept per side, as Windows keeps them: the generic key stays
// down while either side is held. Zero for every other key.
UINT SideKey(UINT vk, UINT scanCode, bool extended)
{
    switch (vk) {
    case VK_SHIFT:
        return scanCode == 0x36 ? VK_RSHIFT : VK_LSHIFT;
    case VK_CONTROL:
        return extended ? VK_RCONTROL : VK_LCONTROL;
    case VK_MENU:
        return extended ? VK_RMENU : VK_LMENU;
    default:
        return 0;
    }
}

}  // namespace

bool PlatformIsVkDown(UINT vk)
{
    return IsVkDown()[vk & 0xFF];
}

WPARAM PlatformMouseKeyFlags()
{
    WPARAM flags = 0;
    if (IsVkDown()[VK_LBUTTON]) flags |= MK_LBUTTON;
    if (IsVkDown()[VK_RBUTTON]) flags |= MK_RBUTTON;
    if (IsVkDown()[VK_MBUTTON]) flags |= MK_MBUTTON;
    if (IsVkDown()[VK_SHIFT]) flags |= MK_SHIFT;
    if (IsVkDown()[VK_CONTROL]) flags |= MK_CONTROL;
    return flags;
}

void PlatformKeyEvent(PlatformWindow* window, UINT vk, UINT scanCode, bool extended, KeyAction action)
{
    if (window == nullptr || !window->alive) return;
    vk &= 0xFF;
    const UINT side = SideKey(vk, scanCode, extended);
    const UINT key = side != 0 ? side : vk;
    const bool wasDown = IsVkDown()[key];
    IsVkDown()[key] = action != KeyAction::UP;
    if (side != 0) IsVkDown()[vk] = IsVkDown()[side & ~1u] || IsVkDown()[side | 1u];  // left, right
    const bool alt = IsVkDown()[VK_MENU];
    const bool control = IsVkDown()[VK_CONTROL];
    // Alt combinations (not with Ctrl, which makes AltGr-like chords), the Alt key
    // itself and F10 go to the system's keyboard messages.
    const bool system = ((alt || vk == VK_MENU) && !control) || vk == VK_F10;
    UINT message;
    LPARAM lParam;
    if (action == KeyAction::UP) {
        message = system ? WM_SYSKEYUP : WM_KEYUP;
        lParam = KeyLParam(scanCode, extended, alt, true, true);
    } else {
        message = system ? WM_SYSKEYDOWN : WM_KEYDOWN;
        // Bit 30 is the previous key state: set for auto-repeat.
        lParam = KeyLParam(scanCode, extended, alt, action == KeyAction::REPEAT || wasDown, false);
    }
    PlatformPostInput(window, message, vk, lParam);
}

void PlatformButtonEvent(PlatformWindow* window, int button, ButtonAction action, int clientX, int clientY)
{
    if (window == nullptr || !window->alive || button < 0 || button > 2) return;
    // Without CS_DBLCLKS the second click is an ordinary button-down.
    if (action == ButtonAction::DBLCLK && (window->wndClass.style & CS_DBLCLKS) == 0) action = ButtonAction::DOWN;
    IsVkDown()[BUTTON_VKS[button]] = action != ButtonAction::UP;
    UINT message = BUTTON_DOWN_MESSAGES[button];
    if (action == ButtonAction::UP) message += 1;
    if (action == ButtonAction::DBLCLK) message += 2;
    PlatformPostInput(window, message, PlatformMouseKeyFlags(), MAKELPARAM(clientX, clientY));
}

void PlatformWheelEvent(PlatformWindow* window, int delta)
{
    if (window == nullptr || !window->alive || delta == 0) return;
    delta = SDL_clamp(delta, -32768, 32767);
    POINT cursor;
    PlatformGetCursorScreen(&cursor);
    // The wheel's lParam is the cursor's screen position, not a client position.
    PlatformPostInput(window, WM_MOUSEWHEEL, MAKEWPARAM(PlatformMouseKeyFlags(), static_cast<short>(delta)),
                      MAKELPARAM(cursor.x, cursor.y));
}

void PlatformMouseMoveEvent(PlatformWindow* window, int clientX, int clientY)
{
    if (window == nullptr || !window->alive) return;
    PlatformCursorMovedTo(window->clientOrigin.x + clientX, window->clientOrigin.y + clientY);
    PlatformPostInput(window, WM_MOUSEMOVE, PlatformMouseKeyFlags(), MAKELPARAM(clientX, clientY));
}
