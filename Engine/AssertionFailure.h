// The fatal-failure reporter and the two small formatting services.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <functional>
#include <string>

#include "Engine/Compiler.h"

// The formatting buffers of the log and the failure reports: at most 2047 characters and the
// terminator.
constexpr size_t FORMAT_BUFFER_SIZE = 2048;

// Reports a failed check and ends the program with exit code 1: the program with a window shows
// the report in two message boxes and shuts down in order (FailureBoxes.h); one without a window
// writes the report to stderr.
[[noreturn]] void AssertionFailure(int line, const char* file, const char* buildScope, const char* expression,
                                   const char* format, ...) PW_PRINTF(5, 6);

// What a failure does with its report before the process exits with code 1; the default writes it
// to stderr.
typedef void (*FailureEnding)(const char* report);
void SetFailureEnding(FailureEnding ending);

// A fatal report that TrapFatalReports caught instead of ending the program.
struct TrappedReport {
    std::string file;
    int line = 0;
    std::string expression;
    std::string message;
};

// Runs work. A fatal report made on this thread while it runs does not end the program: it
// stops the work there (what the work made goes with its stack, so it must be held by objects
// that release it), nothing is shown or logged, and the result is false with the report.
// Outside it the reporter is as always. For reading files a user may have broken, where the
// program can refuse the file and go on.
bool TrapFatalReports(const std::function<void()>& work, TrappedReport& report);

// Formats (at most 2047 characters) and sends the text to the debugger output.
void DebugPrintf(const char* format, ...) PW_PRINTF(1, 2);

// Bounded formatting that always stores a terminator in buffer[size - 1].
void SafeFormat(char* buffer, size_t size, const char* format, ...) PW_PRINTF(3, 4);
void SafeFormatV(char* buffer, size_t size, const char* format, va_list args);

// Every check of the program: the condition's source text is the reported expression.
#define FATAL_CHECK(condition, ...)                                                                    \
    do {                                                                                               \
        if (!(condition)) AssertionFailure(__LINE__, __FILE__, "ALL BUILDS", #condition, __VA_ARGS__); \
    } while (0)

// The start/stop checks every engine singleton makes, with its own class name.
#define CHECK_NOT_YET_INITIALIZED(className)                                   \
    FATAL_CHECK(!_isInitialized, "%s",                                         \
                className " was initialized twice; either a second " className \
                          " was started or Startup() was called on an already-running system.")
#define CHECK_NOT_RUNNING_AT_DESTRUCTION(className) \
    FATAL_CHECK(!_isInitialized, "%s", className " was destroyed while running; Shutdown() should be called first!")
