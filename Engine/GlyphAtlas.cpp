#include "Engine/GlyphAtlas.h"

#include <algorithm>
#include <cmath>

namespace {

// Each glyph is drawn alone in a cell of the back buffer, its pen well inside so that
// overhanging ink stays in the cell.
const int CELL = 64;
const int PEN_X = 16;
const int PEN_Y = 24;
const int ATLAS_WIDTH = 256;
const int PADDING = 1;  // between glyphs, so nearest sampling never reaches a neighbour

int NextPowerOfTwo(int value)
{
    int power = 8;
    while (power < value) power *= 2;
    return power;
}

struct Ink {
    int left = 0, bottom = 0, width = 0, height = 0;
    std::vector<uint8_t> mask;  // width x height, the bottom row first
};

// The ink inside one cell of the read-back picture, placed relative to the pen's pixel.
Ink FindInk(const std::vector<uint8_t>& picture, int windowWidth, int cellX, int cellY, int penX, int penY)
{
    int minX = CELL, minY = CELL, maxX = -1, maxY = -1;
    for (int y = 0; y < CELL; ++y) {
        for (int x = 0; x < CELL; ++x) {
            if (picture[size_t(cellY + y) * size_t(windowWidth) + size_t(cellX + x)] < 128) continue;
            minX = (std::min)(minX, x);
            minY = (std::min)(minY, y);
            maxX = (std::max)(maxX, x);
            maxY = (std::max)(maxY, y);
        }
    }
    Ink ink;
    if (maxX < 0) return ink;
    ink.left = cellX + minX - penX;
    ink.bottom = cellY + minY - penY;
    ink.width = maxX - minX + 1;
    ink.height = maxY - minY + 1;
    ink.mask.resize(size_t(ink.width) * size_t(ink.height));
    for (int y = 0; y < ink.height; ++y) {
        for (int x = 0; x < ink.width; ++x) {
            const uint8_t value = picture[size_t(cellY + minY + y) * size_t(windowWidth) + size_t(cellX + minX + x)];
            ink.mask[size_t(y) * size_t(ink.width) + size_t(x)] = value >= 128 ? 255 : 0;
        }
    }
    return ink;
}

}  // namespace

void PushWindowPixels(int windowWidth, int windowHeight)
{
    glViewport(0, 0, windowWidth, windowHeight);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, double(windowWidth), 0.0, double(windowHeight), -1.0, 1.0);
}

