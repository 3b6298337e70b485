// Keyboard and mouse messages built the way Windows builds them (wParam, lParam, the
// system-key and double-click rules), with the table of keys and buttons they left down.
// The Linux platform builds its input from SDL events and scripts through this; the
// Windows test build's driver its scripted input.
#pragma once

#include <windows.h>

#include "ScriptReader.h"  // KeyAction, ButtonAction

struct InputMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

class InputMessages {
public:
    // vk with the key's scan code and extended flag; Shift, Ctrl and Alt are kept per side.
    InputMessage Key(UINT vk, UINT scanCode, bool extended, KeyAction action);
    // button 0 left, 1 right, 2 middle; a double click is a plain down unless the window's
    // class asks for double clicks.
    InputMessage Button(int button, ButtonAction action, bool classWantsDoubleClicks, int clientX, int clientY);
    // delta in 1/120 notches; the lParam of the wheel is the cursor's screen position.
    InputMessage Wheel(int delta, int screenX, int screenY) const;
    InputMessage MouseMove(int clientX, int clientY) const;

    bool IsDown(UINT vk) const { return _isVkDown[vk & 0xFF]; }
    // The MK_ flags of mouse messages: buttons, Shift and Ctrl held.
    WPARAM MouseKeyFlags() const;
    void Reset();

private:
    bool _isVkDown[256] = {};
};
