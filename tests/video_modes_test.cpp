#include <gtest/gtest.h>

#include <PlatformTesting.h>

#include <vector>

#include "Engine/TheConsole.h"
#include "Engine/TheVideoSystem.h"
#include "TestSupport.h"

namespace {

class VideoModesTest : public testing::Test {
protected:
    void UseAdapterModes(const std::vector<DEVMODEA>& modes)
    {
        PlatformSetAdapterModesForTesting(modes.data(), static_cast<int>(modes.size()));
        log = CaptureDebugOutput([&] { video.EnumerateDisplayModes(); });
    }
    void TearDown() override { PlatformSetAdapterModesForTesting(nullptr, -1); }

    // A private instance: the table rules need no window.
    TheVideoSystem video;
    std::string log;
};

const uint32_t FIRST_ADAPTER_MODE = 10;

}  // namespace

// The video system's private steps that the window rules are tested through.
class VideoSystemTestAccess {
public:
    static void MeasureDesktop(TheVideoSystem& video) { video._GetDesktopCharacteristics(); }
    static void ComputeWindowRectangle(TheVideoSystem& video, DWORD style, DWORD exStyle)
    {
        video._ComputeWindowRectangle(style, exStyle);
    }
};

TEST_F(VideoModesTest, TableHoldsTenWindowedEntriesThenEveryAdapterMode)
{
    UseAdapterModes(
        {MakeAdapterMode(800, 600, 16, 60), MakeAdapterMode(800, 600, 16, 60), MakeAdapterMode(1280, 1024, 32, 85)});
    ASSERT_EQ(video.GetNumDisplayModes(), 13u);  // duplicates stay
    const int sizes[10][2] = {{320, 240},  {400, 300},  {512, 384},  {640, 480},   {800, 600},
                              {1024, 768}, {1152, 864}, {1280, 960}, {1280, 1024}, {1600, 1200}};
    for (uint32_t i = 0; i < 10; ++i) {
        const DisplayModeRecord* r = video.GetDisplayModeRecord(i);
        EXPECT_EQ(r->devMode.dmSize, 156);
        EXPECT_EQ(r->devMode.dmFields, static_cast<DWORD>(DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT));
        EXPECT_EQ(static_cast<int>(r->devMode.dmPelsWidth), sizes[i][0]);
        EXPECT_EQ(static_cast<int>(r->devMode.dmPelsHeight), sizes[i][1]);
        EXPECT_EQ(r->devMode.dmBitsPerPel, 32u);
        EXPECT_EQ(r->devMode.dmDisplayFrequency, 0u);
        EXPECT_TRUE(video.IsWindowedMode(i));
    }
    EXPECT_FALSE(video.IsWindowedMode(FIRST_ADAPTER_MODE));
    EXPECT_EQ(video.GetDisplayModeDescription(8), "1280 x 1024 x 32 bpp (windowed)");
    EXPECT_EQ(video.GetDisplayModeDescription(12), "1280 x 1024 x 32 bpp, 85 hz (fullscreen)");
    // The count line ends in a blank, never a colon, when not verbose. Category lines
    // always enter the ring, started console or not.
    EXPECT_EQ(log, "CONSOLE: VideoSystem : found 13 display mode(s) \n");
}

TEST_F(VideoModesTest, VerboseListing)
{
    UseAdapterModes({MakeAdapterMode(1024, 768, 32, 75)});
    CaptureDebugOutput([] { theConsole.Startup(); });
    const std::string out = CaptureDebugOutput([&] { video.LogDisplayModes(true); });
    CaptureDebugOutput([] { theConsole.Shutdown(); });
    const std::vector<std::string> lines = SplitLines(out);
    ASSERT_EQ(lines.size(), 12u);
    EXPECT_EQ(lines[0], "CONSOLE: VideoSystem : found 11 display mode(s):");
    EXPECT_EQ(lines[1], "CONSOLE:   MODE   0 :   320 x  240 ( 32 bpp, ??? Hz, windowed)");
    EXPECT_EQ(lines[11], "CONSOLE:   MODE  10 :  1024 x  768 ( 32 bpp,  75 Hz, fullscreen)");
}

TEST_F(VideoModesTest, DefaultRequestPicksTheWindowed640x480Entry)
{
    UseAdapterModes({MakeAdapterMode(640, 480, 32, 60)});
    EXPECT_EQ(video.FindBestDisplayMode(640, 480, 32, 60, false), 3u);
}

