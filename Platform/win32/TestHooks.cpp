// The hooks of PlatformTesting.h. Only test programs link this file.
#include "PlatformInternal.h"
#include "PlatformScript.h"
#include "PlatformTesting.h"

void PlatformSetAdapterModesForTesting(const DEVMODEA* modes, int count)
{
    DisplayState& display = Platform().display;
    display.fakeModes.clear();
    display.hasFakeModes = count >= 0;
    for (int i = 0; i < count; ++i) display.fakeModes.push_back(modes[i]);
}

void PlatformSetDesktopRectForTesting(const RECT* rect)
{
    WindowState& windows = Platform().windows;
    windows.hasFakeDesktop = rect != nullptr;
    if (rect != nullptr) windows.fakeDesktop = *rect;
}

void PlatformSetFullscreenResultForTesting(LONG result)
{
    Platform().display.hasForcedResult = true;
    Platform().display.forcedResult = result;
}

void PlatformClearFullscreenResultForTesting()
{
    Platform().display.hasForcedResult = false;
}

void PlatformSetFixedStepForTesting(double seconds)
{
    PlatformClockSetStep(seconds);
}

void PlatformSetDefWindowProcObserverForTesting(void (*observer)(UINT message, WPARAM wParam))
{
    Platform().messages.defWindowProcObserver = observer;
}

void PlatformResetForTesting()
{
    // What lives outside the record first: GL contexts, SDL windows, the fullscreen mode.
    PlatformDestroyAllContexts();
    PlatformDestroyAllWindows();
    ChangeDisplaySettingsA(nullptr, 0);
    PlatformDeleteAllGdiObjects();

    // SDL stays up, the desktop window keeps its handle, and the program its resources.
    PlatformState& state = Platform();
    const VideoState video = state.video;
    PlatformWindow* const desktop = state.windows.desktop;
    const ClockState clock = state.clock;
    const ResourceState resources = state.resources;
    state = PlatformState();
    state.video = video;
    state.windows.desktop = desktop;
    state.clock = clock;
    state.resources = resources;
    PlatformClockReset();
    PlatformApplyCursorVisibility();
}
