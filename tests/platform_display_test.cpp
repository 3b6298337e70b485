// Display modes and the fullscreen switch, the OpenGL context, and the GDI
// objects of the status plaque.
#include <GL/gl.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "GdiObjects.h"
#include "PlatformTestWindow.h"
#include "TestSupport.h"

TEST(PlatformDisplayModes, TheAdapterModesAreThoseSdlReports)
{
    PlatformSetAdapterModesForTesting(nullptr, -1);
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0);
    // SDL's own list, less the empty entry the offscreen driver reports; the desktop mode
    // stands in when nothing else is left.
    std::vector<SDL_DisplayMode> expected;
    for (int n = 0; n < SDL_GetNumDisplayModes(0); ++n) {
        SDL_DisplayMode sdl;
        ASSERT_EQ(SDL_GetDisplayMode(0, n, &sdl), 0);
        if (sdl.w > 0 && sdl.h > 0 && sdl.format != SDL_PIXELFORMAT_UNKNOWN) expected.push_back(sdl);
    }
    if (expected.empty()) {
        SDL_DisplayMode desktop;
        ASSERT_EQ(SDL_GetDesktopDisplayMode(0, &desktop), 0);
        expected.push_back(desktop);
    }
    const int count = static_cast<int>(expected.size());
    for (int n = 0; n < count; ++n) {
        const SDL_DisplayMode& sdl = expected[static_cast<size_t>(n)];
        DEVMODEA mode;
        memset(&mode, 0xAB, sizeof(mode));
        mode.dmSize = sizeof(mode);
        ASSERT_TRUE(EnumDisplaySettingsA(nullptr, static_cast<DWORD>(n), &mode));
        EXPECT_EQ(mode.dmSize, 156);
        EXPECT_EQ(mode.dmFields & (DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT | DM_DISPLAYFREQUENCY),
                  static_cast<DWORD>(DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT | DM_DISPLAYFREQUENCY));
        EXPECT_GT(mode.dmPelsWidth, 0u);
        EXPECT_EQ(mode.dmPelsWidth, static_cast<DWORD>(sdl.w));
        EXPECT_EQ(mode.dmPelsHeight, static_cast<DWORD>(sdl.h));
        EXPECT_EQ(mode.dmDisplayFrequency, static_cast<DWORD>(sdl.refresh_rate));
        // An RGB888 mode is a 32-bit mode to Windows.
        EXPECT_EQ(mode.dmBitsPerPel, static_cast<DWORD>(SDL_BYTESPERPIXEL(sdl.format) * 8));
    }
    DEVMODEA past;
    EXPECT_FALSE(EnumDisplaySettingsA(nullptr, static_cast<DWORD>(count), &past));
    DEVMODEA current;
    ASSERT_TRUE(EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &current));
    EXPECT_GT(current.dmPelsWidth, 0u);
}

TEST(PlatformDisplayModes, AFakeListReplacesTheAdapter)
{
    const DEVMODEA fake[] = {MakeAdapterMode(1280, 1024, 32, 85), MakeAdapterMode(800, 600, 16, 60)};
    PlatformSetAdapterModesForTesting(fake, 2);
    DEVMODEA mode;
    ASSERT_TRUE(EnumDisplaySettingsA(nullptr, 0, &mode));
    EXPECT_EQ(memcmp(&mode, &fake[0], sizeof(mode)), 0);
    ASSERT_TRUE(EnumDisplaySettingsA(nullptr, 1, &mode));
    EXPECT_EQ(mode.dmBitsPerPel, 16u);
    EXPECT_FALSE(EnumDisplaySettingsA(nullptr, 2, &mode));

    PlatformSetAdapterModesForTesting(nullptr, 0);
    EXPECT_FALSE(EnumDisplaySettingsA(nullptr, 0, &mode));
    PlatformSetAdapterModesForTesting(nullptr, -1);
    EXPECT_TRUE(EnumDisplaySettingsA(nullptr, 0, &mode));
}

