// The message queue, window creation with its synchronous messages, the window
// rectangles, the cursor and message boxes.
#include "PlatformTestWindow.h"
#include "TestSupport.h"

#include <chrono>

namespace {
const UINT WM_USER_TEST_A = 0x0400 + 1;  // WM_USER + n
const UINT WM_USER_TEST_B = 0x0400 + 2;
}  // namespace

using PlatformWindowMessagesTest = PlatformWindowTest;

TEST_F(PlatformWindowMessagesTest, PostedMessagesComeInOrderAndQuitComesLast)
{
    PostMessageA(hWnd, WM_USER_TEST_A, 1, 2);
    PostQuitMessage(7);
    PostMessageA(nullptr, WM_USER_TEST_B, 3, 4);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER_TEST_A));
    EXPECT_EQ(msg.hwnd, hWnd);
    EXPECT_EQ(msg.wParam, 1u);
    EXPECT_EQ(msg.lParam, 2);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER_TEST_B));
    EXPECT_EQ(msg.hwnd, nullptr);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 7u);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(PlatformWindowMessagesTest, DispatchCallsTheClassProcedure)
{
    PostMessageA(hWnd, WM_USER_TEST_A, 5, 6);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_FALSE(WasRecorded(WM_USER_TEST_A));
    DispatchMessageA(&msg);
    ASSERT_EQ(RecordedMessages().size(), 1u);
    EXPECT_EQ(RecordedMessages()[0].hWnd, hWnd);
    EXPECT_EQ(RecordedMessages()[0].message, static_cast<UINT>(WM_USER_TEST_A));
    EXPECT_EQ(RecordedMessages()[0].wParam, 5u);
    EXPECT_EQ(RecordedMessages()[0].lParam, 6);
}

TEST_F(PlatformWindowMessagesTest, CloseBoxPostsCloseAndDefaultHandlingDestroys)
{
    SDL_Event close;
    SDL_zero(close);
    close.type = SDL_WINDOWEVENT;
    close.window.event = SDL_WINDOWEVENT_CLOSE;
    close.window.windowID = 0;  // not one of ours: ignored
    PushSdlEvent(close);
    EXPECT_TRUE(DrainQueue().empty());

    // The program consumes WM_CLOSE; DefWindowProcA would destroy the window.
    PostMessageA(hWnd, WM_CLOSE, 0, 0);
    for (const MSG& msg : DrainQueue()) DispatchMessageA(&msg);
    EXPECT_TRUE(WasRecorded(WM_CLOSE));
    EXPECT_FALSE(WasRecorded(WM_DESTROY));
    DefWindowProcA(hWnd, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WasRecorded(WM_DESTROY));
    RECT rect;
    EXPECT_FALSE(GetWindowRect(hWnd, &rect));  // the handle is gone
}

TEST_F(PlatformWindowMessagesTest, SdlCloseAndFocusEventsBecomeMessages)
{
    SDL_Event event;
    SDL_zero(event);
    event.type = SDL_WINDOWEVENT;
    event.window.windowID = TheSdlWindowId();
    event.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
    PushSdlEvent(event);
    event.window.event = SDL_WINDOWEVENT_FOCUS_GAINED;
    PushSdlEvent(event);
    event.window.event = SDL_WINDOWEVENT_CLOSE;
    PushSdlEvent(event);
    const std::vector<MSG> queued = DrainQueue();
    ASSERT_EQ(queued.size(), 1u);
    EXPECT_EQ(queued[0].message, static_cast<UINT>(WM_CLOSE));
    EXPECT_EQ(queued[0].hwnd, hWnd);
    // Activation changes are sent: the procedure had them inside PeekMessageA.
    std::vector<WPARAM> activations;
    for (const RecordedMessage& m : RecordedMessages()) {
        if (m.message == WM_ACTIVATEAPP) activations.push_back(m.wParam);
    }
    ASSERT_EQ(activations.size(), 2u);
    EXPECT_EQ(activations[0], 0u);
    EXPECT_EQ(activations[1], 1u);
}

