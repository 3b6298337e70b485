// The 2-D drawing services on the one OpenGL context, and the console and frame-rate overlays.
#pragma once

#include <windows.h>
#include <GL/gl.h>

#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "Engine/AssertionFailure.h"
#include "Engine/Color.h"
#include "Engine/GlyphAtlas.h"
#include "Engine/PixelRect.h"
#include "Engine/Rect2f.h"
#include "Engine/Segment2f.h"
#include "Engine/Vector.h"

class Texture;

// The blend states the program draws with. Each draw sets the one it needs.
enum class Blending {
    OFF,       // opaque pictures
    ALPHA,     // source alpha over what is there: the normal way of drawing
    ADDITIVE,  // source alpha times the source added: the ball's shine, the aiming arrow
    INVERT,    // the inverse of what is there: the frame rate over any picture
};

class TheRenderer {
public:
    // DrawText's formatting buffer: at most 255 characters and the terminator.
    static constexpr size_t TEXT_BUFFER_SIZE = 256;

    TheRenderer() = default;
    ~TheRenderer();

    void Startup();
    void Shutdown();
    static bool IsInitialized() { return _isInitialized; }

    // Once per frame, after the game has drawn and before the buffers are swapped.
    void DrawOverlays();
    void SetConsoleVisible(bool visible) { _consoleDisplay = visible ? 1 : 0; }
    bool IsConsoleVisible() const { return _consoleDisplay == 1; }
    void ToggleFpsDisplay() { _fpsDisplay = !_fpsDisplay; }
    bool IsFpsDisplayed() const { return _fpsDisplay; }
    int GetConsoleRows() const { return _consoleRows; }
    GLuint GetFontBase() const { return _fontBase; }
    GLuint GetBoundTexture() const { return _boundTexture; }

    // The part of the window the current frame draws: the whole window, unless the game
    // narrows it to a few rectangles where the back buffer keeps the last frame; each is drawn
    // in a pass of its own, scissored to it. The overlays draw within them, and the frame is
    // whole again once they have.
    static constexpr size_t MAX_REDRAW_RECTS = 4;
    void SetFrameRedraw(const std::vector<PixelRect>& rects);
    bool IsFramePartial() const { return _isFramePartial; }
    const std::vector<PixelRect>& GetFrameRedrawRects() const { return _redrawRects; }
    // True when the whole window is drawn, or the rectangle of the pass being drawn meets the area.
    bool IsInRedrawPass(const PixelRect& area) const { return !_isFramePartial || _frameRedraw.Overlaps(area); }
    // The rectangle of the pass being drawn, and the scissor to it; nothing when the frame
    // draws the whole window.
    void BeginRedrawPass(size_t pass);
    const PixelRect& GetFrameRedraw() const { return _frameRedraw; }
    void ClipToFrameRedraw();
    // Adds where this frame's overlays will differ from the last frame's; false when an overlay
    // was shown or hidden, and everything must be drawn.
    bool AddOverlayChanges(PixelRect& area) const;
    // Something spoiled the picture on screen: the next frame draws everything.
    void InvalidateWindow() { _isWindowInvalid = true; }
    bool TakeWindowInvalidation();
    // The window pixels that a rectangle of the pixel mapping (SetPixelOrtho (false)) touches,
    // with a margin of pixels all round.
    PixelRect PixelOrthoToWindow(const Rect2f& rect, int margin) const;

    // Frame setup. Positions are top-left window pixels with y downward.
    void Clear(const Color& colour);
    void SetFullWindowViewport();
    void SetFullWindowScissor();
    void ResetViewportAndScissor();
    void SetViewport(const Vec2i& position, const Vec2i& size);
    void SetScissor(const Vec2i& position, const Vec2i& size);
    void SetViewportAndScissor(const Vec2i& position, const Vec2i& size);
    void SetOrtho(float x0, float y0, float x1, float y1);
    void SetOrtho(const Vec2f& minimum, const Vec2f& maximum);
    void SetPixelOrtho(bool yUp);

    // Transforms of the current model-view matrix.
    void PushMatrix();
    void PopMatrix();
    void RotateAbout(float angleRadians, const Vec2f& centre);
    void ScaleAbout(const Vec2f& scale, const Vec2f& centre);

    void SetBlending(Blending blending);
    void SetColour(const Color& colour);
    void BindTexture(GLuint name, bool force);

