// Textures: refused before the renderer is up, the size rules in their order,
// and what the upload leaves in OpenGL.
#include <gtest/gtest.h>

#include <cstring>

#include "Engine/Image.h"
#include "Engine/Texture.h"
#include "RenderTestSupport.h"
#include "TgaTestFiles.h"

namespace {

std::string Report(const std::string& expression, const std::string& message)
{
    return Literal("Engine/Texture.cpp(") + "[0-9]+" +
           Literal("):  (ALL BUILDS)\nExpression was: ( " + expression + " )\n\n   " + message + "\n");
}

TgaHeader Sized(int width, int height, int depth = 24)
{
    TgaHeader header;
    header.width = uint16_t(width);
    header.height = uint16_t(height);
    header.depth = uint8_t(depth);
    return header;
}

TEST(TextureBeforeRendererDeathTest, IsFatalAndNamesTheFile)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    TgaTestFolder folder;
    const std::string file = folder.WriteTga("early.tga", Sized(8, 8));
    const std::string message = "ERROR: tried to create texture from image \"" + file +
                                "\" before TheRenderer was initialized; make sure Texture objects do not get "
                                "instantiated until PostInit()";
    // Each child is a new process that runs only this test, so no renderer has started in it, also
    // when this process has repeated the suites below; one that finds it otherwise ends with 2.
    EXPECT_EXIT(
        {
            if (Texture::IsOpenGLReady()) exit(2);
            Texture texture(file);
        },
        ::testing::ExitedWithCode(1), Report("_isOpenGLReady", message));
    EXPECT_EXIT(
        {
            if (Texture::IsOpenGLReady()) exit(2);
            const Image image(file);
            Texture texture(image);
        },
        ::testing::ExitedWithCode(1), Report("_isOpenGLReady", message));
}

TEST(TextureSizes, PowersOfTwo)
{
    EXPECT_FALSE(IsAPowerOfTwo(0));
    EXPECT_TRUE(IsAPowerOfTwo(1));
    EXPECT_TRUE(IsAPowerOfTwo(2048));
    EXPECT_TRUE(IsAPowerOfTwo(0x80000000u));
    EXPECT_FALSE(IsAPowerOfTwo(100));
    EXPECT_FALSE(IsAPowerOfTwo(0xFFFFFFFFu));
    EXPECT_FALSE(IsAPowerOfTwo(2049));
}

class TextureTest : public RenderingTest {
protected:
    TgaTestFolder folder;
};

TEST_F(TextureTest, UploadKeepsSizeFormatAndSamplingRulesAndTheRendererKnowsWhatIsBound)
{
    const std::vector<uint8_t> pixels = PatternPixels(size_t(256) * 64 * 4);
    const std::string file = folder.WriteTga("wide.tga", Sized(256, 64, 32), pixels);
    const Texture earlier(folder.WriteTga("earlier.tga", Sized(8, 8)));
    theRenderer.BindTexture(GLuint(earlier.GetGLName()), true);

    const Texture texture(file);
    EXPECT_EQ(texture.GetWidth(), 256);
    EXPECT_EQ(texture.GetHeight(), 64);
    EXPECT_EQ(texture.GetBytesPerPixel(), 4);
    EXPECT_EQ(texture.GetGLInternalFormat(), GLenum(GL_RGBA));
    ASSERT_GT(texture.GetGLName(), 0);
    EXPECT_TRUE(glIsTexture(GLuint(texture.GetGLName())));

    // The upload leaves the new texture bound, and the renderer knows it.
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(bound, texture.GetGLName());
    EXPECT_EQ(theRenderer.GetBoundTexture(), GLuint(texture.GetGLName()));

    GLint value = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &value);
    EXPECT_EQ(value, GL_CLAMP);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &value);
    EXPECT_EQ(value, GL_CLAMP);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &value);
    EXPECT_EQ(value, GL_NEAREST);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &value);
    EXPECT_EQ(value, GL_NEAREST);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &value);
    EXPECT_EQ(value, 256);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &value);
    EXPECT_EQ(value, 64);

    // The file's B, G, R, A bytes arrive as the right channels.
    std::vector<uint8_t> back(pixels.size());
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_BGRA, GL_UNSIGNED_BYTE, back.data());
    EXPECT_EQ(back, pixels);
    std::vector<uint8_t> rgba(pixels.size());
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    EXPECT_EQ(rgba[0], pixels[2]);
    EXPECT_EQ(rgba[2], pixels[0]);
    EXPECT_EQ(rgba[3], pixels[3]);

    // Going back to the texture bound before really binds it again.
    theRenderer.BindTexture(GLuint(earlier.GetGLName()), false);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(bound, earlier.GetGLName());
}

