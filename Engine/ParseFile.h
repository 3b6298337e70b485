// A text file loaded whole into memory and read through a ParseBuffer named after it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "Engine/ParseBuffer.h"
#include "Engine/Vector.h"

class ParseFile {
public:
    // fileName must outlive the ParseFile: syntax errors quote it.
    explicit ParseFile(const char* fileName);
    ~ParseFile();

    ParseFile(const ParseFile&) = delete;
    ParseFile& operator=(const ParseFile&) = delete;

    void StripComments() { _parseBuffer->StripComments(); }
    int32_t ReadInt() { return _parseBuffer->ReadInt(); }
    double ReadFloat() { return _parseBuffer->ReadFloat(); }
    void ReadQuotedString(std::string& dest, bool allowEOL) { _parseBuffer->ReadQuotedString(dest, allowEOL); }
    Vec2f ReadPoint() { return _parseBuffer->ReadPoint(); }
    void ExpectChar(char expected) { _parseBuffer->ExpectChar(expected); }
    void ExpectWord(const char* word) { _parseBuffer->ExpectWord(word); }
    char PeekChar() { return _parseBuffer->PeekChar(); }
    [[noreturn]] void ReportSyntaxError(const char* message) { _parseBuffer->ReportSyntaxError(message); }

    const char* GetFileName() const { return fileName; }
    // For readers written against the buffer, which memory texts share.
    ParseBuffer& GetParseBuffer() { return *_parseBuffer; }

private:
    void _OpenFileByName(const char* name);
    void _LoadFileIntoBufferAndClose(bool closeWhenDone);

    ParseBuffer* _parseBuffer = nullptr;
    const char* fileName;
    FILE* _fileHandle = nullptr;
};
