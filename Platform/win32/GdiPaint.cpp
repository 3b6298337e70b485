// GDI painting on a window: FillRect and TextOutA. GDI cannot reach an SDL OpenGL window,
// so each window keeps the picture GDI painted on it, text rasterized as wglUseFontBitmapsA
// rasterizes it. While the program has no rendering context current on the window (the
// status plaque of start-up), the layer shows that picture itself, through a context of its
// own, as the window's first frames; once the program's context is current, the painting
// goes into its back buffer and is seen with the next frame the program presents.
#include <GL/gl.h>

#include <algorithm>
#include <cstring>

#include "FontRasterizer.h"
#include "PlatformInternal.h"

namespace {

const int BYTES_PER_PIXEL = 4;  // RGBA
const COLORREF DEFAULT_BACKGROUND = RGB(255, 255, 255);

struct Box {
    int left, top, right, bottom;  // client pixels, y downward, right and bottom excluded
};

// The box cut to the client area; false when nothing of it is left.
bool Clip(const PlatformWindow* window, Box* box)
{
    box->left = std::max(0, box->left);
    box->top = std::max(0, box->top);
    box->right = std::min(window->clientWidth, box->right);
    box->bottom = std::min(window->clientHeight, box->bottom);
    return box->right > box->left && box->bottom > box->top;
}

std::vector<uint8_t>& Picture(PlatformWindow* window)
{
    const size_t size = size_t(window->clientWidth) * window->clientHeight * BYTES_PER_PIXEL;
    if (window->gdiPicture.size() != size) window->gdiPicture.assign(size, 0);
    return window->gdiPicture;
}

void SetPixel(PlatformWindow* window, int x, int y, COLORREF color)
{
    if (x < 0 || y < 0 || x >= window->clientWidth || y >= window->clientHeight) return;
    uint8_t* pixel =
        &Picture(window)[(size_t(window->clientHeight - 1 - y) * window->clientWidth + x) * BYTES_PER_PIXEL];
    pixel[0] = GetRValue(color);
    pixel[1] = GetGValue(color);
    pixel[2] = GetBValue(color);
    pixel[3] = 255;
}

// The box must lie inside the client area.
void PaintBox(PlatformWindow* window, const Box& box, COLORREF color)
{
    std::vector<uint8_t>& picture = Picture(window);
    const uint8_t rgba[BYTES_PER_PIXEL] = {GetRValue(color), GetGValue(color), GetBValue(color), 255};
    for (int y = box.top; y < box.bottom; ++y) {
        uint8_t* pixel =
            &picture[(size_t(window->clientHeight - 1 - y) * window->clientWidth + box.left) * BYTES_PER_PIXEL];
        for (int x = box.left; x < box.right; ++x, pixel += BYTES_PER_PIXEL) memcpy(pixel, rgba, BYTES_PER_PIXEL);
    }
}

// Copies a part of the picture into the back buffer of the program's current context.
void CopyToBackBuffer(PlatformWindow* window, const Box& box)
{
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_PIXEL_MODE_BIT | GL_TRANSFORM_BIT | GL_VIEWPORT_BIT);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glDisable(GL_BLEND);
    glDisable(GL_SCISSOR_TEST);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glViewport(0, 0, window->clientWidth, window->clientHeight);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, window->clientWidth);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, box.left);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, window->clientHeight - box.bottom);
    // Window coordinates of the box's lower-left corner, mapped through identity matrices.
    glRasterPos2f(2.0f * float(box.left) / float(window->clientWidth) - 1.0f,
                  2.0f * float(window->clientHeight - box.bottom) / float(window->clientHeight) - 1.0f);
    glDrawPixels(box.right - box.left, box.bottom - box.top, GL_RGBA, GL_UNSIGNED_BYTE, Picture(window).data());
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glPopClientAttrib();
    glPopAttrib();
}

