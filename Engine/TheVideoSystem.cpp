#include "Engine/TheVideoSystem.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "Engine/TheApplication.h"
#include "Engine/TheConsole.h"
#include "Engine/TheMessageHandler.h"

bool TheVideoSystem::_isInitialized = false;

// The plaque's font is 20 pixels high; its band leaves room for overhanging ink.
static const int PLAQUE_TEXT_HEIGHT = 20;
static const int PLAQUE_BAND_MARGIN = 8;
HWND TheVideoSystem::_hWnd = nullptr;

TheVideoSystem::~TheVideoSystem()
{
    CHECK_NOT_RUNNING_AT_DESTRUCTION("TheVideoSystem");
    _FreeDisplayModes();
}

void TheVideoSystem::_FreeDisplayModes()
{
    for (uint32_t i = 0; i < _numVidModes; ++i) {
        free(_vidModes[i]);
        _vidModes[i] = nullptr;
    }
    _numVidModes = 0;
}

void TheVideoSystem::SetDesiredDisplayMode(int width, int height, int bitsPerPixel, int refreshHz, int flags)
{
    _desiredWidth = width;
    _desiredHeight = height;
    _desiredBitsPerPixel = bitsPerPixel;
    _desiredRefreshHz = refreshHz;
    _desiredFlags = flags;
}

void TheVideoSystem::Startup()
{
    theConsole.Printf("::: Initialization : Video System (starting)\n");
    CHECK_NOT_YET_INITIALIZED("TheVideoSystem");
    _GetDesktopCharacteristics();
    EnumerateDisplayModes();
    SelectDisplayMode(_desiredWidth, _desiredHeight, _desiredBitsPerPixel, _desiredRefreshHz, _desiredFlags);
    _CreateRenderingWindow();
    _isInitialized = true;
    theConsole.Printf("::: Initialization : Video System (finished)\n");
}

void TheVideoSystem::Shutdown()
{
    theConsole.Printf("::: Shutdown : Video System (starting)\n");
    ChangeDisplaySettingsA(nullptr, 0);
    ShowWindow(_hWnd, SW_HIDE);
    _isInitialized = false;
    theConsole.Printf("::: Shutdown : Video System (finished)\n");
}

void TheVideoSystem::_GetDesktopCharacteristics()
{
    _hDesktopWnd = GetDesktopWindow();
    const BOOL success = GetWindowRect(_hDesktopWnd, &_desktopRect);
    FATAL_CHECK(success, "TheVideoSystem::_GetDesktopCharacteristics : GetWindowRect() failed!");
}

uint32_t TheVideoSystem::_CreateWindowedDisplayMode(int width, int height, int bitsPerPixel)
{
    FATAL_CHECK(_numVidModes < MAX_VID_MODES,
                "TheVideoSystem::_CreateWindowedDisplayMode : had to stop enumerating vid\nmodes; table was full (max "
                "%d entries!)\n",
                static_cast<int>(MAX_VID_MODES));
    const uint32_t newVidModeNum = _numVidModes;
    _vidModes[newVidModeNum] = static_cast<DisplayModeRecord*>(calloc(1, sizeof(DisplayModeRecord)));
    // The reported expression keeps its source spacing.
    // clang-format off
    FATAL_CHECK(_vidModes[ newVidModeNum ], "%s", "");
    // clang-format on
    DEVMODEA& mode = _vidModes[newVidModeNum]->devMode;
    mode.dmSize = sizeof(DEVMODEA);
    mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
    mode.dmBitsPerPel = static_cast<DWORD>(bitsPerPixel);
    mode.dmPelsWidth = static_cast<DWORD>(width);
    mode.dmPelsHeight = static_cast<DWORD>(height);
    mode.dmDisplayFrequency = 0;
    _vidModes[newVidModeNum]->flags = 0;
    ++_numVidModes;
    return newVidModeNum;
}

