// The engine's one tokenizer: a read cursor over a NUL-terminated text in memory.
// Every mismatch is a syntax error, and a syntax error ends the program with a
// report of the buffer's name, the line and the text at the cursor.
#pragma once

#include <cstdint>
#include <string>

#include "Engine/Vector.h"

class ParseBuffer {
public:
    // length -1 takes the string length of text. The text is not owned, but it is
    // written to by StripComments, so it must stay valid and writable.
    ParseBuffer(char* text, int32_t length, const char* name);
    ~ParseBuffer() {}

    ParseBuffer(const ParseBuffer&) = delete;
    ParseBuffer& operator=(const ParseBuffer&) = delete;

    // Removes // and /* */ comments, keeping their line breaks. Only before any read.
    void StripComments();

    int32_t ReadInt();
    double ReadFloat();
    void ReadQuotedString(char* dest, int32_t destSize, bool allowEOL);
    void ReadQuotedString(std::string& dest, bool allowEOL);
    Vec2f ReadPoint();
    void ExpectChar(char expected);
    void ExpectWord(const char* word);
    char PeekChar();

    [[noreturn]] void ReportSyntaxError(const char* message);

    const char* GetName() const { return name; }
    char* GetBuffer() const { return _buffer; }
    int32_t GetLength() const { return length; }
    int32_t GetLine() const { return line; }
    // The unread rest of the text.
    const char* GetReadPosition() const { return _read; }

private:
    void _SkipWhiteSpace();
    // Skips white space, then copies the run of characters that pass the test into token
    // (room for 1024 bytes with the terminator); returns its length.
    int32_t _CollectToken(bool (*accepted)(char), char* token);

    const char* name;
    char* _buffer;
    int32_t length;
    char* _read;
    int32_t line;
    char* lineStart;
};
