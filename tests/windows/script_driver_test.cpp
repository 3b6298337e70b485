// The Windows test build's script driver, run under wine (tools/windows-check.sh): the
// calls this program makes reach the driver through its own redirected imports, as the
// program's calls do in scripted/pinwhirl.exe.
#include <gtest/gtest.h>

#include <windows.h>

#include <GL/gl.h>
#include <zlib.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ScriptDriver.h"

namespace {

std::vector<MSG> s_received;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEWHEEL:
    case WM_CLOSE:
        s_received.push_back(MSG{window, message, wParam, lParam, 0, {0, 0}});
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

// A window with an OpenGL context, as the program's video system makes one; one for all
// tests, as wine takes a while over each window it takes down.
class DriverTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        WNDCLASSA windowClass = {};
        windowClass.style = CS_OWNDC | CS_DBLCLKS;
        windowClass.lpfnWndProc = RecordingProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "DriverTestWindow";
        RegisterClassA(&windowClass);
        window = CreateWindowExA(0, "DriverTestWindow", "driver test", WS_OVERLAPPEDWINDOW, 40, 40, 320, 240, nullptr,
                                 nullptr, windowClass.hInstance, nullptr);
        ASSERT_NE(window, nullptr);
        ShowWindow(window, SW_SHOW);
        SetForegroundWindow(window);
        dc = GetDC(window);
        PIXELFORMATDESCRIPTOR format = {};
        format.nSize = sizeof(format);
        format.nVersion = 1;
        format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
        format.iPixelType = PFD_TYPE_RGBA;
        format.cColorBits = 24;
        ASSERT_TRUE(SetPixelFormat(dc, ChoosePixelFormat(dc, &format), &format));
        context = wglCreateContext(dc);
        ASSERT_TRUE(wglMakeCurrent(dc, context));
    }

    static void TearDownTestSuite()
    {
        wglMakeCurrent(nullptr, nullptr);
        wglDeleteContext(context);
        DestroyWindow(window);
        UnregisterClassA("DriverTestWindow", GetModuleHandleA(nullptr));
    }

    void SetUp() override
    {
        ASSERT_NE(context, nullptr);
        Pump();
        s_received.clear();
    }

    void TearDown() override { ScriptDriverStartForTesting("", "none", 0.0, nullptr); }

    // Dispatches what is waiting, as the program's loop does between frames.
    static void Pump()
    {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    }

    // The frame after the swaps so far, for script lines.
    static std::string Frame(long ahead) { return std::to_string(ScriptDriverPresentedFrames() + ahead); }

    void Load(const std::string& text, double step = 0.0)
    {
        std::string error;
        ASSERT_TRUE(ScriptDriverStartForTesting(text, "test.script", step, &error)) << error;
    }

    static HWND window;
    static HDC dc;
    static HGLRC context;
};
HWND DriverTest::window = nullptr;
HDC DriverTest::dc = nullptr;
HGLRC DriverTest::context = nullptr;

