// USER32 cursor: position in screen coordinates and the display counter.
#include "PlatformInternal.h"

namespace {

POINT s_cursor = {0, 0};  // the layer's own position: the only one under offscreen/dummy
int s_displayCount = 0;   // a mouse is installed, so the counter starts at 0 (shown)

bool HasRealPointer()
{
    return PlatformIsVideoStarted() && !PlatformIsHeadless();
}

}  // namespace

void PlatformCursorMovedTo(int screenX, int screenY)
{
    s_cursor.x = screenX;
    s_cursor.y = screenY;
}

void PlatformGetCursorScreen(POINT* point)
{
    if (HasRealPointer()) {
        int x = 0, y = 0;
        SDL_GetGlobalMouseState(&x, &y);
        s_cursor.x = x;
        s_cursor.y = y;
    }
    *point = s_cursor;
}

void PlatformApplyCursorVisibility()
{
    if (PlatformIsVideoStarted()) SDL_ShowCursor(s_displayCount >= 0 ? SDL_ENABLE : SDL_DISABLE);
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
    s_cursor.x = x;
    s_cursor.y = y;
    if (HasRealPointer()) SDL_WarpMouseGlobal(x, y);
    return TRUE;
}

int WINAPI ShowCursor(BOOL show)
{
    s_displayCount += show ? 1 : -1;
    PlatformApplyCursorVisibility();
    return s_displayCount;
}