TEST(PlatformDisplayModes, FullscreenSwitchAcceptsOnlyAdapterModes)
{
    PlatformResetForTesting();
    DEVMODEA fake[] = {MakeAdapterMode(1280, 1024, 32, 85)};
    PlatformSetAdapterModesForTesting(fake, 1);
    EXPECT_EQ(ChangeDisplaySettingsA(&fake[0], CDS_FULLSCREEN), DISP_CHANGE_SUCCESSFUL);
    DEVMODEA current;
    ASSERT_TRUE(EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &current));
    EXPECT_EQ(current.dmPelsWidth, 1280u);
    EXPECT_EQ(current.dmDisplayFrequency, 85u);
    EXPECT_EQ(ChangeDisplaySettingsA(nullptr, 0), DISP_CHANGE_SUCCESSFUL);

    DEVMODEA other = MakeAdapterMode(1280, 1024, 32, 60);
    EXPECT_EQ(ChangeDisplaySettingsA(&other, CDS_FULLSCREEN), DISP_CHANGE_BADMODE);
    // A request that names no refresh takes any refresh of that size.
    other.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
    EXPECT_EQ(ChangeDisplaySettingsA(&other, CDS_FULLSCREEN), DISP_CHANGE_SUCCESSFUL);
    EXPECT_EQ(ChangeDisplaySettingsA(nullptr, 0), DISP_CHANGE_SUCCESSFUL);

    PlatformSetFullscreenResultForTesting(DISP_CHANGE_FAILED);
    EXPECT_EQ(ChangeDisplaySettingsA(&fake[0], CDS_FULLSCREEN), DISP_CHANGE_FAILED);
    PlatformClearFullscreenResultForTesting();
    PlatformSetAdapterModesForTesting(nullptr, -1);
}

TEST(PlatformDisplayModes, FullscreenPopupWindowGetsTheModeSize)
{
    PlatformResetForTesting();
    DEVMODEA mode;
    ASSERT_TRUE(EnumDisplaySettingsA(nullptr, 0, &mode));
    ASSERT_EQ(ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN), DISP_CHANGE_SUCCESSFUL);
    ASSERT_NE(RegisterTestClass(), 0);
    const int width = static_cast<int>(mode.dmPelsWidth), height = static_cast<int>(mode.dmPelsHeight);
    HWND hWnd = CreateWindowExA(WS_EX_APPWINDOW, "Platform Test Window Class", "full", WS_POPUP, 0, 0, width, height,
                                nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(hWnd, nullptr);
    ShowWindow(hWnd, SW_SHOWNORMAL);
    ASSERT_NE(MakeCurrentContext(hWnd), nullptr);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], width);
    EXPECT_EQ(viewport[3], height);
    EXPECT_EQ(ChangeDisplaySettingsA(nullptr, 0), DISP_CHANGE_SUCCESSFUL);
    PlatformResetForTesting();
}

using PlatformGlTest = PlatformWindowTest;

TEST_F(PlatformGlTest, ACompatibilityContextDrawsAndReadsBack)
{
    HDC hdc = GetDC(hWnd);
    ASSERT_NE(hdc, nullptr);
    EXPECT_EQ(GetDC(hWnd), hdc);  // CS_OWNDC: one device context for the window's life
    const PIXELFORMATDESCRIPTOR pfd = TestPixelFormat();
    const int format = ChoosePixelFormat(hdc, &pfd);
    ASSERT_GT(format, 0);
    EXPECT_EQ(wglCreateContext(hdc), nullptr);  // no pixel format yet
    ASSERT_TRUE(SetPixelFormat(hdc, format, &pfd));
    HGLRC hglrc = wglCreateContext(hdc);
    ASSERT_NE(hglrc, nullptr);
    ASSERT_TRUE(wglMakeCurrent(hdc, hglrc));
    ASSERT_NE(glGetString(GL_VERSION), nullptr);

    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 320);
    EXPECT_EQ(viewport[3], 240);

    glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    // OpenGL 1.1 immediate mode inside a display list: a red quad over the left half.
    const GLuint list = glGenLists(1);
    ASSERT_NE(list, 0u);
    glNewList(list, GL_COMPILE);
    glBegin(GL_QUADS);
    glColor3ub(255, 0, 0);
    glVertex2f(-1.0f, -1.0f);
    glVertex2f(0.0f, -1.0f);
    glVertex2f(0.0f, 1.0f);
    glVertex2f(-1.0f, 1.0f);
    glEnd();
    glEndList();
    glCallList(list);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    unsigned char left[4] = {}, right[4] = {};
    glReadPixels(10, 100, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, left);
    glReadPixels(300, 100, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, right);
    EXPECT_EQ(left[0], 255);
    EXPECT_EQ(left[1], 0);
    EXPECT_EQ(right[0], 0);
    EXPECT_EQ(right[1], 255);
    EXPECT_TRUE(SwapBuffers(hdc));
    EXPECT_TRUE(wglMakeCurrent(nullptr, nullptr));
}

