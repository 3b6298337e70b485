// The script driver: parsing, events after the N-th swap, screenshots, dialog
// answers; and the fixed-step clock.
#include <GL/gl.h>
#include <png.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>

#include "PlatformScript.h"
#include "PlatformTestWindow.h"
#include "TestSupport.h"

namespace {

std::string ParseError(const std::string& text)
{
    std::string error;
    EXPECT_FALSE(PlatformLoadScriptText(text, "bad.script", &error)) << text;
    return error;
}

// The script is refused with an error that begins with the reason.
void ExpectRefused(const std::string& text, const std::string& reason)
{
    const std::string error = ParseError(text);
    EXPECT_EQ(error.rfind(reason, 0), 0u) << "script: " << text << "error: " << error;
}

std::string TempPath(const char* name)
{
    return std::string("/tmp/pinwhirl_platform_") + std::to_string(getpid()) + "_" + name;
}

class PlatformScriptTest : public PlatformWindowTest {
protected:
    void TearDown() override
    {
        PlatformUnloadScript();
        PlatformWindowTest::TearDown();
    }
};

}  // namespace

TEST(PlatformScriptParsing, EveryLineKindParses)
{
    std::string error;
    EXPECT_TRUE(
        PlatformLoadScriptText("# a comment\n"
                               "\n"
                               "dialog 1004 ok\n"
                               "dialog 0x3EA cancel\r\n"
                               "   dialog 1 help   \n"
                               "frame 0 key down 0x41\n"
                               "frame 1 key repeat 65\n"
                               "frame 2 key up 0xc0\n"
                               "frame 3 button down left\n"
                               "frame 3 button dblclk right\n"
                               "frame 3 button up middle\n"
                               "frame 4 wheel -2\n"
                               "frame 4 wheel 0.5\n"
                               "frame 5 mouse 20 30\n"
                               "frame 6 screenshot out.png\n"
                               "frame 7 close\n",
                               "good.script", &error))
        << error;
    int controlId = 0, button = 0;
    ASSERT_TRUE(PlatformTakeScriptedDialogAnswer(&controlId, &button));
    EXPECT_EQ(controlId, 1004);
    EXPECT_EQ(button, IDOK);
    ASSERT_TRUE(PlatformTakeScriptedDialogAnswer(&controlId, &button));
    EXPECT_EQ(controlId, 1002);
    EXPECT_EQ(button, IDCANCEL);
    ASSERT_TRUE(PlatformTakeScriptedDialogAnswer(&controlId, &button));
    EXPECT_EQ(controlId, 1);
    EXPECT_EQ(button, IDHELP);
    EXPECT_FALSE(PlatformTakeScriptedDialogAnswer(&controlId, &button));
    PlatformUnloadScript();
}

TEST(PlatformScriptParsing, EachErrorNamesItsLine)
{
    struct Case {
        const char* text;
        const char* reason;
    };
    const Case cases[] = {
        {"# ok\njump 3\n", "bad.script:2: unknown command 'jump'"},
        {"frame 1 jump\n", "bad.script:1: unknown event 'jump'"},
        {"frame x key down 0x41\n", "bad.script:1: bad frame number 'x'"},
        {"frame -1 close\n", "bad.script:1: bad frame number '-1'"},
        {"\n\nframe 1 key press 0x41\n", "bad.script:3: bad key action 'press', expected down, repeat or up"},
        {"frame 1 key down 0x100\n", "bad.script:1: bad virtual-key code '0x100'"},
        {"frame 1 key down A\n", "bad.script:1: bad virtual-key code 'A'"},
        {"frame 1 key down\n", "bad.script:1: missing arguments"},
        {"frame 1 key down 0x41 0x42\n", "bad.script:1: extra text"},
        {"frame 1 button tap left\n", "bad.script:1: bad button action 'tap', expected down, dblclk or up"},
        {"frame 1 button down x1\n", "bad.script:1: bad button 'x1', expected left, right or middle"},
        {"frame 1 wheel lots\n", "bad.script:1: bad wheel notches 'lots'"},
        {"frame 1 mouse 1\n", "bad.script:1: missing arguments"},
        {"frame 1 mouse a b\n", "bad.script:1: bad mouse position 'a b'"},
        {"frame 0 screenshot a.png\n", "bad.script:1: no picture is presented before frame 1"},
        {"frame 1 screenshot\n", "bad.script:1: missing arguments"},
        {"frame 1 close now\n", "bad.script:1: extra text"},
        {"frame\n", "bad.script:1: missing arguments"},
        {"dialog 1004 maybe\n", "bad.script:1: bad dialog button 'maybe', expected ok, cancel or help"},
        {"dialog x ok\n", "bad.script:1: bad control id 'x'"},
        {"dialog 1004\n", "bad.script:1: missing arguments"},
    };
    for (const Case& c : cases) ExpectRefused(c.text, c.reason);
}

