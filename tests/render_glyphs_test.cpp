// The glyph rasteriser behind the bitmap font: face lookup, GDI's two height
// conventions, glyph placement and the bit layout glBitmap reads.
#include <gtest/gtest.h>

#include <cstring>

#include "FontRasterizer.h"

namespace {

LOGFONTA MakeFont(const char* face, LONG height, LONG weight = FW_NORMAL, BYTE pitchAndFamily = FF_SWISS)
{
    LOGFONTA font = {};
    font.lfHeight = height;
    font.lfWeight = weight;
    font.lfCharSet = ANSI_CHARSET;
    font.lfOutPrecision = OUT_TT_ONLY_PRECIS;
    font.lfQuality = ANTIALIASED_QUALITY;
    font.lfPitchAndFamily = pitchAndFamily;
    strncpy(font.lfFaceName, face, LF_FACESIZE - 1);
    return font;
}

RasterizedGlyph Glyph(FontRasterizer& rasterizer, char code)
{
    RasterizedGlyph glyph;
    EXPECT_TRUE(rasterizer.RasterizeCode(uint8_t(code), glyph)) << code;
    return glyph;
}

int InkInRow(const RasterizedGlyph& glyph, int row)
{
    int count = 0;
    for (int x = 0; x < glyph.width; ++x) count += glyph.IsSet(x, row);
    return count;
}

int Ink(const RasterizedGlyph& glyph)
{
    int count = 0;
    for (int y = 0; y < glyph.height; ++y) count += InkInRow(glyph, y);
    return count;
}

TEST(RenderGlyphs, TahomaResolvesToASansFaceAtTheRequestedCellHeight)
{
    FontRasterizer rasterizer;
    ASSERT_TRUE(rasterizer.Open(MakeFont("Tahoma", 16)));
    EXPECT_NE(rasterizer.GetFontFile().find("Sans"), std::string::npos) << rasterizer.GetFontFile();
    EXPECT_EQ(rasterizer.GetFontFile().find("Mono"), std::string::npos) << rasterizer.GetFontFile();
    EXPECT_NEAR(rasterizer.GetCellHeight(), 16, 1);
    EXPECT_GT(rasterizer.GetAscent(), rasterizer.GetDescent());

    // Capitals fill most of the ascent and stand on the baseline.
    const RasterizedGlyph h = Glyph(rasterizer, 'H');
    EXPECT_EQ(h.originY, 0);
    EXPECT_GE(h.height, 9);
    EXPECT_LE(h.height, rasterizer.GetAscent());
    EXPECT_GT(h.advance, h.width / 2);
}

TEST(RenderGlyphs, NegativeHeightMeansCharacterHeightAndGivesALargerCell)
{
    FontRasterizer cell;
    FontRasterizer character;
    ASSERT_TRUE(cell.Open(MakeFont("Tahoma", 16)));
    ASSERT_TRUE(character.Open(MakeFont("Tahoma", -16)));
    EXPECT_GT(character.GetCellHeight(), cell.GetCellHeight());
    EXPECT_GT(Glyph(character, 'H').height, Glyph(cell, 'H').height);
    EXPECT_GT(Glyph(character, 'M').advance, Glyph(cell, 'M').advance);
}

TEST(RenderGlyphs, BitmapsRunBottomRowFirstWithTheOriginOnTheBaseline)
{
    FontRasterizer rasterizer;
    ASSERT_TRUE(rasterizer.Open(MakeFont("Tahoma", 16)));

    // 'T': the bar is the last row stored, the stem's foot the first.
    const RasterizedGlyph t = Glyph(rasterizer, 'T');
    ASSERT_GT(t.height, 4);
    EXPECT_EQ(t.bits.size(), size_t(t.BytesPerRow()) * t.height);
    EXPECT_GE(InkInRow(t, t.height - 1), t.width - 1);
    EXPECT_LE(InkInRow(t, 0), t.width / 2);

    // Descenders hang below the baseline; the origin says by how much.
    const RasterizedGlyph g = Glyph(rasterizer, 'g');
    EXPECT_GT(g.originY, 0);
    EXPECT_LE(g.originY, rasterizer.GetDescent() + 1);

    // A blank has no bitmap but still moves the pen; narrow letters move it less than wide ones.
    const RasterizedGlyph space = Glyph(rasterizer, ' ');
    EXPECT_EQ(space.width * space.height, 0);
    EXPECT_TRUE(space.bits.empty());
    EXPECT_GT(space.advance, 0);
    EXPECT_LT(Glyph(rasterizer, 'i').advance, Glyph(rasterizer, 'W').advance);
}

TEST(RenderGlyphs, AnsiCodesAreWindows1252AndControlCodesStayBlank)
{
    EXPECT_EQ(FontRasterizer::AnsiToUnicode('A'), 0x41u);
    EXPECT_EQ(FontRasterizer::AnsiToUnicode(0x80), 0x20ACu);  // euro sign
    EXPECT_EQ(FontRasterizer::AnsiToUnicode(0x97), 0x2014u);  // em dash
    EXPECT_EQ(FontRasterizer::AnsiToUnicode(0x81), 0x81u);    // undefined in 1252
    EXPECT_EQ(FontRasterizer::AnsiToUnicode(0xE9), 0xE9u);    // e acute
    EXPECT_EQ(FontRasterizer::AnsiToUnicode(0xFF), 0xFFu);

    FontRasterizer rasterizer;
    ASSERT_TRUE(rasterizer.Open(MakeFont("Tahoma", 16)));
    EXPECT_GT(Ink(Glyph(rasterizer, char(0x80))), 10);
    EXPECT_GT(Ink(Glyph(rasterizer, char(0xE9))), Ink(Glyph(rasterizer, 'e')));
    for (char code : {'\t', '\r', '\0'}) {
        const RasterizedGlyph control = Glyph(rasterizer, code);
        EXPECT_TRUE(control.bits.empty()) << int(code);
        EXPECT_EQ(control.advance, 0) << int(code);
    }
}

TEST(RenderGlyphs, WeightWidthAndPitchChooseTheFace)
{
    FontRasterizer regular;
    FontRasterizer bold;
    ASSERT_TRUE(regular.Open(MakeFont("Tahoma", 20)));
    ASSERT_TRUE(bold.Open(MakeFont("Tahoma", 20, FW_BOLD)));
    EXPECT_NE(regular.GetFontFile(), bold.GetFontFile());
    EXPECT_GT(Ink(Glyph(bold, 'H')), Ink(Glyph(regular, 'H')));

    // A width asks for that average character width.
    LOGFONTA narrow = MakeFont("Tahoma", 20);
    narrow.lfWidth = 6;
    LOGFONTA wide = MakeFont("Tahoma", 20);
    wide.lfWidth = 16;
    FontRasterizer narrowFont;
    FontRasterizer wideFont;
    ASSERT_TRUE(narrowFont.Open(narrow));
    ASSERT_TRUE(wideFont.Open(wide));
    EXPECT_NEAR(double(Glyph(wideFont, 'n').advance) / Glyph(narrowFont, 'n').advance, 16.0 / 6.0, 0.5);
    EXPECT_LT(Glyph(narrowFont, 'n').advance, Glyph(regular, 'n').advance);
    EXPECT_EQ(narrowFont.GetCellHeight(), wideFont.GetCellHeight());

    // No face name: the family bits decide, and a modern family is fixed-pitch.
    FontRasterizer modern;
    ASSERT_TRUE(modern.Open(MakeFont("", 16, FW_NORMAL, FF_MODERN)));
    EXPECT_EQ(Glyph(modern, 'i').advance, Glyph(modern, 'W').advance);
}

}  // namespace
