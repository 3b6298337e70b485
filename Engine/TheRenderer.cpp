#include "Engine/TheRenderer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "Engine/Angles.h"
#include "Engine/TheApplication.h"
#include "Engine/TheConsole.h"
#include "Engine/TheVideoSystem.h"
#include "Engine/Texture.h"

bool TheRenderer::_isInitialized = false;

static const GLsizei FONT_LIST_COUNT = 256;  // one display list per character code

TheRenderer::~TheRenderer()
{
    CHECK_NOT_RUNNING_AT_DESTRUCTION("TheRenderer");
}

void TheRenderer::Startup()
{
    theConsole.Printf("::: Initialization : Renderer (starting)\n");
    CHECK_NOT_YET_INITIALIZED("TheRenderer");
    ApplyDefaultState();
    BuildFont();
    // Both buffers start black.
    Clear(Color::BLACK);
    theVideoSystem.SwapBuffers();
    Clear(Color::BLACK);
    _isInitialized = true;
    theConsole.Printf("::: Initialization : Renderer (finished)\n");
}

void TheRenderer::Shutdown()
{
    // The font lists and textures stay: the process ends soon after.
    theConsole.Printf("::: Shutdown : Renderer (starting)\n");
    _isInitialized = false;
    theConsole.Printf("::: Shutdown : Renderer (finished)\n");
}

void TheRenderer::ApplyDefaultState()
{
    glShadeModel(GL_SMOOTH);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClearDepth(_clearDepth);
    glDepthFunc(GL_LEQUAL);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glLineWidth(1.0f);
    glPointSize(1.0f);
    glFrontFace(GL_CCW);
    glCullFace(GL_BACK);

    // Alpha blending is the normal way of drawing; texturing is switched on per draw call.
    glDisable(GL_ALPHA_TEST);
    glEnable(GL_BLEND);
    static const GLenum disabled[] = {
        GL_CULL_FACE,
        GL_DEPTH_TEST,
        GL_DITHER,
        GL_FOG,
        GL_LIGHTING,
        GL_LINE_SMOOTH,
        GL_LINE_STIPPLE,
        GL_POINT_SMOOTH,
        GL_POLYGON_OFFSET_FILL,
        GL_POLYGON_OFFSET_LINE,
        GL_POLYGON_OFFSET_POINT,
        GL_POLYGON_SMOOTH,
        GL_POLYGON_STIPPLE,
        GL_SCISSOR_TEST,
        GL_STENCIL_TEST,
        GL_TEXTURE_2D,
    };
    for (GLenum capability : disabled) glDisable(capability);

    glHint(GL_FOG_HINT, GL_FASTEST);
    glHint(GL_LINE_SMOOTH_HINT, GL_FASTEST);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_FASTEST);
    glHint(GL_POINT_SMOOTH_HINT, GL_FASTEST);
    glHint(GL_POLYGON_SMOOTH_HINT, GL_FASTEST);

    Texture::_isOpenGLReady = true;
}

void TheRenderer::BuildFont()
{
    LOGFONTA logFont = {};
    logFont.lfHeight = 16;
    logFont.lfWidth = 0;
    logFont.lfEscapement = 0;
    logFont.lfOrientation = 0;
    logFont.lfWeight = 400;
    logFont.lfItalic = FALSE;
    logFont.lfUnderline = FALSE;
    logFont.lfStrikeOut = FALSE;
    logFont.lfCharSet = ANSI_CHARSET;
    logFont.lfOutPrecision = OUT_TT_ONLY_PRECIS;
    logFont.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    logFont.lfQuality = ANTIALIASED_QUALITY;
    logFont.lfPitchAndFamily = FF_SWISS | DEFAULT_PITCH;
    snprintf(logFont.lfFaceName, sizeof(logFont.lfFaceName), "%s", "Tahoma");

    const HDC hdc = theVideoSystem.GetHDC();
    const HFONT font = CreateFontIndirectA(&logFont);
    const HGDIOBJ previousFont = SelectObject(hdc, font);
    _fontBase = glGenLists(FONT_LIST_COUNT);
    // Code 255 gets no glyph; its list stays empty and draws nothing, and has no width.
    wglUseFontBitmapsA(hdc, 0, 255, _fontBase);
    GetCharWidth32A(hdc, 0, 254, _charWidths);
    _charWidths[255] = 0;
    SelectObject(hdc, previousFont);
    DeleteObject(font);
    // Strings are drawn from a texture of the same glyphs: a glBitmap a character costs far
    // more. Without it (a window too small to draw the glyphs in) they are drawn from the lists.
    _glyphAtlas.Build(_fontBase, 255, theVideoSystem.GetWidth(), theVideoSystem.GetHeight());
}

