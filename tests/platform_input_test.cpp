// SDL keyboard and mouse events become window messages built as Win32 builds them.
#include "PlatformTestWindow.h"

namespace {

SDL_Event KeyEvent(Uint32 type, SDL_Scancode scancode, bool repeat = false, Uint16 mod = KMOD_NONE)
{
    SDL_Event event;
    SDL_zero(event);
    event.type = type;
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.repeat = repeat ? 1 : 0;
    event.key.keysym.scancode = scancode;
    event.key.keysym.mod = mod;
    return event;
}

SDL_Event ButtonEvent(Uint32 type, Uint8 button, Uint8 clicks, int x, int y)
{
    SDL_Event event;
    SDL_zero(event);
    event.type = type;
    event.button.button = button;
    event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.button.clicks = clicks;
    event.button.x = x;
    event.button.y = y;
    return event;
}

SDL_Event WheelEvent(float preciseY)
{
    SDL_Event event;
    SDL_zero(event);
    event.type = SDL_MOUSEWHEEL;
    event.wheel.y = static_cast<Sint32>(preciseY);
    event.wheel.preciseY = preciseY;
    event.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
    return event;
}

// The one message a single SDL key event gives.
MSG TranslateOneKey(const SDL_Event& event)
{
    PushSdlEvent(event);
    const std::vector<MSG> messages = DrainQueue();
    EXPECT_EQ(messages.size(), 1u);
    return messages.empty() ? MSG{} : messages[0];
}

using PlatformInputTest = PlatformWindowTest;

struct KeySample {
    SDL_Scancode scancode;
    UINT vk;
    UINT scanCode;
    bool extended;
};

}  // namespace

