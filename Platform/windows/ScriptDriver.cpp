#include "ScriptDriver.h"

#include <windows.h>

#include <GL/gl.h>
#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "ImportRedirect.h"
#include "InputMessages.h"
#include "Screenshot.h"
#include "ScriptReader.h"

namespace {

// The real functions behind the redirected imports.
struct RealFunctions {
    BOOL(WINAPI* swapBuffers)(HDC) = SwapBuffers;
    BOOL(WINAPI* queryPerformanceCounter)(LARGE_INTEGER*) = QueryPerformanceCounter;
    void(WINAPI* sleep)(DWORD) = Sleep;
    int(WINAPI* messageBoxA)(HWND, LPCSTR, LPCSTR, UINT) = MessageBoxA;
    void(WINAPI* outputDebugStringA)(LPCSTR) = OutputDebugStringA;
    BOOL(WINAPI* peekMessageA)(LPMSG, HWND, UINT, UINT, UINT) = PeekMessageA;
    HWND(WINAPI* createWindowExA)
    (DWORD, LPCSTR, LPCSTR, DWORD, int, int, int, int, HWND, HMENU, HINSTANCE, LPVOID) = CreateWindowExA;
    INT_PTR(WINAPI* dialogBoxParamA)(HINSTANCE, LPCSTR, HWND, DLGPROC, LPARAM) = DialogBoxParamA;
    BOOL(WINAPI* endDialog)(HWND, INT_PTR) = EndDialog;
    BOOL(WINAPI* wglUseFontBitmapsA)(HDC, DWORD, DWORD, DWORD) = ::wglUseFontBitmapsA;
};

// The modal dialog being answered; a scripted run shows one at a time.
struct DialogCall {
    DLGPROC proc = nullptr;
    LPARAM parameter = 0;
    bool ended = false;
    int unansweredPresses = 0;
};

struct Driver {
    RealFunctions real;
    Script script;
    bool scripted = false;
    size_t nextEvent = 0;
    size_t nextAnswer = 0;
    long swapCount = 0;
    bool fixed = false;
    LONGLONG countsPerFrame = 0;
    LONGLONG virtualCount = 0;
    HWND newestWindow = nullptr;
    InputMessages input;
    DialogCall* dialog = nullptr;
};

Driver& TheDriver()
{
    static Driver* driver = new Driver;  // never destroyed: static destructors may still log
    return *driver;
}

void Note(const char* format, const std::string& argument)
{
    fprintf(stderr, format, argument.c_str());
    fflush(stderr);
}

// --- the clock ---

void SetStep(Driver& driver, double seconds)
{
    driver.fixed = seconds > 0.0;
    if (!driver.fixed) return;
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    driver.countsPerFrame = std::max<LONGLONG>(1, std::llround(seconds * static_cast<double>(frequency.QuadPart)));
}

BOOL WINAPI DriverQueryPerformanceCounter(LARGE_INTEGER* count)
{
    const Driver& driver = TheDriver();
    if (!driver.fixed) return driver.real.queryPerformanceCounter(count);
    if (count == nullptr) return FALSE;
    count->QuadPart = driver.virtualCount;
    return TRUE;
}

void WINAPI DriverSleep(DWORD milliseconds)
{
    // A scripted run with a fixed step does not wait for anything.
    if (!TheDriver().fixed) TheDriver().real.sleep(milliseconds);
}

// --- the log and message boxes ---

void WINAPI DriverOutputDebugStringA(LPCSTR text)
{
    if (text != nullptr) Note("%s", text);
    TheDriver().real.outputDebugStringA(text);
}

int WINAPI DriverMessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type)
{
    fprintf(stderr, "MessageBoxA caption: %s\nMessageBoxA text: %s\n", caption != nullptr ? caption : "Error",
            text != nullptr ? text : "");
    fflush(stderr);
    // Nobody clicks in a scripted run: the box counts as answered with OK at once.
    if (TheDriver().scripted) return IDOK;
    return TheDriver().real.messageBoxA(owner, text, caption, type);
}

// --- scripted input ---

// Where scripted input goes: the active window, else the newest one the program made.
HWND MainWindow()
{
    Driver& driver = TheDriver();
    const HWND active = GetActiveWindow();
    if (active != nullptr) return active;
    return IsWindow(driver.newestWindow) ? driver.newestWindow : nullptr;
}