// Words the C library would read only up to a NUL or past a second 0x are errors, not other lines.
TEST(PlatformScriptParsing, NoWordIsReadShortOrTwice)
{
    using namespace std::string_literals;
    ExpectRefused("frame 1 close\nframe 3\0junk close\n"s, "bad.script:2: a NUL byte in the line");
    ExpectRefused("frame 1 screenshot shot.png\0.txt\n"s, "bad.script:1: a NUL byte in the line");
    ExpectRefused("frame 1 key down 0x0x41\n", "bad.script:1: bad virtual-key code '0x0x41'");
    ExpectRefused("frame 1 key down 0x-41\n", "bad.script:1: bad virtual-key code '0x-41'");
    ExpectRefused("dialog 0x0x3EA ok\n", "bad.script:1: bad control id '0x0x3EA'");
    ExpectRefused("frame 1 mouse 0x0x10 5\n", "bad.script:1: bad mouse position '0x0x10 5'");
}

// A folder opens and reads as an empty script: it must not become a run that never ends.
TEST(PlatformScriptParsing, AFolderIsNoScript)
{
    TestFolder folder;
    std::string error;
    EXPECT_FALSE(PlatformLoadScriptFile(folder.Path(), &error));
    EXPECT_EQ(error, folder.Path() + ": is a folder, not a script");
    setenv("PINWHIRL_SCRIPT", folder.Path().c_str(), 1);
    EXPECT_EXIT(PlatformLoadScriptFromEnvironmentOrExit(), testing::ExitedWithCode(1),
                Literal("Pinwhirl: bad PINWHIRL_SCRIPT: " + folder.Path() + ": is a folder, not a script"));
    unsetenv("PINWHIRL_SCRIPT");
}

TEST(PlatformScriptParsing, ABadScriptInTheEnvironmentEndsTheRunWithItsLine)
{
    const std::string path = TempPath("bad.script");
    std::ofstream(path) << "frame 1 key down 0x41\nframe 2 explode\n";
    setenv("PINWHIRL_SCRIPT", path.c_str(), 1);
    EXPECT_EXIT(PlatformLoadScriptFromEnvironmentOrExit(), testing::ExitedWithCode(1),
                "bad_?.*script:2: unknown event 'explode'|script:2: unknown event 'explode'");
    setenv("PINWHIRL_SCRIPT", "/nonexistent/run.script", 1);
    EXPECT_EXIT(PlatformLoadScriptFromEnvironmentOrExit(), testing::ExitedWithCode(1), "cannot open the script");
    unsetenv("PINWHIRL_SCRIPT");
    remove(path.c_str());
}