TEST_F(VideoModesTest, WindowedRequestIgnoresDepthAndRefresh)
{
    UseAdapterModes({MakeAdapterMode(1280, 1024, 32, 85), MakeAdapterMode(1280, 1024, 16, 60)});
    EXPECT_EQ(video.FindBestDisplayMode(1280, 1024, 32, 85, false), 8u);
    EXPECT_EQ(video.FindBestDisplayMode(1280, 1024, 8, 0, false), 8u);
}

TEST_F(VideoModesTest, FullscreenRequestPrefersDepthThenClosestRefresh)
{
    UseAdapterModes({
        MakeAdapterMode(1280, 1024, 16, 85),   // 10: exact refresh, wrong depth (-500)
        MakeAdapterMode(1280, 1024, 32, 60),   // 11: -25
        MakeAdapterMode(1280, 1024, 32, 100),  // 12: -15
        MakeAdapterMode(1280, 1024, 32, 70),   // 13: -15, a tie: the earlier entry stays
    });
    EXPECT_EQ(video.FindBestDisplayMode(1280, 1024, 32, 85, true), 12u);
    EXPECT_EQ(video.FindBestDisplayMode(1280, 1024, 16, 85, true), 10u);
}

TEST_F(VideoModesTest, FullscreenRequestPrefersNearestAdapterSizeOverExactWindowedEntry)
{
    UseAdapterModes(
        {MakeAdapterMode(1024, 768, 32, 85), MakeAdapterMode(1280, 960, 32, 85), MakeAdapterMode(1600, 1200, 32, 85)});
    // 1280x960 is 64 rows off (64 000); 1024x768 and 1600x1200 are far more. The windowed
    // 1280x1024 entry of exactly the size scores only 500 000 000.
    EXPECT_EQ(video.FindBestDisplayMode(1280, 1024, 32, 85, true), 11u);
}

TEST_F(VideoModesTest, RefreshZeroCountsAsSixty)
{
    UseAdapterModes({MakeAdapterMode(800, 600, 32, 75), MakeAdapterMode(800, 600, 32, 60)});
    EXPECT_EQ(video.FindBestDisplayMode(800, 600, 32, 0, true), 11u);
}

TEST_F(VideoModesTest, NothingAboveZeroFallsBackToIndexZero)
{
    UseAdapterModes({MakeAdapterMode(640, 480, 32, 60)});
    // Far enough away that every score is negative.
    EXPECT_EQ(video.FindBestDisplayMode(200000, 100000, 32, 60, true), 0u);
}

TEST_F(VideoModesTest, FullscreenRequestOnAWindowedEntryMakesItFullscreen)
{
    UseAdapterModes({});
    const uint32_t index = video.SelectDisplayMode(1280, 1024, 32, 85, DisplayModeRecord::FLAG_FULLSCREEN);
    EXPECT_EQ(index, 8u);
    EXPECT_FALSE(video.IsCurrentModeWindowed());
    EXPECT_EQ(video.GetWidth(), 1280);
    EXPECT_EQ(video.GetHeight(), 1024);
    EXPECT_EQ(video.GetDisplayModeDescription(8), "1280 x 1024 x 32 bpp, 0 hz (fullscreen)");
}

TEST_F(VideoModesTest, SettingTheCurrentModeAgainDoesNothingUnlessForced)
{
    UseAdapterModes({});
    CaptureDebugOutput([] { theConsole.Startup(); });
    std::string out =
        CaptureDebugOutput([&] { video.SetDisplayMode(0, DisplayModeRecord::FLAG_KEEP_POSITION, false); });
    EXPECT_EQ(out, "");
    EXPECT_EQ(video.GetDisplayModeRecord(0)->flags, 0u);
    out = CaptureDebugOutput([&] { video.SetDisplayMode(0, DisplayModeRecord::FLAG_KEEP_POSITION, true); });
    EXPECT_EQ(out, "CONSOLE: VideoSystem : Setting current display mode #0: 320 x 240 x 32 bpp (windowed)\n");
    EXPECT_EQ(video.GetDisplayModeRecord(0)->flags, DisplayModeRecord::FLAG_KEEP_POSITION);
    CaptureDebugOutput([] { theConsole.Shutdown(); });
}