TEST_F(PlatformWindowMessagesTest, ShowWindowAcceptsANullWindow)
{
    EXPECT_FALSE(ShowWindow(nullptr, SW_HIDE));
    EXPECT_TRUE(ShowWindow(hWnd, SW_HIDE));  // it was visible
    EXPECT_FALSE(ShowWindow(hWnd, SW_HIDE));
    // Hiding the application's only window hands activation elsewhere.
    ASSERT_TRUE(WasRecorded(WM_ACTIVATEAPP));
    EXPECT_EQ(RecordedMessages().back().message, static_cast<UINT>(WM_KILLFOCUS));
}

TEST(PlatformWindowCreation, MoveAndActivationArriveSynchronously)
{
    PlatformResetForTesting();
    RecordedMessages().clear();
    ASSERT_NE(RegisterTestClass(), 0);
    EXPECT_EQ(RegisterTestClass(), 0);  // the class exists already
    HWND hWnd = CreateTestWindow();
    ASSERT_NE(hWnd, nullptr);
    // Inside CreateWindowExA: WM_CREATE, WM_SIZE and WM_MOVE with the client origin.
    ASSERT_GE(RecordedMessages().size(), 3u);
    EXPECT_EQ(RecordedMessages()[0].message, static_cast<UINT>(WM_CREATE));
    EXPECT_EQ(RecordedMessages()[1].message, static_cast<UINT>(WM_SIZE));
    EXPECT_EQ(RecordedMessages()[1].lParam, MAKELPARAM(320, 240));
    EXPECT_EQ(RecordedMessages()[2].message, static_cast<UINT>(WM_MOVE));
    EXPECT_EQ(RecordedMessages()[2].lParam, MAKELPARAM(100, 50));
    EXPECT_FALSE(WasRecorded(WM_ACTIVATEAPP));

    // Inside ShowWindow: the application is activated, before any message is taken.
    ShowWindow(hWnd, SW_SHOWNORMAL);
    ASSERT_EQ(CountRecorded(WM_ACTIVATEAPP), 1);
    size_t activateApp = 0, activate = 0, setFocus = 0;
    for (size_t i = 0; i < RecordedMessages().size(); ++i) {
        const RecordedMessage& m = RecordedMessages()[i];
        if (m.message == WM_ACTIVATEAPP) {
            activateApp = i;
            EXPECT_EQ(m.wParam, 1u);
        }
        if (m.message == WM_ACTIVATE) activate = i;
        if (m.message == WM_SETFOCUS) setFocus = i;
    }
    EXPECT_LT(activateApp, activate);
    EXPECT_LT(activate, setFocus);
    SetForegroundWindow(hWnd);
    SetFocus(hWnd);
    for (const MSG& msg : DrainQueue()) DispatchMessageA(&msg);
    EXPECT_EQ(CountRecorded(WM_ACTIVATEAPP), 1);  // already active: nothing new
    EXPECT_EQ(CountRecorded(WM_MOVE), 1);
    PlatformResetForTesting();
}

