// The script driver of headless and demo runs (PINWHIRL_SCRIPT; its lines are listed in
// README.md, "Running without a display, and by script"), and the fixed-step clock
// (PINWHIRL_FIXED_STEP).
#pragma once

#include <string>

// Reads PINWHIRL_SCRIPT and PINWHIRL_FIXED_STEP; on a bad script or step it
// writes the reason (with the script's line number) to stderr and ends the
// process with exit code 1. main() calls it before WinMain.
void PlatformLoadScriptFromEnvironmentOrExit();

// Replaces the loaded script with the given text (name is used in messages).
// On a bad line nothing is loaded and false is returned with the reason, e.g.
// "script.txt:3: unknown event 'jump'". Frame numbers count the swaps of the whole
// run: events of frames already past are dropped.
bool PlatformLoadScriptText(const std::string& text, const std::string& name, std::string* error);
bool PlatformLoadScriptFile(const std::string& path, std::string* error);
void PlatformUnloadScript();

// The next unused `dialog <control-id> <ok|cancel|help>` line, in script order:
// the control id and the button as IDOK, IDCANCEL or IDHELP. False when none is left.
bool PlatformTakeScriptedDialogAnswer(int* controlId, int* button);

// The number of buffer swaps so far (the script's frame number).
int PlatformGetPresentedFrameCount();
