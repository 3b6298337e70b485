// The renderer's frame redraw (the part of the window a frame draws) and its two overlays, the
// console panel and the frame rate.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "Engine/TheApplication.h"
#include "Engine/TheConsole.h"
#include "Engine/TheRenderer.h"
#include "Engine/TheVideoSystem.h"

namespace {

const int CONSOLE_ROW_HEIGHT = 14;
const int CONSOLE_PANEL_PADDING = 7;  // below the last row
// The frame rate's baseline: 40 pixels left of the right edge, 16 below the top, or further
// left when the text would not fit.
const int FPS_RIGHT_INSET = 40;
const float FPS_BASELINE_Y = 16.0f;

}  // namespace

void TheRenderer::SetFrameRedraw(const std::vector<PixelRect>& rects)
{
    _redrawRects.clear();
    for (const PixelRect& rect : rects)
        if (!rect.IsEmpty()) _redrawRects.push_back(rect);
    _frameRedraw = _redrawRects.empty() ? PixelRect() : _redrawRects[0];
    _isFramePartial = true;
}

void TheRenderer::BeginRedrawPass(size_t pass)
{
    if (!_isFramePartial || pass >= _redrawRects.size()) return;
    _frameRedraw = _redrawRects[pass];
    ClipToFrameRedraw();
}

void TheRenderer::ClipToFrameRedraw()
{
    if (!_isFramePartial) return;
    SetScissor(Vec2i(_frameRedraw.left, _frameRedraw.top), Vec2i(_frameRedraw.Width(), _frameRedraw.Height()));
}

bool TheRenderer::TakeWindowInvalidation()
{
    const bool invalid = _isWindowInvalid;
    _isWindowInvalid = false;
    return invalid;
}

PixelRect TheRenderer::PixelOrthoToWindow(const Rect2f& rect, int margin) const
{
    // SetPixelOrtho maps 0 .. W - 1 onto the window's W pixels.
    const int width = theVideoSystem.GetWidth(), height = theVideoSystem.GetHeight();
    const double scaleX = width > 1 ? double(width) / double(width - 1) : 1.0;
    const double scaleY = height > 1 ? double(height) / double(height - 1) : 1.0;
    return PixelRect(int32_t(std::floor(rect.minX * scaleX)) - margin, int32_t(std::floor(rect.minY * scaleY)) - margin,
                     int32_t(std::ceil(rect.maxX * scaleX)) + margin, int32_t(std::ceil(rect.maxY * scaleY)) + margin);
}

void TheRenderer::DrawOverlays()
{
    if (!_isInitialized) return;
    if (!_isFramePartial) {
        DrawConsole();
        DrawFps();
    }
    for (size_t pass = 0; _isFramePartial && pass < _redrawRects.size(); ++pass) {
        BeginRedrawPass(pass);
        DrawConsole();
        DrawFps();
        glDisable(GL_SCISSOR_TEST);
    }
    // What the next frame compares its overlays with.
    _drawnConsoleDisplay = _consoleDisplay;
    _drawnFpsDisplay = _fpsDisplay;
    _drawnNewestLine = theConsole.GetNewestLineNumber();
    _drawnOldestLine = theConsole.GetOldestLineNumber();
    if (_fpsDisplay) {
        char text[TEXT_BUFFER_SIZE];
        _FormatFps(text, sizeof(text));
        _drawnFpsArea = _FpsArea(text);
    }
    _isFramePartial = false;
}

bool TheRenderer::AddOverlayChanges(PixelRect& area) const
{
    if (_consoleDisplay != _drawnConsoleDisplay || _fpsDisplay != _drawnFpsDisplay) return false;
    if (_consoleDisplay == 1 &&
        (theConsole.GetNewestLineNumber() != _drawnNewestLine || theConsole.GetOldestLineNumber() != _drawnOldestLine))
        area.Include(_ConsoleArea());
    if (_fpsDisplay) {
        // The digits change nearly every frame.
        char text[TEXT_BUFFER_SIZE];
        _FormatFps(text, sizeof(text));
        area.Include(_drawnFpsArea);
        area.Include(_FpsArea(text));
    }
    return true;
}