TEST_F(DriverTest, EventsOfFrameNArriveAfterTheNthSwap)
{
    Load("frame " + Frame(1) + " key down 0x41\n" + "frame " + Frame(1) + " mouse 20 30\n" + "frame " + Frame(1) +
         " button dblclk left\n" + "frame " + Frame(2) + " wheel -1\n" + "frame " + Frame(2) + " key up 0x41\n" +
         "frame " + Frame(2) + " key down 0x12\n" + "frame " + Frame(3) + " close\n");
    Pump();
    EXPECT_TRUE(s_received.empty()) << "nothing before the first swap";

    SwapBuffers(dc);
    Pump();
    // Moving the cursor makes Windows send a move of its own too: moves are checked apart.
    std::vector<MSG> moves;
    for (auto it = s_received.begin(); it != s_received.end();) {
        if (it->message != WM_MOUSEMOVE) {
            ++it;
            continue;
        }
        moves.push_back(*it);
        it = s_received.erase(it);
    }
    ASSERT_FALSE(moves.empty());
    for (const MSG& move : moves) EXPECT_EQ(move.lParam, MAKELPARAM(20, 30));
    ASSERT_EQ(s_received.size(), 2u);
    EXPECT_EQ(s_received[0].message, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_EQ(s_received[0].wParam, 0x41u);
    EXPECT_EQ(s_received[0].lParam, 0x001E0001) << "repeat count 1, the A key's scan code";
    EXPECT_EQ(s_received[1].message, static_cast<UINT>(WM_LBUTTONDBLCLK)) << "the class asks for double clicks";
    EXPECT_EQ(s_received[1].wParam, static_cast<WPARAM>(MK_LBUTTON));
    EXPECT_EQ(s_received[1].lParam, MAKELPARAM(20, 30)) << "where the mouse line put the cursor";
    POINT cursor;
    GetCursorPos(&cursor);
    ScreenToClient(window, &cursor);
    EXPECT_EQ(cursor.x, 20);
    EXPECT_EQ(cursor.y, 30);

    s_received.clear();
    SwapBuffers(dc);
    Pump();
    ASSERT_EQ(s_received.size(), 3u);
    EXPECT_EQ(s_received[0].message, static_cast<UINT>(WM_MOUSEWHEEL));
    EXPECT_EQ(static_cast<short>(HIWORD(s_received[0].wParam)), -WHEEL_DELTA);
    EXPECT_EQ(s_received[1].message, static_cast<UINT>(WM_KEYUP));
    EXPECT_EQ(static_cast<DWORD>(s_received[1].lParam) >> 30, 3u) << "previous state down, transition up";
    EXPECT_EQ(s_received[2].message, static_cast<UINT>(WM_SYSKEYDOWN)) << "Alt is a system key";

    s_received.clear();
    SwapBuffers(dc);
    Pump();
    ASSERT_EQ(s_received.size(), 1u);
    EXPECT_EQ(s_received[0].message, static_cast<UINT>(WM_CLOSE));
}

TEST_F(DriverTest, TheFixedStepClockAdvancesPerSwapAndSleepDoesNotWait)
{
    Load("", 0.02);
    LARGE_INTEGER frequency, before, after;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&before);
    const ULONGLONG ticks = GetTickCount64();
    Sleep(60000);
    EXPECT_LT(GetTickCount64() - ticks, 30000u) << "Sleep returns at once";
    QueryPerformanceCounter(&after);
    EXPECT_EQ(after.QuadPart, before.QuadPart) << "the clock stands still between swaps";
    SwapBuffers(dc);
    SwapBuffers(dc);
    QueryPerformanceCounter(&after);
    EXPECT_EQ(after.QuadPart - before.QuadPart, 2 * (frequency.QuadPart / 50));

    Load("", 0.0);
    QueryPerformanceCounter(&before);
    Sleep(20);
    QueryPerformanceCounter(&after);
    EXPECT_GT(after.QuadPart, before.QuadPart) << "the real counter again";
}

// The pixels of an 8-bit RGB PNG, top row first; empty when it is not one.
std::vector<unsigned char> ReadPng(const std::string& path, int* width, int* height)
{
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.size() < 8 || bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0) return {};
    const auto u32 = [&](size_t at) {
        return static_cast<uint32_t>(
            static_cast<unsigned char>(bytes[at]) << 24 | static_cast<unsigned char>(bytes[at + 1]) << 16 |
            static_cast<unsigned char>(bytes[at + 2]) << 8 | static_cast<unsigned char>(bytes[at + 3]));
    };
    std::string packed;
    for (size_t at = 8; at + 12 <= bytes.size();) {
        const uint32_t length = u32(at);
        const std::string type = bytes.substr(at + 4, 4);
        if (type == "IHDR") {
            *width = static_cast<int>(u32(at + 8));
            *height = static_cast<int>(u32(at + 12));
            if (bytes[at + 16] != 8 || bytes[at + 17] != 2) return {};
        }
        if (type == "IDAT") packed += bytes.substr(at + 8, length);
        at += 12 + length;
    }
    std::vector<unsigned char> rows(static_cast<size_t>(*width * 3 + 1) * *height);
    uLongf size = static_cast<uLongf>(rows.size());
    if (uncompress(rows.data(), &size, reinterpret_cast<const Bytef*>(packed.data()), packed.size()) != Z_OK ||
        size != rows.size())
        return {};
    std::vector<unsigned char> pixels;
    for (int row = 0; row < *height; ++row) {
        const auto start = rows.begin() + row * (*width * 3 + 1);
        if (*start != 0) return {};  // the writer filters nothing
        pixels.insert(pixels.end(), start + 1, start + 1 + *width * 3);
    }
    return pixels;
}

TEST_F(DriverTest, AScreenshotIsThePicturePresentedBySwapN)
{
    char folder[MAX_PATH];
    GetTempPathA(sizeof(folder), folder);
    const std::string path = std::string(folder) + "driver-test-shot.png";
    const std::string later = std::string(folder) + "driver-test-later.png";
    DeleteFileA(path.c_str());
    DeleteFileA(later.c_str());
    Load("frame " + Frame(1) + " screenshot " + path + "\nframe " + Frame(3) + " screenshot " + later + "\n");

    // Green above, blue below: the rows must come out top first.
    RECT client;
    GetClientRect(window, &client);
    glViewport(0, 0, client.right, client.bottom);
    glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, client.bottom / 2, client.right, client.bottom - client.bottom / 2);
    glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
    SwapBuffers(dc);

    int width = 0, height = 0;
    const std::vector<unsigned char> pixels = ReadPng(path, &width, &height);
    ASSERT_FALSE(pixels.empty()) << "no PNG at " << path;
    EXPECT_EQ(width, client.right);
    EXPECT_EQ(height, client.bottom);
    EXPECT_EQ(std::vector<unsigned char>(pixels.begin(), pixels.begin() + 3), (std::vector<unsigned char>{0, 255, 0}));
    EXPECT_EQ(std::vector<unsigned char>(pixels.end() - 3, pixels.end()), (std::vector<unsigned char>{0, 0, 255}));
    EXPECT_EQ(GetFileAttributesA(later.c_str()), INVALID_FILE_ATTRIBUTES) << "frame 3's picture is not presented yet";
    DeleteFileA(path.c_str());
}