TEST_F(PlatformInputTest, PhysicalKeysGiveUsLayoutVirtualKeys)
{
    const KeySample samples[] = {
        {SDL_SCANCODE_A, 'A', 0x1E, false},
        {SDL_SCANCODE_Z, 'Z', 0x2C, false},
        {SDL_SCANCODE_0, '0', 0x0B, false},
        {SDL_SCANCODE_9, '9', 0x0A, false},
        {SDL_SCANCODE_SPACE, VK_SPACE, 0x39, false},
        {SDL_SCANCODE_RETURN, VK_RETURN, 0x1C, false},
        {SDL_SCANCODE_ESCAPE, VK_ESCAPE, 0x01, false},
        {SDL_SCANCODE_BACKSPACE, VK_BACK, 0x0E, false},
        {SDL_SCANCODE_TAB, VK_TAB, 0x0F, false},
        {SDL_SCANCODE_DELETE, VK_DELETE, 0x53, true},
        {SDL_SCANCODE_INSERT, VK_INSERT, 0x52, true},
        {SDL_SCANCODE_HOME, VK_HOME, 0x47, true},
        {SDL_SCANCODE_END, VK_END, 0x4F, true},
        {SDL_SCANCODE_PAGEUP, VK_PRIOR, 0x49, true},
        {SDL_SCANCODE_PAGEDOWN, VK_NEXT, 0x51, true},
        {SDL_SCANCODE_LEFT, VK_LEFT, 0x4B, true},
        {SDL_SCANCODE_UP, VK_UP, 0x48, true},
        {SDL_SCANCODE_RIGHT, VK_RIGHT, 0x4D, true},
        {SDL_SCANCODE_DOWN, VK_DOWN, 0x50, true},
        {SDL_SCANCODE_F1, VK_F1, 0x3B, false},
        {SDL_SCANCODE_F11, VK_F11, 0x57, false},
        {SDL_SCANCODE_F12, VK_F12, 0x58, false},
        {SDL_SCANCODE_LSHIFT, VK_SHIFT, 0x2A, false},
        {SDL_SCANCODE_RSHIFT, VK_SHIFT, 0x36, false},
        {SDL_SCANCODE_LCTRL, VK_CONTROL, 0x1D, false},
        {SDL_SCANCODE_RCTRL, VK_CONTROL, 0x1D, true},
        {SDL_SCANCODE_GRAVE, VK_OEM_3, 0x29, false},
        {SDL_SCANCODE_COMMA, VK_OEM_COMMA, 0x33, false},
        {SDL_SCANCODE_PERIOD, VK_OEM_PERIOD, 0x34, false},
        {SDL_SCANCODE_MINUS, VK_OEM_MINUS, 0x0C, false},
        {SDL_SCANCODE_EQUALS, VK_OEM_PLUS, 0x0D, false},
        {SDL_SCANCODE_SEMICOLON, VK_OEM_1, 0x27, false},
        {SDL_SCANCODE_SLASH, VK_OEM_2, 0x35, false},
        {SDL_SCANCODE_LEFTBRACKET, VK_OEM_4, 0x1A, false},
        {SDL_SCANCODE_BACKSLASH, VK_OEM_5, 0x2B, false},
        {SDL_SCANCODE_RIGHTBRACKET, VK_OEM_6, 0x1B, false},
        {SDL_SCANCODE_APOSTROPHE, VK_OEM_7, 0x28, false},
        {SDL_SCANCODE_KP_MINUS, VK_SUBTRACT, 0x4A, false},
        {SDL_SCANCODE_KP_PLUS, VK_ADD, 0x4E, false},
        {SDL_SCANCODE_KP_MULTIPLY, VK_MULTIPLY, 0x37, false},
        {SDL_SCANCODE_KP_DIVIDE, VK_DIVIDE, 0x35, true},
        {SDL_SCANCODE_KP_ENTER, VK_RETURN, 0x1C, true},
    };
    for (const KeySample& sample : samples) {
        SCOPED_TRACE(SDL_GetScancodeName(sample.scancode));
        const MSG down = TranslateOneKey(KeyEvent(SDL_KEYDOWN, sample.scancode));
        EXPECT_EQ(down.message, static_cast<UINT>(WM_KEYDOWN));
        EXPECT_EQ(down.hwnd, hWnd);
        EXPECT_EQ(down.wParam, sample.vk);
        const LPARAM expected = 1 | (sample.scanCode << 16) | (sample.extended ? 1 << 24 : 0);
        EXPECT_EQ(down.lParam, expected);
        const MSG up = TranslateOneKey(KeyEvent(SDL_KEYUP, sample.scancode));
        EXPECT_EQ(up.message, static_cast<UINT>(WM_KEYUP));
        EXPECT_EQ(up.wParam, sample.vk);
    }
}

TEST_F(PlatformInputTest, KeypadDigitsFollowNumLock)
{
    EXPECT_EQ(TranslateOneKey(KeyEvent(SDL_KEYDOWN, SDL_SCANCODE_KP_7, false, KMOD_NUM)).wParam,
              static_cast<WPARAM>(VK_NUMPAD7));
    TranslateOneKey(KeyEvent(SDL_KEYUP, SDL_SCANCODE_KP_7, false, KMOD_NUM));
    EXPECT_EQ(TranslateOneKey(KeyEvent(SDL_KEYDOWN, SDL_SCANCODE_KP_0, false, KMOD_NUM)).wParam,
              static_cast<WPARAM>(VK_NUMPAD0));
    TranslateOneKey(KeyEvent(SDL_KEYUP, SDL_SCANCODE_KP_0, false, KMOD_NUM));
    EXPECT_EQ(TranslateOneKey(KeyEvent(SDL_KEYDOWN, SDL_SCANCODE_KP_7)).wParam, static_cast<WPARAM>(VK_HOME));
    TranslateOneKey(KeyEvent(SDL_KEYUP, SDL_SCANCODE_KP_7));
}

