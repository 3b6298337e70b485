// Textured quads: which way up the picture lands, nearest sampling and edge
// clamping, rotation and scale about the centre, the matrix stack and the
// bound-texture cache.
#include <gtest/gtest.h>

#include <memory>

#include "Engine/Texture.h"
#include "RenderTestSupport.h"
#include "TgaTestFiles.h"

namespace {

// An 8 x 8 picture painted texel by texel (x from the left, row in file order).
std::vector<uint8_t> Paint(Color (*texel)(int x, int row))
{
    std::vector<uint8_t> bgr;
    for (int row = 0; row < 8; ++row)
        for (int x = 0; x < 8; ++x) {
            const Color c = texel(x, row);
            bgr.insert(bgr.end(), {c.b, c.g, c.r});
        }
    return bgr;
}

class RenderQuads : public RenderingTest {
protected:
    std::unique_ptr<Texture> Make(const char* name, Color (*texel)(int x, int row))
    {
        TgaHeader header;
        return std::make_unique<Texture>(folder.WriteTga(name, header, Paint(texel)));
    }
    TgaTestFolder folder;
};

const Vec2f kMin(0.0f, 0.0f);
const Vec2f kMax(256.0f, 256.0f);

// Row 0 red, row 7 green, the last column white, the rest blue.
Color Bands(int x, int row)
{
    if (row == 0) return Color::RED;
    if (row == 7) return Color::GREEN;
    return x == 7 ? Color::WHITE : Color::BLUE;
}

TEST_F(RenderQuads, ImageRowZeroSitsAtTheMinimumYEdgeUnlessFlipped)
{
    const auto texture = Make("bands.tga", Bands);
    theRenderer.DrawTexturedQuad(*texture, kMin, kMax, 0.0f, Vec2f::ONE, Color::WHITE, true, false);
    theRenderer.DrawTexturedQuad(texture->GetGLName(), Vec2f(300.0f, 0.0f), Vec2f(556.0f, 256.0f), 0.0f, Vec2f::ONE,
                                 Color::WHITE, true, true);
    // The UV form picks texture rows 4..7; the colour modulates the texels.
    theRenderer.DrawTexturedQuadUV(*texture, Vec2f(600.0f, 0.0f), Vec2f(856.0f, 256.0f), Vec2f(0.0f, 0.5f),
                                   Vec2f(1.0f, 1.0f), 0.0f, Vec2f::ONE, Color::WHITE, true, false);
    theRenderer.DrawTexturedQuad(*texture, Vec2f(900.0f, 0.0f), Vec2f(1156.0f, 256.0f), 0.0f, Vec2f::ONE,
                                 Color(255, 255, 0, 255), true, false);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D)) << "texturing is switched off again";
    const Frame frame;
    EXPECT_TRUE(SameRgb(frame.At(100, 10), Color::RED));
    EXPECT_TRUE(SameRgb(frame.At(100, 250), Color::GREEN));
    EXPECT_TRUE(SameRgb(frame.At(100, 128), Color::BLUE));
    EXPECT_TRUE(SameRgb(frame.At(250, 128), Color::WHITE));
    EXPECT_TRUE(SameRgb(frame.At(5, 128), Color::BLUE));

    EXPECT_TRUE(SameRgb(frame.At(400, 10), Color::GREEN));
    EXPECT_TRUE(SameRgb(frame.At(400, 250), Color::RED));

    EXPECT_TRUE(SameRgb(frame.At(700, 10), Color::BLUE));
    EXPECT_TRUE(SameRgb(frame.At(700, 250), Color::GREEN));
    EXPECT_TRUE(SameRgb(frame.At(700, 130), Color::BLUE));

    EXPECT_TRUE(SameRgb(frame.At(1000, 10), Color::RED));
    EXPECT_TRUE(SameRgb(frame.At(1150, 128), Color::YELLOW));
    EXPECT_TRUE(SameRgb(frame.At(1000, 128), Color::BLACK));
}

