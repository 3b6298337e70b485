// USER32 MessageBoxA: stderr always, an SDL message box when there is a display.
#include "PlatformInternal.h"
#include "SdkConstants.h"

int WINAPI MessageBoxA(HWND hWnd, LPCSTR text, LPCSTR caption, UINT type)
{
    if (text == nullptr) text = "";
    if (caption == nullptr) caption = "Error";  // what Windows titles a box without a caption
    // The log of a run is where a test, or a user without a display, reads the box.
    PlatformLog("MessageBoxA caption: %s\nMessageBoxA text: %s\n", caption, text);

    // Headless (offscreen or dummy driver, no display, or a scripted run) nobody can
    // click: the box counts as answered with OK at once.
    if (PlatformIsScriptRunning() || PlatformIsHeadless()) return IDOK;

    Uint32 flags = SDL_MESSAGEBOX_INFORMATION;
    const UINT icon = type & MB_ICONMASK;
    if (icon == MB_ICONERROR) flags = SDL_MESSAGEBOX_ERROR;
    if (icon == MB_ICONWARNING) flags = SDL_MESSAGEBOX_WARNING;
    PlatformWindow* owner = PlatformWindowFromHandle(hWnd);
    SDL_Window* parent = owner != nullptr && owner->visible ? owner->sdl : nullptr;

    const bool okCancel = (type & MB_TYPEMASK) == MB_OKCANCEL;
    SDL_MessageBoxButtonData buttons[2];
    buttons[0].flags =
        SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | (okCancel ? 0 : SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT);
    buttons[0].buttonid = IDOK;
    buttons[0].text = "OK";
    buttons[1].flags = SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
    buttons[1].buttonid = IDCANCEL;
    buttons[1].text = "Cancel";
    SDL_MessageBoxData data;
    SDL_zero(data);
    data.flags = flags;
    data.window = parent;
    data.title = caption;
    data.message = text;
    data.numbuttons = okCancel ? 2 : 1;
    data.buttons = buttons;
    int pressed = IDOK;
    if (SDL_ShowMessageBox(&data, &pressed) != 0 || pressed < 0) return okCancel ? IDCANCEL : IDOK;
    return pressed;
}