TEST_F(PlatformInputTest, AutoRepeatSetsBit30AndKeyUpSetsBits30And31)
{
    const MSG first = TranslateOneKey(KeyEvent(SDL_KEYDOWN, SDL_SCANCODE_SPACE));
    const MSG repeat = TranslateOneKey(KeyEvent(SDL_KEYDOWN, SDL_SCANCODE_SPACE, true));
    const MSG up = TranslateOneKey(KeyEvent(SDL_KEYUP, SDL_SCANCODE_SPACE));
    EXPECT_EQ(first.message, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_EQ(first.lParam & (1 << 30), 0);
    EXPECT_EQ(repeat.message, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_NE(repeat.lParam & (1 << 30), 0);
    EXPECT_EQ(repeat.lParam & 0xFFFF, 1);  // repeat count
    EXPECT_EQ(up.message, static_cast<UINT>(WM_KEYUP));
    EXPECT_EQ(static_cast<DWORD>(up.lParam), 0xC0390001u);
}

TEST_F(PlatformInputTest, AltCombinationsAreSystemKeys)
{
    const MSG alt = TranslateOneKey(KeyEvent(SDL_KEYDOWN, SDL_SCANCODE_LALT));
    EXPECT_EQ(alt.message, static_cast<UINT>(WM_SYSKEYDOWN));
    EXPECT_EQ(alt.wParam, static_cast<WPARAM>(VK_MENU));
    const MSG f4 = TranslateOneKey(KeyEvent(SDL_KEYDOWN, SDL_SCANCODE_F4));
    EXPECT_EQ(f4.message, static_cast<UINT>(WM_SYSKEYDOWN));
    EXPECT_EQ(f4.wParam, static_cast<WPARAM>(VK_F4));
    EXPECT_NE(f4.lParam & (1 << 29), 0);  // context code: Alt is down
    const MSG f4Up = TranslateOneKey(KeyEvent(SDL_KEYUP, SDL_SCANCODE_F4));
    EXPECT_EQ(f4Up.message, static_cast<UINT>(WM_SYSKEYUP));
    const MSG altUp = TranslateOneKey(KeyEvent(SDL_KEYUP, SDL_SCANCODE_LALT));
    EXPECT_EQ(altUp.message, static_cast<UINT>(WM_SYSKEYUP));
    const MSG plain = TranslateOneKey(KeyEvent(SDL_KEYDOWN, SDL_SCANCODE_F4));
    EXPECT_EQ(plain.message, static_cast<UINT>(WM_KEYDOWN));
    TranslateOneKey(KeyEvent(SDL_KEYUP, SDL_SCANCODE_F4));
    const MSG f10 = TranslateOneKey(KeyEvent(SDL_KEYDOWN, SDL_SCANCODE_F10));
    EXPECT_EQ(f10.message, static_cast<UINT>(WM_SYSKEYDOWN));
    EXPECT_EQ(TranslateOneKey(KeyEvent(SDL_KEYUP, SDL_SCANCODE_F10)).message, static_cast<UINT>(WM_SYSKEYUP));
}

TEST_F(PlatformInputTest, AltF4ReachingDefaultHandlingSendsClose)
{
    PushSdlEvent(KeyEvent(SDL_KEYDOWN, SDL_SCANCODE_LALT));
    PushSdlEvent(KeyEvent(SDL_KEYDOWN, SDL_SCANCODE_F4));
    for (const MSG& msg : DrainQueue()) DispatchMessageA(&msg);
    EXPECT_EQ(CountRecorded(WM_CLOSE), 1);
}

TEST_F(PlatformInputTest, TranslateMessagePostsCharacters)
{
    PushSdlEvent(KeyEvent(SDL_KEYDOWN, SDL_SCANCODE_LSHIFT));
    PushSdlEvent(KeyEvent(SDL_KEYDOWN, SDL_SCANCODE_A));
    std::vector<MSG> seen = DrainQueue(true);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[1].wParam, static_cast<WPARAM>('A'));
    EXPECT_EQ(seen[2].message, static_cast<UINT>(WM_CHAR));
    EXPECT_EQ(seen[2].wParam, static_cast<WPARAM>('A'));
    PushSdlEvent(KeyEvent(SDL_KEYUP, SDL_SCANCODE_LSHIFT));
    PushSdlEvent(KeyEvent(SDL_KEYDOWN, SDL_SCANCODE_GRAVE));
    seen = DrainQueue(true);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[2].message, static_cast<UINT>(WM_CHAR));
    EXPECT_EQ(seen[2].wParam, static_cast<WPARAM>('`'));
}

