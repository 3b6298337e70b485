// Keyboard and mouse input as window messages, built the way Win32 builds them.
// SDL events and script lines both come through here, so both give the same
// wParam and lParam.
#include "InputMessages.h"
#include "PlatformInternal.h"

namespace {

// This file's part of the layer's state: the messages' builder and the keys they left down.
InputMessages& Messages()
{
    return Platform().input.messages;
}

void Post(PlatformWindow* window, const InputMessage& message)
{
    PlatformPostInput(window, message.message, message.wParam, message.lParam);
}

}  // namespace

bool PlatformIsVkDown(UINT vk)
{
    return Messages().IsDown(vk);
}

WPARAM PlatformMouseKeyFlags()
{
    return Messages().MouseKeyFlags();
}

void PlatformKeyEvent(PlatformWindow* window, UINT vk, UINT scanCode, bool extended, KeyAction action)
{
    if (window == nullptr || !window->alive) return;
    Post(window, Messages().Key(vk, scanCode, extended, action));
}

void PlatformButtonEvent(PlatformWindow* window, int button, ButtonAction action, int clientX, int clientY)
{
    if (window == nullptr || !window->alive || button < 0 || button > 2) return;
    Post(window, Messages().Button(button, action, (window->wndClass.style & CS_DBLCLKS) != 0, clientX, clientY));
}

void PlatformWheelEvent(PlatformWindow* window, int delta)
{
    if (window == nullptr || !window->alive || delta == 0) return;
    POINT cursor;
    PlatformGetCursorScreen(&cursor);
    Post(window, Messages().Wheel(delta, cursor.x, cursor.y));
}

void PlatformMouseMoveEvent(PlatformWindow* window, int clientX, int clientY)
{
    if (window == nullptr || !window->alive) return;
    PlatformCursorMovedTo(window->clientOrigin.x + clientX, window->clientOrigin.y + clientY);
    Post(window, Messages().MouseMove(clientX, clientY));
}