    void DrawLine(const Vec2f& a, const Vec2f& b, const Color& colourA, const Color& colourB);
    void DrawSegment(const Segment2f& segment, const Color& colourA, const Color& colourB);
    void DrawRect(const Rect2f& rect, const Color& colour, bool filled);
    void DrawRect(const Vec2f& minimum, const Vec2f& maximum, const Color& colour, bool filled);
    // segments -1 picks a count from the radius.
    void DrawCircle(const Vec2f& centre, float radius, const Color& colour, int segments);
    static int GetAutomaticCircleSegments(float radius);

    // Angles in degrees; scale and rotation are about the quad's centre. Image row 0 is at the
    // minimum-y edge unless flip is set.
    void DrawTexturedQuad(int textureName, const Vec2f& minimum, const Vec2f& maximum, float angle, const Vec2f& scale,
                          const Color& colour, bool texturing, bool flip);
    void DrawTexturedQuadUV(int textureName, const Vec2f& minimum, const Vec2f& maximum, const Vec2f& uvMin,
                            const Vec2f& uvMax, float angle, const Vec2f& scale, const Color& colour, bool texturing,
                            bool flip);
    void DrawTexturedQuadCentred(int textureName, const Vec2f& centre, const Vec2f& size, float angle,
                                 const Vec2f& scale, const Color& colour, bool texturing, bool flip);
    void DrawTexturedQuadCentredUV(int textureName, const Vec2f& centre, const Vec2f& size, const Vec2f& uvMin,
                                   const Vec2f& uvMax, float angle, const Vec2f& scale, const Color& colour,
                                   bool texturing, bool flip);
    void DrawTexturedQuad(const Texture& texture, const Vec2f& minimum, const Vec2f& maximum, float angle,
                          const Vec2f& scale, const Color& colour, bool texturing, bool flip);
    void DrawTexturedQuadUV(const Texture& texture, const Vec2f& minimum, const Vec2f& maximum, const Vec2f& uvMin,
                            const Vec2f& uvMax, float angle, const Vec2f& scale, const Color& colour, bool texturing,
                            bool flip);
    void DrawTexturedQuadCentred(const Texture& texture, const Vec2f& centre, const Vec2f& size, float angle,
                                 const Vec2f& scale, const Color& colour, bool texturing, bool flip);
    void DrawTexturedQuadCentredUV(const Texture& texture, const Vec2f& centre, const Vec2f& size, const Vec2f& uvMin,
                                   const Vec2f& uvMax, float angle, const Vec2f& scale, const Color& colour,
                                   bool texturing, bool flip);

    // Text with the bitmap font; the position is the left end of the baseline. DrawText keeps at
    // most 255 characters of its formatted result.
    void DrawString(const Vec2f& position, const Color& colour, const char* characters, int length);
    struct TextRun {
        Vec2f position;
        Color colour;
        const char* characters;
        int length;
    };
    // Several strings in one batch, as DrawString would draw them one after the other.
    void DrawStrings(const TextRun* runs, int count);
    void DrawText(float x, float y, const char* format, ...) PW_PRINTF(4, 5);
    void DrawText(float x, float y, const Color& colour, const char* format, ...) PW_PRINTF(5, 6);
    void DrawText(const Vec2f& position, const char* format, ...) PW_PRINTF(3, 4);
    // The pen's movement over the characters in the bitmap font, in pixels.
    int GetTextWidth(const char* characters, int length) const;

    void DrawConsole();
    void DrawFps();

private:
    void ApplyDefaultState();
    void BuildFont();
    void _DrawStringWithLists(const TextRun& run);
    PixelRect _ConsoleArea() const;
    PixelRect _FpsArea(const char* text) const;
    void _FormatFps(char* text, size_t size) const;
    void _DrawFormatted(const Vec2f& position, const Color& colour, const char* format, va_list args);

    float _clearDepth = 1.0f;
    GLuint _fontBase = 0;
    int32_t _consoleDisplay = 0;
    bool _fpsDisplay = false;
    int32_t _consoleRows = 25;
    GLuint _boundTexture = 0;
    int _charWidths[256] = {};  // the font's advance for each character code
    GlyphAtlas _glyphAtlas;

    std::vector<PixelRect> _redrawRects;
    PixelRect _frameRedraw;  // the pass being drawn
    bool _isFramePartial = false;
    bool _isWindowInvalid = false;
    // What the overlays drew in the last frame.
    int32_t _drawnConsoleDisplay = 0;
    bool _drawnFpsDisplay = false;
    int _drawnNewestLine = -1;
    int _drawnOldestLine = -1;
    PixelRect _drawnFpsArea;

    static bool _isInitialized;
};

extern TheRenderer theRenderer;
