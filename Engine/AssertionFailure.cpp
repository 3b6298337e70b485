#include "Engine/AssertionFailure.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <utility>

static bool s_isReportingFailure = false;
static FailureEnding s_failureEnding = nullptr;

namespace {

// How many TrapFatalReports calls are running on this thread.
thread_local int t_armedTraps = 0;

// What AssertionFailure throws while a trap is armed; only TrapFatalReports catches it.
struct TrappedFailure {
    TrappedReport report;
};

struct ArmedTrap {
    ArmedTrap() { ++t_armedTraps; }
    ~ArmedTrap() { --t_armedTraps; }
    ArmedTrap(const ArmedTrap&) = delete;
    ArmedTrap& operator=(const ArmedTrap&) = delete;
};

}  // namespace

bool TrapFatalReports(const std::function<void()>& work, TrappedReport& report)
{
    try {
        const ArmedTrap armed;
        work();
    } catch (TrappedFailure& failure) {
        report = std::move(failure.report);
        return false;
    }
    return true;
}

void SafeFormatV(char* buffer, size_t size, const char* format, va_list args)
{
    if (size == 0) return;
    vsnprintf(buffer, size, format, args);
    buffer[size - 1] = '\0';
}

void SafeFormat(char* buffer, size_t size, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    SafeFormatV(buffer, size, format, args);
    va_end(args);
}

void DebugPrintf(const char* format, ...)
{
    char text[FORMAT_BUFFER_SIZE];
    va_list args;
    va_start(args, format);
    SafeFormatV(text, sizeof(text), format, args);
    va_end(args);
    OutputDebugStringA(text);
}

void SetFailureEnding(FailureEnding ending)
{
    s_failureEnding = ending;
}

// A program without a window has no one to show a box to.
static void EndFailureOnStandardError(const char* report)
{
    fputs(report, stderr);
    fflush(stderr);
}

void AssertionFailure(int line, const char* file, const char* buildScope, const char* expression, const char* format,
                      ...)
{
    char message[FORMAT_BUFFER_SIZE];
    va_list args;
    va_start(args, format);
    SafeFormatV(message, sizeof(message), format, args);
    va_end(args);
    if (t_armedTraps > 0) throw TrappedFailure{{file ? file : "", line, expression ? expression : "", message}};

    // A failure inside the emergency shutdown must not report again; it ends the process at
    // once, without running the exit handlers a second time.
    if (s_isReportingFailure) _Exit(1);
    s_isReportingFailure = true;

    char report[FORMAT_BUFFER_SIZE];
    SafeFormat(report, sizeof(report), "ASSERTION FAILURE:\n%s(%d):  (%s)\nExpression was: ( %s )\n\n   %s\n", file,
               line, buildScope, expression, message);
    (s_failureEnding != nullptr ? s_failureEnding : EndFailureOnStandardError)(report);
    exit(1);
}
