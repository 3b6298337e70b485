#include "TestSupport.h"

#include <gtest/gtest.h>

#include <PlatformTesting.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "Engine/TheApplication.h"
#include "Engine/TheConsole.h"
#include "Engine/TheInputSystem.h"
#include "Engine/TheMessageHandler.h"
#include "Engine/TheRenderer.h"
#include "Engine/TheSoundSystem.h"
#include "Engine/TheVideoSystem.h"
#include "Game/MapElement.h"

// Test programs run headless: a real OpenGL context from the offscreen driver and
// silent audio. Set before main so SDL sees it whenever it starts.
static const bool s_headless = [] {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    return true;
}();

// The map elements trace every construction and destruction, thousands of lines in a test that
// loads maps, which would bury a failing test's report. The tests of the trace switch it on.
static const bool s_quietMapElements = [] {
    MapElement::traceLines = false;
    return true;
}();

std::string CaptureDebugOutput(const std::function<void()>& fn)
{
    testing::internal::CaptureStderr();
    fn();
    return testing::internal::GetCapturedStderr();
}

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::string ReadWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void PumpMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

std::string Literal(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (std::string(".[]()*+?{}|^$\\").find(c) != std::string::npos) out += '\\';
        out += c;
    }
    return out;
}

void ResetEngineForTest()
{
    if (TheApplication::IsInitialized() && !theApplication.IsShuttingDown()) {
        theApplication.RequestShutdown();
        CaptureDebugOutput([] { theApplication.RunFrame(); });
    }
    PlatformResetForTesting();
    Reconstruct(theApplication);
    Reconstruct(theConsole);
    Reconstruct(theInputSystem);
    Reconstruct(theMessageHandler);
    Reconstruct(theVideoSystem);
    Reconstruct(theSoundSystem);
    Reconstruct(theRenderer);
}

DEVMODEA MakeAdapterMode(int width, int height, int bitsPerPixel, int refreshHz)
{
    DEVMODEA mode;
    memset(&mode, 0, sizeof(mode));
    mode.dmSize = sizeof(DEVMODEA);
    mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT | DM_DISPLAYFREQUENCY;
    mode.dmBitsPerPel = static_cast<DWORD>(bitsPerPixel);
    mode.dmPelsWidth = static_cast<DWORD>(width);
    mode.dmPelsHeight = static_cast<DWORD>(height);
    mode.dmDisplayFrequency = static_cast<DWORD>(refreshHz);
    return mode;
}

static const char* const kInheritedFolderVariable = "PINWHIRL_TEST_FOLDER";

TestFolder::TestFolder()
{
    const char* inherited = getenv(kInheritedFolderVariable);
    if (inherited != nullptr && !GTEST_FLAG_GET(internal_run_death_test).empty()) {
        _path = inherited;
        _owned = false;
        return;
    }
    char pattern[] = "/tmp/pinwhirl_test_XXXXXX";
    const char* made = mkdtemp(pattern);
    if (made == nullptr) {
        ADD_FAILURE() << "cannot make a temporary folder: " << strerror(errno);
        _path = "/tmp";
        _owned = false;
        return;
    }
    _path = made;
    setenv(kInheritedFolderVariable, _path.c_str(), 1);
}

TestFolder::~TestFolder()
{
    if (!_owned) return;
    std::error_code error;
    std::filesystem::remove_all(_path, error);
    EXPECT_FALSE(error) << "cannot remove " << _path << ": " << error.message();
}

std::string TestFolder::Write(const std::string& name, const std::string& bytes) const
{
    const std::string path = PathOf(name);
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    EXPECT_TRUE(out.good()) << "cannot write " << path;
    return path;
}

std::string TestFolder::Write(const std::string& name, const std::vector<uint8_t>& bytes) const
{
    return Write(name, std::string(bytes.begin(), bytes.end()));
}
