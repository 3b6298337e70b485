// The bitmap font's glyphs in one alpha texture. The glyphs are taken from the font's own display
// lists, drawn once into the back buffer and read back, so a glyph's quad covers exactly the
// pixels its glBitmap sets, and a string is one batch of quads instead of a glBitmap a character.
#pragma once

#include <windows.h>
#include <GL/gl.h>

#include <cstdint>
#include <vector>

class GlyphAtlas {
public:
    struct Glyph {
        // The ink's lower-left pixel, from the pixel the pen stands on; window pixels, y up.
        int32_t left = 0;
        int32_t bottom = 0;
        int32_t width = 0;  // 0 for a glyph without ink
        int32_t height = 0;
        float s0 = 0.0f, t0 = 0.0f, s1 = 0.0f, t1 = 0.0f;
        float advance = 0.0f;  // how far the glyph's list moves the pen
    };

    // Draws lists listBase .. listBase + count - 1 into the back buffer of the current context
    // (a window of the given size), reads them back and uploads the texture. The back buffer is
    // left to be cleared; false when the window is too small to hold one glyph.
    bool Build(GLuint listBase, int count, int windowWidth, int windowHeight);

    bool IsBuilt() const { return _texture != 0; }
    GLuint GetTexture() const { return _texture; }

    // Inside glBegin(GL_QUADS) with a mapping of window pixels (y up): the string's quads for a
    // pen starting at the window position (x, y), moved on as glBitmap moves it. Returns the pen.
    float EmitQuads(float x, float y, const char* characters, int length) const;

private:
    Glyph _glyphs[256];
    GLuint _texture = 0;
};

// Window pixels (y up, the origin at the lower left) as the mapping for what follows: the
// viewport covers the window, both matrices are pushed. PopWindowPixels puts them back and
// leaves the model-view matrix current.
void PushWindowPixels(int windowWidth, int windowHeight);
void PopWindowPixels();

// Mesa puts a bitmap at floor(raster position + this - origin): a pen a rounding error short of
// a whole pixel still lands on it.
constexpr float BITMAP_PLACEMENT_EPSILON = 0.0001f;
