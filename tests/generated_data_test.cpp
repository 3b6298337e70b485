// The pictures and sounds that tools/ generates into data/: every picture passes the
// engine's image and texture rules, sprites face the way the game draws them, the panel
// frames what the HUD draws, the sounds are short clean PCM, and every generator gives the
// same bytes on every run.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "Engine/Image.h"
#include "Engine/Texture.h"
#include "RenderTestSupport.h"
#include "TestSupport.h"
#include "WavFile.h"
#include "fmod.h"

struct Picture {
    const char* path;
    int width, height, bytesPerPixel;
};

// What the game draws, at the sizes its drawing code assumes.
static const Picture PICTURES[] = {
    {"data/ui/titlescreen.tga", 1024, 1024, 3},
    {"data/ui/ui_base01.tga", 256, 1024, 3},
    {"data/ui/map_complete_success.tga", 1024, 512, 3},
    {"data/sprites/arrow.tga", 128, 128, 4},
    {"data/sprites/ball02.tga", 32, 32, 4},
    {"data/sprites/ballhighlight.tga", 32, 32, 4},
    {"data/sprites/collection01.tga", 1024, 64, 4},
    {"data/sprites/collection02.tga", 512, 64, 4},
    {"data/sprites/collection03.tga", 512, 64, 4},
    {"data/sprites/marker01.tga", 512, 64, 4},
    {"data/UnderlayTest.tga", 1024, 1024, 3},
};

class GeneratedPictureTest : public RenderingTest {};

TEST_F(GeneratedPictureTest, EveryPictureLoadsAsATextureOfItsExpectedSize)
{
    for (const Picture& picture : PICTURES) {
        SCOPED_TRACE(picture.path);
        const Image image(picture.path);
        EXPECT_EQ(image.GetWidth(), picture.width);
        EXPECT_EQ(image.GetHeight(), picture.height);
        EXPECT_EQ(image.GetBytesPerPixel(), picture.bytesPerPixel);
        const Texture texture(image);  // a size the texture rules refuse ends the program here
        EXPECT_GT(texture.GetGLName(), 0);
    }
}

// The frames an item strip plays: up to the first frame whose first stored row holds magenta.
static int PlayedFrames(const Image& strip)
{
    const int size = strip.GetHeight(), frames = strip.GetWidth() / size;
    const uint8_t* row = strip.GetPixelData();
    for (int frame = 0; frame < frames; ++frame)
        for (int x = frame * size; x < (frame + 1) * size; ++x)
            if (row[x * 4] == 255 && row[x * 4 + 1] == 0 && row[x * 4 + 2] == 255) return frame;
    return frames;
}

TEST(GeneratedSprites, ItemStripsAnimateAndCollection01EndsAtItsMarker)
{
    const Image collection01("data/sprites/collection01.tga");
    EXPECT_EQ(PlayedFrames(collection01), 12);
    // The marker's frame is never shown; the frames before it are all drawn.
    for (const char* path : {"data/sprites/collection01.tga", "data/sprites/collection02.tga",
                             "data/sprites/collection03.tga", "data/sprites/marker01.tga"}) {
        SCOPED_TRACE(path);
        const Image strip(path);
        const int frames = PlayedFrames(strip), size = strip.GetHeight();
        EXPECT_GE(frames, 2);
        for (int frame = 0; frame < frames; ++frame) {
            int opaque = 0;
            for (int y = 0; y < size; ++y)
                for (int x = frame * size; x < (frame + 1) * size; ++x)
                    opaque += strip.GetPixelData()[(size_t(y) * strip.GetWidth() + x) * 4 + 3] > 128;
            EXPECT_GT(opaque, 40) << "frame " << frame << " is empty";
        }
    }
}

// The centroid of the lit pixels around a point, weighted by brightness.
static Vec2f LitCentroid(const Frame& frame, int cx, int cy, int reach)
{
    double sx = 0, sy = 0, total = 0;
    for (int y = cy - reach; y <= cy + reach; ++y)
        for (int x = cx - reach; x <= cx + reach; ++x) {
            const Color c = frame.At(x, y);
            const double w = c.r + c.g + c.b;
            sx += w * (x + 0.5);
            sy += w * (y + 0.5);
            total += w;
        }
    return total > 0 ? Vec2f(float(sx / total), float(sy / total)) : Vec2f(-1, -1);
}

