// The script driver of the Windows test build: the script lines (PINWHIRL_SCRIPT) and the
// fixed-step clock (PINWHIRL_FIXED_STEP) of the Linux platform, for the real pinwhirl.exe.
// Before WinMain it redirects the program's own imports of SwapBuffers,
// QueryPerformanceCounter, Sleep, MessageBoxA, OutputDebugStringA, PeekMessageA,
// CreateWindowExA, DialogBoxParamA, EndDialog and wglUseFontBitmapsA to functions that
// drive the run and call the real ones. Only the scripted test build has it (cmake/WindowsTargets.cmake); the
// pinwhirl.exe a user runs does not.
//
// As on Linux: a frame number is the count of buffer swaps so far; the events of frame N
// are posted right after the N-th swap, frame 0's once the program has a window. The log
// (OutputDebugStringA) and message boxes are echoed to stderr; in a scripted run a message
// box is answered with OK at once, and the start-up dialog by the script's dialog lines.
#pragma once

#include <string>

// For the driver's own tests: replaces the script (text, named name in messages) and the
// step (0: the real clock), redirecting what a run with them redirects. False with the
// reason when the script is bad.
bool ScriptDriverStartForTesting(const std::string& text, const std::string& name, double fixedStep,
                                 std::string* error);

// The number of buffer swaps so far.
long ScriptDriverPresentedFrames();