void TheVideoSystem::EnumerateDisplayModes()
{
    _FreeDisplayModes();
    static const int windowedSizes[10][2] = {{320, 240},  {400, 300},  {512, 384},  {640, 480},   {800, 600},
                                             {1024, 768}, {1152, 864}, {1280, 960}, {1280, 1024}, {1600, 1200}};
    for (const auto& size : windowedSizes) _CreateWindowedDisplayMode(size[0], size[1], 32);

    for (DWORD adapterMode = 0; _numVidModes < MAX_VID_MODES; ++adapterMode) {
        _vidModes[_numVidModes] = static_cast<DisplayModeRecord*>(calloc(1, sizeof(DisplayModeRecord)));
        // The reported expression keeps its source spacing.
        // clang-format off
        FATAL_CHECK(_vidModes[ _numVidModes ], "%s", "");
        // clang-format on
        DisplayModeRecord* record = _vidModes[_numVidModes];
        record->flags = DisplayModeRecord::FLAG_FULLSCREEN;
        record->devMode.dmSize = sizeof(DEVMODEA);
        if (!EnumDisplaySettingsA(nullptr, adapterMode, &record->devMode)) {
            free(record);
            _vidModes[_numVidModes] = nullptr;
            break;
        }
        ++_numVidModes;
    }
    FATAL_CHECK(_numVidModes < MAX_VID_MODES, "%s", "");
    FATAL_CHECK(_numVidModes > 0, "TheVideoSystem : couldn't enumerate ANY valid video modes!");
    LogDisplayModes(false);
}

void TheVideoSystem::LogDisplayModes(bool verbose)
{
    const char terminator = (verbose && _numVidModes != 0) ? ':' : ' ';
    theConsole.PrintfCategory(CONSOLE_CATEGORY_VIDEO, "VideoSystem : found %d display mode(s)%c\n",
                              static_cast<int>(_numVidModes), terminator);
    if (!verbose) return;
    for (uint32_t i = 0; i < _numVidModes; ++i) {
        const DEVMODEA& mode = _vidModes[i]->devMode;
        const char* kind = IsWindowedMode(i) ? "windowed" : "fullscreen";
        if (mode.dmDisplayFrequency == 0) {
            theConsole.PrintfCategory(CONSOLE_CATEGORY_VIDEO, "  MODE %3d :  %4d x %4d (%3d bpp, ??? Hz, %s)\n",
                                      static_cast<int>(i), static_cast<int>(mode.dmPelsWidth),
                                      static_cast<int>(mode.dmPelsHeight), static_cast<int>(mode.dmBitsPerPel), kind);
        } else {
            theConsole.PrintfCategory(CONSOLE_CATEGORY_VIDEO, "  MODE %3d :  %4d x %4d (%3d bpp, %3d Hz, %s)\n",
                                      static_cast<int>(i), static_cast<int>(mode.dmPelsWidth),
                                      static_cast<int>(mode.dmPelsHeight), static_cast<int>(mode.dmBitsPerPel),
                                      static_cast<int>(mode.dmDisplayFrequency), kind);
        }
    }
}

uint32_t TheVideoSystem::FindBestDisplayMode(int width, int height, int bitsPerPixel, int refreshHz,
                                             bool fullscreen) const
{
    if (refreshHz == 0) refreshHz = 60;
    int32_t bestScore = 0;
    uint32_t bestIndex = 0;
    for (uint32_t i = 0; i < _numVidModes; ++i) {
        const DEVMODEA& mode = _vidModes[i]->devMode;
        const bool entryIsFullscreen = !IsWindowedMode(i);
        int32_t score = (entryIsFullscreen == fullscreen) ? 1000000000 : 500000000;
        score -= 10000 * abs(width - static_cast<int32_t>(mode.dmPelsWidth));
        score -= 1000 * abs(height - static_cast<int32_t>(mode.dmPelsHeight));
        if (fullscreen) {
            if (bitsPerPixel != static_cast<int32_t>(mode.dmBitsPerPel)) score -= 500;
            score -= abs(refreshHz - static_cast<int32_t>(mode.dmDisplayFrequency));
        }
        if (score > bestScore) {
            bestScore = score;
            bestIndex = i;
        }
    }
    return bestIndex;
}