// The offscreen driver's one buffer is left alone by a swap: its pixel format says the swap
// copies. Told to act like a driver that promises nothing, it says nothing, and each swap
// leaves the back buffer a colour no frame draws.
TEST_F(PlatformGlTest, TheOffscreenSwapKeepsTheBackBufferAndSaysSo)
{
    ASSERT_NE(MakeCurrentContext(hWnd), nullptr);
    HDC hdc = GetDC(hWnd);
    EXPECT_EQ(DescribePixelFormat(hdc, 1, 0, nullptr), 1) << "one format";
    PIXELFORMATDESCRIPTOR pfd = {};
    EXPECT_EQ(DescribePixelFormat(hdc, 2, sizeof(pfd), &pfd), 0);
    ASSERT_EQ(DescribePixelFormat(hdc, 1, sizeof(pfd), &pfd), 1);
    EXPECT_EQ(pfd.nSize, sizeof(pfd));
    EXPECT_EQ(pfd.dwFlags & (PFD_DOUBLEBUFFER | PFD_SUPPORT_OPENGL | PFD_SWAP_COPY | PFD_SWAP_EXCHANGE),
              DWORD(PFD_DOUBLEBUFFER | PFD_SUPPORT_OPENGL | PFD_SWAP_COPY));
    EXPECT_EQ(pfd.cDepthBits, TestPixelFormat().cDepthBits);

    auto swapAndRead = [&] {
        glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        EXPECT_TRUE(SwapBuffers(hdc));
        std::vector<unsigned char> pixel(4);
        glReadBuffer(GL_BACK);
        glReadPixels(10, 10, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel.data());
        return std::vector<unsigned char>(pixel.begin(), pixel.begin() + 3);
    };
    EXPECT_EQ(swapAndRead(), (std::vector<unsigned char>{0, 255, 0}));

    setenv("PINWHIRL_BACK_BUFFER", "discarded", 1);
    ASSERT_EQ(DescribePixelFormat(hdc, 1, sizeof(pfd), &pfd), 1);
    EXPECT_EQ(pfd.dwFlags & PFD_SWAP_COPY, 0u);
    EXPECT_EQ(swapAndRead(), (std::vector<unsigned char>{255, 0, 255}));
    unsetenv("PINWHIRL_BACK_BUFFER");
}

TEST_F(PlatformGlTest, FillRectPaintsOnceAContextIsCurrent)
{
    HDC hdc = GetDC(hWnd);
    HBRUSH brush = CreateSolidBrush(RGB(0, 0, 0x44));
    const RECT whole = {0, 0, 320, 240};
    EXPECT_NE(FillRect(hdc, &whole, brush), 0);  // no context yet: nothing to paint, no failure
    ASSERT_NE(MakeCurrentContext(hWnd), nullptr);
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    const RECT top = {0, 0, 320, 120};
    EXPECT_NE(FillRect(hdc, &top, brush), 0);
    unsigned char upper[4] = {}, lower[4] = {};
    glReadPixels(5, 200, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, upper);  // GL rows count from the bottom
    glReadPixels(5, 20, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, lower);
    EXPECT_EQ(upper[0], 0);
    EXPECT_EQ(upper[2], 0x44);
    EXPECT_EQ(lower[0], 255);
    GLboolean scissor = GL_TRUE;
    glGetBooleanv(GL_SCISSOR_TEST, &scissor);
    EXPECT_EQ(scissor, GL_FALSE);  // the state is left as it was
    EXPECT_TRUE(DeleteObject(brush));
}