TEST(PlatformWindowCreation, UnknownClassGivesNoWindow)
{
    PlatformResetForTesting();
    EXPECT_EQ(CreateWindowExA(0, "No such class", "x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr),
              nullptr);
}

TEST(PlatformWindowRects, AdjustWindowRectExAddsAFixedFrameForCaptionWindowsOnly)
{
    RECT rect = {0, 0, 640, 480};
    ASSERT_TRUE(AdjustWindowRectEx(&rect, WS_CAPTION | WS_SYSMENU, FALSE, WS_EX_APPWINDOW));
    EXPECT_EQ(rect.left, -3);
    EXPECT_EQ(rect.top, -29);
    EXPECT_EQ(rect.right, 643);
    EXPECT_EQ(rect.bottom, 483);
    RECT popup = {0, 0, 640, 480};
    ASSERT_TRUE(AdjustWindowRectEx(&popup, WS_POPUP, FALSE, WS_EX_APPWINDOW));
    EXPECT_EQ(popup.left, 0);
    EXPECT_EQ(popup.top, 0);
    EXPECT_EQ(popup.right, 640);
    EXPECT_EQ(popup.bottom, 480);
}

TEST_F(PlatformWindowMessagesTest, GetWindowRectGivesTheWindowAndTheDesktop)
{
    RECT rect;
    ASSERT_TRUE(GetWindowRect(hWnd, &rect));
    EXPECT_EQ(rect.left, 97);
    EXPECT_EQ(rect.top, 21);
    EXPECT_EQ(rect.right, 423);
    EXPECT_EQ(rect.bottom, 293);

    RECT desktop;
    ASSERT_TRUE(GetWindowRect(GetDesktopWindow(), &desktop));
    SDL_Rect bounds;
    ASSERT_EQ(SDL_GetDisplayBounds(0, &bounds), 0);
    EXPECT_EQ(desktop.right - desktop.left, bounds.w);
    EXPECT_EQ(desktop.bottom - desktop.top, bounds.h);

    const RECT fake = {10, 20, 1290, 1044};
    PlatformSetDesktopRectForTesting(&fake);
    ASSERT_TRUE(GetWindowRect(GetDesktopWindow(), &desktop));
    EXPECT_EQ(desktop.left, 10);
    EXPECT_EQ(desktop.bottom, 1044);
    PlatformSetDesktopRectForTesting(nullptr);
    ASSERT_TRUE(GetWindowRect(GetDesktopWindow(), &desktop));
    EXPECT_EQ(desktop.right - desktop.left, bounds.w);
}

TEST_F(PlatformWindowMessagesTest, MovedWindowSendsItsClientOrigin)
{
    SDL_Event moved;
    SDL_zero(moved);
    moved.type = SDL_WINDOWEVENT;
    moved.window.event = SDL_WINDOWEVENT_MOVED;
    moved.window.windowID = TheSdlWindowId();
    moved.window.data1 = -20;
    moved.window.data2 = 300;
    PushSdlEvent(moved);
    MSG msg;
    // A sent message: the procedure has it from within PeekMessageA.
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    ASSERT_EQ(CountRecorded(WM_MOVE), 1);
    const LPARAM lParam = RecordedMessages().back().lParam;
    EXPECT_EQ(static_cast<short>(LOWORD(lParam)), -20);
    EXPECT_EQ(static_cast<short>(HIWORD(lParam)), 300);
}

TEST(PlatformCursor, PositionIsKeptAndTheCounterCounts)
{
    ASSERT_TRUE(SetCursorPos(321, 123));
    POINT point;
    ASSERT_TRUE(GetCursorPos(&point));
    EXPECT_EQ(point.x, 321);
    EXPECT_EQ(point.y, 123);
    ASSERT_TRUE(SetCursorPos(0, 0));
    ASSERT_TRUE(GetCursorPos(&point));
    EXPECT_EQ(point.x, 0);

    const int start = ShowCursor(TRUE) - 1;
    EXPECT_EQ(ShowCursor(FALSE), start);
    EXPECT_EQ(ShowCursor(FALSE), start - 1);
    EXPECT_EQ(ShowCursor(FALSE), start - 2);
    EXPECT_EQ(ShowCursor(TRUE), start - 1);
    EXPECT_EQ(ShowCursor(TRUE), start);
    EXPECT_EQ(start, 0);  // a mouse is there: the counter starts at 0
}

TEST(PlatformMessageBox, WritesCaptionAndTextToStderrWithoutWaiting)
{
    int result = 0;
    const auto begin = std::chrono::steady_clock::now();
    const std::string output = CaptureDebugOutput([&] {
        result = MessageBoxA(nullptr, "Something\nhappened.", "Pinwhirl : Program Error", MB_OK | MB_ICONERROR);
    });
    EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(5));
    EXPECT_EQ(result, IDOK);
    EXPECT_NE(output.find("Pinwhirl : Program Error"), std::string::npos);
    EXPECT_NE(output.find("Something\nhappened."), std::string::npos);
}

TEST(PlatformIcons, StockIconAndCursorExist)
{
    EXPECT_NE(LoadIconA(nullptr, IDI_APPLICATION), nullptr);
    EXPECT_NE(LoadCursorA(nullptr, IDC_ARROW), nullptr);
}
