// Text in the font selected into a device context: WGL's display lists of glyph bitmaps and
// GDI's character widths, both from the same rasterizer so that they agree to the pixel.
#include "windows.h"
#include <GL/gl.h>

#include "FontRasterizer.h"
#include "GdiObjects.h"

// A device context without a selected font draws with the stock system font: a bold 16-pixel cell.
static LOGFONTA SystemFont()
{
    LOGFONTA logFont = {};
    logFont.lfHeight = 16;
    logFont.lfWeight = FW_BOLD;
    logFont.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    return logFont;
}

LOGFONTA GdiGetTextFont(HDC hdc)
{
    const LOGFONTA* selected = GdiGetSelectedFont(hdc);
    return selected != nullptr ? *selected : SystemFont();
}

// Only ANSI codes have a width here, as only they have glyphs.
BOOL WINAPI GetCharWidth32A(HDC hdc, UINT first, UINT last, LPINT widths)
{
    if (widths == nullptr || first > last || last > 255) return FALSE;
    FontRasterizer rasterizer;
    if (!rasterizer.Open(GdiGetTextFont(hdc))) return FALSE;
    RasterizedGlyph glyph;
    for (UINT code = first; code <= last; ++code) {
        widths[code - first] = rasterizer.RasterizeCode(uint8_t(code), glyph) ? glyph.advance : 0;
    }
    return TRUE;
}

// Each list holds one glBitmap: the glyph placed by its origin, then the pen moved by its advance,
// so glCallLists draws a string from its baseline. Codes past 255 have no meaning for the ANSI
// entry point and are refused.
BOOL WINAPI wglUseFontBitmapsA(HDC hdc, DWORD first, DWORD count, DWORD listBase)
{
    if (first > 255 || count > 256 - first) return FALSE;
    if (glGetString(GL_VERSION) == nullptr) return FALSE;  // no current rendering context

    FontRasterizer rasterizer;
    if (!rasterizer.Open(GdiGetTextFont(hdc))) {
        OutputDebugStringA("wglUseFontBitmapsA: no font face found through fontconfig\n");
        return FALSE;
    }

    // Bitmaps are unpacked when the list is compiled, with the pixel-store state of that moment.
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
    glPixelStorei(GL_UNPACK_SWAP_BYTES, GL_FALSE);

    bool allDrawn = true;
    RasterizedGlyph glyph;
    // Some drivers (Mesa) drop a glBitmap without bits from a list, and blanks would lose their
    // advance; an empty glyph therefore points at one unused byte.
    static const GLubyte noBits = 0;
    for (DWORD i = 0; i < count; ++i) {
        if (!rasterizer.RasterizeCode(uint8_t(first + i), glyph)) allDrawn = false;
        glNewList(listBase + i, GL_COMPILE);
        glBitmap(glyph.width, glyph.height, GLfloat(glyph.originX), GLfloat(glyph.originY), GLfloat(glyph.advance),
                 0.0f, glyph.bits.empty() ? &noBits : glyph.bits.data());
        glEndList();
    }
    glPopClientAttrib();
    return allDrawn ? TRUE : FALSE;
}