TEST_F(GeneratedPictureTest, ArrowPointsAlongTheAngleAsTheGameDrawsIt)
{
    const Texture arrow("data/sprites/arrow.tga");
    for (const float angle : {0.0f, 90.0f, 270.0f}) {
        SCOPED_TRACE(angle);
        theRenderer.Clear(Color::BLACK);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);
        theRenderer.DrawTexturedQuadCentred(arrow, Vec2f(512, 512), Vec2f(128, 128), angle, Vec2f::ONE, Color::WHITE,
                                            true, true);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        const Vec2f centroid = LitCentroid(Frame(), 512, 512, 64);
        // y grows downward: 90 is straight down, 270 straight up.
        const float a = angle * 3.14159265f / 180.0f;
        EXPECT_GT((centroid.x - 512.5f) * std::cos(a) + (centroid.y - 512.5f) * std::sin(a), 25.0f);
        EXPECT_NEAR(-(centroid.x - 512.5f) * std::sin(a) + (centroid.y - 512.5f) * std::cos(a), 0.0f, 2.0f);
    }
}

TEST(GeneratedSprites, BallIsADiscOfRadius12WithAMarkThatTurns)
{
    const Image ball("data/sprites/ball02.tga");
    const uint8_t* p = ball.GetPixelData();
    const float c = ball.GetWidth() * 0.5f;
    int sameUnderHalfTurn = 0, opaque = 0;
    for (int y = 0; y < ball.GetHeight(); ++y)
        for (int x = 0; x < ball.GetWidth(); ++x) {
            const uint8_t* px = p + (size_t(y) * ball.GetWidth() + x) * 4;
            const float r = std::hypot(x + 0.5f - c, y + 0.5f - c);
            if (r < 11.0f) {
                EXPECT_EQ(px[3], 255) << x << ", " << y;
            }
            if (r > 13.0f) {
                EXPECT_EQ(px[3], 0) << x << ", " << y;
            }
            if (r >= 11.0f) continue;
            ++opaque;
            // A quarter turn must change the picture, or spin would not show.
            const int qx = int(ball.GetWidth()) - 1 - y, qy = x;
            const uint8_t* q = p + (size_t(qy) * ball.GetWidth() + qx) * 4;
            sameUnderHalfTurn += std::abs(px[0] - q[0]) + std::abs(px[1] - q[1]) + std::abs(px[2] - q[2]) < 30;
        }
    EXPECT_LT(sameUnderHalfTurn, opaque / 2);
}

TEST_F(GeneratedPictureTest, PanelFramesThePowerBarAndKeepsTheNumbersOnADarkWell)
{
    const Texture panel("data/ui/ui_base01.tga");
    glDisable(GL_BLEND);
    theRenderer.DrawTexturedQuad(panel, Vec2f(1024, 0), Vec2f(1280, 1024), 0.0f, Vec2f::ONE, Color::WHITE, true, true);
    glEnable(GL_BLEND);
    const Frame frame;
    auto brightness = [&](int x, int y) {
        const Color c = frame.At(x, y);
        return c.r + c.g + c.b;
    };
    // The bar the HUD fills, (1052, 364)-(1252, 404), lies on an even dark well...
    for (int y = 366; y < 403; y += 3)
        for (int x = 1054; x < 1251; x += 3) ASSERT_LT(brightness(x, y), 60) << x << ", " << y;
    // ...with a frame within a few pixels outside it on all four sides.
    auto brightest = [&](int x, int y, int dx, int dy) {
        int best = 0;
        for (int step = 1; step <= 8; ++step) best = std::max(best, brightness(x + dx * step, y + dy * step));
        return best;
    };
    EXPECT_GT(brightest(1052, 384, -1, 0), 300);
    EXPECT_GT(brightest(1252, 384, 1, 0), 300);
    EXPECT_GT(brightest(1152, 364, 0, -1), 300);
    EXPECT_GT(brightest(1152, 404, 0, 1), 300);
    // The angle is printed from (1138, 478) on: its digits, 12 pixels tall, sit on a dark well too.
    for (int y = 465; y <= 479; ++y)
        for (int x = 1136; x <= 1166; ++x) ASSERT_LT(brightness(x, y), 60) << x << ", " << y;
}