void TheRenderer::Clear(const Color& colour)
{
    const float scale = 1.0f / 255.0f;
    glClearColor(colour.r * scale, colour.g * scale, colour.b * scale, colour.a * scale);
    glClear(GL_COLOR_BUFFER_BIT);
}

void TheRenderer::SetBlending(Blending blending)
{
    switch (blending) {
    case Blending::OFF:
        glDisable(GL_BLEND);
        return;
    case Blending::ALPHA:
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        break;
    case Blending::ADDITIVE:
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);
        break;
    case Blending::INVERT:
        glBlendFunc(GL_ONE_MINUS_DST_COLOR, GL_ZERO);
        break;
    }
    glEnable(GL_BLEND);
}

void TheRenderer::SetFullWindowViewport()
{
    glViewport(0, 0, theVideoSystem.GetWidth(), theVideoSystem.GetHeight());
}

void TheRenderer::SetFullWindowScissor()
{
    glScissor(0, 0, theVideoSystem.GetWidth(), theVideoSystem.GetHeight());
    glDisable(GL_SCISSOR_TEST);
}

void TheRenderer::ResetViewportAndScissor()
{
    SetFullWindowViewport();
    SetFullWindowScissor();
}

void TheRenderer::SetViewport(const Vec2i& position, const Vec2i& size)
{
    glViewport(position.x, theVideoSystem.GetHeight() - position.y - size.y, size.x, size.y);
}

void TheRenderer::SetScissor(const Vec2i& position, const Vec2i& size)
{
    glScissor(position.x, theVideoSystem.GetHeight() - position.y - size.y, size.x, size.y);
    glEnable(GL_SCISSOR_TEST);
}

void TheRenderer::SetViewportAndScissor(const Vec2i& position, const Vec2i& size)
{
    SetViewport(position, size);
    SetScissor(position, size);
}

void TheRenderer::SetOrtho(float x0, float y0, float x1, float y1)
{
    // The mapping lives in the model-view matrix; the projection stays identity.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glOrtho(x0, x1, y1, y0, 0.0, 1.0);
}

void TheRenderer::SetOrtho(const Vec2f& minimum, const Vec2f& maximum)
{
    SetOrtho(minimum.x, minimum.y, maximum.x, maximum.y);
}

void TheRenderer::SetPixelOrtho(bool yUp)
{
    const float right = float(theVideoSystem.GetWidth() - 1);
    const float bottom = float(theVideoSystem.GetHeight() - 1);
    if (yUp)
        SetOrtho(Vec2f(0.0f, bottom), Vec2f(right, 0.0f));
    else
        SetOrtho(Vec2f(0.0f, 0.0f), Vec2f(right, bottom));
}

void TheRenderer::PushMatrix()
{
    glPushMatrix();
}

void TheRenderer::PopMatrix()
{
    glPopMatrix();
}

void TheRenderer::RotateAbout(float angleRadians, const Vec2f& centre)
{
    glTranslatef(centre.x, centre.y, 0.0f);
    glRotatef(angleRadians * RADIANS_TO_DEGREES, 0.0f, 0.0f, 1.0f);
    glTranslatef(-centre.x, -centre.y, 0.0f);
}

