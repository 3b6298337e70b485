// The script driver (PINWHIRL_SCRIPT): input events, screenshots and the close
// box at given frames, and answers for the start-up dialog. A frame number is
// the count of buffer swaps so far; the events of frame N are queued right
// after the N-th swap, frame 0's once the program's window exists.
#include <GL/gl.h>
#include <png.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <initializer_list>
#include <sstream>

#include "PlatformInternal.h"
#include "PlatformScript.h"

namespace {

// This file's part of the layer's state.
ScriptState& State()
{
    return Platform().script;
}

bool ParseInteger(const std::string& token, long minimum, long maximum, long* value)
{
    if (token.empty()) return false;
    const bool hex = token.size() > 2 && token[0] == '0' && (token[1] == 'x' || token[1] == 'X');
    const char* begin = token.c_str();
    char* end = nullptr;
    errno = 0;
    const long result = strtol(hex ? begin + 2 : begin, &end, hex ? 16 : 10);
    if (errno != 0 || *end != '\0' || end == (hex ? begin + 2 : begin)) return false;
    if (hex && (begin[2] == '-' || begin[2] == '+')) return false;
    if (result < minimum || result > maximum) return false;
    *value = result;
    return true;
}

std::string Quote(const std::string& text)
{
    return "'" + text + "'";
}

// The value the word names among the choices; false with the reason when it names none.
template <typename T>
bool ParseChoice(const std::string& word, std::initializer_list<std::pair<const char*, T>> choices, const char* what,
                 T* value, std::string* reason)
{
    std::string names;
    size_t index = 0;
    for (const auto& choice : choices) {
        if (word == choice.first) {
            *value = choice.second;
            return true;
        }
        names += (index == 0 ? "" : index + 1 == choices.size() ? " or " : ", ") + std::string(choice.first);
        ++index;
    }
    *reason = "bad " + std::string(what) + " " + Quote(word) + ", expected " + names;
    return false;
}

// One line into the script; false with the reason when it is not a script line.
bool ParseLine(const std::string& line, Script* script, std::string* reason)
{
    std::istringstream stream(line);
    std::vector<std::string> tokens;
    std::string token;
    while (stream >> token) tokens.push_back(token);
    if (tokens.empty() || tokens[0][0] == '#') return true;

    auto expectCount = [&](size_t count, const char* form) {
        if (tokens.size() == count) return true;
        *reason = std::string(tokens.size() < count ? "missing arguments" : "extra text") + ", expected '" + form + "'";
        return false;
    };

    if (tokens[0] == "dialog") {
        if (!expectCount(3, "dialog <control-id> <ok|cancel|help>")) return false;
        long controlId = 0;
        if (!ParseInteger(tokens[1], 0, 65535, &controlId)) {
            *reason = "bad control id " + Quote(tokens[1]);
            return false;
        }
        ScriptDialogAnswer answer;
        answer.controlId = static_cast<int>(controlId);
        if (!ParseChoice(tokens[2], {{"ok", IDOK}, {"cancel", IDCANCEL}, {"help", IDHELP}}, "dialog button",
                         &answer.button, reason))
            return false;
        script->answers.push_back(answer);
        return true;
    }
    if (tokens[0] != "frame") {
        *reason = "unknown command " + Quote(tokens[0]) + ", expected 'frame', 'dialog' or a '#' comment";
        return false;
    }
    if (tokens.size() < 3) {
        *reason = "missing arguments, expected 'frame <N> <event> ...'";
        return false;
    }
    long frame = 0;
    if (!ParseInteger(tokens[1], 0, 1000000000L, &frame) || tokens[1].find_first_of("xX") != std::string::npos) {
        *reason = "bad frame number " + Quote(tokens[1]);
        return false;
    }
    ScriptEvent event;
    event.frame = frame;
    const std::string& kind = tokens[2];
    if (kind == "key") {
        if (!expectCount(5, "frame <N> key <down|repeat|up> <vk>")) return false;
        event.kind = ScriptEventKind::KEY;
        if (!ParseChoice(tokens[3], {{"down", KeyAction::DOWN}, {"repeat", KeyAction::REPEAT}, {"up", KeyAction::UP}},
                         "key action", &event.keyAction, reason))
            return false;
        long vk = 0;
        if (!ParseInteger(tokens[4], 1, 254, &vk)) {
            *reason = "bad virtual-key code " + Quote(tokens[4]) + ", expected 0x01..0xFE or 1..254";
            return false;
        }
        event.vk = static_cast<UINT>(vk);
    } else if (kind == "button") {
        if (!expectCount(5, "frame <N> button <down|dblclk|up> <left|right|middle>")) return false;
        event.kind = ScriptEventKind::BUTTON;
        if (!ParseChoice(tokens[3],
                         {{"down", ButtonAction::DOWN}, {"dblclk", ButtonAction::DBLCLK}, {"up", ButtonAction::UP}},
                         "button action", &event.buttonAction, reason) ||
            !ParseChoice(tokens[4], {{"left", 0}, {"right", 1}, {"middle", 2}}, "button", &event.button, reason))
            return false;
    } else if (kind == "wheel") {
        if (!expectCount(4, "frame <N> wheel <notches>")) return false;
        event.kind = ScriptEventKind::WHEEL;
        char* end = nullptr;
        errno = 0;
        event.notches = strtod(tokens[3].c_str(), &end);
        if (errno != 0 || *end != '\0' || !std::isfinite(event.notches) || std::fabs(event.notches) > 273.0) {
            *reason = "bad wheel notches " + Quote(tokens[3]);
            return false;
        }
    } else if (kind == "mouse") {
        if (!expectCount(5, "frame <N> mouse <x> <y>")) return false;
        event.kind = ScriptEventKind::MOUSE;
        long x = 0, y = 0;
        if (!ParseInteger(tokens[3], -32768, 32767, &x) || !ParseInteger(tokens[4], -32768, 32767, &y)) {
            *reason = "bad mouse position " + Quote(tokens[3] + " " + tokens[4]);
            return false;
        }
        event.x = static_cast<int>(x);
        event.y = static_cast<int>(y);
    } else if (kind == "screenshot") {
        if (!expectCount(4, "frame <N> screenshot <file.png>")) return false;
        if (frame < 1) {
            *reason = "no picture is presented before frame 1";
            return false;
        }
        script->screenshots.push_back(ScriptScreenshot{frame, tokens[3]});
        return true;
    } else if (kind == "close") {
        if (!expectCount(3, "frame <N> close")) return false;
        event.kind = ScriptEventKind::CLOSE;
    } else {
        *reason = "unknown event " + Quote(kind) + ", expected key, button, wheel, mouse, screenshot or close";
        return false;
    }
    script->events.push_back(event);
    return true;
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

bool WritePng(const std::string& file, int width, int height, const std::vector<unsigned char>& rgbTopDown)
{
    FILE* out = fopen(file.c_str(), "wb");
    if (out == nullptr) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    if (png == nullptr || info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        fclose(out);
        return false;
    }
    png_init_io(png, out);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int row = 0; row < height; ++row) {
        png_write_row(png, const_cast<png_bytep>(&rgbTopDown[static_cast<size_t>(row) * width * 3]));
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return fclose(out) == 0;
}

void TakeScreenshot(PlatformWindow* window, const std::string& file)
{
    if (!PlatformIsContextCurrentOn(window)) {
        fprintf(stderr, "PINWHIRL_SCRIPT: no rendering context on the window, no screenshot %s\n", file.c_str());
        return;
    }
    int width = 0, height = 0;
    SDL_GL_GetDrawableSize(window->sdl, &width, &height);
    if (width <= 0 || height <= 0) return;
    std::vector<unsigned char> bottomUp(static_cast<size_t>(width) * height * 3);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    glPixelStorei(GL_PACK_SKIP_ROWS, 0);
    glPixelStorei(GL_PACK_SKIP_PIXELS, 0);
    GLint readBuffer = 0;
    glGetIntegerv(GL_READ_BUFFER, &readBuffer);
    if (window->glFormat.doubleBuffer) glReadBuffer(GL_BACK);  // the picture this swap presents
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
    glReadBuffer(static_cast<GLenum>(readBuffer));
    glPopClientAttrib();
    std::vector<unsigned char> topDown(bottomUp.size());
    const size_t rowBytes = static_cast<size_t>(width) * 3;
    for (int row = 0; row < height; ++row) {
        std::copy_n(&bottomUp[static_cast<size_t>(height - 1 - row) * rowBytes], rowBytes,
                    &topDown[static_cast<size_t>(row) * rowBytes]);
    }
    if (!WritePng(file, width, height, topDown)) {
        fprintf(stderr, "PINWHIRL_SCRIPT: could not write the screenshot %s\n", file.c_str());
    }
}

}  // namespace

bool PlatformLoadScriptText(const std::string& text, const std::string& name, std::string* error)
{
    Script script;
    std::istringstream lines(text);
    std::string line;
    int lineNumber = 0;
    while (std::getline(lines, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::string reason;
        if (!ParseLine(line, &script, &reason)) {
            if (error != nullptr) *error = name + ":" + std::to_string(lineNumber) + ": " + reason;
            return false;
        }
    }
    std::stable_sort(script.events.begin(), script.events.end(),
                     [](const ScriptEvent& a, const ScriptEvent& b) { return a.frame < b.frame; });
    State().script = script;
    State().isLoaded = true;
    State().nextEvent = 0;
    State().nextAnswer = 0;
    // Events already due (a script loaded in the middle of a test) wait for the next queue check.
    while (State().nextEvent < State().script.events.size() &&
           State().script.events[State().nextEvent].frame < State().swapCount)
        ++State().nextEvent;
    return true;
}

bool PlatformLoadScriptFile(const std::string& path, std::string* error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (error != nullptr) *error = path + ": cannot open the script";
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return PlatformLoadScriptText(text.str(), path, error);
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
        fprintf(stderr, "Pinwhirl: %s\n", error.c_str());
        exit(1);
    }
    const char* path = getenv("PINWHIRL_SCRIPT");
    if (path == nullptr || *path == '\0') return;
    if (!PlatformLoadScriptFile(path, &error)) {
        fprintf(stderr, "Pinwhirl: bad PINWHIRL_SCRIPT: %s\n", error.c_str());
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