uint32_t TheVideoSystem::SelectDisplayMode(int width, int height, int bitsPerPixel, int refreshHz, int flags)
{
    const uint32_t index =
        FindBestDisplayMode(width, height, bitsPerPixel, refreshHz, (flags & DisplayModeRecord::FLAG_FULLSCREEN) != 0);
    SetDisplayMode(index, flags, false);
    return index;
}

void TheVideoSystem::SetDisplayMode(uint32_t vidMode, int flags, bool force)
{
    FATAL_CHECK(vidMode < _numVidModes, "TheVideoSystem : vidMode %d out of range [0,%d]!", static_cast<int>(vidMode),
                static_cast<int>(_numVidModes) - 1);
    if (!force && vidMode == _currentMode) return;
    theConsole.PrintfCategory(CONSOLE_CATEGORY_VIDEO_MODE, "VideoSystem : Setting current display mode #%d: %s\n",
                              static_cast<int>(vidMode), GetDisplayModeDescription(vidMode).c_str());
    _currentMode = vidMode;
    _vidModes[vidMode]->flags |= static_cast<uint32_t>(flags);
    if (_isInitialized) {
        AssertionFailure(__LINE__, __FILE__, "ALL BUILDS", "",
                         "We're sorry, but the engine does not currently support run-time alteration of video mode.\n");
    }
}

std::string TheVideoSystem::GetDisplayModeDescription(uint32_t index) const
{
    const DEVMODEA& mode = _vidModes[index]->devMode;
    char size[DESCRIPTION_BUFFER_SIZE];
    SafeFormat(size, sizeof(size), "%d x %d x %d bpp", static_cast<int>(mode.dmPelsWidth),
               static_cast<int>(mode.dmPelsHeight), static_cast<int>(mode.dmBitsPerPel));
    char kind[DESCRIPTION_BUFFER_SIZE];
    if (IsWindowedMode(index)) {
        SafeFormat(kind, sizeof(kind), " (windowed)");
    } else {
        SafeFormat(kind, sizeof(kind), ", %d hz (fullscreen)", static_cast<int>(mode.dmDisplayFrequency));
    }
    return std::string(size) + kind;
}

bool TheVideoSystem::IsWindowedMode(uint32_t index) const
{
    return (_vidModes[index]->flags & DisplayModeRecord::FLAG_FULLSCREEN) == 0;
}

int TheVideoSystem::GetWidth() const
{
    return _numVidModes == 0 ? 0 : static_cast<int>(_vidModes[_currentMode]->devMode.dmPelsWidth);
}

int TheVideoSystem::GetHeight() const
{
    return _numVidModes == 0 ? 0 : static_cast<int>(_vidModes[_currentMode]->devMode.dmPelsHeight);
}

void TheVideoSystem::SwapBuffers()
{
    ::SwapBuffers(_hDC);
}

void TheVideoSystem::SetClientOrigin(int x, int y)
{
    _clientOriginX = x;
    _clientOriginY = y;
}

void TheVideoSystem::ScreenToClient(int screenX, int screenY, int& outX, int& outY) const
{
    outX = screenX - _clientOriginX;
    outY = screenY - _clientOriginY;
}

void TheVideoSystem::_FitWindowToDesktop()
{
    const LONG leftBefore = _windowRect.left;
    const LONG topBefore = _windowRect.top;
    auto shift = [this](LONG dx, LONG dy) {
        _windowRect.left += dx;
        _windowRect.right += dx;
        _windowRect.top += dy;
        _windowRect.bottom += dy;
    };
    if (_windowRect.bottom > _desktopRect.bottom) shift(0, _desktopRect.bottom - _windowRect.bottom);
    if (_windowRect.right > _desktopRect.right) shift(_desktopRect.right - _windowRect.right, 0);
    if (_windowRect.top < _desktopRect.top) shift(0, _desktopRect.top - _windowRect.top);
    if (_windowRect.left < _desktopRect.left) shift(_desktopRect.left - _windowRect.left, 0);
    _clientOriginX = _windowRect.left - leftBefore;
    _clientOriginY = _windowRect.top - topBefore;
}

