// Text with the bitmap font: placement on the baseline, the latched colour,
// the 255-character cut of DrawText and the empty code 255.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>
#include <string>

#include "RenderTestSupport.h"

namespace {

using RenderText = RenderingTest;

std::vector<GLfloat> RasterPosition()
{
    std::vector<GLfloat> position(4);
    glGetFloatv(GL_CURRENT_RASTER_POSITION, position.data());
    return position;
}

bool IsInk(const Color& c)
{
    return c.r > 100 || c.g > 100 || c.b > 100;
}

TEST_F(RenderText, StringsStandOnTheBaselineInTheirOwnColour)
{
    // The colour set before the call must not leak into the text: the string's own is latched.
    glColor4ub(255, 0, 0, 255);
    const char text[] = "HHH";
    theRenderer.DrawString(Vec2f(100.0f, 200.0f), Color::GREEN, text, 3);
    const Frame frame;
    const PixelBox ink = FindPixels(frame, IsInk, 0, 100, 400, 300);
    ASSERT_FALSE(ink.Empty());
    EXPECT_EQ(ink.maxY, 200) << "capitals end on the baseline row";
    EXPECT_GE(ink.minY, 186);
    EXPECT_LE(ink.minY, 191);
    EXPECT_NEAR(ink.minX, 101, 1);
    EXPECT_GT(ink.maxX - ink.minX, 20);
    EXPECT_LT(ink.maxX - ink.minX, 40);
    const PixelBox green = FindPixels(frame, [](const Color& c) { return c.g > 200 && c.r < 50 && c.b < 50; });
    EXPECT_EQ(green.count, ink.count);

    // Descenders go below it.
    theRenderer.DrawString(Vec2f(100.0f, 400.0f), Color::WHITE, "gjpqy", 5);
    const Frame second;
    EXPECT_GT(FindPixels(second, IsInk, 0, 300, 400, 500).maxY, 401);
}

TEST_F(RenderText, EachCharacterMovesThePenByItsAdvance)
{
    theRenderer.DrawString(Vec2f(10.0f, 100.0f), Color::WHITE, "", 0);
    const float start = RasterPosition()[0];
    theRenderer.DrawString(Vec2f(10.0f, 100.0f), Color::WHITE, "W", 1);
    const float oneW = RasterPosition()[0] - start;
    theRenderer.DrawString(Vec2f(10.0f, 100.0f), Color::WHITE, "WWWW", 4);
    EXPECT_FLOAT_EQ(RasterPosition()[0] - start, 4 * oneW);
    theRenderer.DrawString(Vec2f(10.0f, 100.0f), Color::WHITE, "iiii", 4);
    const float fourI = RasterPosition()[0] - start;
    // Blanks have no bitmap but still move the pen.
    theRenderer.DrawString(Vec2f(10.0f, 100.0f), Color::WHITE, "W W", 3);
    EXPECT_GT(RasterPosition()[0] - start, 2 * oneW + 2.0f);
    EXPECT_GT(oneW, 8.0f);
    EXPECT_GT(fourI, 0.0f);
    EXPECT_LT(fourI, 4 * oneW);
}

TEST_F(RenderText, CodeTwoFiftyFiveDrawsNothingAndDoesNotMove)
{
    const Feedback sent = CaptureFeedback([] {
        theRenderer.DrawString(Vec2f(10.0f, 100.0f), Color::WHITE,
                               "A\xFF"
                               "B",
                               3);
    });
    EXPECT_EQ(sent.Glyphs(), 2);
    const Feedback upper =
        CaptureFeedback([] { theRenderer.DrawString(Vec2f(10.0f, 100.0f), Color::WHITE, "\xFE\xE9\x80", 3); });
    EXPECT_EQ(upper.Glyphs(), 3) << "every code below 255 has a glyph";

    theRenderer.DrawString(Vec2f(10.0f, 100.0f), Color::WHITE, "", 0);
    const std::vector<GLfloat> before = RasterPosition();
    theRenderer.DrawString(Vec2f(10.0f, 100.0f), Color::WHITE, "\xFF\xFF\xFF", 3);
    EXPECT_EQ(RasterPosition(), before);
    const Frame frame;
    EXPECT_TRUE(FindPixels(frame, IsInk).Empty());
}

TEST_F(RenderText, DrawTextFormatsAndKeepsAtMost255Characters)
{
    // Narrow letters, so that all 255 fit in the window and none is clipped away.
    const std::string longText(300, 'i');
    ASSERT_LT(theRenderer.GetTextWidth(longText.c_str(), 255), kWindowWidth);
    EXPECT_EQ(CaptureFeedback([&] { theRenderer.DrawText(0.0f, 20.0f, "%s", longText.c_str()); }).Glyphs(), 255);
    const std::string exact(255, 'i');
    EXPECT_EQ(CaptureFeedback([&] { theRenderer.DrawText(0.0f, 20.0f, "%s", exact.c_str()); }).Glyphs(), 255);
    EXPECT_EQ(CaptureFeedback([] { theRenderer.DrawText(0.0f, 20.0f, "%d-%s", 42, "ab"); }).Glyphs(), 5);
    EXPECT_EQ(CaptureFeedback([] { theRenderer.DrawText(0.0f, 20.0f, "%s", ""); }).Glyphs(), 0);
}

TEST_F(RenderText, TheThreeDrawTextFormsAndTheirColours)
{
    theRenderer.DrawText(20.0f, 50.0f, "%s", "White");
    theRenderer.DrawText(20.0f, 100.0f, Color::ORANGE, "%s %d", "Orange", 1);
    theRenderer.DrawText(Vec2f(20.0f, 150.0f), "%c%c", 'O', 'K');
    const Frame frame;
    const auto white = [](const Color& c) { return SameRgb(c, Color::WHITE, 8); };
    const auto orange = [](const Color& c) { return SameRgb(c, Color::ORANGE, 8); };
    EXPECT_FALSE(FindPixels(frame, white, 0, 30, 200, 55).Empty());
    EXPECT_TRUE(FindPixels(frame, orange, 0, 30, 200, 55).Empty());
    EXPECT_FALSE(FindPixels(frame, orange, 0, 80, 200, 105).Empty());
    EXPECT_TRUE(FindPixels(frame, white, 0, 80, 200, 105).Empty());
    EXPECT_FALSE(FindPixels(frame, white, 0, 130, 200, 155).Empty());
}

// A backdrop that blending shows: grey steps under dark blue.
void DrawBackdrop()
{
    theRenderer.ResetViewportAndScissor();
    theRenderer.Clear(Color::DARK_BLUE);
    theRenderer.SetPixelOrtho(false);
    theRenderer.SetBlending(Blending::ALPHA);  // a rectangle draws blended; opaque here
    for (int i = 0; i < 16; ++i) {
        const uint8_t grey = uint8_t(i * 16);
        theRenderer.DrawRect(Vec2f(float(i * 80), 0.0f), Vec2f(float(i * 80 + 40), 1024.0f), Color(grey, grey, grey),
                             true);
    }
}

int DifferingPixels(const Frame& a, const Frame& b)
{
    int count = 0;
    for (size_t i = 0; i < a.BottomUpRgba().size(); i += 4)
        count += std::memcmp(&a.BottomUpRgba()[i], &b.BottomUpRgba()[i], 3) != 0;
    return count;
}

// The texture's glyphs come from the font's own lists: their quads set exactly the pixels the
// lists' bitmaps set, at whole and fractional pen positions, in the mappings the program uses,
// in each blending, and not at all for a string that starts outside the view.
TEST_F(RenderText, TheGlyphTextureSetsTheBitmapsPixels)
{
    const char text[] = "Ag|j Wy_ 0123 ~%@ \xE9\x80 fps";
    const int length = int(sizeof(text)) - 1;
    struct Mapping {
        const char* name;
        void (*set)();
    };
    const Mapping mappings[] = {
        {"pixels, y down", [] { theRenderer.SetPixelOrtho(false); }},
        {"pixels, y up", [] { theRenderer.SetPixelOrtho(true); }},
        {"the window's size", [] { theRenderer.SetOrtho(0.0f, 0.0f, 1280.0f, 1024.0f); }},
        {"a view",
         [] {
             theRenderer.SetViewportAndScissor(Vec2i(959, 2), Vec2i(318, 1019));
             theRenderer.SetOrtho(Vec2f(960.0f, 2.0f), Vec2f(1277.0f, 1021.0f));
         }},
    };
    const Vec2f positions[] = {Vec2f(100.0f, 200.0f), Vec2f(100.3f, 200.7f),  Vec2f(1138.0f, 384.0f),
                               Vec2f(963.5f, 16.0f),  Vec2f(1200.0f, 500.0f), Vec2f(-3.0f, 300.0f)};
    const Blending blendings[] = {Blending::ALPHA, Blending::INVERT, Blending::OFF};
    const Color colours[] = {Color::WHITE, Color::ORANGE, Color(40, 200, 90, 128)};
    int drawn = 0;
    for (const Mapping& mapping : mappings) {
        for (const Vec2f& at : positions) {
            for (size_t b = 0; b < 3; ++b) {
                SCOPED_TRACE(std::string(mapping.name) + " at " + std::to_string(at.x) + ", " + std::to_string(at.y) +
                             " blending " + std::to_string(b));
                DrawBackdrop();
                mapping.set();
                theRenderer.SetBlending(blendings[b]);
                theRenderer.SetColour(colours[b]);
                glListBase(theRenderer.GetFontBase());
                glRasterPos2f(at.x, at.y);
                glCallLists(length, GL_UNSIGNED_BYTE, text);
                const Frame bitmaps;
                DrawBackdrop();
                mapping.set();
                theRenderer.SetBlending(blendings[b]);
                theRenderer.DrawString(at, colours[b], text, length);
                const Frame quads;
                EXPECT_EQ(DifferingPixels(bitmaps, quads), 0);
                DrawBackdrop();
                drawn += DifferingPixels(bitmaps, Frame()) > 0;
            }
        }
    }
    EXPECT_GT(drawn, 40) << "most cases draw something";
    EXPECT_LT(drawn, 72) << "a string starting left of the view draws nothing";
    theRenderer.ResetViewportAndScissor();
}

}  // namespace
