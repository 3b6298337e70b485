#include "Engine/TheInputSystem.h"

#include "Engine/AssertionFailure.h"
#include "Engine/TheConsole.h"
#include "Engine/TheGameInterfaceAbstract.h"
#include "Engine/TheVideoSystem.h"

bool TheInputSystem::_isInitialized = false;

TheInputSystem::~TheInputSystem()
{
    CHECK_NOT_RUNNING_AT_DESTRUCTION("TheInputSystem");
}

void TheInputSystem::Startup()
{
    theConsole.Printf("::: Initialization : Input System (starting)\n");
    CHECK_NOT_YET_INITIALIZED("TheInputSystem");
    _isInitialized = true;
    theConsole.Printf("::: Initialization : Input System (finished)\n");
}

void TheInputSystem::Shutdown()
{
    theConsole.Printf("::: Shutdown : Input System (starting)\n");
    SetCursorVisible(true);  // never leave the user without a cursor
    _isInitialized = false;
    theConsole.Printf("::: Shutdown : Input System (finished)\n");
}

bool TheInputSystem::HandleWindowMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    uint8_t code = static_cast<uint8_t>(wParam & 0xFF);
    int32_t type = 0;
    switch (message) {
    case WM_KEYDOWN:
        _keyDown[code] = true;
        // The previous key state: the key was already down, so this is auto-repeat.
        type = (HIWORD(lParam) & KF_REPEAT) != 0 ? KEY_REPEATED : KEY_PRESSED;
        break;
    case WM_KEYUP:
        _keyDown[code] = false;
        type = KEY_RELEASED;
        break;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
        code = (message == WM_LBUTTONDBLCLK) ? VK_LBUTTON : (message == WM_RBUTTONDBLCLK) ? VK_RBUTTON : VK_MBUTTON;
        _keyDown[code] = true;
        type = KEY_REPEATED;
        break;
    case WM_MOUSEWHEEL: {
        const int delta = GET_WHEEL_DELTA_WPARAM(wParam);
        if (delta == 0) return false;
        type = delta > 0 ? WHEEL_FORWARD : WHEEL_BACKWARD;
        code = static_cast<uint8_t>((delta > 0 ? delta : -delta) / WHEEL_DELTA);
        break;
    }
    default:
        return false;
    }
    TheGameInterfaceAbstract* game = TheGameInterfaceAbstract::GetInstance();
    return game != nullptr && game->HandleInputEvent(type, code);
}

void TheInputSystem::Update()
{
    if (!_isMouseTracking) {
        _mouseDeltaX = 0;
        _mouseDeltaY = 0;
        return;
    }
    POINT p = {0, 0};
    GetCursorPos(&p);
    _mouseDeltaX = p.x - _anchorX;
    _mouseDeltaY = p.y - _anchorY;
    if (_isCursorVisible) {
        _anchorX = p.x;
        _anchorY = p.y;
        _lastCursorX = p.x;
        _lastCursorY = p.y;
    } else {
        // Keep a hidden cursor away from the screen edges so motion never stops.
        SetCursorPosition(theVideoSystem.GetWidth() / 2, theVideoSystem.GetHeight() / 2);
    }
}

Vec2i TheInputSystem::GetMousePosition() const
{
    Vec2i client;
    theVideoSystem.ScreenToClient(_lastCursorX, _lastCursorY, client.x, client.y);
    return client;
}

void TheInputSystem::SetCursorPosition(int x, int y)
{
    _anchorX = x;
    _anchorY = y;
    SetCursorPos(x, y);
}

void TheInputSystem::SetCursorVisible(bool visible)
{
    if (visible == _isCursorVisible) return;  // keeps the platform's display counter balanced
    if (visible) {
        _isCursorVisible = true;
        SetCursorPosition(_lastCursorX, _lastCursorY);
        ShowCursor(TRUE);
    } else {
        _isCursorVisible = false;
        _lastCursorX = _anchorX;
        _lastCursorY = _anchorY;
        ShowCursor(FALSE);
    }
}

void TheInputSystem::StartMouseTracking()
{
    _isMouseTracking = true;
    SetCursorPos(_anchorX, _anchorY);
}

void TheInputSystem::StopMouseTracking()
{
    _isMouseTracking = false;
}
