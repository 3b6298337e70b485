// GDI32 for the status plaque and the bitmap font: brushes, logical fonts and
// device-context state.
#include <cstring>
#include <set>

#include "PlatformInternal.h"

namespace {

// This file's part of the layer's state.
std::set<GdiObject*>& LiveObjects()
{
    return Platform().gdi.live;
}

// A new device context holds the stock system font and the stock white brush.
GdiObject* StockSystemFont()
{
    static GdiObject font;
    static bool made = false;
    if (!made) {
        made = true;
        font.kind = GdiObject::FONT;
        font.color = 0;
        memset(&font.logFont, 0, sizeof(font.logFont));
        font.logFont.lfHeight = 16;
        font.logFont.lfWeight = FW_BOLD;
        font.logFont.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
        strcpy(font.logFont.lfFaceName, "System");
    }
    return &font;
}

GdiObject* StockWhiteBrush()
{
    static GdiObject brush = {GdiObject::BRUSH, RGB(255, 255, 255), {}};
    return &brush;
}

bool IsStock(const GdiObject* object)
{
    return object == StockSystemFont() || object == StockWhiteBrush();
}

GdiObject* FromHandle(HGDIOBJ handle)
{
    GdiObject* object = ToGdiObject(handle);
    if (object == nullptr) return nullptr;
    if (IsStock(object) || LiveObjects().count(object) != 0) return object;
    return nullptr;
}

PlatformDC* DCFromHandle(HDC hdc)
{
    if (hdc == nullptr) return nullptr;
    PlatformDC* screen = &PlatformDesktop()->dc;
    if (reinterpret_cast<HDC>(screen) == hdc) return screen;
    for (PlatformWindow* window : PlatformWindows()) {
        if (reinterpret_cast<HDC>(&window->dc) == hdc) return &window->dc;
    }
    return nullptr;
}

bool IsSelectedAnywhere(const GdiObject* object)
{
    if (PlatformDesktop()->dc.font == object || PlatformDesktop()->dc.brush == object) return true;
    for (PlatformWindow* window : PlatformWindows()) {
        if (window->dc.font == object || window->dc.brush == object) return true;
    }
    return false;
}

}  // namespace

PlatformDC* PlatformDCFromHandle(HDC hdc)
{
    return DCFromHandle(hdc);
}

GdiObject* PlatformGdiObjectFromHandle(HGDIOBJ handle)
{
    return FromHandle(handle);
}

void PlatformInitDC(PlatformDC* dc, PlatformWindow* window)
{
    *dc = PlatformDC();
    dc->window = window;
    dc->font = StockSystemFont();
    dc->brush = StockWhiteBrush();
}

void PlatformReleaseDC(PlatformDC* dc)
{
    // The objects selected into it stay alive: their creator deletes them.
    dc->font = StockSystemFont();
    dc->brush = StockWhiteBrush();
}

void PlatformDeleteAllGdiObjects()
{
    for (GdiObject* object : LiveObjects()) delete object;
    LiveObjects().clear();
}

const LOGFONTA* GdiGetSelectedFont(HDC hdc)
{
    PlatformDC* dc = DCFromHandle(hdc);
    // The stock system font counts as none: wglUseFontBitmapsA then uses its own stand-in.
    if (dc == nullptr || dc->font == nullptr || dc->font == StockSystemFont()) return nullptr;
    return &dc->font->logFont;
}

HBRUSH WINAPI CreateSolidBrush(COLORREF color)
{
    GdiObject* brush = new GdiObject;
    brush->kind = GdiObject::BRUSH;
    brush->color = color & 0x00FFFFFF;
    memset(&brush->logFont, 0, sizeof(brush->logFont));
    LiveObjects().insert(brush);
    return reinterpret_cast<HBRUSH>(brush);
}

HFONT WINAPI CreateFontIndirectA(const LOGFONTA* logFont)
{
    if (logFont == nullptr) return nullptr;
    GdiObject* font = new GdiObject;
    font->kind = GdiObject::FONT;
    font->color = 0;
    font->logFont = *logFont;
    font->logFont.lfFaceName[LF_FACESIZE - 1] = '\0';
    LiveObjects().insert(font);
    return reinterpret_cast<HFONT>(font);
}

HFONT WINAPI CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                         DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                         DWORD quality, DWORD pitchAndFamily, LPCSTR faceName)
{
    LOGFONTA logFont;
    memset(&logFont, 0, sizeof(logFont));
    logFont.lfHeight = height;
    logFont.lfWidth = width;
    logFont.lfEscapement = escapement;
    logFont.lfOrientation = orientation;
    logFont.lfWeight = weight;
    logFont.lfItalic = static_cast<BYTE>(italic);
    logFont.lfUnderline = static_cast<BYTE>(underline);
    logFont.lfStrikeOut = static_cast<BYTE>(strikeOut);
    logFont.lfCharSet = static_cast<BYTE>(charSet);
    logFont.lfOutPrecision = static_cast<BYTE>(outPrecision);
    logFont.lfClipPrecision = static_cast<BYTE>(clipPrecision);
    logFont.lfQuality = static_cast<BYTE>(quality);
    logFont.lfPitchAndFamily = static_cast<BYTE>(pitchAndFamily);
    if (faceName != nullptr) strncpy(logFont.lfFaceName, faceName, LF_FACESIZE - 1);
    return CreateFontIndirectA(&logFont);
}

HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ object)
{
    PlatformDC* dc = DCFromHandle(hdc);
    GdiObject* gdiObject = FromHandle(object);
    if (dc == nullptr || gdiObject == nullptr) return nullptr;
    GdiObject** slot = gdiObject->kind == GdiObject::FONT ? &dc->font : &dc->brush;
    GdiObject* previous = *slot;
    *slot = gdiObject;
    return previous;
}

HGDIOBJ WINAPI GetCurrentObject(HDC hdc, UINT type)
{
    PlatformDC* dc = DCFromHandle(hdc);
    if (dc == nullptr) return nullptr;
    if (type == OBJ_FONT) return dc->font;
    if (type == OBJ_BRUSH) return dc->brush;
    return nullptr;
}

BOOL WINAPI DeleteObject(HGDIOBJ object)
{
    GdiObject* gdiObject = FromHandle(object);
    if (gdiObject == nullptr) return FALSE;
    if (IsStock(gdiObject)) return TRUE;  // stock objects are never deleted, and that is not an error
    if (IsSelectedAnywhere(gdiObject)) return FALSE;
    LiveObjects().erase(gdiObject);
    delete gdiObject;
    return TRUE;
}

namespace {

// The Set* calls of a device context: store the new value, return the one it replaces.
template <typename T>
T ExchangeDCState(HDC hdc, T PlatformDC::*field, T value, T failure)
{
    PlatformDC* dc = DCFromHandle(hdc);
    if (dc == nullptr) return failure;
    const T previous = dc->*field;
    dc->*field = value;
    return previous;
}

}  // namespace

int WINAPI SetBkMode(HDC hdc, int mode)
{
    if (mode != TRANSPARENT && mode != OPAQUE) return 0;
    return ExchangeDCState(hdc, &PlatformDC::bkMode, mode, 0);
}

UINT WINAPI SetTextAlign(HDC hdc, UINT align)
{
    return ExchangeDCState(hdc, &PlatformDC::textAlign, align, static_cast<UINT>(GDI_ERROR));
}

COLORREF WINAPI SetTextColor(HDC hdc, COLORREF color)
{
    return ExchangeDCState(hdc, &PlatformDC::textColor, color, static_cast<COLORREF>(CLR_INVALID));
}
