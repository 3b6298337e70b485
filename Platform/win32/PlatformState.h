// Everything the platform layer remembers, in one record with a part for each file that
// keeps state. Nothing outside Platform/win32/ includes this.
#pragma once

#include <SDL.h>

#include <deque>
#include <set>
#include <string>
#include <vector>

#include "GdiObjects.h"
#include "InputMessages.h"
#include "ScriptReader.h"  // the script and its events
#include "windows.h"

struct PlatformWindow;

// --- Window.cpp ---
struct PlatformWindowClass {
    WNDCLASSA wndClass;
    std::string name;
    ATOM atom;
};

enum class VideoStart { NOT_TRIED, STARTED, FAILED };

struct WindowState {
    std::vector<PlatformWindowClass> classes;
    ATOM nextAtom = 0xC000;                  // where Windows numbers registered classes from
    std::vector<PlatformWindow*> live;       // oldest first
    std::vector<PlatformWindow*> graveyard;  // destroyed, kept so that stale handles stay harmless
    PlatformWindow* desktop = nullptr;       // made on first use
    PlatformWindow* active = nullptr;
    PlatformWindow* focus = nullptr;
    bool isAppActive = false;
    bool hasFakeDesktop = false;
    RECT fakeDesktop = {0, 0, 0, 0};
};

// SDL's video subsystem; it stays up once started, also across a test's reset.
struct VideoState {
    VideoStart start = VideoStart::NOT_TRIED;
    int headless = -1;  // -1 not looked up yet
};

// --- Display.cpp ---
struct DisplayState {
    bool hasFakeModes = false;
    std::vector<DEVMODEA> fakeModes;
    bool hasForcedResult = false;
    LONG forcedResult = DISP_CHANGE_SUCCESSFUL;
    // The fullscreen mode in effect since the last successful CDS_FULLSCREEN change.
    bool isFullscreenActive = false;
    DEVMODEA fullscreenMode = {};
};

// --- Messages.cpp ---
struct MessageState {
    std::deque<MSG> posted;  // PostMessageA and TranslateMessage
    std::deque<MSG> input;   // keyboard, mouse and the close box, in arrival order
    bool isQuitPosted = false;
    int quitCode = 0;
    void (*defWindowProcObserver)(UINT, WPARAM) = nullptr;
};

// --- Input.cpp ---
struct InputState {
    InputMessages messages;  // and the layer's own idea of GetKeyState, from the messages it made
};

// --- Cursor.cpp ---
struct CursorState {
    POINT position = {0, 0};  // the layer's own position: the only one under offscreen/dummy
    int displayCount = 0;     // a mouse is installed, so the counter starts at 0 (shown)
};

// --- Gdi.cpp ---
struct GdiState {
    std::set<GdiObject*> live;  // brushes and fonts not yet deleted
};

// --- Wgl.cpp ---
struct PlatformContext {
    SDL_GLContext context = nullptr;
    PlatformWindow* window = nullptr;  // the window it was made on (SDL needs one to make it current)
};

struct WglState {
    std::vector<PlatformContext*> contexts;
    PlatformContext* current = nullptr;
    PlatformWindow* currentWindow = nullptr;
};

// --- Kernel32.cpp ---
struct ClockState {
    bool configured = false;  // PINWHIRL_FIXED_STEP read
    bool fixed = false;
    double step = 0.0;
    LONGLONG countsPerFrame = 0;
    LONGLONG virtualCount = 0;
    LONGLONG realOffset = 0;  // added to the real counter, so it never runs back after a virtual stretch
    std::string error;        // a PINWHIRL_FIXED_STEP that is not a positive number
};

// --- Script.cpp ---
struct ScriptState {
    bool isLoaded = false;
    Script script;
    size_t nextEvent = 0;
    size_t nextAnswer = 0;
    long swapCount = 0;
};

// --- Dialog.cpp ---
struct PlatformDialog;

struct DialogState {
    std::vector<PlatformDialog*> open;  // the newest last: a dialog procedure may open another
};

// --- Resources.cpp ---
struct PlatformResourceEntry {
    WORD typeId = 0;  // 0 when named
    std::string typeName;
    WORD nameId = 0;
    std::string name;
    const void* data = nullptr;
    DWORD size = 0;
};

// The program's resources, handed over during static construction; a test's reset keeps them.
struct ResourceState {
    std::vector<PlatformResourceEntry> entries;
};

struct PlatformState {
    VideoState video;
    WindowState windows;
    DisplayState display;
    MessageState messages;
    InputState input;
    CursorState cursor;
    GdiState gdi;
    WglState wgl;
    ClockState clock;
    ScriptState script;
    DialogState dialogs;
    ResourceState resources;
};

// The layer's state. It is made on first use, which can be during static construction (the
// engine's clock), and never destroyed: engine singletons report failures (and so hide
// windows and show message boxes) from their destructors, after ours would have run.
PlatformState& Platform();