TEST_F(RenderQuads, StretchedTexturesSampleTheNearestTexelAndClampAtTheEdges)
{
    const auto checker =
        Make("checker.tga", [](int x, int row) { return (x + row) % 2 ? Color::WHITE : Color::BLACK; });
    theRenderer.DrawTexturedQuad(*checker, kMin, kMax, 0.0f, Vec2f::ONE, Color::WHITE, true, false);
    // Column 0 green, column 7 red: past s = 1 the last column repeats, before s = 0 the first.
    const auto edges = Make("edges.tga", [](int x, int) {
        return x == 0 ? Color::GREEN : x == 7 ? Color::RED : Color::BLUE;
    });
    theRenderer.DrawTexturedQuadUV(*edges, Vec2f(300.0f, 0.0f), Vec2f(812.0f, 256.0f), Vec2f(-1.0f, 0.0f),
                                   Vec2f(2.0f, 1.0f), 0.0f, Vec2f::ONE, Color::WHITE, true, false);
    const Frame frame;
    const PixelBox blended = FindPixels(
        frame, [](const Color& c) { return !SameRgb(c, Color::WHITE, 0) && !SameRgb(c, Color::BLACK, 0); }, 0, 0, 254,
        254);
    EXPECT_TRUE(blended.Empty()) << blended.count << " pixels are neither black nor white";
    EXPECT_TRUE(SameRgb(frame.At(16, 16), Color::BLACK));
    EXPECT_TRUE(SameRgb(frame.At(48, 16), Color::WHITE));

    // 512 pixels for s from -1 to 2: s < 0 in x < 470, s > 1 in x > 641.
    for (int x : {302, 400, 460}) EXPECT_TRUE(SameRgb(frame.At(x, 128), Color::GREEN)) << x;
    for (int x : {650, 700, 810}) EXPECT_TRUE(SameRgb(frame.At(x, 128), Color::RED)) << x;
    EXPECT_TRUE(SameRgb(frame.At(556, 128), Color::BLUE));
}

TEST_F(RenderQuads, RotationAndScaleAreAboutTheCentreScaleFirst)
{
    const auto untextured = [](float angle, Vec2f scale, Vec2f min, Vec2f max) {
        theRenderer.DrawTexturedQuad(0, min, max, angle, scale, Color::WHITE, false, false);
    };
    // 100 x 20 around (150, 110).
    untextured(90.0f, Vec2f::ONE, Vec2f(100.0f, 100.0f), Vec2f(200.0f, 120.0f));
    // 100 x 20 around (450, 110), half as wide.
    untextured(0.0f, Vec2f(0.5f, 1.0f), Vec2f(400.0f, 100.0f), Vec2f(500.0f, 120.0f));
    // 100 x 20 around (750, 300): doubled to 200 x 20, then turned upright.
    untextured(90.0f, Vec2f(2.0f, 1.0f), Vec2f(700.0f, 290.0f), Vec2f(800.0f, 310.0f));
    const Frame frame;
    const auto white = [](const Color& c) { return SameRgb(c, Color::WHITE); };
    const PixelBox turned = FindPixels(frame, white, 0, 0, 299, 500);
    EXPECT_NEAR(turned.minX, 140, 1);
    EXPECT_NEAR(turned.maxX, 160, 1);
    EXPECT_NEAR(turned.minY, 60, 1);
    EXPECT_NEAR(turned.maxY, 160, 1);
    const PixelBox halved = FindPixels(frame, white, 300, 0, 599, 500);
    EXPECT_NEAR(halved.minX, 425, 1);
    EXPECT_NEAR(halved.maxX, 475, 1);
    EXPECT_NEAR(halved.minY, 100, 1);
    EXPECT_NEAR(halved.maxY, 120, 1);
    const PixelBox both = FindPixels(frame, white, 600, 0, 899, 600);
    EXPECT_NEAR(both.maxX - both.minX, 20, 2);
    EXPECT_NEAR(both.maxY - both.minY, 200, 2);
    EXPECT_NEAR((both.minY + both.maxY) / 2, 300, 2);
}