TEST_F(PlatformInputTest, ShiftStaysDownWhileEitherSideIsHeld)
{
    PushSdlEvent(KeyEvent(SDL_KEYDOWN, SDL_SCANCODE_LSHIFT));
    PushSdlEvent(KeyEvent(SDL_KEYDOWN, SDL_SCANCODE_RSHIFT));
    PushSdlEvent(KeyEvent(SDL_KEYUP, SDL_SCANCODE_LSHIFT));
    PushSdlEvent(KeyEvent(SDL_KEYDOWN, SDL_SCANCODE_A));
    PushSdlEvent(ButtonEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1, 3, 4));
    std::vector<MSG> seen = DrainQueue(true);
    ASSERT_EQ(seen.size(), 6u);
    // The right Shift's press is a first press of that key, not a repeat of the left one.
    EXPECT_EQ(seen[1].lParam & (1 << 30), 0);
    EXPECT_EQ(seen[4].message, static_cast<UINT>(WM_CHAR));
    EXPECT_EQ(seen[4].wParam, static_cast<WPARAM>('A'));
    EXPECT_EQ(seen[5].message, static_cast<UINT>(WM_LBUTTONDOWN));
    EXPECT_EQ(seen[5].wParam, static_cast<WPARAM>(MK_LBUTTON | MK_SHIFT));

    PushSdlEvent(KeyEvent(SDL_KEYUP, SDL_SCANCODE_RSHIFT));
    PushSdlEvent(ButtonEvent(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 1, 3, 4));
    const std::vector<MSG> after = DrainQueue();
    ASSERT_EQ(after.size(), 2u);
    EXPECT_EQ(after[1].wParam, 0u) << "both Shift keys are up";
}

TEST_F(PlatformInputTest, ButtonsGiveClientPositionAndMouseKeyFlags)
{
    PushSdlEvent(ButtonEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1, 12, 34));
    PushSdlEvent(ButtonEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 1, 12, 34));
    PushSdlEvent(ButtonEvent(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 1, 13, 35));
    PushSdlEvent(ButtonEvent(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 1, 14, 36));
    PushSdlEvent(ButtonEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 1, 1, 2));
    PushSdlEvent(ButtonEvent(SDL_MOUSEBUTTONUP, SDL_BUTTON_MIDDLE, 1, 1, 2));
    const std::vector<MSG> m = DrainQueue();
    ASSERT_EQ(m.size(), 6u);
    EXPECT_EQ(m[0].message, static_cast<UINT>(WM_LBUTTONDOWN));
    EXPECT_EQ(m[0].wParam, static_cast<WPARAM>(MK_LBUTTON));
    EXPECT_EQ(m[0].lParam, MAKELPARAM(12, 34));
    EXPECT_EQ(m[1].message, static_cast<UINT>(WM_RBUTTONDOWN));
    EXPECT_EQ(m[1].wParam, static_cast<WPARAM>(MK_LBUTTON | MK_RBUTTON));
    EXPECT_EQ(m[2].message, static_cast<UINT>(WM_RBUTTONUP));
    EXPECT_EQ(m[2].wParam, static_cast<WPARAM>(MK_LBUTTON));
    EXPECT_EQ(m[2].lParam, MAKELPARAM(13, 35));
    EXPECT_EQ(m[3].message, static_cast<UINT>(WM_LBUTTONUP));
    EXPECT_EQ(m[3].wParam, 0u);
    EXPECT_EQ(m[4].message, static_cast<UINT>(WM_MBUTTONDOWN));
    EXPECT_EQ(m[4].wParam, static_cast<WPARAM>(MK_MBUTTON));
    EXPECT_EQ(m[5].message, static_cast<UINT>(WM_MBUTTONUP));
}