void TheVideoSystem::_ComputeWindowRectangle(DWORD style, DWORD exStyle)
{
    _clientRect = {0, 0, GetWidth(), GetHeight()};
    _windowRect = _clientRect;
    const DisplayModeRecord* current = _vidModes[_currentMode];
    if (IsCurrentModeWindowed()) AdjustWindowRectEx(&_windowRect, style, FALSE, exStyle);
    if ((current->flags & DisplayModeRecord::FLAG_KEEP_POSITION) == 0) _FitWindowToDesktop();
}

void TheVideoSystem::_RegisterWindowClass()
{
    WNDCLASSA windowClass;
    memset(&windowClass, 0, sizeof(windowClass));
    windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = theApplication.GetInstanceHandle();
    windowClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = nullptr;
    windowClass.lpszMenuName = nullptr;
    windowClass.lpszClassName = _windowClassName;
    const ATOM atom = RegisterClassA(&windowClass);
    FATAL_CHECK(atom != 0, "VideoSystem : RegisterClass() failed!");
}

void TheVideoSystem::_SwitchToFullscreenMode(const std::string& description)
{
    const LONG result = ChangeDisplaySettingsA(&_vidModes[_currentMode]->devMode, CDS_FULLSCREEN);
    FATAL_CHECK(result == DISP_CHANGE_SUCCESSFUL, "TheVideoSystem : failed to create a fullscreen mode matching \"%s\"",
                description.c_str());
}

void TheVideoSystem::_CreateAndShowWindow()
{
    const DWORD style = IsCurrentModeWindowed() ? (WS_CAPTION | WS_SYSMENU) : WS_POPUP;
    const DWORD exStyle = WS_EX_APPWINDOW;
    _ComputeWindowRectangle(style, exStyle);

    _hWnd = CreateWindowExA(exStyle, _windowClassName, TheApplication::GetName(), style, _windowRect.left,
                            _windowRect.top, _windowRect.right - _windowRect.left, _windowRect.bottom - _windowRect.top,
                            nullptr, nullptr, theApplication.GetInstanceHandle(), nullptr);
    FATAL_CHECK(_hWnd != NULL, "TheVideoSystem::_CreateRenderingWindow : CreateWindowEx() failed!");

    ShowWindow(_hWnd, SW_SHOWNORMAL);
    SetForegroundWindow(_hWnd);
    SetFocus(_hWnd);
}

PIXELFORMATDESCRIPTOR TheVideoSystem::_DescribePixelFormat() const
{
    PIXELFORMATDESCRIPTOR pfd;
    memset(&pfd, 0, sizeof(pfd));
    pfd.nSize = sizeof(PIXELFORMATDESCRIPTOR);
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = static_cast<BYTE>(_vidModes[_currentMode]->devMode.dmBitsPerPel);
    pfd.cDepthBits = static_cast<BYTE>(_desiredDepthBits);
    pfd.cAccumBits = 0;
    pfd.cStencilBits = 0;
    pfd.iLayerType = PFD_MAIN_PLANE;
    return pfd;
}

void TheVideoSystem::_CreateRenderingWindow()
{
    const std::string description = GetDisplayModeDescription(_currentMode);
    theConsole.PrintfCategory(CONSOLE_CATEGORY_VIDEO, "VideoSystem : Creating a rendering window for mode: %s\n",
                              description.c_str());
    _RegisterWindowClass();
    if (!IsCurrentModeWindowed()) _SwitchToFullscreenMode(description);
    _CreateAndShowWindow();
    _CreateRenderingContextForWindow(_hWnd, _DescribePixelFormat());
    theConsole.PrintfCategory(CONSOLE_CATEGORY_VIDEO, "VideoSystem : Successfully created a rendering window.\n");
}