void TheRenderer::ScaleAbout(const Vec2f& scale, const Vec2f& centre)
{
    glTranslatef(centre.x, centre.y, 0.0f);
    glScalef(scale.x, scale.y, 0.0f);
    glTranslatef(-centre.x, -centre.y, 0.0f);
}

void TheRenderer::SetColour(const Color& colour)
{
    glColor4ub(colour.r, colour.g, colour.b, colour.a);
}

void TheRenderer::BindTexture(GLuint name, bool force)
{
    if (!force && name == _boundTexture) return;
    glBindTexture(GL_TEXTURE_2D, name);
    _boundTexture = name;
}

void TheRenderer::DrawLine(const Vec2f& a, const Vec2f& b, const Color& colourA, const Color& colourB)
{
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_LIGHTING_BIT);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glShadeModel(GL_SMOOTH);
    glBegin(GL_LINES);
    SetColour(colourA);
    glVertex2f(a.x, a.y);
    SetColour(colourB);
    glVertex2f(b.x, b.y);
    glEnd();
    glPopAttrib();
}

void TheRenderer::DrawSegment(const Segment2f& segment, const Color& colourA, const Color& colourB)
{
    DrawLine(segment.origin, segment.End(), colourA, colourB);
}

void TheRenderer::DrawRect(const Rect2f& rect, const Color& colour, bool filled)
{
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_LIGHTING_BIT);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    SetColour(colour);
    glBegin(filled ? GL_QUADS : GL_LINE_LOOP);
    glVertex2f(rect.minX, rect.minY);
    glVertex2f(rect.maxX, rect.minY);
    glVertex2f(rect.maxX, rect.maxY);
    glVertex2f(rect.minX, rect.maxY);
    glEnd();
    glPopAttrib();
}

void TheRenderer::DrawRect(const Vec2f& minimum, const Vec2f& maximum, const Color& colour, bool filled)
{
    DrawRect(Rect2f(minimum.x, minimum.y, maximum.x, maximum.y), colour, filled);
}

int TheRenderer::GetAutomaticCircleSegments(float radius)
{
    // One more segment per 5 pixels of radius, never fewer than 12.
    const int segments = 8 - int(std::trunc(-0.2f * radius));
    return (std::max)(segments, 12);
}

void TheRenderer::DrawCircle(const Vec2f& centre, float radius, const Color& colour, int segments)
{
    if (segments == -1) segments = GetAutomaticCircleSegments(radius);
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_LIGHTING_BIT);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glShadeModel(GL_SMOOTH);
    SetColour(colour);
    glBegin(GL_LINE_LOOP);
    const float twoPi = 6.2831853f;
    for (int i = 0; i < segments; ++i) {
        const float theta = twoPi * float(i) / float(segments);
        glVertex2f(centre.x + radius * std::cos(theta), centre.y + radius * std::sin(theta));
    }
    glEnd();
    glPopAttrib();
}

void TheRenderer::DrawTexturedQuad(int textureName, const Vec2f& minimum, const Vec2f& maximum, float angle,
                                   const Vec2f& scale, const Color& colour, bool texturing, bool flip)
{
    DrawTexturedQuadUV(textureName, minimum, maximum, Vec2f(0.0f, 0.0f), Vec2f(1.0f, 1.0f), angle, scale, colour,
                       texturing, flip);
}