TEST_F(PlatformScriptTest, EventsOfFrameNArriveAfterTheNthSwap)
{
    ASSERT_NE(MakeCurrentContext(hWnd), nullptr);
    HDC hdc = GetDC(hWnd);
    const int swapsBefore = PlatformGetPresentedFrameCount();
    std::string error;
    // Frames count the swaps of the whole run; this test starts at swapsBefore.
    const std::string base = std::to_string(swapsBefore);
    const std::string next = std::to_string(swapsBefore + 2);
    ASSERT_TRUE(PlatformLoadScriptText("frame " + base + " key down 0x41\n" + "frame " + next + " key up 0x41\n" +
                                           "frame " + next + " wheel 1\n" + "frame " + next + " mouse 20 30\n" +
                                           "frame " + next + " button dblclk left\n" + "frame " + next + " close\n",
                                       "events.script", &error))
        << error;
    std::vector<MSG> m = DrainQueue();
    ASSERT_EQ(m.size(), 1u);
    EXPECT_EQ(m[0].message, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_EQ(m[0].hwnd, hWnd);
    EXPECT_EQ(m[0].wParam, static_cast<WPARAM>('A'));
    EXPECT_EQ(m[0].lParam, 0x001E0001);  // the same lParam as the physical key gives

    ASSERT_TRUE(SwapBuffers(hdc));
    EXPECT_TRUE(DrainQueue().empty());
    ASSERT_TRUE(SwapBuffers(hdc));
    EXPECT_EQ(PlatformGetPresentedFrameCount(), swapsBefore + 2);
    m = DrainQueue();
    ASSERT_EQ(m.size(), 5u);
    EXPECT_EQ(m[0].message, static_cast<UINT>(WM_KEYUP));
    EXPECT_EQ(static_cast<DWORD>(m[0].lParam), 0xC01E0001u);
    EXPECT_EQ(m[1].message, static_cast<UINT>(WM_MOUSEWHEEL));
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(m[1].wParam), 120);
    EXPECT_EQ(m[2].message, static_cast<UINT>(WM_MOUSEMOVE));
    EXPECT_EQ(m[2].lParam, MAKELPARAM(20, 30));
    EXPECT_EQ(m[3].message, static_cast<UINT>(WM_LBUTTONDBLCLK));
    EXPECT_EQ(m[3].lParam, MAKELPARAM(20, 30));
    EXPECT_EQ(m[4].message, static_cast<UINT>(WM_CLOSE));
    POINT cursor;
    ASSERT_TRUE(GetCursorPos(&cursor));
    EXPECT_EQ(cursor.x, 120);  // client (20, 30) of a client area at screen (100, 50)
    EXPECT_EQ(cursor.y, 80);
}

TEST_F(PlatformScriptTest, ScriptedAltKeysAreSystemKeys)
{
    const std::string now = "frame " + std::to_string(PlatformGetPresentedFrameCount());
    ASSERT_TRUE(PlatformLoadScriptText(
        now + " key down 0x12\n" + now + " key down 0x73\n" + now + " key up 0x73\n" + now + " key up 0x12\n",
        "alt.script", nullptr));
    const std::vector<MSG> m = DrainQueue();
    ASSERT_EQ(m.size(), 4u);
    EXPECT_EQ(m[0].message, static_cast<UINT>(WM_SYSKEYDOWN));
    EXPECT_EQ(m[1].message, static_cast<UINT>(WM_SYSKEYDOWN));
    EXPECT_EQ(m[1].lParam, 0x203E0001);
    EXPECT_EQ(m[2].message, static_cast<UINT>(WM_SYSKEYUP));
    EXPECT_EQ(m[3].message, static_cast<UINT>(WM_SYSKEYUP));
}

TEST_F(PlatformScriptTest, AScreenshotIsThePicturePresentedBySwapN)
{
    ASSERT_NE(MakeCurrentContext(hWnd), nullptr);
    HDC hdc = GetDC(hWnd);
    const std::string path = TempPath("shot.png");
    remove(path.c_str());
    const int frame = PlatformGetPresentedFrameCount() + 2;
    ASSERT_TRUE(PlatformLoadScriptText("frame " + std::to_string(frame) + " screenshot " + path + "\n", "shot.script",
                                       nullptr));
    glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    ASSERT_TRUE(SwapBuffers(hdc));
    EXPECT_NE(access(path.c_str(), F_OK), 0);  // not this frame
    // Frame N: red below, green in the upper quarter of the picture.
    glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 180, 320, 60);
    glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
    ASSERT_TRUE(SwapBuffers(hdc));

    FILE* file = fopen(path.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, file);
    png_read_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    EXPECT_EQ(png_get_image_width(png, info), 320u);
    EXPECT_EQ(png_get_image_height(png, info), 240u);
    EXPECT_EQ(png_get_color_type(png, info), PNG_COLOR_TYPE_RGB);
    png_bytepp rows = png_get_rows(png, info);
    const png_bytep top = rows[0];
    const png_bytep bottom = rows[239];
    EXPECT_EQ(top[0], 0);  // rows run top-down
    EXPECT_EQ(top[1], 255);
    EXPECT_EQ(bottom[0], 255);
    EXPECT_EQ(bottom[1], 0);
    EXPECT_EQ(rows[59][1], 255);
    EXPECT_EQ(rows[60][0], 255);
    png_destroy_read_struct(&png, &info, nullptr);
    fclose(file);
    remove(path.c_str());
}