void Post(HWND window, const InputMessage& message)
{
    PostMessageA(window, message.message, message.wParam, message.lParam);
}

void ApplyEvent(HWND window, const ScriptEvent& event)
{
    Driver& driver = TheDriver();
    POINT cursor;
    GetCursorPos(&cursor);
    POINT client = cursor;
    ScreenToClient(window, &client);
    switch (event.kind) {
    case ScriptEventKind::KEY: {
        // The scan code in the low byte, 0xE0 or 0xE1 above it for an extended key.
        const UINT code = MapVirtualKeyA(event.vk, MAPVK_VK_TO_VSC_EX);
        Post(window,
             driver.input.Key(event.vk, code & 0xFF, (code >> 8) == 0xE0 || (code >> 8) == 0xE1, event.keyAction));
        return;
    }
    case ScriptEventKind::BUTTON: {
        const bool doubleClicks = (GetClassLongPtrA(window, GCL_STYLE) & CS_DBLCLKS) != 0;
        Post(window, driver.input.Button(event.button, event.buttonAction, doubleClicks, client.x, client.y));
        return;
    }
    case ScriptEventKind::WHEEL: {
        const int delta = static_cast<int>(std::lround(event.notches * WHEEL_DELTA));
        if (delta != 0) Post(window, driver.input.Wheel(delta, cursor.x, cursor.y));
        return;
    }
    case ScriptEventKind::MOUSE: {
        POINT screen = {event.x, event.y};
        ClientToScreen(window, &screen);
        SetCursorPos(screen.x, screen.y);
        Post(window, driver.input.MouseMove(event.x, event.y));
        return;
    }
    case ScriptEventKind::CLOSE:
        PostMessageA(window, WM_CLOSE, 0, 0);
        return;
    }
}

void ReleaseDueEvents()
{
    Driver& driver = TheDriver();
    if (!driver.scripted || driver.nextEvent >= driver.script.events.size()) return;
    const HWND window = MainWindow();
    if (window == nullptr) return;  // frame 0's events wait for the window
    while (driver.nextEvent < driver.script.events.size() &&
           driver.script.events[driver.nextEvent].frame <= driver.swapCount) {
        ApplyEvent(window, driver.script.events[driver.nextEvent++]);
    }
}

BOOL WINAPI DriverPeekMessageA(LPMSG message, HWND window, UINT filterMin, UINT filterMax, UINT remove)
{
    ReleaseDueEvents();
    return TheDriver().real.peekMessageA(message, window, filterMin, filterMax, remove);
}

HWND WINAPI DriverCreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR title, DWORD style, int x, int y, int width,
                                  int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID parameter)
{
    const HWND window = TheDriver().real.createWindowExA(exStyle, className, title, style, x, y, width, height, parent,
                                                         menu, instance, parameter);
    if (window != nullptr && (style & WS_CHILD) == 0) TheDriver().newestWindow = window;
    return window;
}

// --- screenshots and the frame count ---

void TakeScreenshot(HDC dc, const std::string& file)
{
    const HWND window = WindowFromDC(dc);
    if (window == nullptr || wglGetCurrentContext() == nullptr || WindowFromDC(wglGetCurrentDC()) != window) {
        Note("PINWHIRL_SCRIPT: no rendering context on the window, no screenshot %s\n", file);
        return;
    }
    RECT client;
    GetClientRect(window, &client);
    if (client.right <= 0 || client.bottom <= 0) return;
    PIXELFORMATDESCRIPTOR format = {};
    const int formatIndex = GetPixelFormat(dc);
    // A double-buffered window's picture of this swap is still in the back buffer.
    const bool doubleBuffered = formatIndex > 0 && DescribePixelFormat(dc, formatIndex, sizeof(format), &format) != 0 &&
                                (format.dwFlags & PFD_DOUBLEBUFFER) != 0;
    if (!WriteScreenshotPng(file, client.right, client.bottom, doubleBuffered)) {
        Note("PINWHIRL_SCRIPT: could not write the screenshot %s\n", file);
    }
}

BOOL WINAPI DriverSwapBuffers(HDC dc)
{
    Driver& driver = TheDriver();
    if (driver.scripted) {
        for (const ScriptScreenshot& shot : driver.script.screenshots) {
            if (shot.frame == driver.swapCount + 1) TakeScreenshot(dc, shot.file);
        }
    }
    const BOOL swapped = driver.real.swapBuffers(dc);
    ++driver.swapCount;
    if (driver.fixed) driver.virtualCount += driver.countsPerFrame;
    ReleaseDueEvents();
    return swapped;
}