void TheRenderer::DrawTexturedQuadUV(int textureName, const Vec2f& minimum, const Vec2f& maximum, const Vec2f& uvMin,
                                     const Vec2f& uvMax, float angle, const Vec2f& scale, const Color& colour,
                                     bool texturing, bool flip)
{
    // Most quads are neither rotated nor scaled: they cost no matrix work at all.
    const bool transformed = !(angle == 0.0f && scale == Vec2f::ONE);
    if (transformed) {
        PushMatrix();
        const Vec2f centre = (minimum + maximum) * 0.5f;
        if (angle != 0.0f) RotateAbout(angle * DEGREES_TO_RADIANS, centre);
        if (scale != Vec2f::ONE) ScaleAbout(scale, centre);
    }
    if (texturing) {
        glPushAttrib(GL_ENABLE_BIT | GL_LIGHTING_BIT);
        glEnable(GL_TEXTURE_2D);
        glShadeModel(GL_FLAT);
    }
    if (textureName > 0) BindTexture(GLuint(textureName), false);

    const float tMin = flip ? uvMax.y : uvMin.y;
    const float tMax = flip ? uvMin.y : uvMax.y;
    SetColour(colour);
    glBegin(GL_QUADS);
    glTexCoord2f(uvMin.x, tMin);
    glVertex2f(minimum.x, minimum.y);
    glTexCoord2f(uvMax.x, tMin);
    glVertex2f(maximum.x, minimum.y);
    glTexCoord2f(uvMax.x, tMax);
    glVertex2f(maximum.x, maximum.y);
    glTexCoord2f(uvMin.x, tMax);
    glVertex2f(minimum.x, maximum.y);
    glEnd();

    if (texturing) glPopAttrib();
    if (transformed) PopMatrix();
}

void TheRenderer::DrawTexturedQuadCentred(int textureName, const Vec2f& centre, const Vec2f& size, float angle,
                                          const Vec2f& scale, const Color& colour, bool texturing, bool flip)
{
    DrawTexturedQuad(textureName, centre - size * 0.5f, centre + size * 0.5f, angle, scale, colour, texturing, flip);
}

void TheRenderer::DrawTexturedQuadCentredUV(int textureName, const Vec2f& centre, const Vec2f& size, const Vec2f& uvMin,
                                            const Vec2f& uvMax, float angle, const Vec2f& scale, const Color& colour,
                                            bool texturing, bool flip)
{
    DrawTexturedQuadUV(textureName, centre - size * 0.5f, centre + size * 0.5f, uvMin, uvMax, angle, scale, colour,
                       texturing, flip);
}

void TheRenderer::DrawTexturedQuad(const Texture& texture, const Vec2f& minimum, const Vec2f& maximum, float angle,
                                   const Vec2f& scale, const Color& colour, bool texturing, bool flip)
{
    DrawTexturedQuad(texture.GetGLName(), minimum, maximum, angle, scale, colour, texturing, flip);
}

void TheRenderer::DrawTexturedQuadUV(const Texture& texture, const Vec2f& minimum, const Vec2f& maximum,
                                     const Vec2f& uvMin, const Vec2f& uvMax, float angle, const Vec2f& scale,
                                     const Color& colour, bool texturing, bool flip)
{
    DrawTexturedQuadUV(texture.GetGLName(), minimum, maximum, uvMin, uvMax, angle, scale, colour, texturing, flip);
}

void TheRenderer::DrawTexturedQuadCentred(const Texture& texture, const Vec2f& centre, const Vec2f& size, float angle,
                                          const Vec2f& scale, const Color& colour, bool texturing, bool flip)
{
    DrawTexturedQuadCentred(texture.GetGLName(), centre, size, angle, scale, colour, texturing, flip);
}

void TheRenderer::DrawTexturedQuadCentredUV(const Texture& texture, const Vec2f& centre, const Vec2f& size,
                                            const Vec2f& uvMin, const Vec2f& uvMax, float angle, const Vec2f& scale,
                                            const Color& colour, bool texturing, bool flip)
{
    DrawTexturedQuadCentredUV(texture.GetGLName(), centre, size, uvMin, uvMax, angle, scale, colour, texturing, flip);
}

void TheRenderer::DrawString(const Vec2f& position, const Color& colour, const char* characters, int length)
{
    const TextRun run = {position, colour, characters, length};
    DrawStrings(&run, 1);
}

