#include <gtest/gtest.h>

#include <PlatformTesting.h>

#include <algorithm>
#include <vector>

#include "Engine/TheApplication.h"
#include "Engine/TheInputSystem.h"
#include "Engine/TheMessageHandler.h"
#include "Engine/TheVideoSystem.h"
#include "EngineTestGame.h"
#include "TestSupport.h"

namespace {

std::vector<UINT> s_defaultHandled;
void RecordDefaultHandling(UINT message, WPARAM)
{
    s_defaultHandled.push_back(message);
}

using Event = std::pair<int32_t, int>;

// The engine runs with its real window; messages are posted to it and pumped
// the way the main loop does.
class InputTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        StartEngineForTest();
        hWnd = TheVideoSystem::GetHWnd();
        ASSERT_NE(hWnd, nullptr);
        Pump();
        theTestGame.events.clear();
        s_defaultHandled.clear();
        PlatformSetDefWindowProcObserverForTesting(RecordDefaultHandling);
    }
    void TearDown() override
    {
        PlatformSetDefWindowProcObserverForTesting(nullptr);
        StopEngineForTest();
    }

    void Post(UINT message, WPARAM wParam, LPARAM lParam)
    {
        PostMessageA(hWnd, message, wParam, lParam);
        Pump();
    }
    void Pump() { PumpMessages(); }
    static LPARAM KeyDownLParam(bool repeat) { return 1 | (repeat ? (1 << 30) : 0); }
    static LPARAM KeyUpLParam() { return static_cast<LPARAM>(1 | (1u << 30) | (1u << 31)); }

    HWND hWnd = nullptr;
};

}  // namespace

TEST_F(InputTest, HeldKeyPressesRepeatsAndReleases)
{
    Post(WM_KEYDOWN, 'A', KeyDownLParam(false));
    EXPECT_TRUE(theInputSystem.IsKeyDown('A'));
    Post(WM_KEYDOWN, 'A', KeyDownLParam(true));
    Post(WM_KEYDOWN, 'A', KeyDownLParam(true));
    EXPECT_TRUE(theInputSystem.IsKeyDown('A'));
    Post(WM_KEYUP, 'A', KeyUpLParam());
    EXPECT_FALSE(theInputSystem.IsKeyDown('A'));
    EXPECT_EQ(theTestGame.events,
              (std::vector<Event>{{KEY_PRESSED, 'A'}, {KEY_REPEATED, 'A'}, {KEY_REPEATED, 'A'}, {KEY_RELEASED, 'A'}}));
    EXPECT_TRUE(theInputSystem.IsKeyDown(0x100 + 'A') == theInputSystem.IsKeyDown('A'));  // only the low 8 bits count
}

TEST_F(InputTest, DoubleClickIsPressReleaseRepeatRelease)
{
    std::vector<bool> downAfterEach;
    for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}) {
        Post(message, 0, MAKELPARAM(10, 20));
        downAfterEach.push_back(theInputSystem.IsKeyDown(VK_LBUTTON));
    }
    EXPECT_EQ(theTestGame.events,
              (std::vector<Event>{{KEY_PRESSED, 1}, {KEY_RELEASED, 1}, {KEY_REPEATED, 1}, {KEY_RELEASED, 1}}));
    EXPECT_EQ(downAfterEach, (std::vector<bool>{true, false, true, false}));
}

TEST_F(InputTest, RightAndMiddleButtonsUseCodesTwoAndFour)
{
    for (UINT message :
         {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDBLCLK, WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MBUTTONDBLCLK}) {
        Post(message, 0, 0);
    }
    EXPECT_EQ(theTestGame.events, (std::vector<Event>{{KEY_PRESSED, 2},
                                                      {KEY_RELEASED, 2},
                                                      {KEY_REPEATED, 2},
                                                      {KEY_PRESSED, 4},
                                                      {KEY_RELEASED, 4},
                                                      {KEY_REPEATED, 4}}));
    EXPECT_TRUE(theInputSystem.IsKeyDown(VK_MBUTTON));
    EXPECT_TRUE(theInputSystem.IsKeyDown(VK_RBUTTON));
}

