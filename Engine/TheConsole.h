// The program's log: a ring of recent lines, echoed to the debugger output.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Engine/AssertionFailure.h"

enum ConsoleCategory : uint32_t {
    CONSOLE_CATEGORY_VIDEO = 0x202,
    CONSOLE_CATEGORY_VIDEO_MODE = 0x204,
    CONSOLE_CATEGORY_SOUND = 0x400,
};

class TheConsole {
public:
    static constexpr int32_t MAX_CONSOLE_LINES = 65536;

    TheConsole();
    ~TheConsole();

    void Startup();
    void Shutdown();
    static bool IsInitialized() { return _isInitialized; }

    void Printf(const char* format, ...) PW_PRINTF(2, 3);
    void PrintfCategory(uint32_t categoryMask, const char* format, ...) PW_PRINTF(3, 4);
    void Print(const char* text);
    void AddLine(const char* text, size_t length);

    int GetNewestLineNumber() const { return _totalLines - 1; }
    int GetOldestLineNumber() const { return GetNewestLineNumber() - _lineCount + 1; }
    const std::string& GetLine(int lineNumber) const;
    int GetLineCount() const { return _lineCount; }

private:
    void _Clear();

    uint32_t _categoryMask = 0xFFFFFFFFu;
    std::vector<std::string> _lines;
    int32_t _capacity = MAX_CONSOLE_LINES;
    int32_t _lineCount = 1;
    int32_t _newestSlot = 0;
    int32_t _totalLines = 1;

    static bool _isInitialized;
};

extern TheConsole theConsole;
