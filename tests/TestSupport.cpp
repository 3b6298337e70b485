#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

// Test programs run headless: a real OpenGL context from the offscreen driver and
// silent audio. Set before main so SDL sees it whenever it starts.
static const bool s_headless = [] {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
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
