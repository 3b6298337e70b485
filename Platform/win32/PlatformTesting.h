// Hooks through which tests put the platform layer into a known state. A real
// program never calls these.
#pragma once

#include "windows.h"

// Replaces the adapter's display modes that EnumDisplaySettingsA reports
// (count < 0 restores the real adapter list).
void PlatformSetAdapterModesForTesting(const DEVMODEA* modes, int count);

// Replaces the desktop window's rectangle (GetWindowRect of GetDesktopWindow).
void PlatformSetDesktopRectForTesting(const RECT* rect);

// Makes ChangeDisplaySettingsA with CDS_FULLSCREEN answer the given result.
void PlatformSetFullscreenResultForTesting(LONG result);
