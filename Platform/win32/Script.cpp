// The script driver (PINWHIRL_SCRIPT): input events, screenshots and the close
// box at given frames, and answers for the start-up dialog. A frame number is
// the count of buffer swaps so far; the events of frame N are queued right
// after the N-th swap, frame 0's once the program's window exists.
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "PlatformInternal.h"
#include "PlatformScript.h"
#include "Screenshot.h"
#include "ScriptReader.h"

namespace {

// This file's part of the layer's state.
ScriptState& State()
{
    return Platform().script;
}

void ApplyEvent(PlatformWindow* window, const ScriptEvent& event)
{
    POINT cursor;
    PlatformGetCursorScreen(&cursor);
    const int clientX = cursor.x - window->clientOrigin.x;
    const int clientY = cursor.y - window->clientOrigin.y;
    switch (event.kind) {
    case ScriptEventKind::KEY: {
        UINT scanCode = 0;
        bool extended = false;
        PlatformScanCodeFromVk(event.vk, &scanCode, &extended);
        PlatformKeyEvent(window, event.vk, scanCode, extended, event.keyAction);
        return;
    }
    case ScriptEventKind::BUTTON:
        PlatformButtonEvent(window, event.button, event.buttonAction, clientX, clientY);
        return;
    case ScriptEventKind::WHEEL:
        PlatformWheelEvent(window, static_cast<int>(std::lround(event.notches * WHEEL_DELTA)));
        return;
    case ScriptEventKind::MOUSE:
        SetCursorPos(window->clientOrigin.x + event.x, window->clientOrigin.y + event.y);
        PlatformMouseMoveEvent(window, event.x, event.y);
        return;
    case ScriptEventKind::CLOSE:
        PlatformPostInput(window, WM_CLOSE, 0, 0);
        return;
    }
}

void TakeScreenshot(PlatformWindow* window, const std::string& file)
{
    if (!PlatformIsContextCurrentOn(window)) {
        PlatformLog("PINWHIRL_SCRIPT: no rendering context on the window, no screenshot %s\n", file.c_str());
        return;
    }
    int width = 0, height = 0;
    SDL_GL_GetDrawableSize(window->sdl, &width, &height);
    if (width <= 0 || height <= 0) return;
    // A double-buffered window's picture of this swap is still in the back buffer.
    if (!WriteScreenshotPng(file, width, height, window->glFormat.doubleBuffer)) {
        PlatformLog("PINWHIRL_SCRIPT: could not write the screenshot %s\n", file.c_str());
    }
}

// The script from here on; events of frames already past are dropped.
void Install(const Script& script)
{
    State().script = script;
    State().isLoaded = true;
    State().nextEvent = 0;
    State().nextAnswer = 0;
    // Events already due (a script loaded in the middle of a test) wait for the next queue check.
    while (State().nextEvent < State().script.events.size() &&
           State().script.events[State().nextEvent].frame < State().swapCount)
        ++State().nextEvent;
}

}  // namespace

bool PlatformLoadScriptText(const std::string& text, const std::string& name, std::string* error)
{
    Script script;
    if (!ReadScriptText(text, name, &script, error)) return false;
    Install(script);
    return true;
}

bool PlatformLoadScriptFile(const std::string& path, std::string* error)
{
    Script script;
    if (!ReadScriptFile(path, &script, error)) return false;
    Install(script);
    return true;
}

void PlatformUnloadScript()
{
    State().script = Script();
    State().isLoaded = false;
    State().nextEvent = 0;
    State().nextAnswer = 0;
}

void PlatformLoadScriptFromEnvironmentOrExit()
{
    std::string error;
    if (!PlatformFixedStep(nullptr, &error)) {
        PlatformLog("Pinwhirl: %s\n", error.c_str());
        exit(1);
    }
    const char* path = getenv("PINWHIRL_SCRIPT");
    if (path == nullptr || *path == '\0') return;
    if (!PlatformLoadScriptFile(path, &error)) {
        PlatformLog("Pinwhirl: bad PINWHIRL_SCRIPT: %s\n", error.c_str());
        exit(1);
    }
}

bool PlatformTakeScriptedDialogAnswer(int* controlId, int* button)
{
    if (State().nextAnswer >= State().script.answers.size()) return false;
    const ScriptDialogAnswer& answer = State().script.answers[State().nextAnswer++];
    if (controlId != nullptr) *controlId = answer.controlId;
    if (button != nullptr) *button = answer.button;
    return true;
}

int PlatformGetPresentedFrameCount()
{
    return static_cast<int>(State().swapCount);
}

bool PlatformIsScriptRunning()
{
    return State().isLoaded;
}

void PlatformScriptBeforeSwap(PlatformWindow* window)
{
    for (const ScriptScreenshot& shot : State().script.screenshots) {
        if (shot.frame == State().swapCount + 1) TakeScreenshot(window, shot.file);
    }
}

void PlatformScriptAfterSwap()
{
    ++State().swapCount;
    PlatformScriptReleaseDueEvents();
}

void PlatformScriptReleaseDueEvents()
{
    if (State().nextEvent >= State().script.events.size()) return;
    PlatformWindow* window = PlatformMainWindow();
    if (window == nullptr) return;  // frame 0's events wait for the window
    while (State().nextEvent < State().script.events.size() &&
           State().script.events[State().nextEvent].frame <= State().swapCount) {
        ApplyEvent(window, State().script.events[State().nextEvent++]);
    }
}