TEST_F(TextureTest, SizeChecksRunInTheirOrderAndNameTheFile)
{
    struct Case {
        int width, height;
        const char* expression;
        const char* message;
    };
    const Case cases[] = {
        {100, 64, "IsAPowerOfTwo( image._width )",
         "had a non-power-of-two width of 100; image width\n must be 8, 16, 32, 64, 128, 256, 512, 1024, or 2048"},
        {0, 8, "IsAPowerOfTwo( image._width )",
         "had a non-power-of-two width of 0; image width\n must be 8, 16, 32, 64, 128, 256, 512, 1024, or 2048"},
        // The power-of-two width check wins over a bad height.
        {100, 100, "IsAPowerOfTwo( image._width )",
         "had a non-power-of-two width of 100; image width\n must be 8, 16, 32, 64, 128, 256, 512, 1024, or 2048"},
        {64, 100, "IsAPowerOfTwo( image._height )",
         "had a non-power-of-two height of 100; image height\n must be 8, 16, 32, 64, 128, 256, 512, 1024, or 2048"},
        // Powers of two, but out of range: the range checks, width first.
        {4, 4, "(image._width >= 8) && (image._width <= 2048)",
         "had an illegal width of 4; must be 8, 16, 32, 64, 128, 256, 512, 1024, or 2048"},
        {4096, 4096, "(image._width >= 8) && (image._width <= 2048)",
         "had an illegal width of 4096; must be 8, 16, 32, 64, 128, 256, 512, 1024, or 2048"},
        {64, 4, "(image._height >= 8) && (image._height <= 2048)",
         "had an illegal height of 4; must be 8, 16, 32, 64, 128, 256, 512, 1024, or 2048"},
        {8, 4096, "(image._height >= 8) && (image._height <= 2048)",
         "had an illegal height of 4096; must be 8, 16, 32, 64, 128, 256, 512, 1024, or 2048"},
    };
    for (const Case& c : cases) {
        const std::string file = folder.WriteTga(
            "size" + std::to_string(c.width) + "x" + std::to_string(c.height) + ".tga", Sized(c.width, c.height));
        const std::string message = "ERROR: texture \"" + file + "\" " + c.message;
        EXPECT_EXIT(Texture texture(file), ::testing::ExitedWithCode(1), Report(c.expression, message))
            << c.width << " x " << c.height;
    }
}

TEST_F(TextureTest, LargestAndSmallestSidesAreAccepted)
{
    const Texture tall(folder.WriteTga("tall.tga", Sized(8, 2048)));
    const Texture wide(folder.WriteTga("wide.tga", Sized(2048, 8)));
    EXPECT_EQ(tall.GetHeight(), 2048);
    EXPECT_EQ(wide.GetWidth(), 2048);
    EXPECT_GT(tall.GetGLName(), 0);
    EXPECT_GT(wide.GetGLName(), 0);
}

}  // namespace

TEST_F(TextureTest, ADeletedTextureGivesUpItsNameAndTheRendererNoLongerCountsItBound)
{
    const std::string file = folder.WriteTga("small.tga", Sized(8, 8), PatternPixels(size_t(8) * 8 * 3));
    const Texture kept(file);

    Texture* bound = new Texture(file);  // the upload leaves it bound
    const GLuint boundName = GLuint(bound->GetGLName());
    delete bound;
    EXPECT_FALSE(glIsTexture(boundName));
    GLint glBound = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &glBound);
    EXPECT_EQ(glBound, 0);
    EXPECT_EQ(theRenderer.GetBoundTexture(), 0u) << "the renderer believes what GL has bound";

    // Deleting one that is not bound leaves the binding as it is.
    Texture* other = new Texture(file);
    const GLuint otherName = GLuint(other->GetGLName());
    theRenderer.BindTexture(GLuint(kept.GetGLName()), false);
    delete other;
    EXPECT_FALSE(glIsTexture(otherName));
    EXPECT_TRUE(glIsTexture(GLuint(kept.GetGLName())));
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &glBound);
    EXPECT_EQ(glBound, kept.GetGLName());
    EXPECT_EQ(theRenderer.GetBoundTexture(), GLuint(kept.GetGLName()));
}
