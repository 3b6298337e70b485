// USER32 cursor: position in screen coordinates and the display counter.
#include "PlatformInternal.h"

namespace {

// This file's part of the layer's state.
CursorState& State()
{
    return Platform().cursor;
}

bool HasRealPointer()
{
    return PlatformIsVideoStarted() && !PlatformIsHeadless();
}

}  // namespace

void PlatformCursorMovedTo(int screenX, int screenY)
{
    State().position.x = screenX;
    State().position.y = screenY;
}

void PlatformGetCursorScreen(POINT* point)
{
    if (HasRealPointer()) {
        int x = 0, y = 0;
        SDL_GetGlobalMouseState(&x, &y);
        State().position.x = x;
        State().position.y = y;
    }
    *point = State().position;
}

void PlatformApplyCursorVisibility()
{
    if (PlatformIsVideoStarted()) SDL_ShowCursor(State().displayCount >= 0 ? SDL_ENABLE : SDL_DISABLE);
}

BOOL WINAPI GetCursorPos(LPPOINT point)
{
    if (point == nullptr) return FALSE;
    PlatformGetCursorScreen(point);
    return TRUE;
}

// Headless, there is no screen edge to stop the cursor at; a real pointer is kept
// on the screen by the display server.
BOOL WINAPI SetCursorPos(int x, int y)
{
    State().position.x = x;
    State().position.y = y;
    if (HasRealPointer()) SDL_WarpMouseGlobal(x, y);
    return TRUE;
}

int WINAPI ShowCursor(BOOL show)
{
    State().displayCount += show ? 1 : -1;
    PlatformApplyCursorVisibility();
    return State().displayCount;
}
