// The renderer's start-up state, clearing, and the window-coordinate
// conversions of viewports, scissors and orthographic mappings.
#include <gtest/gtest.h>

#include "Engine/Texture.h"
#include "RenderTestSupport.h"
#include "TgaTestFiles.h"

namespace {

using RenderFrame = RenderingTest;

std::vector<GLint> Integers(GLenum what, int count)
{
    std::vector<GLint> values(size_t(count), -1);
    glGetIntegerv(what, values.data());
    return values;
}

std::vector<GLfloat> Matrix(GLenum which)
{
    std::vector<GLfloat> m(16);
    glGetFloatv(which, m.data());
    return m;
}

const std::vector<GLfloat> kIdentity = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

TEST_F(RenderFrame, StartupLeavesBlendingOnTexturingOffAndTheFontBuilt)
{
    EXPECT_TRUE(TheRenderer::IsInitialized());
    EXPECT_TRUE(Texture::IsOpenGLReady());
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    for (GLenum off : {GL_ALPHA_TEST, GL_CULL_FACE, GL_DEPTH_TEST, GL_DITHER, GL_FOG, GL_LIGHTING, GL_LINE_SMOOTH,
                       GL_LINE_STIPPLE, GL_POINT_SMOOTH, GL_POLYGON_OFFSET_FILL, GL_POLYGON_SMOOTH, GL_POLYGON_STIPPLE,
                       GL_SCISSOR_TEST, GL_STENCIL_TEST, GL_TEXTURE_2D})
        EXPECT_FALSE(glIsEnabled(off)) << std::hex << off;
    EXPECT_EQ(Integers(GL_BLEND_SRC, 1)[0], GL_SRC_ALPHA);
    EXPECT_EQ(Integers(GL_BLEND_DST, 1)[0], GL_ONE_MINUS_SRC_ALPHA);
    EXPECT_EQ(Integers(GL_SHADE_MODEL, 1)[0], GL_SMOOTH);
    EXPECT_EQ(Integers(GL_DEPTH_FUNC, 1)[0], GL_LEQUAL);
    EXPECT_EQ(Integers(GL_PERSPECTIVE_CORRECTION_HINT, 1)[0], GL_FASTEST);

    // Codes 0..254 have glyph lists.
    const GLuint base = theRenderer.GetFontBase();
    ASSERT_NE(base, 0u);
    EXPECT_TRUE(glIsList(base));
    EXPECT_TRUE(glIsList(base + 'A'));
    EXPECT_TRUE(glIsList(base + 254));

    EXPECT_FALSE(theRenderer.IsConsoleVisible());
    EXPECT_FALSE(theRenderer.IsFpsDisplayed());
    EXPECT_EQ(theRenderer.GetConsoleRows(), 25);
}

TEST_F(RenderFrame, StartupAndDestructionChecks)
{
    EXPECT_EXIT(theRenderer.Startup(), ::testing::ExitedWithCode(1),
                Literal("Expression was: ( !_isInitialized )\n\n   TheRenderer was initialized twice; either a "
                        "second TheRenderer was started or Startup() was called on an already-running system.\n"));
    EXPECT_EXIT({ TheRenderer another; }, ::testing::ExitedWithCode(1),
                Literal("Expression was: ( !_isInitialized )\n\n   TheRenderer was destroyed while running; "
                        "Shutdown() should be called first!\n"));
}

TEST_F(RenderFrame, ViewportAndScissorAreGivenFromTheTopLeft)
{
    theRenderer.SetViewport(Vec2i(10, 20), Vec2i(100, 50));
    EXPECT_EQ(Integers(GL_VIEWPORT, 4), (std::vector<GLint>{10, 954, 100, 50}));
    EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));

    theRenderer.SetScissor(Vec2i(300, 0), Vec2i(40, 1024));
    EXPECT_EQ(Integers(GL_SCISSOR_BOX, 4), (std::vector<GLint>{300, 0, 40, 1024}));
    EXPECT_TRUE(glIsEnabled(GL_SCISSOR_TEST));

    theRenderer.SetViewportAndScissor(Vec2i(0, 1000), Vec2i(64, 24));
    EXPECT_EQ(Integers(GL_VIEWPORT, 4), (std::vector<GLint>{0, 0, 64, 24}));
    EXPECT_EQ(Integers(GL_SCISSOR_BOX, 4), (std::vector<GLint>{0, 0, 64, 24}));

    theRenderer.ResetViewportAndScissor();
    EXPECT_EQ(Integers(GL_VIEWPORT, 4), (std::vector<GLint>{0, 0, kWindowWidth, kWindowHeight}));
    EXPECT_EQ(Integers(GL_SCISSOR_BOX, 4), (std::vector<GLint>{0, 0, kWindowWidth, kWindowHeight}));
    EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
}