// Shows the picture as a frame of the window, through the layer's own context. The offscreen
// driver's one buffer keeps what it showed last, so there only the freshly painted box is copied.
void Present(PlatformWindow* window, const Box& box)
{
    if (window->sdl == nullptr || !PlatformIsVideoStarted()) return;
    if (window->gdiContext == nullptr) {
        window->gdiContext = PlatformCreateSdlContext(window->sdl);
        if (window->gdiContext == nullptr) return;
        window->gdiShown = false;
    } else if (SDL_GL_MakeCurrent(window->sdl, window->gdiContext) != 0) {
        return;
    }
    const bool kept = window->gdiShown && PlatformIsHeadless();
    CopyToBackBuffer(window, kept ? box : Box{0, 0, window->clientWidth, window->clientHeight});
    window->gdiShown = true;
    SDL_GL_SwapWindow(window->sdl);
    PlatformRestoreCurrentContext(window);
}

// Makes freshly painted pixels seen: in the program's next frame when its context is current
// on the window, else at once.
void Show(PlatformWindow* window, const Box& box)
{
    if (PlatformIsContextCurrentOn(window)) {
        CopyToBackBuffer(window, box);
    } else {
        Present(window, box);
    }
}

}  // namespace

void PlatformDestroyGdiContext(PlatformWindow* window)
{
    if (window->gdiContext == nullptr) return;
    SDL_GL_DeleteContext(window->gdiContext);
    window->gdiContext = nullptr;
    window->gdiShown = false;
}

int WINAPI FillRect(HDC hdc, const RECT* rect, HBRUSH brush)
{
    PlatformDC* dc = PlatformDCFromHandle(hdc);
    GdiObject* brushObject = PlatformGdiObjectFromHandle(brush);
    if (dc == nullptr || rect == nullptr || brushObject == nullptr || brushObject->kind != GdiObject::BRUSH) return 0;
    PlatformWindow* window = dc->window;
    // The screen's device context paints nothing that anyone sees here.
    if (window == nullptr) return 1;
    Box box = {int(rect->left), int(rect->top), int(rect->right), int(rect->bottom)};
    if (!Clip(window, &box)) return 1;
    PaintBox(window, box, brushObject->color);
    Show(window, box);
    return 1;
}

BOOL WINAPI TextOutA(HDC hdc, int x, int y, LPCSTR text, int length)
{
    PlatformDC* dc = PlatformDCFromHandle(hdc);
    if (dc == nullptr || length < 0 || (text == nullptr && length > 0)) return FALSE;
    PlatformWindow* window = dc->window;
    if (window == nullptr || length == 0) return TRUE;
    FontRasterizer rasterizer;
    if (!rasterizer.Open(GdiGetTextFont(hdc))) return FALSE;

    std::vector<RasterizedGlyph> glyphs(static_cast<size_t>(length));
    int width = 0;
    for (int i = 0; i < length; ++i) {
        rasterizer.RasterizeCode(static_cast<uint8_t>(text[i]), glyphs[size_t(i)]);
        width += glyphs[size_t(i)].advance;
    }
    // The reference point is the text's left, right or centre, and its top, baseline or bottom.
    const UINT align = dc->textAlign;
    if ((align & TA_CENTER) == TA_CENTER) {
        x -= width / 2;
    } else if ((align & TA_RIGHT) != 0) {
        x -= width;
    }
    int top = y;
    if ((align & TA_BASELINE) == TA_BASELINE) {
        top = y - rasterizer.GetAscent();
    } else if ((align & TA_BOTTOM) != 0) {
        top = y - rasterizer.GetCellHeight();
    }
    Box box = {x, top, x + width, top + rasterizer.GetCellHeight()};
    if (dc->bkMode == OPAQUE) PaintBox(window, box, DEFAULT_BACKGROUND);

    const int baseline = top + rasterizer.GetAscent();
    int pen = x;
    for (const RasterizedGlyph& glyph : glyphs) {
        for (int row = 0; row < glyph.height; ++row) {
            for (int column = 0; column < glyph.width; ++column) {
                if (!glyph.IsSet(column, row)) continue;
                const int px = pen - glyph.originX + column;
                const int py = baseline - 1 - row + glyph.originY;
                SetPixel(window, px, py, dc->textColor);
                // Overhanging ink is shown too.
                box = Box{std::min(box.left, px), std::min(box.top, py), std::max(box.right, px + 1),
                          std::max(box.bottom, py + 1)};
            }
        }
        pen += glyph.advance;
    }
    if (Clip(window, &box)) Show(window, box);
    return TRUE;
}
