// Loading uncompressed TGA pictures, and every way a file is refused.
#include <gtest/gtest.h>

#include <cstring>

#include "Engine/Image.h"
#include "TgaTestFiles.h"

namespace {

class ImageTgaTest : public ::testing::Test {
protected:
    TgaTestFolder folder;
};

// The tail of the failure report: file, expression and the message line.
std::string Report(const std::string& expression, const std::string& message = "")
{
    return Literal("Engine/Image.cpp(") + "[0-9]+" +
           Literal("):  (ALL BUILDS)\nExpression was: ( " + expression + " )\n\n   " + message + "\n");
}

TEST_F(ImageTgaTest, TwentyFourBitPictureKeepsTheFileBytesInOrder)
{
    TgaHeader header;
    const std::vector<uint8_t> pixels = PatternPixels(8 * 8 * 3);
    const std::string file = folder.WriteTga("rgb.tga", header, pixels);

    const Image image(file);
    EXPECT_EQ(image.GetWidth(), 8);
    EXPECT_EQ(image.GetHeight(), 8);
    EXPECT_EQ(image.GetBytesPerPixel(), 3);
    EXPECT_EQ(image.GetGLInternalFormat(), GLenum(GL_RGB));
    EXPECT_EQ(image.GetGLPixelFormat(), GLenum(GL_BGR));
    EXPECT_EQ(image.GetFileName(), file);
    ASSERT_EQ(image.GetPixelDataSize(), pixels.size());
    EXPECT_EQ(0, memcmp(image.GetPixelData(), pixels.data(), pixels.size()));
}

TEST_F(ImageTgaTest, ThirtyTwoBitPictureKeepsAlphaAndIgnoresTrailingBytes)
{
    TgaHeader header;
    header.width = 300;  // both bytes of the little-endian sizes matter
    header.height = 258;
    header.depth = 32;
    header.descriptor = 0x28;  // top-left origin, 8 alpha bits: read and ignored
    std::vector<uint8_t> pixels = PatternPixels(size_t(300) * 258 * 4);
    pixels[3] = 0x00;
    pixels[7] = 0x80;
    // A TGA 2.0 footer after the pixels.
    const char footer[] = "\0\0\0\0\0\0\0\0TRUEVISION-XFILE.";
    const std::vector<uint8_t> trailer(footer, footer + sizeof(footer));
    const std::string file = folder.WriteTga("rgba.tga", header, pixels, trailer);

    const Image image(file);
    EXPECT_EQ(image.GetWidth(), 300);
    EXPECT_EQ(image.GetHeight(), 258);
    EXPECT_EQ(image.GetBytesPerPixel(), 4);
    EXPECT_EQ(image.GetGLInternalFormat(), GLenum(GL_RGBA));
    EXPECT_EQ(image.GetGLPixelFormat(), GLenum(GL_BGRA));
    ASSERT_EQ(image.GetPixelDataSize(), pixels.size());
    EXPECT_EQ(0, memcmp(image.GetPixelData(), pixels.data(), pixels.size()));
}

TEST_F(ImageTgaTest, MissingFileIsFatalAndNamesIt)
{
    const std::string file = folder.Path() + "/nowhere.tga";
    EXPECT_EXIT(Image image(file), ::testing::ExitedWithCode(1),
                Report("file", "Image::LoadFromFile : failed to open \"" + file + "\"\n"));
}

TEST_F(ImageTgaTest, EveryOtherHeaderFormIsRefusedAtTheComparison)
{
    const std::string expression = "!memcmp( primerTGA, _primerTGA_correct, sizeof( primerTGA ) )";
    TgaHeader rle;
    rle.imageType = 10;
    TgaHeader colourMapped;
    colourMapped.imageType = 1;
    colourMapped.colourMapType = 1;
    TgaHeader grey;
    grey.imageType = 3;
    TgaHeader withId;
    withId.idLength = 4;
    TgaHeader shifted;
    shifted.yOrigin = 8;
    for (const TgaHeader& header : {rle, colourMapped, grey, withId, shifted}) {
        const std::string file = folder.WriteTga("refused.tga", header);
        EXPECT_EXIT(Image image(file), ::testing::ExitedWithCode(1), Report(expression))
            << "type " << int(header.imageType) << ", id " << int(header.idLength);
    }
}

TEST_F(ImageTgaTest, FileEndingInsideTheHeaderIsFatal)
{
    const std::vector<uint8_t> full = TgaHeaderBytes(TgaHeader());
    const std::string tiny = folder.Write("tiny.tga", std::vector<uint8_t>(full.begin(), full.begin() + 11));
    EXPECT_EXIT(Image image(tiny), ::testing::ExitedWithCode(1), Report("bytesRead == sizeof( primerTGA )"));
    const std::string empty = folder.Write("empty.tga", std::string());
    EXPECT_EXIT(Image image(empty), ::testing::ExitedWithCode(1), Report("bytesRead == sizeof( primerTGA )"));
    // The primer is there but the sizes are not: nothing may be read from bytes that aren't in the file.
    const std::string cut = folder.Write("cut.tga", std::vector<uint8_t>(full.begin(), full.begin() + 15));
    EXPECT_EXIT(Image image(cut), ::testing::ExitedWithCode(1), Report("bytesRead == sizeof( header )"));
}

TEST_F(ImageTgaTest, UnsupportedDepthsNameTheFileAndTheDepth)
{
    for (int depth : {16, 8, 15, 48}) {
        TgaHeader header;
        header.depth = uint8_t(depth);
        const std::string file = folder.WriteTga("depth.tga", header, std::vector<uint8_t>(8 * 8 * 6, 1));
        EXPECT_EXIT(Image image(file), ::testing::ExitedWithCode(1),
                    Literal("Image::_LoadTGAFromFile : " + file + " had unsupported bit-depth of " +
                            std::to_string(depth) + " bpp\n"));
    }
}

TEST_F(ImageTgaTest, PixelDataShorterThanTheHeaderPromisesIsFatal)
{
    TgaHeader header;
    const std::string shortFile = folder.WriteTga("short.tga", header, PatternPixels(8 * 8 * 3 - 1));
    EXPECT_EXIT(Image image(shortFile), ::testing::ExitedWithCode(1), Report("bytesRead == pixelBytes"));

    // A header claiming 65535 x 65535 x 32 bits in a file of a few bytes fails the same way
    // instead of asking for 16 GiB first.
    TgaHeader huge;
    huge.width = 65535;
    huge.height = 65535;
    huge.depth = 32;
    const std::string hugeFile = folder.WriteTga("huge.tga", huge, PatternPixels(16));
    EXPECT_EXIT(Image image(hugeFile), ::testing::ExitedWithCode(1), Report("bytesRead == pixelBytes"));
}

}  // namespace