TEST_F(DriverTest, MessageBoxesAndTheLogGoToStderr)
{
    Load("");
    testing::internal::CaptureStderr();
    const int answer = MessageBoxA(window, "Something failed", "Pinwhirl", MB_OK | MB_ICONERROR);
    OutputDebugStringA("CONSOLE: a line\n");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "MessageBoxA caption: Pinwhirl\nMessageBoxA text: Something failed\nCONSOLE: a line\n");
    EXPECT_EQ(answer, IDOK) << "a scripted run's box is answered at once";
}

TEST_F(DriverTest, BlankGlyphsOfTheBitmapFontKeepTheirAdvance)
{
    LOGFONTA font = {};
    font.lfHeight = 16;
    lstrcpyA(font.lfFaceName, "Tahoma");
    const HGDIOBJ previous = SelectObject(dc, CreateFontIndirectA(&font));
    const GLuint base = glGenLists(2);
    ASSERT_TRUE(wglUseFontBitmapsA(dc, ' ', 2, base));
    GLYPHMETRICS space;
    const MAT2 identity = {{0, 1}, {0, 0}, {0, 0}, {0, 1}};
    ASSERT_EQ(GetGlyphOutlineA(dc, ' ', GGO_BITMAP, &space, 0, nullptr, &identity), 0u) << "a blank glyph";
    ASSERT_GT(space.gmCellIncX, 0);
    DeleteObject(SelectObject(dc, previous));

    RECT client;
    GetClientRect(window, &client);
    glViewport(0, 0, client.right, client.bottom);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, client.right, 0, client.bottom, -1, 1);
    glRasterPos2i(10, 10);
    glCallList(base);
    GLfloat position[4];
    glGetFloatv(GL_CURRENT_RASTER_POSITION, position);
    EXPECT_NEAR(position[0], 10.0f + space.gmCellIncX, 0.01f) << "the space moves the pen on";
    glDeleteLists(base, 2);
}

// The dialog procedure of the program's start-up dialog, reduced to what it reports.
struct DialogLog {
    std::vector<int> commands;
    int checked = 0;
};
DialogLog s_dialog;

INT_PTR CALLBACK StartupProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        EXPECT_EQ(lParam, 77) << "the caller's parameter reaches the procedure";
        CheckRadioButton(dialog, 1001, 1004, 1004);
        return FALSE;
    }
    if (message != WM_COMMAND) return FALSE;
    const int command = LOWORD(wParam);
    if (command != IDOK && command != IDCANCEL && command != IDHELP) return FALSE;
    s_dialog.commands.push_back(command);
    for (int id = 1001; id <= 1004; ++id) {
        if (IsDlgButtonChecked(dialog, id) == BST_CHECKED) s_dialog.checked = s_dialog.checked * 10000 + id;
    }
    if (command == IDOK) EndDialog(dialog, 2);
    if (command == IDCANCEL) EndDialog(dialog, 1);
    return FALSE;
}

INT_PTR RunStartupDialog(const std::string& script)
{
    std::string error;
    EXPECT_TRUE(ScriptDriverStartForTesting(script, "dialog.script", 0.0, &error)) << error;
    s_dialog = DialogLog();
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(101), nullptr, StartupProc, 77);
}

TEST(DriverDialog, TheScriptsLinesCheckTheirButtonAndPressTheirButton)
{
    // Help keeps the dialog open for the next line; each line's radio button is clicked.
    EXPECT_EQ(RunStartupDialog("dialog 1003 help\ndialog 1002 ok\n"), 2);
    EXPECT_EQ(s_dialog.commands, (std::vector<int>{IDHELP, IDOK}));
    EXPECT_EQ(s_dialog.checked, 1003 * 10000 + 1002) << "one radio button at a time, 1004 cleared";

    EXPECT_EQ(RunStartupDialog("dialog 1001 cancel\n"), 1);
    EXPECT_EQ(s_dialog.commands, (std::vector<int>{IDCANCEL}));

    // A scripted run without a dialog line starts as Enter would.
    EXPECT_EQ(RunStartupDialog(""), 2);
    EXPECT_EQ(s_dialog.commands, (std::vector<int>{IDOK}));
    EXPECT_EQ(s_dialog.checked, 1004);
    ScriptDriverStartForTesting("", "none", 0.0, nullptr);
}

}  // namespace
