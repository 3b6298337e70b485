// USER32 display settings: the primary adapter's modes as SDL reports them, and
// the fullscreen switch of ChangeDisplaySettingsA on SDL's fullscreen windows.
#include <cstring>
#include <vector>

#include "PlatformInternal.h"

namespace {

// This file's part of the layer's state.
DisplayState& State()
{
    return Platform().display;
}

const DWORD DM_SPECVERSION_VALUE = 0x0401;

void FillDevMode(DEVMODEA* devMode, int width, int height, int bitsPerPixel, int refreshHz)
{
    memset(devMode, 0, sizeof(DEVMODEA));
    strncpy(reinterpret_cast<char*>(devMode->dmDeviceName), "\\\\.\\DISPLAY1", sizeof(devMode->dmDeviceName) - 1);
    devMode->dmSpecVersion = DM_SPECVERSION_VALUE;
    devMode->dmSize = sizeof(DEVMODEA);
    devMode->dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT | DM_DISPLAYFLAGS | DM_DISPLAYFREQUENCY;
    devMode->dmBitsPerPel = static_cast<DWORD>(bitsPerPixel);
    devMode->dmPelsWidth = static_cast<DWORD>(width);
    devMode->dmPelsHeight = static_cast<DWORD>(height);
    devMode->dmDisplayFrequency = static_cast<DWORD>(refreshHz);
}

// Windows counts the padding byte of a 32-bit pixel: RGB888 is a 32 bpp mode.
int WindowsBitsPerPixel(Uint32 format)
{
    return SDL_BYTESPERPIXEL(format) * 8;
}

void FromSdlMode(const SDL_DisplayMode& mode, DEVMODEA* devMode)
{
    FillDevMode(devMode, mode.w, mode.h, WindowsBitsPerPixel(mode.format), mode.refresh_rate);
}

// The primary display's modes. SDL's offscreen driver lists a single 0 x 0 mode of no
// format; its desktop mode (1024 x 768, RGB888) is then the adapter's one mode.
std::vector<SDL_DisplayMode> SdlAdapterModes()
{
    std::vector<SDL_DisplayMode> modes;
    const int count = SDL_GetNumDisplayModes(0);
    for (int n = 0; n < count; ++n) {
        SDL_DisplayMode mode;
        if (SDL_GetDisplayMode(0, n, &mode) == 0 && mode.w > 0 && mode.h > 0 && mode.format != SDL_PIXELFORMAT_UNKNOWN)
            modes.push_back(mode);
    }
    SDL_DisplayMode desktop;
    if (modes.empty() && SDL_GetDesktopDisplayMode(0, &desktop) == 0 && desktop.w > 0 && desktop.h > 0)
        modes.push_back(desktop);
    return modes;
}

// Whether an adapter mode satisfies the fields the request names.
bool Matches(const DEVMODEA& request, const DEVMODEA& mode)
{
    if ((request.dmFields & DM_PELSWIDTH) != 0 && request.dmPelsWidth != mode.dmPelsWidth) return false;
    if ((request.dmFields & DM_PELSHEIGHT) != 0 && request.dmPelsHeight != mode.dmPelsHeight) return false;
    if ((request.dmFields & DM_BITSPERPEL) != 0 && request.dmBitsPerPel != mode.dmBitsPerPel) return false;
    // Refresh rates 0 and 1 mean the hardware's default on Windows.
    if ((request.dmFields & DM_DISPLAYFREQUENCY) != 0 && request.dmDisplayFrequency > 1 &&
        request.dmDisplayFrequency != mode.dmDisplayFrequency)
        return false;
    return true;
}

// The adapter's mode list: the fake one a test set, or SDL's.
std::vector<DEVMODEA> AdapterModes()
{
    if (State().hasFakeModes) return State().fakeModes;
    std::vector<DEVMODEA> modes;
    if (!PlatformEnsureVideo()) return modes;
    for (const SDL_DisplayMode& sdlMode : SdlAdapterModes()) {
        DEVMODEA mode;
        FromSdlMode(sdlMode, &mode);
        modes.push_back(mode);
    }
    return modes;
}

bool AdapterHasMode(const DEVMODEA& request)
{
    for (const DEVMODEA& mode : AdapterModes()) {
        if (Matches(request, mode)) return true;
    }
    return false;
}

// The SDL mode nearest the request, for SDL_SetWindowDisplayMode.
bool SdlModeFor(const DEVMODEA& request, SDL_DisplayMode* result)
{
    SDL_DisplayMode wanted;
    SDL_zero(wanted);
    wanted.w = static_cast<int>(request.dmPelsWidth);
    wanted.h = static_cast<int>(request.dmPelsHeight);
    if ((request.dmFields & DM_DISPLAYFREQUENCY) != 0 && request.dmDisplayFrequency > 1)
        wanted.refresh_rate = static_cast<int>(request.dmDisplayFrequency);
    return SDL_GetClosestDisplayMode(0, &wanted, result) != nullptr;
}

}  // namespace