PixelRect TheRenderer::_ConsoleArea() const
{
    const float panelHeight = float(_consoleRows * CONSOLE_ROW_HEIGHT + CONSOLE_PANEL_PADDING);
    return PixelOrthoToWindow(Rect2f(0.0f, 0.0f, float(theVideoSystem.GetWidth()), panelHeight), 2);
}

void TheRenderer::_FormatFps(char* text, size_t size) const
{
    SafeFormat(text, size, "%.0f fps", double(theApplication.GetFramesPerSecond()));
}

// Where DrawFps puts its text: from its left end to the window's right edge, from the top to
// below the baseline.
PixelRect TheRenderer::_FpsArea(const char* text) const
{
    const int width = theVideoSystem.GetWidth();
    const int x = (std::min)(width - FPS_RIGHT_INSET, width - GetTextWidth(text, int(strlen(text))));
    return PixelRect(x - 4, 0, width, int32_t(FPS_BASELINE_Y) + 8);
}

void TheRenderer::DrawConsole()
{
    if (_consoleDisplay != 1) return;
    if (!IsInRedrawPass(_ConsoleArea())) return;
    glPushAttrib(GL_COLOR_BUFFER_BIT);
    const int width = theVideoSystem.GetWidth();
    const int height = theVideoSystem.GetHeight();
    SetPixelOrtho(false);

    const int panelHeight = _consoleRows * CONSOLE_ROW_HEIGHT + CONSOLE_PANEL_PADDING;
    const int visibleRows = (std::min)(height / CONSOLE_ROW_HEIGHT, _consoleRows);

    // Only the rows on screen are read, however many lines the console holds.
    const int last = theConsole.GetNewestLineNumber();
    const int first = theConsole.GetOldestLineNumber();
    const int start = (std::max)(last - visibleRows + 1, first);

    // Blending stays as the frame has it: the map-complete picture turns it off, and the panel
    // is opaque there.
    if (glIsEnabled(GL_BLEND)) SetBlending(Blending::ALPHA);
    glColor4f(0.0f, 0.0f, 0.0f, 0.5f);
    glBegin(GL_QUADS);
    glVertex2f(0.0f, 0.0f);
    glVertex2f(float(width), 0.0f);
    glVertex2f(float(width), float(panelHeight));
    glVertex2f(0.0f, float(panelHeight));
    glEnd();

    TextRun runs[64];
    int count = 0;
    int y = 0;
    for (int n = start; n <= last; ++n) {
        y += CONSOLE_ROW_HEIGHT;
        // A row whose text lies outside the part of the window being drawn is skipped.
        const Rect2f rowBand(0.0f, float(y - CONSOLE_ROW_HEIGHT - 2), float(width), float(y + 6));
        if (!IsInRedrawPass(PixelOrthoToWindow(rowBand, 1))) continue;
        const std::string& line = theConsole.GetLine(n);
        runs[count++] =
            TextRun{Vec2f(2.0f, float(y)), n == last ? Color::ORANGE : Color::WHITE, line.data(), int(line.size())};
        if (count == 64) {
            DrawStrings(runs, count);
            count = 0;
        }
    }
    DrawStrings(runs, count);
    glPopAttrib();
}

void TheRenderer::DrawFps()
{
    if (!_fpsDisplay) return;
    glPushAttrib(GL_COLOR_BUFFER_BIT);
    const int width = theVideoSystem.GetWidth();
    const int height = theVideoSystem.GetHeight();
    SetOrtho(Vec2f(0.0f, 0.0f), Vec2f(float(width), float(height)));
    // Inverting the background keeps the digits readable on any picture; over the console
    // panel plain blending is enough. Where the frame turned blending off they are plain orange.
    if (glIsEnabled(GL_BLEND)) SetBlending(_consoleDisplay == 0 ? Blending::INVERT : Blending::ALPHA);
    char text[TEXT_BUFFER_SIZE];
    _FormatFps(text, sizeof(text));
    const int length = int(strlen(text));
    const int x = (std::min)(width - FPS_RIGHT_INSET, width - GetTextWidth(text, length));
    DrawString(Vec2f(float(x), FPS_BASELINE_Y), Color::ORANGE, text, length);
    glPopAttrib();
}
