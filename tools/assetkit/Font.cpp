#include "Font.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#ifndef PINWHIRL_FONT_DIR
#define PINWHIRL_FONT_DIR "/usr/share/fonts/truetype/dejavu"
#endif

std::string FontPath(const std::string& fileName)
{
    return std::string(PINWHIRL_FONT_DIR) + "/" + fileName;
}

static std::vector<uint32_t> DecodeUtf8(const std::string& text)
{
    std::vector<uint32_t> codes;
    for (size_t i = 0; i < text.size();) {
        const uint8_t c = uint8_t(text[i]);
        int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
        uint32_t code = extra == 0 ? c : c & (0x3F >> extra);
        ++i;
        for (; extra > 0 && i < text.size(); --extra, ++i) code = (code << 6) | (uint8_t(text[i]) & 0x3F);
        codes.push_back(code);
    }
    return codes;
}

Font::Font(const std::string& fontFile, int pixelSize)
{
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    if (FT_Init_FreeType(&library) != 0 || FT_New_Face(library, fontFile.c_str(), 0, &face) != 0 ||
        FT_Set_Pixel_Sizes(face, 0, FT_UInt(pixelSize)) != 0) {
        fprintf(stderr, "cannot open the font \"%s\"\n", fontFile.c_str());
        exit(1);
    }
    _library = library;
    _face = face;
}

Font::~Font()
{
    FT_Done_Face(FT_Face(_face));
    FT_Done_FreeType(FT_Library(_library));
}

int Font::Ascent() const
{
    return int(FT_Face(_face)->size->metrics.ascender >> 6);
}

float Font::_Walk(const std::string& text, float x, float baseline,
                  const std::function<void(const void* bitmap, int left, int top)>& paint) const
{
    FT_Face face = FT_Face(_face);
    // The pen moves in 26.6 fixed point so that the same text always lands on the same pixels.
    FT_Pos pen = FT_Pos(std::lround(x * 64.0f));
    FT_UInt previous = 0;
    for (uint32_t code : DecodeUtf8(text)) {
        const FT_UInt glyph = FT_Get_Char_Index(face, code);
        if (previous != 0 && glyph != 0 && FT_HAS_KERNING(face)) {
            FT_Vector kerning;
            if (FT_Get_Kerning(face, previous, glyph, FT_KERNING_DEFAULT, &kerning) == 0) pen += kerning.x;
        }
        if (FT_Load_Glyph(face, glyph, FT_LOAD_DEFAULT) != 0) continue;
        if (paint) {
            if (FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) != 0) continue;
            const int left = int((pen + 32) >> 6) + face->glyph->bitmap_left;
            const int top = int(std::lround(baseline)) - face->glyph->bitmap_top;
            paint(&face->glyph->bitmap, left, top);
        }
        pen += face->glyph->advance.x;
        previous = glyph;
    }
    return float(pen) / 64.0f;
}

float Font::Measure(const std::string& text) const
{
    return _Walk(text, 0.0f, 0.0f, nullptr);
}

float Font::Draw(Canvas& canvas, float x, float baseline, const std::string& text,
                 const std::function<Rgba(float x, float y)>& colourAt) const
{
    return _Walk(text, x, baseline, [&](const void* bitmapPointer, int left, int top) {
        const FT_Bitmap& bitmap = *static_cast<const FT_Bitmap*>(bitmapPointer);
        for (unsigned row = 0; row < bitmap.rows; ++row) {
            for (unsigned column = 0; column < bitmap.width; ++column) {
                const uint8_t value = bitmap.buffer[int(row) * bitmap.pitch + int(column)];
                if (value == 0) continue;
                const int px = left + int(column), py = top + int(row);
                canvas.Blend(px, py, colourAt(px + 0.5f, py + 0.5f), value / 255.0f);
            }
        }
    });
}

float Font::Draw(Canvas& canvas, float x, float baseline, const std::string& text, const Rgba& colour) const
{
    return Draw(canvas, x, baseline, text, [&](float, float) { return colour; });
}

void Font::DrawCentred(Canvas& canvas, float x, float baseline, const std::string& text, const Rgba& colour) const
{
    Draw(canvas, std::round(x - Measure(text) * 0.5f), baseline, text, colour);
}
