// Win32 constants that only this layer's own code uses, with the SDK's names and values. The
// program's windows.h carries only what Engine/ and Game/ call.
#pragma once

// MessageBoxA's type: the buttons in the low four bits, the icon in the next four.
#define MB_TYPEMASK 0x0000000FL
#define MB_ICONMASK 0x000000F0L

// LOGFONTA's lfPitchAndFamily: the families GDI knows besides those in windows.h.
#define FF_SCRIPT (4 << 4)
#define FF_DECORATIVE (5 << 4)