void TheRenderer::_DrawStringWithLists(const TextRun& run)
{
    // The colour goes first: glRasterPos latches it for the bitmaps that follow.
    SetColour(run.colour);
    glListBase(_fontBase);
    glRasterPos2f(run.position.x, run.position.y);
    glCallLists(run.length, GL_UNSIGNED_BYTE, run.characters);
}

void TheRenderer::DrawStrings(const TextRun* runs, int count)
{
    if (!_glyphAtlas.IsBuilt()) {
        for (int i = 0; i < count; ++i) _DrawStringWithLists(runs[i]);
        return;
    }
    // Where each string starts in window pixels, and whether it is drawn at all: a raster
    // position outside the view drops a whole string of bitmaps.
    struct Start {
        GLfloat raster[4];
        GLboolean valid;
    };
    Start starts[16];
    for (int first = 0; first < count; first += 16) {
        const int batch = (std::min)(16, count - first);
        bool any = false;
        for (int i = 0; i < batch; ++i) {
            const TextRun& run = runs[first + i];
            SetColour(run.colour);
            glRasterPos2f(run.position.x, run.position.y);
            glGetBooleanv(GL_CURRENT_RASTER_POSITION_VALID, &starts[i].valid);
            if (starts[i].valid) glGetFloatv(GL_CURRENT_RASTER_POSITION, starts[i].raster);
            any = any || (starts[i].valid && run.length > 0);
        }
        if (!any) continue;

        // Only the glyphs' own pixels are drawn, in the string's colour, as bitmaps are.
        glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_LIGHTING_BIT | GL_VIEWPORT_BIT | GL_TRANSFORM_BIT);
        PushWindowPixels(theVideoSystem.GetWidth(), theVideoSystem.GetHeight());
        glEnable(GL_TEXTURE_2D);
        glEnable(GL_ALPHA_TEST);
        glAlphaFunc(GL_GREATER, 0.0f);
        glShadeModel(GL_FLAT);
        BindTexture(_glyphAtlas.GetTexture(), false);
        float pen = 0.0f;
        glBegin(GL_QUADS);
        for (int i = 0; i < batch; ++i) {
            const TextRun& run = runs[first + i];
            if (!starts[i].valid || run.length <= 0) continue;
            SetColour(run.colour);
            pen = _glyphAtlas.EmitQuads(starts[i].raster[0], starts[i].raster[1], run.characters, run.length);
            starts[i].raster[2] = pen - starts[i].raster[0];
        }
        glEnd();
        PopWindowPixels();
        glPopAttrib();
        // The pen ends where the bitmaps would have left it.
        const Start& last = starts[batch - 1];
        if (last.valid && runs[first + batch - 1].length > 0) glBitmap(0, 0, 0.0f, 0.0f, last.raster[2], 0.0f, nullptr);
    }
}

int TheRenderer::GetTextWidth(const char* characters, int length) const
{
    int width = 0;
    for (int i = 0; i < length; ++i) width += _charWidths[static_cast<unsigned char>(characters[i])];
    return width;
}

void TheRenderer::_DrawFormatted(const Vec2f& position, const Color& colour, const char* format, va_list args)
{
    char text[TEXT_BUFFER_SIZE];
    const int written = vsnprintf(text, sizeof(text), format, args);
    text[sizeof(text) - 1] = '\0';
    const int length = written < 0 ? 0 : (std::min)(written, int(sizeof(text)) - 1);
    DrawString(position, colour, text, length);
}

void TheRenderer::DrawText(float x, float y, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    _DrawFormatted(Vec2f(x, y), Color::WHITE, format, args);
    va_end(args);
}

void TheRenderer::DrawText(float x, float y, const Color& colour, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    _DrawFormatted(Vec2f(x, y), colour, format, args);
    va_end(args);
}

void TheRenderer::DrawText(const Vec2f& position, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    _DrawFormatted(position, Color::WHITE, format, args);
    va_end(args);
}
