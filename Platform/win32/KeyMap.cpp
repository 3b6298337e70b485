// Physical keys on a US layout: SDL scancode -> virtual-key code, set-1 scan
// code and extended-key flag, as a US keyboard reports them on Windows; and the
// characters TranslateMessage makes of them.
#include "PlatformInternal.h"

namespace {

struct KeyEntry {
    SDL_Scancode scancode;
    UINT vk;
    UINT scanCode;
    bool extended;
};

// Main-block keys come before the keypad, so that a virtual key that both have
// (VK_RETURN) finds the main key's scan code.
const KeyEntry KEYS[] = {
    {SDL_SCANCODE_ESCAPE, VK_ESCAPE, 0x01, false},
    {SDL_SCANCODE_1, '1', 0x02, false},
    {SDL_SCANCODE_2, '2', 0x03, false},
    {SDL_SCANCODE_3, '3', 0x04, false},
    {SDL_SCANCODE_4, '4', 0x05, false},
    {SDL_SCANCODE_5, '5', 0x06, false},
    {SDL_SCANCODE_6, '6', 0x07, false},
    {SDL_SCANCODE_7, '7', 0x08, false},
    {SDL_SCANCODE_8, '8', 0x09, false},
    {SDL_SCANCODE_9, '9', 0x0A, false},
    {SDL_SCANCODE_0, '0', 0x0B, false},
    {SDL_SCANCODE_MINUS, VK_OEM_MINUS, 0x0C, false},
    {SDL_SCANCODE_EQUALS, VK_OEM_PLUS, 0x0D, false},
    {SDL_SCANCODE_BACKSPACE, VK_BACK, 0x0E, false},
    {SDL_SCANCODE_TAB, VK_TAB, 0x0F, false},
    {SDL_SCANCODE_Q, 'Q', 0x10, false},
    {SDL_SCANCODE_W, 'W', 0x11, false},
    {SDL_SCANCODE_E, 'E', 0x12, false},
    {SDL_SCANCODE_R, 'R', 0x13, false},
    {SDL_SCANCODE_T, 'T', 0x14, false},
    {SDL_SCANCODE_Y, 'Y', 0x15, false},
    {SDL_SCANCODE_U, 'U', 0x16, false},
    {SDL_SCANCODE_I, 'I', 0x17, false},
    {SDL_SCANCODE_O, 'O', 0x18, false},
    {SDL_SCANCODE_P, 'P', 0x19, false},
    {SDL_SCANCODE_LEFTBRACKET, VK_OEM_4, 0x1A, false},
    {SDL_SCANCODE_RIGHTBRACKET, VK_OEM_6, 0x1B, false},
    {SDL_SCANCODE_RETURN, VK_RETURN, 0x1C, false},
    {SDL_SCANCODE_LCTRL, VK_CONTROL, 0x1D, false},
    {SDL_SCANCODE_A, 'A', 0x1E, false},
    {SDL_SCANCODE_S, 'S', 0x1F, false},
    {SDL_SCANCODE_D, 'D', 0x20, false},
    {SDL_SCANCODE_F, 'F', 0x21, false},
    {SDL_SCANCODE_G, 'G', 0x22, false},
    {SDL_SCANCODE_H, 'H', 0x23, false},
    {SDL_SCANCODE_J, 'J', 0x24, false},
    {SDL_SCANCODE_K, 'K', 0x25, false},
    {SDL_SCANCODE_L, 'L', 0x26, false},
    {SDL_SCANCODE_SEMICOLON, VK_OEM_1, 0x27, false},
    {SDL_SCANCODE_APOSTROPHE, VK_OEM_7, 0x28, false},
    {SDL_SCANCODE_GRAVE, VK_OEM_3, 0x29, false},
    {SDL_SCANCODE_LSHIFT, VK_SHIFT, 0x2A, false},
    {SDL_SCANCODE_BACKSLASH, VK_OEM_5, 0x2B, false},
    {SDL_SCANCODE_Z, 'Z', 0x2C, false},
    {SDL_SCANCODE_X, 'X', 0x2D, false},
    {SDL_SCANCODE_C, 'C', 0x2E, false},
    {SDL_SCANCODE_V, 'V', 0x2F, false},
    {SDL_SCANCODE_B, 'B', 0x30, false},
    {SDL_SCANCODE_N, 'N', 0x31, false},
    {SDL_SCANCODE_M, 'M', 0x32, false},
    {SDL_SCANCODE_COMMA, VK_OEM_COMMA, 0x33, false},
    {SDL_SCANCODE_PERIOD, VK_OEM_PERIOD, 0x34, false},
    {SDL_SCANCODE_SLASH, VK_OEM_2, 0x35, false},
    {SDL_SCANCODE_RSHIFT, VK_SHIFT, 0x36, false},
    {SDL_SCANCODE_LALT, VK_MENU, 0x38, false},
    {SDL_SCANCODE_SPACE, VK_SPACE, 0x39, false},
    {SDL_SCANCODE_CAPSLOCK, VK_CAPITAL, 0x3A, false},
    {SDL_SCANCODE_F1, VK_F1, 0x3B, false},
    {SDL_SCANCODE_F2, VK_F2, 0x3C, false},
    {SDL_SCANCODE_F3, VK_F3, 0x3D, false},
    {SDL_SCANCODE_F4, VK_F4, 0x3E, false},
    {SDL_SCANCODE_F5, VK_F5, 0x3F, false},
    {SDL_SCANCODE_F6, VK_F6, 0x40, false},
    {SDL_SCANCODE_F7, VK_F7, 0x41, false},
    {SDL_SCANCODE_F8, VK_F8, 0x42, false},
    {SDL_SCANCODE_F9, VK_F9, 0x43, false},
    {SDL_SCANCODE_F10, VK_F10, 0x44, false},
    {SDL_SCANCODE_NUMLOCKCLEAR, VK_NUMLOCK, 0x45, true},
    {SDL_SCANCODE_SCROLLLOCK, VK_SCROLL, 0x46, false},
    {SDL_SCANCODE_NONUSBACKSLASH, VK_OEM_102, 0x56, false},
    {SDL_SCANCODE_F11, VK_F11, 0x57, false},
    {SDL_SCANCODE_F12, VK_F12, 0x58, false},
    {SDL_SCANCODE_RCTRL, VK_CONTROL, 0x1D, true},
    {SDL_SCANCODE_RALT, VK_MENU, 0x38, true},
    {SDL_SCANCODE_PRINTSCREEN, VK_SNAPSHOT, 0x37, true},
    {SDL_SCANCODE_PAUSE, VK_PAUSE, 0x45, false},
    {SDL_SCANCODE_HOME, VK_HOME, 0x47, true},
    {SDL_SCANCODE_UP, VK_UP, 0x48, true},
    {SDL_SCANCODE_PAGEUP, VK_PRIOR, 0x49, true},
    {SDL_SCANCODE_LEFT, VK_LEFT, 0x4B, true},
    {SDL_SCANCODE_RIGHT, VK_RIGHT, 0x4D, true},
    {SDL_SCANCODE_END, VK_END, 0x4F, true},
    {SDL_SCANCODE_DOWN, VK_DOWN, 0x50, true},
    {SDL_SCANCODE_PAGEDOWN, VK_NEXT, 0x51, true},
    {SDL_SCANCODE_INSERT, VK_INSERT, 0x52, true},
    {SDL_SCANCODE_DELETE, VK_DELETE, 0x53, true},
    {SDL_SCANCODE_LGUI, VK_LWIN, 0x5B, true},
    {SDL_SCANCODE_RGUI, VK_RWIN, 0x5C, true},
    {SDL_SCANCODE_APPLICATION, VK_APPS, 0x5D, true},
    // Keypad, with NumLock on; the keys that change with NumLock are handled below.
    {SDL_SCANCODE_KP_DIVIDE, VK_DIVIDE, 0x35, true},
    {SDL_SCANCODE_KP_MULTIPLY, VK_MULTIPLY, 0x37, false},
    {SDL_SCANCODE_KP_MINUS, VK_SUBTRACT, 0x4A, false},
    {SDL_SCANCODE_KP_PLUS, VK_ADD, 0x4E, false},
    {SDL_SCANCODE_KP_ENTER, VK_RETURN, 0x1C, true},
    {SDL_SCANCODE_KP_7, VK_NUMPAD7, 0x47, false},
    {SDL_SCANCODE_KP_8, VK_NUMPAD8, 0x48, false},
    {SDL_SCANCODE_KP_9, VK_NUMPAD9, 0x49, false},
    {SDL_SCANCODE_KP_4, VK_NUMPAD4, 0x4B, false},
    {SDL_SCANCODE_KP_5, VK_NUMPAD5, 0x4C, false},
    {SDL_SCANCODE_KP_6, VK_NUMPAD6, 0x4D, false},
    {SDL_SCANCODE_KP_1, VK_NUMPAD1, 0x4F, false},
    {SDL_SCANCODE_KP_2, VK_NUMPAD2, 0x50, false},
    {SDL_SCANCODE_KP_3, VK_NUMPAD3, 0x51, false},
    {SDL_SCANCODE_KP_0, VK_NUMPAD0, 0x52, false},
    {SDL_SCANCODE_KP_PERIOD, VK_DECIMAL, 0x53, false},
};

// With NumLock off the digit keys of the keypad are navigation keys (not extended).
UINT KeypadVkWithoutNumLock(SDL_Scancode scancode)
{
    switch (scancode) {
    case SDL_SCANCODE_KP_7:
        return VK_HOME;
    case SDL_SCANCODE_KP_8:
        return VK_UP;
    case SDL_SCANCODE_KP_9:
        return VK_PRIOR;
    case SDL_SCANCODE_KP_4:
        return VK_LEFT;
    case SDL_SCANCODE_KP_5:
        return VK_CLEAR;
    case SDL_SCANCODE_KP_6:
        return VK_RIGHT;
    case SDL_SCANCODE_KP_1:
        return VK_END;
    case SDL_SCANCODE_KP_2:
        return VK_DOWN;
    case SDL_SCANCODE_KP_3:
        return VK_NEXT;
    case SDL_SCANCODE_KP_0:
        return VK_INSERT;
    case SDL_SCANCODE_KP_PERIOD:
        return VK_DELETE;
    default:
        return 0;
    }
}

// The side-specific codes that keyboard messages never carry, for the script's key lines.
const KeyEntry SIDE_KEYS[] = {
    {SDL_SCANCODE_LSHIFT, VK_LSHIFT, 0x2A, false},  {SDL_SCANCODE_RSHIFT, VK_RSHIFT, 0x36, false},
    {SDL_SCANCODE_LCTRL, VK_LCONTROL, 0x1D, false}, {SDL_SCANCODE_RCTRL, VK_RCONTROL, 0x1D, true},
    {SDL_SCANCODE_LALT, VK_LMENU, 0x38, false},     {SDL_SCANCODE_RALT, VK_RMENU, 0x38, true},
};

template <size_t N>
const KeyEntry* FindVk(const KeyEntry (&table)[N], UINT vk)
{
    for (const KeyEntry& key : table) {
        if (key.vk == vk) return &key;
    }
    return nullptr;
}

// The characters of the keys other than letters on a US layout, without and with Shift.
struct CharEntry {
    UINT vk;
    char plain;
    char shifted;
};

const CharEntry CHARACTERS[] = {
    {'0', '0', ')'},          {'1', '1', '!'},           {'2', '2', '@'},         {'3', '3', '#'},
    {'4', '4', '$'},          {'5', '5', '%'},           {'6', '6', '^'},         {'7', '7', '&'},
    {'8', '8', '*'},          {'9', '9', '('},           {VK_NUMPAD0, '0', '0'},  {VK_NUMPAD1, '1', '1'},
    {VK_NUMPAD2, '2', '2'},   {VK_NUMPAD3, '3', '3'},    {VK_NUMPAD4, '4', '4'},  {VK_NUMPAD5, '5', '5'},
    {VK_NUMPAD6, '6', '6'},   {VK_NUMPAD7, '7', '7'},    {VK_NUMPAD8, '8', '8'},  {VK_NUMPAD9, '9', '9'},
    {VK_SPACE, ' ', ' '},     {VK_RETURN, '\r', '\r'},   {VK_BACK, '\b', '\b'},   {VK_TAB, '\t', '\t'},
    {VK_ESCAPE, 0x1B, 0x1B},  {VK_OEM_1, ';', ':'},      {VK_OEM_PLUS, '=', '+'}, {VK_OEM_COMMA, ',', '<'},
    {VK_OEM_MINUS, '-', '_'}, {VK_OEM_PERIOD, '.', '>'}, {VK_OEM_2, '/', '?'},    {VK_OEM_3, '`', '~'},
    {VK_OEM_4, '[', '{'},     {VK_OEM_5, '\\', '|'},     {VK_OEM_6, ']', '}'},    {VK_OEM_7, '\'', '"'},
    {VK_OEM_102, '\\', '|'},  {VK_MULTIPLY, '*', '*'},   {VK_ADD, '+', '+'},      {VK_SUBTRACT, '-', '-'},
    {VK_DECIMAL, '.', '.'},   {VK_DIVIDE, '/', '/'},
};

// The control characters a US keyboard still makes with Ctrl held; Shift changes none of them.
const CharEntry CONTROL_CHARACTERS[] = {
    {VK_RETURN, '\n', '\n'}, {VK_BACK, 0x7F, 0x7F},  {VK_ESCAPE, 0x1B, 0x1B}, {VK_OEM_4, 0x1B, 0x1B},
    {VK_OEM_5, 0x1C, 0x1C},  {VK_OEM_6, 0x1D, 0x1D}, {VK_SPACE, ' ', ' '},
};

template <size_t N>
int CharacterOf(const CharEntry (&table)[N], UINT vk, bool shift)
{
    for (const CharEntry& entry : table) {
        if (entry.vk == vk) return static_cast<unsigned char>(shift ? entry.shifted : entry.plain);
    }
    return 0;
}

}  // namespace