// The status plaque is painted before any rendering context exists: every fill lands, and the text
// is drawn in the font the renderer's bitmaps come from. Headless, the window's surface keeps what
// the layer showed, so the test's own context reads it back.
TEST_F(PlatformGlTest, ThePlaqueIsShownBeforeAnyContextExists)
{
    HDC hdc = GetDC(hWnd);
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 0x44));
    HBRUSH red = CreateSolidBrush(RGB(0xFF, 0, 0));
    const RECT whole = {0, 0, 320, 240};
    const RECT strip = {0, 0, 320, 20};
    EXPECT_NE(FillRect(hdc, &whole, blue), 0);
    EXPECT_NE(FillRect(hdc, &strip, red), 0);
    SetBkMode(hdc, TRANSPARENT);
    SetTextAlign(hdc, TA_LEFT | TA_TOP);
    HFONT font = CreateFontA(20, 10, 0, 0, 200, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS,
                             PROOF_QUALITY, FF_MODERN | DEFAULT_PITCH, "Tahoma");
    HGDIOBJ previous = SelectObject(hdc, font);
    SetTextColor(hdc, RGB(0x88, 0x88, 0xFF));
    const char text[] = "Choosing a pixel format...";
    EXPECT_TRUE(TextOutA(hdc, 60, 120, text, int(strlen(text))));
    SelectObject(hdc, previous);
    EXPECT_TRUE(DeleteObject(font));
    EXPECT_TRUE(DeleteObject(blue));
    EXPECT_TRUE(DeleteObject(red));

    ASSERT_NE(MakeCurrentContext(hWnd), nullptr);
    std::vector<unsigned char> pixels(320 * 240 * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, 320, 240, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    auto at = [&](int x, int y) { return &pixels[(size_t(239 - y) * 320 + x) * 4]; };  // y from the top
    EXPECT_EQ(at(5, 5)[0], 0xFF);
    EXPECT_EQ(at(5, 230)[2], 0x44);
    EXPECT_EQ(at(5, 230)[0], 0);
    int count = 0, minX = 320, maxX = -1, minY = 240, maxY = -1;
    for (int y = 0; y < 240; ++y) {
        for (int x = 0; x < 320; ++x) {
            const unsigned char* p = at(x, y);
            if (p[0] != 0x88 || p[1] != 0x88 || p[2] != 0xFF) continue;
            ++count;
            minX = std::min(minX, x), maxX = std::max(maxX, x), minY = std::min(minY, y), maxY = std::max(maxY, y);
        }
    }
    EXPECT_GT(count, 150) << "the text is drawn";
    EXPECT_GE(minX, 60);
    EXPECT_GT(maxX, 60 + 150) << "all 26 characters";
    EXPECT_GE(minY, 120) << "its cell's top at y = 120";
    EXPECT_LT(maxY, 120 + 20);
}

TEST_F(PlatformGlTest, TheStatusPlaqueCallsNeverFail)
{
    HDC hdc = GetDC(hWnd);
    EXPECT_EQ(SetBkMode(hdc, TRANSPARENT), OPAQUE);
    EXPECT_EQ(SetBkMode(hdc, TRANSPARENT), TRANSPARENT);
    EXPECT_EQ(SetTextAlign(hdc, TA_LEFT | TA_TOP), static_cast<UINT>(TA_LEFT | TA_TOP));
    EXPECT_EQ(SetTextColor(hdc, RGB(0x88, 0x88, 0xFF)), RGB(0, 0, 0));
    EXPECT_EQ(SetTextColor(hdc, RGB(1, 2, 3)), RGB(0x88, 0x88, 0xFF));

    HGDIOBJ original = GetCurrentObject(hdc, OBJ_FONT);
    ASSERT_NE(original, nullptr);  // the stock system font
    EXPECT_EQ(GdiGetSelectedFont(hdc), nullptr);
    HFONT font = CreateFontA(20, 10, 0, 0, 200, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS,
                             PROOF_QUALITY, FF_MODERN | DEFAULT_PITCH, "Tahoma");
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(SelectObject(hdc, font), original);
    EXPECT_EQ(GetCurrentObject(hdc, OBJ_FONT), static_cast<HGDIOBJ>(font));
    const LOGFONTA* selected = GdiGetSelectedFont(hdc);
    ASSERT_NE(selected, nullptr);
    EXPECT_EQ(selected->lfHeight, 20);
    EXPECT_EQ(selected->lfWeight, 200);
    EXPECT_STREQ(selected->lfFaceName, "Tahoma");
    EXPECT_TRUE(TextOutA(hdc, 10, 10, "Choosing a pixel format...", 26));
    EXPECT_FALSE(DeleteObject(font));  // still selected
    EXPECT_EQ(SelectObject(hdc, original), static_cast<HGDIOBJ>(font));
    EXPECT_TRUE(DeleteObject(font));
    EXPECT_FALSE(DeleteObject(font));  // gone

    LOGFONTA logFont = {};
    logFont.lfHeight = -12;
    strcpy(logFont.lfFaceName, "Courier New");
    HFONT indirect = CreateFontIndirectA(&logFont);
    SelectObject(hdc, indirect);
    EXPECT_EQ(GdiGetSelectedFont(hdc)->lfHeight, -12);
    SelectObject(hdc, original);
    DeleteObject(indirect);
}