TEST_F(InputTest, WheelNotchesBecomeCodes)
{
    Post(WM_MOUSEWHEEL, MAKEWPARAM(0, 240), 0);
    Post(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
    Post(WM_MOUSEWHEEL, MAKEWPARAM(0, 60), 0);
    Post(WM_MOUSEWHEEL, MAKEWPARAM(0, 0), 0);  // no event at all
    EXPECT_EQ(theTestGame.events, (std::vector<Event>{{WHEEL_FORWARD, 2}, {WHEEL_BACKWARD, 1}, {WHEEL_FORWARD, 0}}));
}

TEST_F(InputTest, SystemKeysAndCharactersNeverReachTheGame)
{
    Post(WM_SYSKEYDOWN, VK_F10, KeyDownLParam(false));
    Post(WM_SYSKEYUP, VK_F10, KeyUpLParam());
    Post(WM_CHAR, 'a', 1);
    Post(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(theTestGame.events.empty());
    EXPECT_FALSE(theInputSystem.IsKeyDown(VK_F10));
    EXPECT_EQ(s_defaultHandled, (std::vector<UINT>{WM_SYSKEYDOWN, WM_SYSKEYUP, WM_CHAR, WM_MOUSEMOVE}));
}

TEST_F(InputTest, ConsumedKeysSkipDefaultHandling)
{
    theTestGame.consumeEvents = true;
    Post(WM_KEYDOWN, VK_SPACE, KeyDownLParam(false));
    Post(WM_LBUTTONDOWN, 0, 0);
    // The character message that TranslateMessage made of the key is not the game's business.
    s_defaultHandled.erase(std::remove(s_defaultHandled.begin(), s_defaultHandled.end(), static_cast<UINT>(WM_CHAR)),
                           s_defaultHandled.end());
    EXPECT_TRUE(s_defaultHandled.empty());

    theTestGame.consumeEvents = false;
    Post(WM_KEYUP, VK_SPACE, KeyUpLParam());
    EXPECT_EQ(s_defaultHandled, (std::vector<UINT>{WM_KEYUP}));
}

TEST_F(InputTest, CloseIsConsumedAndRequestsShutdown)
{
    // A game may keep the program running, and the window stays.
    theTestGame.keepOpen = true;
    Post(WM_CLOSE, 0, 0);
    EXPECT_FALSE(theApplication.IsShutdownRequested());
    EXPECT_TRUE(s_defaultHandled.empty());

    theTestGame.keepOpen = false;
    Post(WM_CLOSE, 0, 0);
    EXPECT_TRUE(theApplication.IsShutdownRequested());
    EXPECT_TRUE(s_defaultHandled.empty());
}

TEST_F(InputTest, MoveUpdatesTheClientOrigin)
{
    Post(WM_MOVE, 0, MAKELPARAM(static_cast<WORD>(-8), 30));
    EXPECT_EQ(theVideoSystem.GetClientOrigin(), Vec2i(-8, 30));
    int x = 0, y = 0;
    theVideoSystem.ScreenToClient(100, 100, x, y);
    EXPECT_EQ(x, 108);
    EXPECT_EQ(y, 70);
}

TEST_F(InputTest, MouseDeltaWhileVisibleFollowsTheCursor)
{
    SetCursorPos(200, 150);
    theInputSystem.Update();
    SetCursorPos(215, 140);
    theInputSystem.Update();
    EXPECT_EQ(theInputSystem.GetMouseDelta(), Vec2i(15, -10));
    theInputSystem.Update();
    EXPECT_EQ(theInputSystem.GetMouseDelta(), Vec2i(0, 0));
    const Vec2i origin = theVideoSystem.GetClientOrigin();
    EXPECT_EQ(theInputSystem.GetMousePosition(), Vec2i(215 - origin.x, 140 - origin.y));
}

TEST_F(InputTest, HiddenCursorIsRecentredAndShownWhereItWasHidden)
{
    SetCursorPos(100, 90);
    theInputSystem.Update();
    theInputSystem.SetCursorVisible(false);
    POINT p;
    GetCursorPos(&p);
    SetCursorPos(p.x + 10, p.y);
    theInputSystem.Update();
    EXPECT_EQ(theInputSystem.GetMouseDelta(), Vec2i(10, 0));
    GetCursorPos(&p);
    EXPECT_EQ(p.x, theVideoSystem.GetWidth() / 2);
    EXPECT_EQ(p.y, theVideoSystem.GetHeight() / 2);

    SetCursorPos(p.x - 4, p.y + 7);
    theInputSystem.Update();
    EXPECT_EQ(theInputSystem.GetMouseDelta(), Vec2i(-4, 7));

    theInputSystem.SetCursorVisible(true);
    GetCursorPos(&p);
    EXPECT_EQ(p.x, 100);
    EXPECT_EQ(p.y, 90);
}

TEST_F(InputTest, HidingTwiceThenShowingOnceLeavesTheCursorVisible)
{
    theInputSystem.SetCursorVisible(false);
    theInputSystem.SetCursorVisible(false);
    theInputSystem.SetCursorVisible(true);
    EXPECT_TRUE(theInputSystem.IsCursorVisible());
    // The platform's display counter is back at 0: one more hide makes it -1.
    EXPECT_EQ(ShowCursor(FALSE), -1);
    EXPECT_EQ(ShowCursor(TRUE), 0);
}

TEST_F(InputTest, NoTrackingWhileDeactivated)
{
    Post(WM_ACTIVATEAPP, 0, 0);
    SetCursorPos(300, 300);
    theInputSystem.Update();
    EXPECT_EQ(theInputSystem.GetMouseDelta(), Vec2i(0, 0));
    SetCursorPos(310, 305);
    Post(WM_ACTIVATEAPP, 1, 0);  // back: the cursor returns to the anchor
    theInputSystem.Update();
    EXPECT_EQ(theInputSystem.GetMouseDelta(), Vec2i(0, 0));
}

TEST_F(InputTest, FirstActivationMovesTheCursorToTheInitialAnchor)
{
    // The window's first activation happened inside Startup, with the anchor still (0, 0).
    // Nothing has moved the cursor since the fixture started the engine.
    theInputSystem.Update();
    EXPECT_EQ(theInputSystem.GetMouseDelta(), Vec2i(0, 0));
    POINT p;
    GetCursorPos(&p);
    EXPECT_EQ(p.x, 0);
    EXPECT_EQ(p.y, 0);
}

TEST_F(InputTest, ShutdownShowsAHiddenCursor)
{
    theInputSystem.SetCursorVisible(false);
    StopEngineForTest();
    EXPECT_TRUE(theInputSystem.IsCursorVisible());
    EXPECT_EQ(ShowCursor(FALSE), -1);
    ShowCursor(TRUE);
    // TearDown's stop is harmless: the application is already shut down.
}
