// Text with the bitmap font: placement on the baseline, the latched colour,
// the 255-character cut of DrawText and the empty code 255.
#include <gtest/gtest.h>

#include <cstring>
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
    EXPECT_EQ(sent.bitmaps, 2);
    const Feedback upper =
        CaptureFeedback([] { theRenderer.DrawString(Vec2f(10.0f, 100.0f), Color::WHITE, "\xFE\xE9\x80", 3); });
    EXPECT_EQ(upper.bitmaps, 3) << "every code below 255 has a glyph";

    theRenderer.DrawString(Vec2f(10.0f, 100.0f), Color::WHITE, "", 0);
    const std::vector<GLfloat> before = RasterPosition();
    theRenderer.DrawString(Vec2f(10.0f, 100.0f), Color::WHITE, "\xFF\xFF\xFF", 3);
    EXPECT_EQ(RasterPosition(), before);
    const Frame frame;
    EXPECT_TRUE(FindPixels(frame, IsInk).Empty());
}

TEST_F(RenderText, DrawTextFormatsAndKeepsAtMost255Characters)
{
    const std::string longText(300, 'x');
    EXPECT_EQ(CaptureFeedback([&] { theRenderer.DrawText(0.0f, 20.0f, "%s", longText.c_str()); }).bitmaps, 255);
    const std::string exact(255, 'x');
    EXPECT_EQ(CaptureFeedback([&] { theRenderer.DrawText(0.0f, 20.0f, "%s", exact.c_str()); }).bitmaps, 255);
    EXPECT_EQ(CaptureFeedback([] { theRenderer.DrawText(0.0f, 20.0f, "%d-%s", 42, "ab"); }).bitmaps, 5);
    EXPECT_EQ(CaptureFeedback([] { theRenderer.DrawText(0.0f, 20.0f, "%s", ""); }).bitmaps, 0);
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

}  // namespace
