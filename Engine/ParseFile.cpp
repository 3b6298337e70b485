#include "Engine/ParseFile.h"

#include <climits>
#include <new>

#include "Engine/AssertionFailure.h"
#include "Engine/FileName.h"

ParseFile::ParseFile(const char* fileName_) : fileName(fileName_)
{
    _OpenFileByName(fileName);
    // A trapped fatal report leaves the constructor without running the destructor; the file
    // still closes.
    struct CloseOnLeaving {
        FILE*& file;
        ~CloseOnLeaving()
        {
            if (file != nullptr) fclose(file);
            file = nullptr;
        }
    } closer{_fileHandle};
    _LoadFileIntoBufferAndClose(true);
}

ParseFile::~ParseFile()
{
    if (_fileHandle != nullptr) fclose(_fileHandle);
    if (_parseBuffer != nullptr) {
        delete[] _parseBuffer->GetBuffer();
        delete _parseBuffer;
    }
}

void ParseFile::_OpenFileByName(const char* name)
{
    _fileHandle = OpenRegularFile(name);
    FATAL_CHECK(_fileHandle, "ParseFile::_OpenFileByName() : could not open file \"%s\" for reading", name);
}

void ParseFile::_LoadFileIntoBufferAndClose(bool closeWhenDone)
{
    // A directory opens on some systems but has no readable size; a file past 2 GB
    // does not fit the buffer's 32-bit length. Neither can be parsed.
    long size = -1;
    if (fseek(_fileHandle, 0, SEEK_END) == 0) size = ftell(_fileHandle);
    if (size < 0 || size >= INT32_MAX || fseek(_fileHandle, 0, SEEK_SET) != 0) {
        AssertionFailure(__LINE__, __FILE__, "ALL BUILDS", "size >= 0 && size < INT32_MAX",
                         "ParseFile::_LoadFileIntoBufferAndClose() : could not read file \"%s\"", fileName);
    }

    char* byteBuffer = new (std::nothrow) char[static_cast<size_t>(size) + 1];
    FATAL_CHECK(byteBuffer, "ParseFile::_LoadFileIntoBufferAndClose() : new char[ %d ] failed!",
                static_cast<int>(size + 1));

    size_t bytesRead = fread(byteBuffer, 1, static_cast<size_t>(size), _fileHandle);
    if (bytesRead != static_cast<size_t>(size)) {
        delete[] byteBuffer;
        AssertionFailure(__LINE__, __FILE__, "ALL BUILDS", "bytesRead == size",
                         "ParseFile::_LoadFileIntoBufferAndClose() : could not read file \"%s\"", fileName);
    }
    byteBuffer[size] = '\0';

    if (closeWhenDone) {
        fclose(_fileHandle);
        _fileHandle = nullptr;
    }

    _parseBuffer = new (std::nothrow) ParseBuffer(byteBuffer, static_cast<int32_t>(size), fileName);
    if (_parseBuffer == nullptr) delete[] byteBuffer;
    FATAL_CHECK(_parseBuffer, "ParseFile::_LoadFileIntoBufferAndClose() : new ParseBuffer failed!");
}
