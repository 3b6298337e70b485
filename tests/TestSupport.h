// Small helpers shared by the test programs.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <new>
#include <string>
#include <vector>

// Runs fn and returns what it wrote to the debugger output (stderr).
std::string CaptureDebugOutput(const std::function<void()>& fn);

// The lines of text, split at line feeds (a final line feed ends the last line).
std::vector<std::string> SplitLines(const std::string& text);

// The file's bytes, or an empty string when it cannot be read.
std::string ReadWholeFile(const std::string& path);

// Dispatches every queued message as the main loop does (a quit message is dropped).
void PumpMessages();

// A death-test pattern that matches the text literally.
std::string Literal(const std::string& text);

// An adapter display mode as EnumDisplaySettingsA reports one.
DEVMODEA MakeAdapterMode(int width, int height, int bitsPerPixel, int refreshHz);

// Puts a static singleton back into the state its construction gave it, as a new process
// finds it. It must be stopped: its destructor still makes its destroyed-while-running check.
template <typename T>
void Reconstruct(T& object)
{
    object.~T();
    new (&object) T();
}

// Stops the engine if a test left it running, then puts the platform layer and every engine
// singleton back as a new process finds them (the game interface keeps its own state).
void ResetEngineForTest();

// A fresh folder under /tmp, removed with everything in it when the object goes.
// A "threadsafe" death test's child runs the test again from the start: it takes over the
// folder its parent made (so paths in expected messages match) and leaves removal to the parent.
class TestFolder {
public:
    TestFolder();
    ~TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::string& Path() const { return _path; }
    std::string PathOf(const std::string& name) const { return _path + "/" + name; }
    // Writes the bytes to the named file in the folder and returns its path.
    std::string Write(const std::string& name, const std::string& bytes) const;
    std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) const;

private:
    std::string _path;
    bool _owned = true;
};
