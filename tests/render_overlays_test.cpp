// The console panel and the frame-rate counter that every frame ends with.
#include <gtest/gtest.h>

#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "Engine/TheApplication.h"
#include "RenderTestSupport.h"

namespace {

const Color kBackground(0, 0, 255, 255);

bool IsOrange(const Color& c)
{
    return c.r > 200 && c.g > 90 && c.g < 170 && c.b < 60;
}

bool IsWhite(const Color& c)
{
    return c.r > 200 && c.g > 200 && c.b > 200;
}

class RenderOverlays : public RenderingTest {
protected:
    void SetUp() override
    {
        RenderingTest::SetUp();
        theRenderer.Clear(kBackground);
    }
    void TearDown() override
    {
        theRenderer.SetConsoleVisible(false);
        if (theRenderer.IsFpsDisplayed()) theRenderer.ToggleFpsDisplay();
    }
};

TEST_F(RenderOverlays, NothingIsDrawnWhileHiddenOrStopped)
{
    theRenderer.DrawOverlays();
    theRenderer.Shutdown();
    theRenderer.SetConsoleVisible(true);
    theRenderer.ToggleFpsDisplay();
    theRenderer.DrawOverlays();
    theRenderer.Startup();
    theRenderer.Clear(kBackground);
    theRenderer.SetConsoleVisible(false);
    theRenderer.ToggleFpsDisplay();
    theRenderer.DrawOverlays();
    const Frame frame;
    EXPECT_TRUE(FindPixels(frame, [](const Color& c) { return !SameRgb(c, kBackground, 0); }).Empty());
}

TEST_F(RenderOverlays, ConsolePanelShowsTheNewest25LinesWithTheNewestInOrange)
{
    for (int i = 0; i < 40; ++i) theConsole.Printf("LINE %02d OF THE LOG\n", i);
    theRenderer.SetConsoleVisible(true);
    theRenderer.DrawOverlays();
    const Frame frame;

    // 25 rows of 14 pixels and 7 more, half-darkening the whole width.
    const int right = kWindowWidth - 1;
    EXPECT_TRUE(SameRgb(frame.At(right, 0), Color(0, 0, 127), 1)) << frame.At(right, 0);
    EXPECT_TRUE(SameRgb(frame.At(right, 356), Color(0, 0, 127), 1)) << frame.At(right, 356);
    EXPECT_TRUE(SameRgb(frame.At(right, 358), kBackground, 0)) << frame.At(right, 358);
    EXPECT_TRUE(SameRgb(frame.At(600, 700), kBackground, 0));

    const PixelBox orange = FindPixels(frame, IsOrange);
    ASSERT_FALSE(orange.Empty());
    EXPECT_EQ(orange.maxY, 350) << "the newest line's baseline";
    EXPECT_GT(orange.minY, 336);
    EXPECT_NEAR(orange.minX, 3, 1);

    // One line of white text on each of the 24 rows above, nothing below the panel.
    for (int row = 1; row <= 24; ++row) {
        const PixelBox white = FindPixels(frame, IsWhite, 0, row * 14 - 13, 400, row * 14);
        EXPECT_FALSE(white.Empty()) << "row " << row;
        EXPECT_EQ(white.maxY, row * 14) << "row " << row;
    }
    EXPECT_TRUE(FindPixels(frame, IsWhite, 0, 337, 400, 350).Empty());
    EXPECT_TRUE(FindPixels(
                    frame, [](const Color& c) { return IsWhite(c) || IsOrange(c); }, 0, 351, 600, 1023)
                    .Empty());
}

TEST_F(RenderOverlays, ConsoleLinesAreDrawnLiterallyAndOnlyThoseHeld)
{
    for (int i = 0; i < 30; ++i) theConsole.Printf("%s\n", "abcd");
    theConsole.Printf("%s\n", "100%d%s");
    theRenderer.SetConsoleVisible(true);
    // The newest line is printed as it stands, not as a format; the 24 above it have four characters.
    const Feedback sent = CaptureFeedback([] { theRenderer.DrawConsole(); });
    EXPECT_EQ(sent.Glyphs(), 1 + 24 * 4 + 7) << "the panel's quad and a quad a glyph";

    // A console just restarted holds line 0 (empty) and its "(finished)" line: two rows only.
    theConsole.Shutdown();
    theConsole.Startup();
    theRenderer.DrawConsole();
    const Frame frame;
    const PixelBox orange = FindPixels(frame, IsOrange);
    EXPECT_GT(orange.minY, 14);
    EXPECT_LE(orange.maxY, 28 + 4) << "its baseline is row 28; parentheses reach below it";
    EXPECT_TRUE(FindPixels(frame, IsWhite).Empty()) << "line 0 is empty";
}

TEST_F(RenderOverlays, FrameRateShowsAgainstAnyBackground)
{
    theRenderer.ToggleFpsDisplay();
    EXPECT_TRUE(theRenderer.IsFpsDisplayed());
    const int fps = int(theApplication.GetFramesPerSecond() + 0.5f);
    const std::string ink = std::to_string(fps) + "fps";  // the blank has no glyph
    EXPECT_EQ(CaptureFeedback([] { theRenderer.DrawOverlays(); }).Glyphs(), int(ink.size()));

    // Inverted over the picture: orange on black, black on white.
    theRenderer.Clear(Color::BLACK);
    theRenderer.SetOrtho(0.0f, 0.0f, float(kWindowWidth), float(kWindowHeight));
    theRenderer.DrawRect(Vec2f(kWindowWidth - 60.0f, 0.0f), Vec2f(float(kWindowWidth), 8.0f), Color::WHITE, true);
    theRenderer.DrawOverlays();
    EXPECT_EQ(glIsEnabled(GL_BLEND), GL_TRUE);
    GLint source = 0;
    glGetIntegerv(GL_BLEND_SRC, &source);
    EXPECT_EQ(source, GL_SRC_ALPHA) << "the blend function is restored";
    const Frame inverted;
    const PixelBox orange = FindPixels(inverted, IsOrange);
    ASSERT_FALSE(orange.Empty());
    EXPECT_GE(orange.minX, kWindowWidth - 40);
    EXPECT_GE(orange.maxY, 15) << "baseline at y = 16, the p hangs below";
    EXPECT_LE(orange.maxY, 19);
    EXPECT_GE(orange.minY, 8) << "no orange on the white strip";
    const PixelBox dark = FindPixels(
        inverted, [](const Color& c) { return c.r < 60 && c.g < 60; }, kWindowWidth - 60, 0, kWindowWidth - 1, 7);
    EXPECT_FALSE(dark.Empty()) << "the digits turn dark over white";

    // Over the console panel they are plain orange.
    theRenderer.Clear(Color::WHITE);
    theRenderer.SetConsoleVisible(true);
    theRenderer.DrawOverlays();
    const Frame plain;
    EXPECT_FALSE(FindPixels(plain, IsOrange, kWindowWidth - 40, 0, kWindowWidth - 1, 16).Empty());
}

// A picture the overlay has to stay readable on: colour bars with a grid.
void DrawTestPattern()
{
    static const Color bars[] = {Color::WHITE,   Color::YELLOW, Color::CYAN, Color::GREEN,
                                 Color::MAGENTA, Color::RED,    Color::BLUE, Color::BLACK};
    theRenderer.SetPixelOrtho(false);
    const float barWidth = kWindowWidth / 8.0f;
    for (int i = 0; i < 8; ++i)
        theRenderer.DrawRect(Vec2f(i * barWidth, 0.0f), Vec2f((i + 1) * barWidth, float(kWindowHeight)), bars[i], true);
    for (int x = 0; x < kWindowWidth; x += 64)
        theRenderer.DrawLine(Vec2f(x + 0.5f, 0.0f), Vec2f(x + 0.5f, float(kWindowHeight)), Color::DARK_GREY,
                             Color::DARK_GREY);
    for (int y = 0; y < kWindowHeight; y += 64)
        theRenderer.DrawLine(Vec2f(0.0f, y + 0.5f), Vec2f(float(kWindowWidth), y + 0.5f), Color::DARK_GREY,
                             Color::DARK_GREY);
}

bool WritePng(const std::string& file, const Frame& frame)
{
    FILE* out = fopen(file.c_str(), "wb");
    if (out == nullptr) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        fclose(out);
        return false;
    }
    png_init_io(png, out);
    png_set_IHDR(png, info, kWindowWidth, kWindowHeight, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_byte> row(size_t(kWindowWidth) * 3);
    for (int y = 0; y < kWindowHeight; ++y) {
        for (int x = 0; x < kWindowWidth; ++x) {
            const Color c = frame.At(x, y);
            row[size_t(x) * 3] = c.r;
            row[size_t(x) * 3 + 1] = c.g;
            row[size_t(x) * 3 + 2] = c.b;
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return fclose(out) == 0;
}

// PINWHIRL_OVERLAY_PNG=file keeps the picture (the README's screenshot is made this way).
TEST_F(RenderOverlays, PanelHalfDarkensATestPatternAndLeavesTheRestAlone)
{
    DrawTestPattern();
    const Frame pattern;
    // What the console holds after a start-up, and a few lines to read the font by.
    static const char* const log[] = {
        "::: Initialization : Input System (starting)",
        "::: Initialization : Input System (finished)",
        "::: Initialization : Message Handler (starting)",
        "::: Initialization : Message Handler (finished)",
        "::: Initialization : Video System (starting)",
        "VideoSystem : found 42 display mode(s) ",
        "VideoSystem : Setting current display mode #8: 1280 x 1024 x 32 bpp (windowed)",
        "VideoSystem : Creating a rendering window for mode: 1280 x 1024 x 32 bpp (windowed)",
        "GDI Plaque : Choosing a pixel format...",
        "GDI Plaque : Setting the pixel format...",
        "GDI Plaque : Creating a rendering context...",
        "GDI Plaque : Making rendering context current...",
        "VideoSystem : Successfully created a rendering window.",
        "::: Initialization : Video System (finished)",
        "::: Initialization : Sound (starting)",
        "::: Initialization : Sound (finished)",
        "::: Initialization : Renderer (starting)",
        "::: Initialization : Renderer (finished)",
        "::: Initialization : Application (finished)",
        "> load map01",
        "WARNING: tried to play non-existent sound #7",
    };
    for (const char* line : log) theConsole.Printf("%s\n", line);
    theConsole.Printf("The quick brown fox jumps over the lazy dog. 0123456789 ()[]{}<>;:,.!?\"'+-*/=_#%%&@$~^|\\\n");
    theConsole.Printf("THE QUICK BROWN FOX JUMPS OVER THE LAZY DOG.\n");
    theRenderer.SetConsoleVisible(true);
    theRenderer.ToggleFpsDisplay();
    theRenderer.DrawOverlays();
    const Frame frame;

    for (int x = 0; x < kWindowWidth; x += 97) {
        // Below the panel nothing changed; in it, right of the text, every channel is halved.
        EXPECT_TRUE(SameRgb(frame.At(x, 600), pattern.At(x, 600), 0)) << x;
        const Color before = pattern.At(x, 200);
        const Color after = frame.At(x, 200);
        if (x > 1000 && x < kWindowWidth - 60) {
            EXPECT_NEAR(after.r, before.r / 2, 1) << x;
            EXPECT_NEAR(after.g, before.g / 2, 1) << x;
            EXPECT_NEAR(after.b, before.b / 2, 1) << x;
        }
    }
    EXPECT_FALSE(FindPixels(frame, IsOrange, 0, 337, 600, 350).Empty());

    const char* keep = getenv("PINWHIRL_OVERLAY_PNG");
    const std::string file = keep != nullptr ? keep : testing::TempDir() + "console-overlay.png";
    EXPECT_TRUE(WritePng(file, frame)) << file;
}

}  // namespace