// wine builds a blank glyph (the space) as a glBitmap without bits, which Mesa drops from
// display lists, advance and all; Windows' own OpenGL keeps the advance. The blanks are
// built again with one unused byte, so scripted pictures under wine are Windows' pictures.
BOOL WINAPI DriverWglUseFontBitmapsA(HDC dc, DWORD first, DWORD count, DWORD listBase)
{
    if (!TheDriver().real.wglUseFontBitmapsA(dc, first, count, listBase)) return FALSE;
    static const GLubyte noBits = 0;
    const MAT2 identity = {{0, 1}, {0, 0}, {0, 0}, {0, 1}};
    for (DWORD i = 0; i < count; ++i) {
        GLYPHMETRICS metrics;
        if (GetGlyphOutlineA(dc, first + i, GGO_BITMAP, &metrics, 0, nullptr, &identity) != 0) continue;
        glNewList(listBase + i, GL_COMPILE);
        glBitmap(0, 0, 0.0f, 0.0f, static_cast<GLfloat>(metrics.gmCellIncX), static_cast<GLfloat>(metrics.gmCellIncY),
                 &noBits);
        glEndList();
    }
    return TRUE;
}

// --- the start-up dialog ---

UINT AnswerMessage()
{
    static const UINT message = RegisterWindowMessageA("PinwhirlScriptedDialogAnswer");
    return message;
}