TEST_F(VideoModesTest, WindowRectangleIsFittedIntoTheDesktop)
{
    UseAdapterModes({MakeAdapterMode(1280, 1024, 32, 85)});
    const RECT desktop = {0, 0, 1920, 1080};
    PlatformSetDesktopRectForTesting(&desktop);
    VideoSystemTestAccess::MeasureDesktop(video);

    // Windowed 1280x1024: the frame makes it stick out at the top-left, so it is moved in.
    video.SetDisplayMode(8, 0, false);
    VideoSystemTestAccess::ComputeWindowRectangle(video, WS_CAPTION | WS_SYSMENU, WS_EX_APPWINDOW);
    RECT frame = {0, 0, 1280, 1024};
    AdjustWindowRectEx(&frame, WS_CAPTION | WS_SYSMENU, FALSE, WS_EX_APPWINDOW);
    const RECT& r = video.GetWindowRectangle();
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right - r.left, frame.right - frame.left);
    EXPECT_EQ(r.bottom - r.top, frame.bottom - frame.top);
    EXPECT_EQ(video.GetClientOrigin(), Vec2i(-frame.left, -frame.top));

    // Larger than the desktop: the top-left corner lands on the desktop's.
    video.SetDisplayMode(9, 0, false);  // 1600x1200 windowed
    const RECT small = {100, 50, 1124, 818};
    PlatformSetDesktopRectForTesting(&small);
    VideoSystemTestAccess::MeasureDesktop(video);
    VideoSystemTestAccess::ComputeWindowRectangle(video, WS_CAPTION | WS_SYSMENU, WS_EX_APPWINDOW);
    EXPECT_EQ(video.GetWindowRectangle().left, 100);
    EXPECT_EQ(video.GetWindowRectangle().top, 50);
    EXPECT_GT(video.GetWindowRectangle().right, small.right);

    // FLAG_KEEP_POSITION leaves the rectangle where the frame put it.
    video.SetDisplayMode(3, DisplayModeRecord::FLAG_KEEP_POSITION, false);
    VideoSystemTestAccess::ComputeWindowRectangle(video, WS_CAPTION | WS_SYSMENU, WS_EX_APPWINDOW);
    RECT frame640 = {0, 0, 640, 480};
    AdjustWindowRectEx(&frame640, WS_CAPTION | WS_SYSMENU, FALSE, WS_EX_APPWINDOW);
    EXPECT_EQ(video.GetWindowRectangle().left, frame640.left);
    EXPECT_EQ(video.GetWindowRectangle().top, frame640.top);

    // A fullscreen entry gets no frame; it is fitted like any other.
    video.SetDisplayMode(10, 0, false);
    PlatformSetDesktopRectForTesting(&desktop);
    VideoSystemTestAccess::MeasureDesktop(video);
    VideoSystemTestAccess::ComputeWindowRectangle(video, WS_POPUP, WS_EX_APPWINDOW);
    EXPECT_EQ(video.GetWindowRectangle().left, 0);
    EXPECT_EQ(video.GetWindowRectangle().right, 1280);
    EXPECT_EQ(video.GetWindowRectangle().bottom, 1024);
    PlatformSetDesktopRectForTesting(nullptr);
}

TEST_F(VideoModesTest, ScreenToClientUsesTheLastMovedOrigin)
{
    video.SetClientOrigin(300, -20);
    int x = 0, y = 0;
    video.ScreenToClient(310, 5, x, y);
    EXPECT_EQ(x, 10);
    EXPECT_EQ(y, 25);
}

TEST(VideoModesDeathTest, ModeIndexOutOfRangeIsFatal)
{
    EXPECT_EXIT(
        {
            PlatformSetAdapterModesForTesting(nullptr, 0);
            TheVideoSystem video;
            video.EnumerateDisplayModes();
            video.SetDisplayMode(10, 0, false);
        },
        testing::ExitedWithCode(1),
        "Expression was: \\( vidMode < _numVidModes \\)\n\n   TheVideoSystem : vidMode 10 out of range \\[0,9\\]!");
}

TEST(VideoModesDeathTest, FullAdapterTableIsFatal)
{
    EXPECT_EXIT(
        {
            std::vector<DEVMODEA> many(2000, MakeAdapterMode(800, 600, 32, 60));
            PlatformSetAdapterModesForTesting(many.data(), static_cast<int>(many.size()));
            TheVideoSystem video;
            video.EnumerateDisplayModes();
        },
        testing::ExitedWithCode(1), "Expression was: \\( _numVidModes < MAX_VID_MODES \\)\n\n   \n");
}