BOOL WINAPI EnumDisplaySettingsA(LPCSTR deviceName, DWORD modeNum, DEVMODEA* devMode)
{
    (void)deviceName;  // only the primary adapter exists here
    if (devMode == nullptr) return FALSE;
    const DisplayState& state = State();
    if (modeNum == ENUM_CURRENT_SETTINGS && state.isFullscreenActive) {
        const DEVMODEA& mode = state.fullscreenMode;
        FillDevMode(devMode, static_cast<int>(mode.dmPelsWidth), static_cast<int>(mode.dmPelsHeight),
                    static_cast<int>(mode.dmBitsPerPel), static_cast<int>(mode.dmDisplayFrequency));
        return TRUE;
    }
    if (modeNum != ENUM_CURRENT_SETTINGS && modeNum != ENUM_REGISTRY_SETTINGS) {
        const std::vector<DEVMODEA> modes = AdapterModes();
        if (modeNum >= modes.size()) return FALSE;
        *devMode = modes[modeNum];
        return TRUE;
    }
    if (state.hasFakeModes && !state.fakeModes.empty()) {
        // The desktop's mode; with a fake adapter list its first mode stands for it.
        *devMode = state.fakeModes[0];
        return TRUE;
    }
    SDL_DisplayMode mode;
    if (!PlatformEnsureVideo() || SDL_GetDesktopDisplayMode(0, &mode) != 0) return FALSE;
    FromSdlMode(mode, devMode);
    return TRUE;
}

LONG WINAPI ChangeDisplaySettingsA(DEVMODEA* devMode, DWORD flags)
{
    (void)flags;  // CDS_FULLSCREEN or 0: either way the change lasts while the program runs
    DisplayState& state = State();
    if (devMode == nullptr) {
        // Back to the desktop's own mode: SDL windows leave fullscreen.
        state.isFullscreenActive = false;
        PlatformApplyFullscreen(nullptr);
        return DISP_CHANGE_SUCCESSFUL;
    }
    LONG result = DISP_CHANGE_SUCCESSFUL;
    if (state.hasForcedResult) {
        result = state.forcedResult;
    } else if (!AdapterHasMode(*devMode)) {
        result = DISP_CHANGE_BADMODE;
    }
    if (result != DISP_CHANGE_SUCCESSFUL) return result;
    state.isFullscreenActive = true;
    memcpy(&state.fullscreenMode, devMode, sizeof(DEVMODEA));
    PlatformApplyFullscreen(nullptr);
    return DISP_CHANGE_SUCCESSFUL;
}

bool PlatformIsFullscreenModeActive()
{
    return State().isFullscreenActive;
}

// A popup window covers the screen in the mode in effect; other windows stay windows.
// Null: every window follows the mode now in effect.
void PlatformApplyFullscreen(PlatformWindow* only)
{
    if (!PlatformIsVideoStarted()) return;
    if (only == nullptr) {
        const std::vector<PlatformWindow*> windows = PlatformWindows();
        for (PlatformWindow* window : windows) PlatformApplyFullscreen(window);
        return;
    }
    PlatformWindow* window = only;
    if (window->sdl == nullptr) return;
    const bool headless = PlatformIsHeadless();
    const bool wantFullscreen = State().isFullscreenActive && (window->style & WS_POPUP) != 0;
    if (wantFullscreen) {
        SDL_DisplayMode mode;
        if (SdlModeFor(State().fullscreenMode, &mode)) SDL_SetWindowDisplayMode(window->sdl, &mode);
        // Under the offscreen driver the "screen" is the window's own surface; nothing switches.
        if (!headless) SDL_SetWindowFullscreen(window->sdl, SDL_WINDOW_FULLSCREEN);
        window->fullscreen = true;
    } else if (window->fullscreen) {
        if (!headless) SDL_SetWindowFullscreen(window->sdl, 0);
        window->fullscreen = false;
    }
}
