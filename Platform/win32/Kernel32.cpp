// KERNEL32: the performance counter, Sleep and the debugger output, and the
// fixed-step clock of scripted runs.
//
// These run during static construction, before main() and before SDL starts,
// so they use the C library only and read PINWHIRL_FIXED_STEP on first use.
#include <time.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "PlatformInternal.h"
#include "PlatformTesting.h"
#include "windows.h"

namespace {

const LONGLONG COUNTS_PER_SECOND = 1000000000;  // nanoseconds

struct Clock {
    bool configured = false;
    bool fixed = false;
    LONGLONG countsPerFrame = 0;
    LONGLONG virtualCount = 0;
    std::string error;  // a PINWHIRL_FIXED_STEP that is not a positive number
    double step = 0.0;
};

// The clock advances by exactly this much per presented frame (at least one count).
void SetStep(Clock& clock, double seconds)
{
    clock.fixed = true;
    clock.step = seconds;
    clock.countsPerFrame = std::max<LONGLONG>(1, std::llround(seconds * static_cast<double>(COUNTS_PER_SECOND)));
}

Clock& TheClock()
{
    static Clock& clock = *new Clock;  // still there for static destructors
    if (!clock.configured) {
        clock.configured = true;
        const char* text = getenv("PINWHIRL_FIXED_STEP");
        if (text != nullptr && *text != '\0') {
            char* end = nullptr;
            errno = 0;
            const double seconds = strtod(text, &end);
            if (errno != 0 || end == text || *end != '\0' || !(seconds > 0.0) || !std::isfinite(seconds) ||
                seconds > 3600.0) {
                clock.error =
                    std::string("PINWHIRL_FIXED_STEP='") + text + "' is not a positive number of seconds (e.g. 0.01)";
            } else {
                SetStep(clock, seconds);
            }
        }
    }
    return clock;
}

LONGLONG RealCount()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<LONGLONG>(now.tv_sec) * COUNTS_PER_SECOND + now.tv_nsec;
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
    const Clock& clock = TheClock();
    count->QuadPart = clock.fixed ? clock.virtualCount : RealCount();
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

// There is no debugger to attach to on Linux; stderr is where the log is read.
void WINAPI OutputDebugStringA(LPCSTR text)
{
    if (text == nullptr) return;
    fputs(text, stderr);
    fflush(stderr);
}

void PlatformClockFramePresented()
{
    Clock& clock = TheClock();
    if (clock.fixed) clock.virtualCount += clock.countsPerFrame;
}

bool PlatformFixedStep(double* seconds, std::string* error)
{
    const Clock& clock = TheClock();
    if (!clock.error.empty()) {
        if (error != nullptr) *error = clock.error;
        return false;
    }
    if (seconds != nullptr) *seconds = clock.fixed ? clock.step : 0.0;
    return true;
}

void PlatformSetFixedStepForTesting(double seconds)
{
    Clock& clock = TheClock();
    clock.error.clear();
    if (!(seconds > 0.0)) {  // zero or less: the real counter again
        clock.fixed = false;
        return;
    }
    if (!clock.fixed) clock.virtualCount = RealCount();  // the virtual counter goes on from now
    SetStep(clock, seconds);
}