TEST_F(RenderFrame, OrthoPutsTheFirstCornerAtTheTopLeftInBothDirections)
{
    // The mapping goes into the model-view matrix; the projection stays identity.
    glMatrixMode(GL_PROJECTION);
    glScalef(2.0f, 2.0f, 2.0f);
    theRenderer.SetOrtho(0.0f, 0.0f, 100.0f, 100.0f);
    EXPECT_EQ(Matrix(GL_PROJECTION_MATRIX), kIdentity);
    EXPECT_EQ(Integers(GL_MATRIX_MODE, 1)[0], GL_MODELVIEW);
    theRenderer.DrawRect(Vec2f(0.0f, 0.0f), Vec2f(50.0f, 50.0f), Color::RED, true);
    // y running upward: (0, 100) is the top-left corner.
    theRenderer.SetOrtho(Vec2f(0.0f, 100.0f), Vec2f(100.0f, 0.0f));
    theRenderer.DrawRect(Vec2f(0.0f, 0.0f), Vec2f(50.0f, 50.0f), Color::BLUE, true);
    const Frame frame;
    const PixelBox red = FindPixels(frame, [](const Color& c) { return SameRgb(c, Color::RED); });
    const PixelBox blue = FindPixels(frame, [](const Color& c) { return SameRgb(c, Color::BLUE); });
    EXPECT_EQ(red.minX, 0);
    EXPECT_EQ(red.minY, 0);
    EXPECT_EQ(red.maxX, kWindowWidth / 2 - 1);
    EXPECT_EQ(red.maxY, kWindowHeight / 2 - 1);
    EXPECT_EQ(blue.minX, 0);
    EXPECT_EQ(blue.minY, kWindowHeight / 2);
    EXPECT_EQ(blue.maxY, kWindowHeight - 1);
}

TEST_F(RenderFrame, PixelOrthoCountsFromTheTopOrTheBottomRow)
{
    // Down: (0, 0) is the top-left pixel and (W - 1, H - 1) the bottom-right one.
    theRenderer.SetPixelOrtho(false);
    theRenderer.DrawRect(Vec2f(0.0f, 0.0f), Vec2f(10.0f, 10.0f), Color::RED, true);
    theRenderer.DrawRect(Vec2f(kWindowWidth - 11.0f, kWindowHeight - 11.0f),
                         Vec2f(kWindowWidth - 1.0f, kWindowHeight - 1.0f), Color::GREEN, true);
    // Up: (0, 0) is the bottom-left pixel.
    theRenderer.SetPixelOrtho(true);
    theRenderer.DrawRect(Vec2f(0.0f, 0.0f), Vec2f(10.0f, 10.0f), Color::BLUE, true);
    const Frame frame;
    const PixelBox red = FindPixels(frame, [](const Color& c) { return SameRgb(c, Color::RED); });
    const PixelBox green = FindPixels(frame, [](const Color& c) { return SameRgb(c, Color::GREEN); });
    const PixelBox blue = FindPixels(frame, [](const Color& c) { return SameRgb(c, Color::BLUE); });
    EXPECT_EQ(red.minX, 0);
    EXPECT_EQ(red.minY, 0);
    EXPECT_NEAR(red.maxY, 10, 1);
    EXPECT_EQ(green.maxX, kWindowWidth - 1);
    EXPECT_EQ(green.maxY, kWindowHeight - 1);
    EXPECT_EQ(blue.minX, 0);
    EXPECT_EQ(blue.maxY, kWindowHeight - 1);
    EXPECT_NEAR(blue.minY, kWindowHeight - 11, 1);
}

}  // namespace
