#include "Engine/TheConsole.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

bool TheConsole::_isInitialized = false;

TheConsole::TheConsole()
{
    // Slot 0 holds the empty line 0 until Startup clears the ring.
    _lines.emplace_back();
}

TheConsole::~TheConsole()
{
    CHECK_NOT_RUNNING_AT_DESTRUCTION("TheConsole");
}

void TheConsole::_Clear()
{
    _lines.clear();
    _lines.emplace_back();
    _lineCount = 1;
    _newestSlot = 0;
}

void TheConsole::Startup()
{
    Printf("::: Initialization : Console (starting)\n");
    CHECK_NOT_YET_INITIALIZED("TheConsole");
    _Clear();
    _isInitialized = true;
    Printf("::: Initialization : Console (finished)\n");
}

void TheConsole::Shutdown()
{
    Printf("::: Shutdown : Console (starting)\n");
    _isInitialized = false;
    Printf("::: Shutdown : Console (finished)\n");
}

void TheConsole::Printf(const char* format, ...)
{
    char text[FORMAT_BUFFER_SIZE];
    va_list args;
    va_start(args, format);
    SafeFormatV(text, sizeof(text), format, args);
    va_end(args);

    if (!_isInitialized) {
        DebugPrintf("CONSOLE (pre-initialization!): %s", text);
        return;
    }
    Print(text);
}

void TheConsole::PrintfCategory(uint32_t categoryMask, const char* format, ...)
{
    if ((_categoryMask & categoryMask) == 0) return;
    char text[FORMAT_BUFFER_SIZE];
    va_list args;
    va_start(args, format);
    SafeFormatV(text, sizeof(text), format, args);
    va_end(args);
    Print(text);
}

void TheConsole::Print(const char* text)
{
    const char* cursor = text;
    while (*cursor != '\0') {
        const char* lineFeed = strchr(cursor, '\n');
        if (lineFeed == nullptr) {
            AddLine(cursor, strlen(cursor));
            return;
        }
        AddLine(cursor, static_cast<size_t>(lineFeed - cursor));
        cursor = lineFeed + 1;
    }
}

void TheConsole::AddLine(const char* text, size_t length)
{
    if (_lineCount < _capacity) {
        _lines.emplace_back(text, length);
        ++_lineCount;
        ++_newestSlot;
    } else {
        // Full ring: the newest line takes the oldest line's slot, reusing its storage.
        _newestSlot = (_newestSlot + 1 == _capacity) ? 0 : _newestSlot + 1;
        _lines[static_cast<size_t>(_newestSlot)].assign(text, length);
    }
    ++_totalLines;
    DebugPrintf("CONSOLE: %s\n", _lines[static_cast<size_t>(_newestSlot)].c_str());
}

const std::string& TheConsole::GetLine(int lineNumber) const
{
    int slot = _newestSlot - (GetNewestLineNumber() - lineNumber);
    if (slot < 0) slot += _lineCount;
    return _lines[static_cast<size_t>(slot)];
}
