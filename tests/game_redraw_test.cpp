// Which part of the window the game's frames draw: where the back buffer is kept (the offscreen
// driver's), what changed since the last frame; everything after a change of mode, of the
// command line or of an overlay, after the window was spoiled, and where the buffer is not kept.
// The shot trail as drawn: thinned where nothing could be seen, followed a frame at a time.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "Engine/TheMessageHandler.h"
#include "Engine/TheRenderer.h"
#include "Game/GameInterface.h"
#include "GameFixture.h"
#include "RenderTestSupport.h"

static TheGameInterface theGameInterface;

namespace {

// The game's frame alone: its redraw rectangle stays set until the overlays are drawn.
PixelRect GameFrame()
{
    theGame->RunFrame();
    PixelRect area(0, 0, 1280, 1024);
    if (theRenderer.IsFramePartial()) {
        area = PixelRect();
        for (const PixelRect& rect : theRenderer.GetFrameRedrawRects()) area.Include(rect);
    }
    theRenderer.DrawOverlays();
    return area;
}

bool IsWhole(const PixelRect& area)
{
    return area == PixelRect(0, 0, 1280, 1024);
}

bool Holds(const PixelRect& area, const Vec2f& point)
{
    return point.x >= area.left && point.x < area.right && point.y >= area.top && point.y < area.bottom;
}

using GameRedraw = GameTest;

TEST_F(GameRedraw, AFlightFrameDrawsTheBallAndTheTrailsNewEndAndNothingElse)
{
    StartAiming();
    ASSERT_TRUE(theVideoSystem.IsBackBufferKept());
    Frames(3);
    const PixelRect aiming = GameFrame();
    EXPECT_FALSE(IsWhole(aiming));
    EXPECT_TRUE(Holds(aiming, TheBall().position)) << "the ball is drawn every frame";

    Press(VK_SPACE);
    EXPECT_TRUE(IsWhole(GameFrame())) << "a new mode";
    for (int frame = 0; frame < 8; ++frame) {
        const Vec2f before = TheBall().position;
        const PixelRect area = GameFrame();
        ASSERT_FALSE(IsWhole(area));
        EXPECT_TRUE(Holds(area, before));
        EXPECT_TRUE(Holds(area, TheBall().position));
        EXPECT_LT(area.right, 1024) << "the panel did not change";
        EXPECT_LT(area.Width() * area.Height(), 200 * 200);
    }
    // A trail four hundred points long and more changes colour along its newest four hundred.
    shotTrail.assign(1000, Vec2f(600.0f, 500.0f));
    for (size_t k = 0; k < shotTrail.size(); ++k) shotTrail[k].x = 1.0f * float(k % 500);
    EXPECT_TRUE(IsWhole(GameFrame())) << "another trail";
    shotTrail.push_back(Vec2f(10.0f, 500.0f));
    const PixelRect grown = GameFrame();
    EXPECT_TRUE(Holds(grown, Vec2f(601.0f - 500.0f, 500.0f)));
    EXPECT_TRUE(Holds(grown, Vec2f(499.0f, 500.0f)));
    EXPECT_FALSE(Holds(grown, Vec2f(550.0f, 500.0f))) << "older points keep their colour";
}

TEST_F(GameRedraw, ThePanelTheCommandLineAndTheOverlaysAreDrawnWhenTheyChange)
{
    StartAiming();
    Frames(3);
    Press(VK_UP);
    const PixelRect power = GameFrame();
    EXPECT_TRUE(Holds(power, Vec2f(1052.0f + 2.0f * float(theGame->power), 384.0f)));
    EXPECT_TRUE(Holds(power, Vec2f(1140.0f, 478.0f)));
    Release(VK_UP);
    EXPECT_FALSE(Holds(GameFrame(), Vec2f(1140.0f, 478.0f)));

    Press(VK_OEM_3);
    EXPECT_TRUE(IsWhole(GameFrame())) << "the command line and the console opened";
    GameFrame();
    Press('H');
    const PixelRect typed = GameFrame();
    EXPECT_TRUE(Holds(typed, Vec2f(22.0f, 392.0f)));
    EXPECT_FALSE(IsWhole(typed));
    Press(VK_ESCAPE);
    EXPECT_TRUE(IsWhole(GameFrame())) << "and closed";

    Press(VK_F11);
    EXPECT_TRUE(IsWhole(GameFrame())) << "the frame rate shown";
    EXPECT_TRUE(Holds(GameFrame(), Vec2f(1275.0f, 10.0f))) << "its digits change every frame";

    theMessageHandler.HandleMessage(hWnd, WM_PAINT, 0, 0);
    EXPECT_TRUE(IsWhole(GameFrame())) << "the window was spoiled";
    theGame->SetMode(MODE_TITLE);
    EXPECT_TRUE(IsWhole(GameFrame()));
    EXPECT_FALSE(Holds(GameFrame(), Vec2f(640.0f, 480.0f))) << "the title stands still";
}

TEST_F(GameRedraw, WhereTheBackBufferIsNotKeptEveryFrameIsWhole)
{
    setenv("PINWHIRL_BACK_BUFFER", "discarded", 1);
    StartAiming();
    unsetenv("PINWHIRL_BACK_BUFFER");
    EXPECT_FALSE(theVideoSystem.IsBackBufferKept());
    Frames(3);
    Press(VK_SPACE);
    for (int frame = 0; frame < 4; ++frame) EXPECT_TRUE(IsWhole(GameFrame()));
}

TEST(FrameDamageRects, NearRectanglesBecomeOneAndNoMoreThanTheMostArePassesOfTheirOwn)
{
    // Far apart, each is a pass of its own; overlapping or close, one; empty ones go.
    const PixelRect ball(100, 100, 140, 140), panel(1040, 360, 1280, 490);
    EXPECT_EQ(FrameDamage::MergeRects({ball, panel, PixelRect()}, 4, 8000), (std::vector<PixelRect>{ball, panel}));
    const std::vector<PixelRect> near = FrameDamage::MergeRects({ball, PixelRect(130, 130, 170, 170)}, 4, 8000);
    EXPECT_EQ(near, (std::vector<PixelRect>{PixelRect(100, 100, 170, 170)}));
    // Five corners of the window become at most three, every one of them held.
    const std::vector<PixelRect> corners = {PixelRect(0, 0, 10, 10), PixelRect(1270, 0, 1280, 10),
                                            PixelRect(0, 1014, 10, 1024), PixelRect(1270, 1014, 1280, 1024),
                                            PixelRect(600, 500, 610, 510)};
    const std::vector<PixelRect> three = FrameDamage::MergeRects(corners, 3, 0);
    ASSERT_EQ(three.size(), 3u);
    for (const PixelRect& corner : corners) {
        bool held = false;
        for (const PixelRect& rect : three) held = held || rect.Intersection(corner) == corner;
        EXPECT_TRUE(held) << corner.left << ", " << corner.top;
    }
}

// ---------------------------------------------------------------------------
// The trail as drawn.

std::vector<int32_t> Indexes(const TrailStrip& strip)
{
    std::vector<int32_t> indexes;
    for (const TrailStrip::Point& point : strip.GetDrawnPoints()) indexes.push_back(point.index);
    return indexes;
}

TEST(TrailStrip, PointsThatStayWithinAQuarterPixelAreLeftOutButClustersKeepTheirEnds)
{
    TrailStrip strip;
    const std::vector<Vec2f> trail = {{0, 0},        {10, 0}, {10.1f, 0}, {10.2f, 0},
                                      {10.1f, 0.1f}, {20, 0}, {20, 0},    {30, 0}};
    strip.Update(trail);
    // (10.1, 0.1) ends the cluster round (10, 0): the strip leaves it from there, as the trail does.
    EXPECT_EQ(Indexes(strip), (std::vector<int32_t>{0, 1, 4, 5, 6, 7}));
    EXPECT_EQ(strip.GetTotal(), 8);

    // Fed a point at a time, or in pieces, the strip is the same.
    std::mt19937 random(3);
    std::uniform_real_distribution<float> step(-0.4f, 0.4f);
    std::vector<Vec2f> wander = {{500, 500}};
    for (int i = 0; i < 2000; ++i) wander.push_back(wander.back() + Vec2f(step(random), step(random)));
    TrailStrip whole, pieces;
    whole.Update(wander);
    std::vector<Vec2f> growing;
    for (const Vec2f& point : wander) {
        growing.push_back(point);
        if (growing.size() % 7 == 0) pieces.Update(growing);
    }
    pieces.Update(growing);
    EXPECT_EQ(Indexes(pieces), Indexes(whole));
    EXPECT_LT(whole.GetKeptCount(), wander.size());
    EXPECT_EQ(pieces.GetRestarts(), 1);

    // Emptied or replaced, it starts again.
    std::vector<Vec2f> other(3000, Vec2f(1, 1));
    pieces.Update(other);
    EXPECT_EQ(pieces.GetRestarts(), 2);
    EXPECT_EQ(Indexes(pieces), (std::vector<int32_t>{0, 2999}));
}

TEST_F(GameRedraw, AClippedTrailDrawsTheSegmentsThatReachIntoTheBoxInTheirColours)
{
    Start();
    TrailStrip strip;
    std::vector<Vec2f> line;
    for (int k = 0; k < 100; ++k) line.push_back(Vec2f(10.0f * float(k), 500.0f));
    strip.Update(line);
    theRenderer.SetPixelOrtho(false);
    const Rect2f box(300.0f, 400.0f, 350.0f, 600.0f);
    const Feedback clipped = CaptureFeedback([&] { strip.Draw(&box); });
    // Segments from x = 290 to 360 touch it (a line's half width and a pixel).
    EXPECT_EQ(clipped.lines, 7);
    EXPECT_EQ(CaptureFeedback([&] { strip.Draw(nullptr); }).lines, 99);

    // Drawn in pieces or whole, the pixels are the same.
    theRenderer.Clear(Color::BLACK);
    glLineWidth(2);
    theRenderer.SetBlending(Blending::ALPHA);
    strip.Draw(nullptr);
    const Frame whole;
    theRenderer.Clear(Color::BLACK);
    const Rect2f left(0.0f, 0.0f, 400.0f, 1024.0f), right(400.0f, 0.0f, 1280.0f, 1024.0f);
    theRenderer.SetScissor(Vec2i(0, 0), Vec2i(400, 1024));
    strip.Draw(&left);
    theRenderer.SetScissor(Vec2i(400, 0), Vec2i(880, 1024));
    strip.Draw(&right);
    theRenderer.SetFullWindowScissor();
    glLineWidth(1);
    const Frame pieces;
    EXPECT_EQ(whole.BottomUpRgba(), pieces.BottomUpRgba());
    EXPECT_TRUE(SameRgb(whole.At(985, 500), Color::WHITE, 6)) << "the newest end nearly white";
    EXPECT_LT(whole.At(100, 500).g + 100, whole.At(985, 500).g) << "ninety points back, green is fading";
}

}  // namespace
