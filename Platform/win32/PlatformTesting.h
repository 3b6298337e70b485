// Hooks through which tests put the platform layer into a known state. A real
// program never calls these.
#pragma once

#include "windows.h"

// Replaces the adapter's display modes that EnumDisplaySettingsA reports
// (count < 0 restores the real adapter list).
void PlatformSetAdapterModesForTesting(const DEVMODEA* modes, int count);

// Replaces the desktop window's rectangle (GetWindowRect of GetDesktopWindow);
// null restores the primary display's bounds.
void PlatformSetDesktopRectForTesting(const RECT* rect);

// Makes ChangeDisplaySettingsA with CDS_FULLSCREEN answer the given result.
void PlatformSetFullscreenResultForTesting(LONG result);

// Changes the fixed-step clock's step at run time (seconds per presented frame);
// it also makes the counter virtual when PINWHIRL_FIXED_STEP was not set.
void PlatformSetFixedStepForTesting(double seconds);

// Calls observer for every message that reaches DefWindowProcA (null: no observer).
void PlatformSetDefWindowProcObserverForTesting(void (*observer)(UINT message, WPARAM wParam));

// Lets ChangeDisplaySettingsA judge fullscreen requests itself again.
void PlatformClearFullscreenResultForTesting();

// Puts the whole layer back as a new process finds it: every window, rendering context,
// window class and GDI object gone, the message queue empty (no quit pending), no fullscreen
// mode, no key or button down, the cursor shown at (0, 0), no script and no swaps counted,
// the real desktop and adapter, and the clock as PINWHIRL_FIXED_STEP sets it (its count
// goes on, never back).
void PlatformResetForTesting();
