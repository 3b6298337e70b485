// KERNEL32: the performance counter, Sleep, the layer's log lines, and the fixed-step clock of
// scripted runs. The debugger output is DebugOutput.cpp's.
//
// These run during static construction, before main() and before SDL starts,
// so they use the C library only and read PINWHIRL_FIXED_STEP on first use.
#include <time.h>

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "PlatformInternal.h"
#include "ScriptReader.h"
#include "windows.h"

namespace {

const LONGLONG COUNTS_PER_SECOND = 1000000000;  // nanoseconds
// The layer's log lines are formatted on the stack up to this size, terminator included.
const size_t LOG_LINE_SIZE = 2048;

LONGLONG RealCount()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<LONGLONG>(now.tv_sec) * COUNTS_PER_SECOND + now.tv_nsec;
}

// The clock advances by exactly this much per presented frame (at least one count).
void SetFixedStep(ClockState& clock, double seconds)
{
    clock.fixed = true;
    clock.step = seconds;
    clock.countsPerFrame = std::max<LONGLONG>(1, std::llround(seconds * static_cast<double>(COUNTS_PER_SECOND)));
}

void SetRealClock(ClockState& clock)
{
    if (clock.fixed) clock.realOffset = std::max(clock.realOffset, clock.virtualCount - RealCount());
    clock.fixed = false;
}

// This file's part of the layer's state, with PINWHIRL_FIXED_STEP read on first use.
ClockState& TheClock()
{
    ClockState& clock = Platform().clock;
    if (!clock.configured) {
        clock.configured = true;
        const char* text = getenv("PINWHIRL_FIXED_STEP");
        double seconds = 0.0;
        if (text != nullptr && *text != '\0' && ReadFixedStep(text, &seconds, &clock.error))
            SetFixedStep(clock, seconds);
    }
    return clock;
}

}  // namespace

BOOL WINAPI QueryPerformanceFrequency(LARGE_INTEGER* frequency)
{
    if (frequency == nullptr) return FALSE;
    TheClock();
    frequency->QuadPart = COUNTS_PER_SECOND;
    return TRUE;
}

BOOL WINAPI QueryPerformanceCounter(LARGE_INTEGER* count)
{
    if (count == nullptr) return FALSE;
    const ClockState& clock = TheClock();
    count->QuadPart = clock.fixed ? clock.virtualCount : RealCount() + clock.realOffset;
    return TRUE;
}

void WINAPI Sleep(DWORD milliseconds)
{
    // A scripted run with a fixed step does not wait for anything.
    if (TheClock().fixed) return;
    timespec wait;
    wait.tv_sec = milliseconds / 1000;
    wait.tv_nsec = static_cast<long>(milliseconds % 1000) * 1000000L;
    while (nanosleep(&wait, &wait) == -1 && errno == EINTR) {}
}

void PlatformLog(const char* format, ...)
{
    char text[LOG_LINE_SIZE];
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int length = vsnprintf(text, sizeof(text), format, args);
    va_end(args);
    if (length >= 0 && static_cast<size_t>(length) >= sizeof(text)) {
        // Longer than a line (a message box's text and caption together): nothing is cut.
        std::string longText(static_cast<size_t>(length) + 1, '\0');
        vsnprintf(&longText[0], longText.size(), format, again);
        OutputDebugStringA(longText.c_str());
    } else {
        OutputDebugStringA(text);
    }
    va_end(again);
}

void PlatformClockFramePresented()
{
    ClockState& clock = TheClock();
    if (clock.fixed) clock.virtualCount += clock.countsPerFrame;
}

bool PlatformFixedStep(double* seconds, std::string* error)
{
    const ClockState& clock = TheClock();
    if (!clock.error.empty()) {
        if (error != nullptr) *error = clock.error;
        return false;
    }
    if (seconds != nullptr) *seconds = clock.fixed ? clock.step : 0.0;
    return true;
}

void PlatformClockSetStep(double seconds)
{
    ClockState& clock = TheClock();
    clock.error.clear();
    if (seconds > 0.0) {
        if (!clock.fixed) clock.virtualCount = RealCount() + clock.realOffset;  // the virtual count goes on from now
        SetFixedStep(clock, seconds);
    } else {
        SetRealClock(clock);
    }
}

void PlatformClockReset()
{
    ClockState& clock = Platform().clock;
    SetRealClock(clock);
    const LONGLONG virtualCount = clock.virtualCount;
    const LONGLONG realOffset = clock.realOffset;
    clock = ClockState();
    clock.virtualCount = virtualCount;
    clock.realOffset = realOffset;
    TheClock();
}