bool IsRadioButton(HWND control)
{
    const LONG_PTR type = GetWindowLongPtrA(control, GWL_STYLE) & BS_TYPEMASK;
    return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

// What a click on a radio button does: it is checked, the others of its group cleared.
void CheckRadioButtonAsClicked(HWND dialog, int controlId)
{
    const HWND control = GetDlgItem(dialog, controlId);
    if (control == nullptr) {
        Note("PINWHIRL_SCRIPT: the dialog has no control %s\n", std::to_string(controlId));
        return;
    }
    if (!IsRadioButton(control)) return;
    HWND first = control;
    for (HWND previous; (GetWindowLongPtrA(first, GWL_STYLE) & WS_GROUP) == 0 &&
                        (previous = GetWindow(first, GW_HWNDPREV)) != nullptr;) {
        first = previous;
    }
    for (HWND item = first; item != nullptr; item = GetWindow(item, GW_HWNDNEXT)) {
        if (item != first && (GetWindowLongPtrA(item, GWL_STYLE) & WS_GROUP) != 0) break;
        if (IsRadioButton(item)) SendMessageA(item, BM_SETCHECK, item == control ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

// One dialog line: its radio button, then its button's command. With no line left a
// scripted run still must not wait: the default button as Enter would, then Cancel.
void AnswerDialog(HWND dialog, DialogCall& call)
{
    Driver& driver = TheDriver();
    if (call.ended) return;
    int button = IDOK;
    if (driver.nextAnswer < driver.script.answers.size()) {
        const ScriptDialogAnswer& answer = driver.script.answers[driver.nextAnswer++];
        CheckRadioButtonAsClicked(dialog, answer.controlId);
        button = answer.button;
    } else if (++call.unansweredPresses > 2) {
        return;
    } else if (call.unansweredPresses == 2) {
        button = IDCANCEL;
    }
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
    if (!call.ended) PostMessageA(dialog, AnswerMessage(), 0, 0);
}

INT_PTR CALLBACK AnsweringDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    DialogCall* call = TheDriver().dialog;
    if (call == nullptr) return FALSE;
    if (message == AnswerMessage()) {
        AnswerDialog(dialog, *call);
        return TRUE;
    }
    if (message == WM_INITDIALOG) {
        const INT_PTR result = call->proc(dialog, message, wParam, call->parameter);
        // The answers come once the dialog is up, from its own message loop.
        PostMessageA(dialog, AnswerMessage(), 0, 0);
        return result;
    }
    return call->proc(dialog, message, wParam, lParam);
}

INT_PTR WINAPI DriverDialogBoxParamA(HINSTANCE instance, LPCSTR name, HWND owner, DLGPROC proc, LPARAM parameter)
{
    Driver& driver = TheDriver();
    if (!driver.scripted || proc == nullptr || driver.dialog != nullptr)
        return driver.real.dialogBoxParamA(instance, name, owner, proc, parameter);
    DialogCall call;
    call.proc = proc;
    call.parameter = parameter;
    driver.dialog = &call;
    const INT_PTR result = driver.real.dialogBoxParamA(instance, name, owner, AnsweringDialogProc, 0);
    driver.dialog = nullptr;
    return result;
}

BOOL WINAPI DriverEndDialog(HWND dialog, INT_PTR result)
{
    if (TheDriver().dialog != nullptr) TheDriver().dialog->ended = true;
    return TheDriver().real.endDialog(dialog, result);
}

// --- start ---

template <typename Function>
void Redirect(const char* dll, const char* name, Function replacement, Function& real)
{
    const Function found = RedirectImport(dll, name, replacement);
    if (found != nullptr) real = found;
}

void RedirectImports()
{
    static bool redirected = false;
    if (redirected) return;
    redirected = true;
    RealFunctions& real = TheDriver().real;
    Redirect("gdi32.dll", "SwapBuffers", DriverSwapBuffers, real.swapBuffers);
    Redirect("kernel32.dll", "QueryPerformanceCounter", DriverQueryPerformanceCounter, real.queryPerformanceCounter);
    Redirect("kernel32.dll", "Sleep", DriverSleep, real.sleep);
    Redirect("kernel32.dll", "OutputDebugStringA", DriverOutputDebugStringA, real.outputDebugStringA);
    Redirect("user32.dll", "MessageBoxA", DriverMessageBoxA, real.messageBoxA);
    Redirect("user32.dll", "PeekMessageA", DriverPeekMessageA, real.peekMessageA);
    Redirect("user32.dll", "CreateWindowExA", DriverCreateWindowExA, real.createWindowExA);
    Redirect("user32.dll", "DialogBoxParamA", DriverDialogBoxParamA, real.dialogBoxParamA);
    Redirect("user32.dll", "EndDialog", DriverEndDialog, real.endDialog);
    Redirect("opengl32.dll", "wglUseFontBitmapsA", DriverWglUseFontBitmapsA, real.wglUseFontBitmapsA);
}

void UseScript(const Script& script)
{
    Driver& driver = TheDriver();
    driver.script = script;
    driver.scripted = true;
    driver.nextEvent = 0;
    driver.nextAnswer = 0;
    // Frame numbers count the swaps of the whole run: events of frames already past are dropped.
    while (driver.nextEvent < driver.script.events.size() &&
           driver.script.events[driver.nextEvent].frame < driver.swapCount)
        ++driver.nextEvent;
}

// Before WinMain and before every other static constructor: a bad script or step ends the
// run here, before anything starts.
__attribute__((constructor(101))) void StartFromEnvironment()
{
    // The log is compared line for line with the Linux run's: "\n", not "\r\n".
    _setmode(_fileno(stderr), _O_BINARY);
    RedirectImports();
    Driver& driver = TheDriver();
    std::string error;
    const char* step = getenv("PINWHIRL_FIXED_STEP");
    double seconds = 0.0;
    if (step != nullptr && *step != '\0') {
        if (!ReadFixedStep(step, &seconds, &error)) {
            Note("Pinwhirl: %s\n", error);
            exit(1);
        }
        SetStep(driver, seconds);
    }
    const char* path = getenv("PINWHIRL_SCRIPT");
    if (path == nullptr || *path == '\0') return;
    Script script;
    if (!ReadScriptFile(path, &script, &error)) {
        Note("Pinwhirl: bad PINWHIRL_SCRIPT: %s\n", error);
        exit(1);
    }
    UseScript(script);
}

}  // namespace

bool ScriptDriverStartForTesting(const std::string& text, const std::string& name, double fixedStep, std::string* error)
{
    RedirectImports();
    Script script;
    if (!ReadScriptText(text, name, &script, error)) return false;
    Driver& driver = TheDriver();
    if (fixedStep > 0.0 && !driver.fixed) {
        // The virtual counter goes on from now, so time never runs backwards.
        LARGE_INTEGER now;
        driver.real.queryPerformanceCounter(&now);
        driver.virtualCount = now.QuadPart;
    }
    SetStep(driver, fixedStep);
    UseScript(script);
    return true;
}

long ScriptDriverPresentedFrames()
{
    return TheDriver().swapCount;
}