void TheVideoSystem::_CreateRenderingContextForWindow(HWND window, const PIXELFORMATDESCRIPTOR& pfd)
{
    _hDC = GetDC(window);
    FATAL_CHECK(_hDC != NULL, "TheVideoSystem::_CreateRenderingContextForWindow : GetDC() failed!");

    ShowGdiPlaque("Choosing a pixel format...");
    const int pixelFormatNum = ChoosePixelFormat(_hDC, &pfd);
    FATAL_CHECK(pixelFormatNum != 0, "TheVideoSystem::_CreateRenderingContextForWindow : ChoosePixelFormat() failed!");

    ShowGdiPlaque("Setting the pixel format...");
    const BOOL success = SetPixelFormat(_hDC, pixelFormatNum, &pfd);
    FATAL_CHECK(success, "TheVideoSystem::_CreateRenderingContextForWindow : SetPixelFormat() failed!");
    PIXELFORMATDESCRIPTOR described;
    memset(&described, 0, sizeof(described));
    const bool isDescribed = DescribePixelFormat(_hDC, pixelFormatNum, sizeof(described), &described) != 0;
    _isBackBufferKept = isDescribed && (described.dwFlags & PFD_SWAP_COPY) != 0 &&
                        (described.dwFlags & PFD_SWAP_EXCHANGE) == 0 && (described.dwFlags & PFD_DOUBLEBUFFER) != 0;

    ShowGdiPlaque("Creating a rendering context...");
    _hRC = wglCreateContext(_hDC);
    FATAL_CHECK(_hRC != NULL, "TheVideoSystem::_CreateRenderingContextForWindow : wglCreateContext() failed!");

    ShowGdiPlaque("Making rendering context current...");
    const BOOL madeCurrent = wglMakeCurrent(_hDC, _hRC);
    FATAL_CHECK(madeCurrent, "TheVideoSystem::_CreateRenderingContextForWindow : wglMakeCurrent() failed!");

    ShowGdiPlaque(nullptr);
}

void TheVideoSystem::ShowGdiPlaque(const char* format, ...)
{
    char text[FORMAT_BUFFER_SIZE] = "";
    if (format != nullptr) {
        va_list args;
        va_start(args, format);
        SafeFormatV(text, sizeof(text), format, args);
        va_end(args);
    }
    const int length = static_cast<int>(strlen(text));
    const int x = (_clientRect.left + _clientRect.right) / 2 - 4 * length;
    const int y = (_clientRect.top + _clientRect.bottom) / 2;

    SetBkMode(_hDC, TRANSPARENT);
    HBRUSH brush = CreateSolidBrush(RGB(0, 0, 0x44));
    // The first plaque fills the whole window; each later one only the band where the text of
    // the one before stood (the same middle row), which leaves the same picture.
    RECT fill = _clientRect;
    if (_isPlaqueShown) {
        fill.top = (std::max)(_clientRect.top, static_cast<LONG>(y - PLAQUE_BAND_MARGIN));
        fill.bottom = (std::min)(_clientRect.bottom, static_cast<LONG>(y + PLAQUE_TEXT_HEIGHT + PLAQUE_BAND_MARGIN));
    }
    FillRect(_hDC, &fill, brush);
    _isPlaqueShown = true;
    if (_showPlaqueText) {
        HGDIOBJ previousFont = GetCurrentObject(_hDC, OBJ_FONT);
        SetTextAlign(_hDC, TA_LEFT | TA_TOP);
        HFONT font = CreateFontA(PLAQUE_TEXT_HEIGHT, 10, 0, 0, 200, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_TT_PRECIS,
                                 CLIP_DEFAULT_PRECIS, PROOF_QUALITY, FF_MODERN | DEFAULT_PITCH, "Tahoma");
        SelectObject(_hDC, font);
        SetTextColor(_hDC, RGB(0x88, 0x88, 0xFF));
        TextOutA(_hDC, x, y, text, length);
        SelectObject(_hDC, previousFont);
        DeleteObject(font);
    }
    DeleteObject(brush);
    if (format != nullptr) theConsole.PrintfCategory(CONSOLE_CATEGORY_VIDEO, "GDI Plaque : %s\n", text);
}