TEST(GeneratedSounds, AreShortUnclippedPcmThatStartsAndEndsInSilence)
{
    for (const char* path :
         {"data/sounds/ballshot.wav", "data/sounds/ballbounce.wav", "data/sounds/itemcollected.wav"}) {
        SCOPED_TRACE(path);
        PcmSound sound;
        ASSERT_EQ(LoadWavFile(path, 0, 0, sound), FMOD_ERR_NONE);
        EXPECT_EQ(sound.bitsPerSample, 16);
        const double seconds = double(sound.frameCount) / sound.frequency;
        EXPECT_GT(seconds, 0.05);
        EXPECT_LT(seconds, 1.0);
        float peak = 0.0f;
        for (float s : sound.samples) peak = std::max(peak, std::fabs(s));
        EXPECT_LT(peak, 32000.0f);
        EXPECT_GT(peak, 16000.0f);
        EXPECT_LT(std::fabs(sound.samples.front()), 100.0f);
        EXPECT_LT(std::fabs(sound.samples.back()), 100.0f);
    }
}

static std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Every file below the folder, by its path relative to it.
static std::vector<std::pair<std::string, std::string>> FilesBelow(const std::string& folder)
{
    std::vector<std::pair<std::string, std::string>> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        if (entry.is_regular_file())
            files.emplace_back(std::filesystem::relative(entry.path(), folder).string(), ReadFile(entry.path()));
    std::sort(files.begin(), files.end());
    return files;
}

static void Generate(const std::string& root)
{
    std::filesystem::create_directories(root + "/data/maps");
    std::filesystem::copy_file("data/maps/map03.map", root + "/data/maps/map03.map");
    for (const std::string& command :
         {std::string(MAKE_UI) + " " + root, std::string(MAKE_SPRITES) + " " + root,
          std::string(MAKE_SOUNDS) + " " + root, std::string(MAKE_BACKGROUND) + " " + root + " map03"})
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

TEST(Generators, GiveTheSameBytesOnEveryRunAndWhatTheBuildShips)
{
    TestFolder first, second;
    Generate(first.Path());
    Generate(second.Path());
    const auto a = FilesBelow(first.Path()), b = FilesBelow(second.Path());
    ASSERT_EQ(a.size(), 16u);  // 4 interface pictures, 7 sprites, 3 sounds, the map and its background
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].first, b[i].first);
        EXPECT_TRUE(a[i].second == b[i].second) << a[i].first << " differs between two runs";
        EXPECT_TRUE(a[i].second == ReadFile(a[i].first)) << a[i].first << " differs from the one in data/";
    }
}

// Every shipped map's background, painted again from its .map file: the same bytes as the one in
// data/, and twelve maps at least, each with a picture of its own.
TEST(Generators, PaintEveryShippedMapsBackgroundAgainToTheSameBytes)
{
    TestFolder folder;
    std::vector<std::string> pictures;
    for (const auto& entry : std::filesystem::directory_iterator("data/maps")) {
        if (entry.path().extension() != ".map") continue;
        const std::string name = entry.path().stem().string();
        SCOPED_TRACE(name);
        const std::string again = folder.PathOf(name + ".tga");
        const std::string command = std::string(MAKE_BACKGROUND) + " . " + name + " " + again;
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        const std::string shipped = ReadFile("data/maps/" + name + ".tga");
        EXPECT_FALSE(shipped.empty());
        EXPECT_TRUE(ReadFile(again) == shipped) << "data/maps/" << name << ".tga is not what " << name << ".map paints";
        pictures.push_back(shipped);
    }
    EXPECT_GE(pictures.size(), 12u);
    std::sort(pictures.begin(), pictures.end());
    EXPECT_EQ(std::adjacent_find(pictures.begin(), pictures.end()), pictures.end()) << "two maps share a picture";
}
