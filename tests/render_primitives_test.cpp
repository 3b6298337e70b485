// Lines, rectangles and circles: where their pixels land, how many vertices a
// circle sends, and that each leaves the GL state as it found it.
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "Engine/Rect2f.h"
#include "Engine/Segment2f.h"
#include "RenderTestSupport.h"

namespace {

using RenderPrimitives = RenderingTest;

GLint Integer(GLenum what)
{
    GLint value = -1;
    glGetIntegerv(what, &value);
    return value;
}

TEST_F(RenderPrimitives, LinesAreGradientsAndRestoreTheState)
{
    // A caller that had textures on and flat shading gets both back.
    glEnable(GL_TEXTURE_2D);
    glShadeModel(GL_FLAT);
    theRenderer.DrawLine(Vec2f(100.0f, 100.5f), Vec2f(300.0f, 100.5f), Color::RED, Color::BLUE);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(Integer(GL_SHADE_MODEL), GL_FLAT);
    glDisable(GL_TEXTURE_2D);
    glShadeModel(GL_SMOOTH);

    theRenderer.DrawSegment(Segment2f(Vec2f(100.0f, 200.5f), Vec2f(200.0f, 0.0f)), Color::GREEN, Color::GREEN);
    const Frame frame;
    const Color left = frame.At(102, 100);
    const Color right = frame.At(297, 100);
    EXPECT_GT(left.r, 240);
    EXPECT_LT(left.b, 15);
    EXPECT_GT(right.b, 240);
    EXPECT_LT(right.r, 15);
    const Color middle = frame.At(200, 100);
    EXPECT_NEAR(middle.r, 128, 8);
    EXPECT_NEAR(middle.b, 128, 8);
    // The segment ends at origin + extent.
    const PixelBox green = FindPixels(
        frame, [](const Color& c) { return c.g > 200; }, 0, 150, 500, 250);
    EXPECT_NEAR(green.minX, 100, 1);
    EXPECT_NEAR(green.maxX, 300, 1);
}

TEST_F(RenderPrimitives, RectsFilledOrOutlinedAndBlendedByAlpha)
{
    theRenderer.DrawRect(Rect2f(10.0f, 10.0f, 60.0f, 40.0f), Color::YELLOW, true);
    theRenderer.DrawRect(Vec2f(100.5f, 10.5f), Vec2f(150.5f, 40.5f), Color::CYAN, false);
    theRenderer.DrawRect(Rect2f(200.0f, 10.0f, 260.0f, 40.0f), Color::WHITE, true);
    theRenderer.DrawRect(Rect2f(200.0f, 10.0f, 260.0f, 40.0f), Color(255, 0, 0, 128), true);
    const Frame frame;
    EXPECT_TRUE(SameRgb(frame.At(30, 25), Color::YELLOW));
    EXPECT_TRUE(SameRgb(frame.At(125, 25), Color::BLACK)) << "an outline leaves the inside alone";
    EXPECT_TRUE(SameRgb(frame.At(125, 10), Color::CYAN));
    EXPECT_TRUE(SameRgb(frame.At(100, 25), Color::CYAN));
    const Color blended = frame.At(230, 25);
    EXPECT_EQ(blended.r, 255);
    EXPECT_NEAR(blended.g, 127, 2);
    EXPECT_NEAR(blended.b, 127, 2);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
}

TEST_F(RenderPrimitives, AutomaticCircleSegmentsGrowWithTheRadius)
{
    EXPECT_EQ(TheRenderer::GetAutomaticCircleSegments(10.0f), 12);
    EXPECT_EQ(TheRenderer::GetAutomaticCircleSegments(30.0f), 14);
    EXPECT_EQ(TheRenderer::GetAutomaticCircleSegments(100.0f), 28);
    EXPECT_EQ(TheRenderer::GetAutomaticCircleSegments(0.0f), 12);
    EXPECT_EQ(TheRenderer::GetAutomaticCircleSegments(24.9f), 12);
    EXPECT_EQ(TheRenderer::GetAutomaticCircleSegments(500.0f), 108);
}

TEST_F(RenderPrimitives, CirclesSendOneVertexPerSegmentStartingOnTheXAxis)
{
    const Vec2f centre(400.0f, 300.0f);
    for (const auto& [radius, segments, expected] : std::vector<std::tuple<float, int, int>>{
             {10.0f, -1, 12}, {30.0f, -1, 14}, {100.0f, -1, 28}, {50.0f, 5, 5}, {50.0f, 0, 0}, {50.0f, -7, 0}}) {
        const Feedback sent = CaptureFeedback([&] { theRenderer.DrawCircle(centre, radius, Color::WHITE, segments); });
        EXPECT_EQ(sent.lines, expected) << "radius " << radius << ", segments " << segments;
        EXPECT_EQ(sent.polygons, 0) << "an outline, never filled";
    }

    // Feedback coordinates are window pixels from the bottom; the first vertex is centre + (r, 0).
    const Feedback sent = CaptureFeedback([&] { theRenderer.DrawCircle(centre, 100.0f, Color::WHITE, -1); });
    ASSERT_GE(sent.lineVertices.size(), 4u);
    const float scaleX = float(kWindowWidth) / float(kWindowWidth - 1);
    const float scaleY = float(kWindowHeight) / float(kWindowHeight - 1);
    EXPECT_NEAR(sent.lineVertices[0], 500.0f * scaleX, 0.05f);
    EXPECT_NEAR(sent.lineVertices[1], kWindowHeight - 300.0f * scaleY, 0.05f);
    const float angle = 6.2831853f / 28.0f;
    EXPECT_NEAR(sent.lineVertices[2], (400.0f + 100.0f * std::cos(angle)) * scaleX, 0.05f);
    EXPECT_NEAR(sent.lineVertices[3], kWindowHeight - (300.0f + 100.0f * std::sin(angle)) * scaleY, 0.05f);
}

}  // namespace