TEST_F(PlatformInputTest, SecondClickIsADoubleClickWhenTheClassAsksForIt)
{
    PushSdlEvent(ButtonEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1, 5, 5));
    PushSdlEvent(ButtonEvent(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 1, 5, 5));
    PushSdlEvent(ButtonEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 2, 5, 5));
    PushSdlEvent(ButtonEvent(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 2, 5, 5));
    PushSdlEvent(ButtonEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 3, 5, 5));
    PushSdlEvent(ButtonEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 2, 5, 5));
    const std::vector<MSG> m = DrainQueue();
    ASSERT_EQ(m.size(), 6u);
    EXPECT_EQ(m[0].message, static_cast<UINT>(WM_LBUTTONDOWN));
    EXPECT_EQ(m[1].message, static_cast<UINT>(WM_LBUTTONUP));
    EXPECT_EQ(m[2].message, static_cast<UINT>(WM_LBUTTONDBLCLK));
    EXPECT_EQ(m[2].wParam, static_cast<WPARAM>(MK_LBUTTON));
    EXPECT_EQ(m[3].message, static_cast<UINT>(WM_LBUTTONUP));
    EXPECT_EQ(m[4].message, static_cast<UINT>(WM_LBUTTONDOWN));  // a third click starts anew
    EXPECT_EQ(m[5].message, static_cast<UINT>(WM_RBUTTONDBLCLK));
}

TEST(PlatformInputWithoutDblClks, SecondClickIsAPlainButtonDown)
{
    PlatformResetForTesting();
    ASSERT_NE(RegisterTestClass(CS_OWNDC, "No double clicks"), 0);
    HWND hWnd = CreateTestWindow("No double clicks");
    ASSERT_NE(hWnd, nullptr);
    ShowWindow(hWnd, SW_SHOWNORMAL);
    DrainQueue();
    PushSdlEvent(ButtonEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 2, 5, 5));
    const std::vector<MSG> m = DrainQueue();
    ASSERT_EQ(m.size(), 1u);
    EXPECT_EQ(m[0].message, static_cast<UINT>(WM_LBUTTONDOWN));
    PlatformResetForTesting();
}

TEST_F(PlatformInputTest, WheelGives120PerNotchAndFractions)
{
    SetCursorPos(150, 70);
    PushSdlEvent(WheelEvent(2.0f));
    PushSdlEvent(WheelEvent(-1.0f));
    PushSdlEvent(WheelEvent(0.5f));
    const std::vector<MSG> m = DrainQueue();
    ASSERT_EQ(m.size(), 3u);
    for (const MSG& msg : m) EXPECT_EQ(msg.message, static_cast<UINT>(WM_MOUSEWHEEL));
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(m[0].wParam), 240);
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(m[1].wParam), -120);
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(m[2].wParam), 60);
    EXPECT_EQ(LOWORD(m[0].wParam), 0);            // no buttons or keys held
    EXPECT_EQ(m[0].lParam, MAKELPARAM(150, 70));  // the cursor in screen coordinates
}

TEST_F(PlatformInputTest, MouseMotionMovesTheCursorAndGivesOneMouseMove)
{
    SDL_Event motion;
    SDL_zero(motion);
    motion.type = SDL_MOUSEMOTION;
    motion.motion.windowID = 0;
    for (int i = 1; i <= 3; ++i) {
        motion.motion.x = 10 * i;
        motion.motion.y = 20 * i;
        PushSdlEvent(motion);
    }
    // Windows keeps only the newest of a run of mouse moves.
    const std::vector<MSG> m = DrainQueue();
    ASSERT_EQ(m.size(), 1u);
    EXPECT_EQ(m[0].message, static_cast<UINT>(WM_MOUSEMOVE));
    EXPECT_EQ(m[0].lParam, MAKELPARAM(30, 60));
    POINT cursor;
    ASSERT_TRUE(GetCursorPos(&cursor));
    EXPECT_EQ(cursor.x, 100 + 30);  // the client area starts at screen (100, 50)
    EXPECT_EQ(cursor.y, 50 + 60);
}
