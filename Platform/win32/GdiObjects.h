// GDI objects of the platform layer (brushes and logical fonts), shared by the
// files of this folder that implement GDI and WGL calls.
#pragma once

#include "windows.h"

struct GdiObject {
    enum Kind { BRUSH, FONT } kind;
    COLORREF color;    // brushes
    LOGFONTA logFont;  // fonts
};

inline GdiObject* ToGdiObject(HGDIOBJ object)
{
    return static_cast<GdiObject*>(object);
}

// The logical font selected into a device context, or null when none is.
const LOGFONTA* GdiGetSelectedFont(HDC hdc);
// The font a device context writes with: the selected one, or the stock system font.
LOGFONTA GdiGetTextFont(HDC hdc);
