#include "InputMessages.h"

#include <cstring>

namespace {

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

InputMessage InputMessages::Key(UINT vk, UINT scanCode, bool extended, KeyAction action)
{
    vk &= 0xFF;
    const UINT side = SideKey(vk, scanCode, extended);
    const UINT key = side != 0 ? side : vk;
    const bool wasDown = _isVkDown[key];
    _isVkDown[key] = action != KeyAction::UP;
    if (side != 0) _isVkDown[vk] = _isVkDown[side & ~1u] || _isVkDown[side | 1u];  // left, right
    const bool alt = _isVkDown[VK_MENU];
    const bool control = _isVkDown[VK_CONTROL];
    // Alt combinations (not with Ctrl, which makes AltGr-like chords), the Alt key
    // itself and F10 go to the system's keyboard messages.
    const bool system = ((alt || vk == VK_MENU) && !control) || vk == VK_F10;
    if (action == KeyAction::UP) {
        return {system ? static_cast<UINT>(WM_SYSKEYUP) : static_cast<UINT>(WM_KEYUP), vk,
                KeyLParam(scanCode, extended, alt, true, true)};
    }
    // Bit 30 is the previous key state: set for auto-repeat.
    return {system ? static_cast<UINT>(WM_SYSKEYDOWN) : static_cast<UINT>(WM_KEYDOWN), vk,
            KeyLParam(scanCode, extended, alt, action == KeyAction::REPEAT || wasDown, false)};
}

InputMessage InputMessages::Button(int button, ButtonAction action, bool classWantsDoubleClicks, int clientX,
                                   int clientY)
{
    if (action == ButtonAction::DBLCLK && !classWantsDoubleClicks) action = ButtonAction::DOWN;
    _isVkDown[BUTTON_VKS[button]] = action != ButtonAction::UP;
    UINT message = BUTTON_DOWN_MESSAGES[button];
    if (action == ButtonAction::UP) message += 1;
    if (action == ButtonAction::DBLCLK) message += 2;
    return {message, MouseKeyFlags(), MAKELPARAM(clientX, clientY)};
}

InputMessage InputMessages::Wheel(int delta, int screenX, int screenY) const
{
    if (delta < -32768) delta = -32768;
    if (delta > 32767) delta = 32767;
    return {WM_MOUSEWHEEL, MAKEWPARAM(MouseKeyFlags(), static_cast<short>(delta)), MAKELPARAM(screenX, screenY)};
}

InputMessage InputMessages::MouseMove(int clientX, int clientY) const
{
    return {WM_MOUSEMOVE, MouseKeyFlags(), MAKELPARAM(clientX, clientY)};
}

WPARAM InputMessages::MouseKeyFlags() const
{
    WPARAM flags = 0;
    if (_isVkDown[VK_LBUTTON]) flags |= MK_LBUTTON;
    if (_isVkDown[VK_RBUTTON]) flags |= MK_RBUTTON;
    if (_isVkDown[VK_MBUTTON]) flags |= MK_MBUTTON;
    if (_isVkDown[VK_SHIFT]) flags |= MK_SHIFT;
    if (_isVkDown[VK_CONTROL]) flags |= MK_CONTROL;
    return flags;
}

void InputMessages::Reset()
{
    memset(_isVkDown, 0, sizeof(_isVkDown));
}