TEST_F(RenderQuads, PlainQuadsLeaveTheMatrixStackAloneAndTransformedOnesRestoreIt)
{
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    std::vector<GLfloat> before(16), after(16);
    glGetFloatv(GL_MODELVIEW_MATRIX, before.data());

    theRenderer.DrawTexturedQuadCentred(0, Vec2f(50.0f, 50.0f), Vec2f(20.0f, 20.0f), 33.0f, Vec2f(2.0f, 3.0f),
                                        Color::WHITE, false, false);
    glGetFloatv(GL_MODELVIEW_MATRIX, after.data());
    EXPECT_EQ(before, after);
    GLint depthAfter = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthAfter);
    EXPECT_EQ(depthAfter, depth);

    // With the stack full, a push would overflow: plain quads must not push at all.
    GLint maxDepth = 0;
    glGetIntegerv(GL_MAX_MODELVIEW_STACK_DEPTH, &maxDepth);
    while (glGetError() != GL_NO_ERROR) {}
    for (GLint i = depth; i < maxDepth; ++i) glPushMatrix();
    theRenderer.DrawTexturedQuad(0, kMin, kMax, 0.0f, Vec2f::ONE, Color::WHITE, false, false);
    theRenderer.DrawTexturedQuadCentredUV(0, Vec2f(5.0f, 5.0f), Vec2f(2.0f, 2.0f), Vec2f::ZERO, Vec2f::ONE, 0.0f,
                                          Vec2f::ONE, Color::WHITE, true, true);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    theRenderer.DrawTexturedQuad(0, kMin, kMax, 0.0f, Vec2f(1.0f, 2.0f), Color::WHITE, false, false);
    EXPECT_EQ(glGetError(), GLenum(GL_STACK_OVERFLOW)) << "the probe itself works";
    for (GLint i = depth; i < maxDepth; ++i) glPopMatrix();
    while (glGetError() != GL_NO_ERROR) {}
}

TEST_F(RenderQuads, BindingIsCachedAndHappensEvenWithoutTexturing)
{
    const auto a = Make("a.tga", [](int, int) { return Color::RED; });
    const auto b = Make("b.tga", [](int, int) { return Color::GREEN; });
    const auto boundInGL = [] {
        GLint name = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &name);
        return name;
    };

    theRenderer.BindTexture(GLuint(a->GetGLName()), true);
    glBindTexture(GL_TEXTURE_2D, 0);
    theRenderer.BindTexture(GLuint(a->GetGLName()), false);
    EXPECT_EQ(boundInGL(), 0) << "a repeated bind is skipped";
    theRenderer.BindTexture(GLuint(a->GetGLName()), true);
    EXPECT_EQ(boundInGL(), a->GetGLName());

    // Untextured quads still bind, and draw in their colour only.
    theRenderer.DrawTexturedQuad(*b, kMin, kMax, 0.0f, Vec2f::ONE, Color::BLUE, false, false);
    EXPECT_EQ(theRenderer.GetBoundTexture(), GLuint(b->GetGLName()));
    EXPECT_EQ(boundInGL(), b->GetGLName());
    // Names of 0 and below bind nothing.
    theRenderer.DrawTexturedQuad(-1, kMin, kMax, 0.0f, Vec2f::ONE, Color::BLUE, false, false);
    theRenderer.DrawTexturedQuad(0, kMin, kMax, 0.0f, Vec2f::ONE, Color::BLUE, false, false);
    EXPECT_EQ(theRenderer.GetBoundTexture(), GLuint(b->GetGLName()));

    theRenderer.DrawTexturedQuadCentred(*a, Vec2f(428.0f, 128.0f), Vec2f(256.0f, 256.0f), 0.0f, Vec2f::ONE,
                                        Color::WHITE, true, false);
    const Frame frame;
    EXPECT_TRUE(SameRgb(frame.At(128, 128), Color::BLUE));
    EXPECT_TRUE(SameRgb(frame.At(301, 1), Color::RED));
    EXPECT_TRUE(SameRgb(frame.At(555, 254), Color::RED));
    EXPECT_TRUE(SameRgb(frame.At(560, 128), Color::BLACK));
    theRenderer.BindTexture(0, true);
}

}  // namespace