bool PlatformKeyFromScancode(SDL_Scancode scancode, bool numLock, UINT* vk, UINT* scanCode, bool* extended)
{
    for (const KeyEntry& key : KEYS) {
        if (key.scancode != scancode) continue;
        *vk = key.vk;
        *scanCode = key.scanCode;
        *extended = key.extended;
        if (!numLock) {
            const UINT navigation = KeypadVkWithoutNumLock(scancode);
            if (navigation != 0) *vk = navigation;
        }
        return true;
    }
    return false;
}

void PlatformScanCodeFromVk(UINT vk, UINT* scanCode, bool* extended)
{
    const KeyEntry* key = FindVk(KEYS, vk);
    if (key == nullptr) key = FindVk(SIDE_KEYS, vk);
    *scanCode = key != nullptr ? key->scanCode : 0;
    *extended = key != nullptr && key->extended;
}

int PlatformCharFromVk(UINT vk, bool shift, bool control)
{
    if (vk >= 'A' && vk <= 'Z') {
        if (control) return static_cast<int>(vk - 'A' + 1);
        return shift ? static_cast<int>(vk) : static_cast<int>(vk - 'A' + 'a');
    }
    if (control) return CharacterOf(CONTROL_CHARACTERS, vk, shift);
    return CharacterOf(CHARACTERS, vk, shift);
}
