// Small helpers shared by the test programs.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Runs fn and returns what it wrote to the debugger output (stderr).
std::string CaptureDebugOutput(const std::function<void()>& fn);

// The lines of text, split at line feeds (a final line feed ends the last line).
std::vector<std::string> SplitLines(const std::string& text);

// An adapter display mode as EnumDisplaySettingsA reports one.
DEVMODEA MakeAdapterMode(int width, int height, int bitsPerPixel, int refreshHz);