TEST_F(PlatformScriptTest, FixedStepClockAdvancesByTheStepPerSwap)
{
    ASSERT_NE(MakeCurrentContext(hWnd), nullptr);
    HDC hdc = GetDC(hWnd);
    PlatformSetFixedStepForTesting(0.02);
    LARGE_INTEGER frequency, before, after;
    ASSERT_TRUE(QueryPerformanceFrequency(&frequency));
    ASSERT_TRUE(QueryPerformanceCounter(&before));
    const auto begin = std::chrono::steady_clock::now();
    Sleep(2000);  // returns at once
    EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(1));
    ASSERT_TRUE(QueryPerformanceCounter(&after));
    EXPECT_EQ(after.QuadPart, before.QuadPart);
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(SwapBuffers(hdc));
    ASSERT_TRUE(QueryPerformanceCounter(&after));
    EXPECT_EQ(after.QuadPart - before.QuadPart, 3 * frequency.QuadPart / 50);
    EXPECT_EQ(static_cast<double>(after.QuadPart - before.QuadPart) / static_cast<double>(frequency.QuadPart), 0.06);
    PlatformSetFixedStepForTesting(0.0);  // the real counter again
    ASSERT_TRUE(QueryPerformanceCounter(&before));
    Sleep(5);
    ASSERT_TRUE(QueryPerformanceCounter(&after));
    EXPECT_GT(after.QuadPart, before.QuadPart);
}

namespace {

// 0 when two swaps moved the counter by exactly two steps of 0.25 s.
int TwoSwapsInAFreshProcess()
{
    LARGE_INTEGER frequency;
    LARGE_INTEGER before;
    LARGE_INTEGER after;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&before);
    PlatformResetForTesting();
    RegisterTestClass();
    HWND hWnd = CreateTestWindow();
    if (MakeCurrentContext(hWnd) == nullptr) return 2;
    Sleep(10000);
    SwapBuffers(GetDC(hWnd));
    SwapBuffers(GetDC(hWnd));
    QueryPerformanceCounter(&after);
    return after.QuadPart - before.QuadPart == frequency.QuadPart / 2 ? 0 : 3;
}

}  // namespace

// PINWHIRL_FIXED_STEP is read once, on the first clock call of the process (before
// main): a child process started with it set sees a virtual counter from the start.
TEST(PlatformFixedStepEnvironment, TheStepComesFromTheEnvironment)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    setenv("PINWHIRL_FIXED_STEP", "0.25", 1);
    EXPECT_EXIT(exit(TwoSwapsInAFreshProcess()), testing::ExitedWithCode(0), "");
    setenv("PINWHIRL_FIXED_STEP", "fast", 1);
    EXPECT_EXIT(PlatformLoadScriptFromEnvironmentOrExit(), testing::ExitedWithCode(1),
                "PINWHIRL_FIXED_STEP='fast' is not a positive number of seconds");
    unsetenv("PINWHIRL_FIXED_STEP");
}

// The one reset leaves nothing of a test behind for the next: cursor, script, swaps, clock.
TEST(PlatformReset, LeavesTheCursorScriptAndClockAsANewProcessHasThem)
{
    PlatformResetForTesting();
    RegisterTestClass();
    HWND hWnd = CreateTestWindow();
    ASSERT_NE(MakeCurrentContext(hWnd), nullptr);
    SetCursorPos(30, 40);
    ShowCursor(FALSE);
    std::string error;
    ASSERT_TRUE(PlatformLoadScriptText("dialog 1004 ok\nframe 9 close\n", "left.script", &error)) << error;
    PlatformSetFixedStepForTesting(100.0);
    SwapBuffers(GetDC(hWnd));
    LARGE_INTEGER before;
    QueryPerformanceCounter(&before);

    PlatformResetForTesting();
    POINT cursor = {-1, -1};
    GetCursorPos(&cursor);
    EXPECT_EQ(cursor.x, 0);
    EXPECT_EQ(cursor.y, 0);
    EXPECT_EQ(ShowCursor(FALSE), -1) << "the display counter starts at 0 again";
    EXPECT_EQ(ShowCursor(TRUE), 0);
    EXPECT_FALSE(PlatformTakeScriptedDialogAnswer(nullptr, nullptr));
    EXPECT_EQ(PlatformGetPresentedFrameCount(), 0);
    LARGE_INTEGER after;
    QueryPerformanceCounter(&after);
    EXPECT_GE(after.QuadPart, before.QuadPart) << "the counter never runs back";
    const auto start = std::chrono::steady_clock::now();
    Sleep(20);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(20)) << "no fixed step any more";
}