void PopWindowPixels()
{
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

bool GlyphAtlas::Build(GLuint listBase, int count, int windowWidth, int windowHeight)
{
    const int columns = windowWidth / CELL;
    const int rows = windowHeight / CELL;
    if (columns < 1 || rows < 1 || count < 1 || count > 256) return false;

    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    PushWindowPixels(windowWidth, windowHeight);
    glDisable(GL_BLEND);
    glDisable(GL_SCISSOR_TEST);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_DEPTH_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDrawBuffer(GL_BACK);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);

    std::vector<Ink> inks(static_cast<size_t>(count));
    std::vector<uint8_t> picture(size_t(windowWidth) * size_t(windowHeight));
    const int perPass = columns * rows;
    for (int first = 0; first < count; first += perPass) {
        const int last = (std::min)(count, first + perPass);
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glColor4ub(255, 255, 255, 255);
        std::vector<int> penX(static_cast<size_t>(last - first)), penY(static_cast<size_t>(last - first));
        for (int code = first; code < last; ++code) {
            const int cell = code - first;
            const int cellX = (cell % columns) * CELL, cellY = (cell / columns) * CELL;
            // Half a pixel in, the pen's pixel is the same whatever rounding the transform does.
            glRasterPos2f(float(cellX + PEN_X) + 0.5f, float(cellY + PEN_Y) + 0.5f);
            GLfloat before[4] = {}, after[4] = {};
            glGetFloatv(GL_CURRENT_RASTER_POSITION, before);
            glCallList(listBase + GLuint(code));
            glGetFloatv(GL_CURRENT_RASTER_POSITION, after);
            _glyphs[code].advance = after[0] - before[0];
            penX[size_t(cell)] = int(std::floor(before[0] + BITMAP_PLACEMENT_EPSILON));
            penY[size_t(cell)] = int(std::floor(before[1] + BITMAP_PLACEMENT_EPSILON));
        }
        glReadPixels(0, 0, windowWidth, windowHeight, GL_RED, GL_UNSIGNED_BYTE, picture.data());
        for (int code = first; code < last; ++code) {
            const int cell = code - first;
            inks[size_t(code)] = FindInk(picture, windowWidth, (cell % columns) * CELL, (cell / columns) * CELL,
                                         penX[size_t(cell)], penY[size_t(cell)]);
        }
    }

    // Shelves of glyphs, left to right, in a texture 256 pixels wide.
    int x = 0, y = 0, shelf = 0;
    std::vector<int> atX(static_cast<size_t>(count)), atY(static_cast<size_t>(count));
    for (int code = 0; code < count; ++code) {
        const Ink& ink = inks[size_t(code)];
        if (ink.width == 0) continue;
        if (x + ink.width > ATLAS_WIDTH) {
            x = 0;
            y += shelf + PADDING;
            shelf = 0;
        }
        atX[size_t(code)] = x;
        atY[size_t(code)] = y;
        x += ink.width + PADDING;
        shelf = (std::max)(shelf, ink.height);
    }
    const int atlasHeight = NextPowerOfTwo(y + shelf);
    std::vector<uint8_t> atlas(size_t(ATLAS_WIDTH) * size_t(atlasHeight), 0);
    for (int code = 0; code < count; ++code) {
        const Ink& ink = inks[size_t(code)];
        Glyph& glyph = _glyphs[code];
        glyph.left = ink.left;
        glyph.bottom = ink.bottom;
        glyph.width = ink.width;
        glyph.height = ink.height;
        if (ink.width == 0) continue;
        for (int row = 0; row < ink.height; ++row) {
            std::copy_n(&ink.mask[size_t(row) * size_t(ink.width)], ink.width,
                        &atlas[size_t(atY[size_t(code)] + row) * ATLAS_WIDTH + size_t(atX[size_t(code)])]);
        }
        glyph.s0 = float(atX[size_t(code)]) / float(ATLAS_WIDTH);
        glyph.s1 = float(atX[size_t(code)] + ink.width) / float(ATLAS_WIDTH);
        glyph.t0 = float(atY[size_t(code)]) / float(atlasHeight);
        glyph.t1 = float(atY[size_t(code)] + ink.height) / float(atlasHeight);
    }

    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glGenTextures(1, &_texture);
    glBindTexture(GL_TEXTURE_2D, _texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_ALPHA, ATLAS_WIDTH, atlasHeight, 0, GL_ALPHA, GL_UNSIGNED_BYTE, atlas.data());
    glBindTexture(GL_TEXTURE_2D, 0);

    PopWindowPixels();
    glPopClientAttrib();
    glPopAttrib();
    return true;
}

float GlyphAtlas::EmitQuads(float x, float y, const char* characters, int length) const
{
    const float penY = std::floor(y + BITMAP_PLACEMENT_EPSILON);
    for (int i = 0; i < length; ++i) {
        const Glyph& glyph = _glyphs[static_cast<uint8_t>(characters[i])];
        if (glyph.width != 0) {
            const float left = std::floor(x + BITMAP_PLACEMENT_EPSILON) + float(glyph.left);
            const float bottom = penY + float(glyph.bottom);
            const float right = left + float(glyph.width), top = bottom + float(glyph.height);
            glTexCoord2f(glyph.s0, glyph.t0);
            glVertex2f(left, bottom);
            glTexCoord2f(glyph.s1, glyph.t0);
            glVertex2f(right, bottom);
            glTexCoord2f(glyph.s1, glyph.t1);
            glVertex2f(right, top);
            glTexCoord2f(glyph.s0, glyph.t1);
            glVertex2f(left, top);
        }
        x += glyph.advance;  // in float, a glyph at a time, as the raster position moves
    }
    return x;
}
