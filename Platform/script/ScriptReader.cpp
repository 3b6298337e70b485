#include "ScriptReader.h"

#include <sys/stat.h>
#include <windows.h>  // IDOK, IDCANCEL, IDHELP

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <sstream>

namespace {

// The longest PINWHIRL_FIXED_STEP taken: an hour per frame.
const double MAX_FIXED_STEP_SECONDS = 3600.0;

// The whole token as a number in range: decimal with an optional sign, or 0x and hex digits.
bool ParseInteger(const std::string& token, long minimum, long maximum, long* value)
{
    const bool hex = token.size() > 2 && token[0] == '0' && (token[1] == 'x' || token[1] == 'X');
    const bool sign = !hex && !token.empty() && (token[0] == '-' || token[0] == '+');
    const size_t digitsFrom = hex ? 2 : (sign ? 1 : 0);
    if (digitsFrom >= token.size()) return false;
    for (size_t i = digitsFrom; i < token.size(); ++i) {
        const int c = static_cast<unsigned char>(token[i]);
        if (hex ? !isxdigit(c) : !isdigit(c)) return false;
    }
    errno = 0;
    const long result = strtol(token.c_str() + (hex ? 2 : 0), nullptr, hex ? 16 : 10);
    if (errno != 0 || result < minimum || result > maximum) return false;
    *value = result;
    return true;
}

std::string Quote(const std::string& text)
{
    return "'" + text + "'";
}

// "a, b or c"
template <typename Names>
std::string JoinChoices(const Names& names)
{
    std::string joined;
    size_t index = 0;
    for (const auto& name : names) {
        joined += (index == 0 ? "" : index + 1 == std::size(names) ? " or " : ", ") + std::string(name);
        ++index;
    }
    return joined;
}

// The value the word names among the choices; false with the reason when it names none.
template <typename T>
bool ParseChoice(const std::string& word, std::initializer_list<std::pair<const char*, T>> choices, const char* what,
                 T* value, std::string* reason)
{
    std::vector<const char*> names;
    for (const auto& choice : choices) {
        if (word == choice.first) {
            *value = choice.second;
            return true;
        }
        names.push_back(choice.first);
    }
    *reason = "bad " + std::string(what) + " " + Quote(word) + ", expected " + JoinChoices(names);
    return false;
}

using Tokens = std::vector<std::string>;

bool ReadKey(const Tokens& tokens, ScriptEvent* event, Script* script, std::string* reason)
{
    event->kind = ScriptEventKind::KEY;
    if (!ParseChoice(tokens[3], {{"down", KeyAction::DOWN}, {"repeat", KeyAction::REPEAT}, {"up", KeyAction::UP}},
                     "key action", &event->keyAction, reason))
        return false;
    long vk = 0;
    if (!ParseInteger(tokens[4], 1, 254, &vk)) {
        *reason = "bad virtual-key code " + Quote(tokens[4]) + ", expected 0x01..0xFE or 1..254";
        return false;
    }
    event->vk = static_cast<unsigned int>(vk);
    script->events.push_back(*event);
    return true;
}

bool ReadButton(const Tokens& tokens, ScriptEvent* event, Script* script, std::string* reason)
{
    event->kind = ScriptEventKind::BUTTON;
    if (!ParseChoice(tokens[3],
                     {{"down", ButtonAction::DOWN}, {"dblclk", ButtonAction::DBLCLK}, {"up", ButtonAction::UP}},
                     "button action", &event->buttonAction, reason) ||
        !ParseChoice(tokens[4], {{"left", 0}, {"right", 1}, {"middle", 2}}, "button", &event->button, reason))
        return false;
    script->events.push_back(*event);
    return true;
}

bool ReadWheel(const Tokens& tokens, ScriptEvent* event, Script* script, std::string* reason)
{
    // A wheel message carries at most 32767 / WHEEL_DELTA notches.
    const double MAX_NOTCHES = 273.0;
    event->kind = ScriptEventKind::WHEEL;
    char* end = nullptr;
    errno = 0;
    event->notches = strtod(tokens[3].c_str(), &end);
    if (errno != 0 || *end != '\0' || !std::isfinite(event->notches) || std::fabs(event->notches) > MAX_NOTCHES) {
        *reason = "bad wheel notches " + Quote(tokens[3]);
        return false;
    }
    script->events.push_back(*event);
    return true;
}

bool ReadMouse(const Tokens& tokens, ScriptEvent* event, Script* script, std::string* reason)
{
    event->kind = ScriptEventKind::MOUSE;
    long x = 0, y = 0;
    if (!ParseInteger(tokens[3], INT16_MIN, INT16_MAX, &x) || !ParseInteger(tokens[4], INT16_MIN, INT16_MAX, &y)) {
        *reason = "bad mouse position " + Quote(tokens[3] + " " + tokens[4]);
        return false;
    }
    event->x = static_cast<int>(x);
    event->y = static_cast<int>(y);
    script->events.push_back(*event);
    return true;
}

bool ReadScreenshot(const Tokens& tokens, ScriptEvent* event, Script* script, std::string* reason)
{
    if (event->frame < 1) {
        *reason = "no picture is presented before frame 1";
        return false;
    }
    script->screenshots.push_back(ScriptScreenshot{event->frame, tokens[3]});
    return true;
}

bool ReadClose(const Tokens&, ScriptEvent* event, Script* script, std::string*)
{
    event->kind = ScriptEventKind::CLOSE;
    script->events.push_back(*event);
    return true;
}

// What may follow "frame <N>": the word, the line's whole form and how its words are read.
struct FrameEventKind {
    const char* word;
    const char* form;
    size_t tokenCount;
    bool (*read)(const Tokens& tokens, ScriptEvent* event, Script* script, std::string* reason);
};

const FrameEventKind FRAME_EVENTS[] = {
    {"key", "frame <N> key <down|repeat|up> <vk>", 5, ReadKey},
    {"button", "frame <N> button <down|dblclk|up> <left|right|middle>", 5, ReadButton},
    {"wheel", "frame <N> wheel <notches>", 4, ReadWheel},
    {"mouse", "frame <N> mouse <x> <y>", 5, ReadMouse},
    {"screenshot", "frame <N> screenshot <file.png>", 4, ReadScreenshot},
    {"close", "frame <N> close", 3, ReadClose},
};

// The highest frame a script may name.
const long MAX_FRAME = 1000000000L;

bool ExpectTokenCount(const Tokens& tokens, size_t count, const char* form, std::string* reason)
{
    if (tokens.size() == count) return true;
    *reason = std::string(tokens.size() < count ? "missing arguments" : "extra text") + ", expected '" + form + "'";
    return false;
}

bool ReadDialogLine(const Tokens& tokens, Script* script, std::string* reason)
{
    if (!ExpectTokenCount(tokens, 3, "dialog <control-id> <ok|cancel|help>", reason)) return false;
    long controlId = 0;
    if (!ParseInteger(tokens[1], 0, UINT16_MAX, &controlId)) {
        *reason = "bad control id " + Quote(tokens[1]);
        return false;
    }
    ScriptDialogAnswer answer;
    answer.controlId = static_cast<int>(controlId);
    if (!ParseChoice(tokens[2], {{"ok", IDOK}, {"cancel", IDCANCEL}, {"help", IDHELP}}, "dialog button", &answer.button,
                     reason))
        return false;
    script->answers.push_back(answer);
    return true;
}

bool ReadFrameLine(const Tokens& tokens, Script* script, std::string* reason)
{
    if (tokens.size() < 3) {
        *reason = "missing arguments, expected 'frame <N> <event> ...'";
        return false;
    }
    ScriptEvent event;
    // Frame numbers are decimal only.
    if (!ParseInteger(tokens[1], 0, MAX_FRAME, &event.frame) || tokens[1].find_first_of("xX") != std::string::npos) {
        *reason = "bad frame number " + Quote(tokens[1]);
        return false;
    }
    for (const FrameEventKind& kind : FRAME_EVENTS) {
        if (tokens[2] != kind.word) continue;
        return ExpectTokenCount(tokens, kind.tokenCount, kind.form, reason) &&
               kind.read(tokens, &event, script, reason);
    }
    std::vector<const char*> words;
    for (const FrameEventKind& kind : FRAME_EVENTS) words.push_back(kind.word);
    *reason = "unknown event " + Quote(tokens[2]) + ", expected " + JoinChoices(words);
    return false;
}

// The lines of a script besides comments, by their first word.
struct LineKind {
    const char* word;
    bool (*read)(const Tokens& tokens, Script* script, std::string* reason);
};

const LineKind LINE_KINDS[] = {
    {"dialog", ReadDialogLine},
    {"frame", ReadFrameLine},
};

// One line into the script; false with the reason when it is not a script line.
bool ParseLine(const std::string& line, Script* script, std::string* reason)
{
    // A NUL would cut a word short where the C library reads it (a number, a file name).
    if (line.find('\0') != std::string::npos) {
        *reason = "a NUL byte in the line";
        return false;
    }
    std::istringstream stream(line);
    Tokens tokens;
    std::string token;
    while (stream >> token) tokens.push_back(token);
    if (tokens.empty() || tokens[0][0] == '#') return true;
    for (const LineKind& kind : LINE_KINDS) {
        if (tokens[0] == kind.word) return kind.read(tokens, script, reason);
    }
    *reason = "unknown command " + Quote(tokens[0]) + ", expected 'frame', 'dialog' or a '#' comment";
    return false;
}

}  // namespace

bool ReadScriptText(const std::string& text, const std::string& name, Script* script, std::string* error)
{
    Script read;
    std::istringstream lines(text);
    std::string line;
    int lineNumber = 0;
    while (std::getline(lines, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::string reason;
        if (!ParseLine(line, &read, &reason)) {
            if (error != nullptr) *error = name + ":" + std::to_string(lineNumber) + ": " + reason;
            return false;
        }
    }
    std::stable_sort(read.events.begin(), read.events.end(),
                     [](const ScriptEvent& a, const ScriptEvent& b) { return a.frame < b.frame; });
    *script = read;
    return true;
}

bool ReadScriptFile(const std::string& path, Script* script, std::string* error)
{
    // A folder opens like a file here and reads as an empty script, which would run nothing
    // and never end a headless run.
    struct stat status;
    std::string problem;
    if (stat(path.c_str(), &status) != 0) {
        problem = "cannot open the script";
    } else if (S_ISDIR(status.st_mode)) {
        problem = "is a folder, not a script";
    } else if (!S_ISREG(status.st_mode)) {
        problem = "is not a regular file, not a script";
    }
    std::ostringstream text;
    if (problem.empty()) {
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            problem = "cannot open the script";
        } else if (in.peek() != std::ifstream::traits_type::eof() && !(text << in.rdbuf())) {
            problem = "cannot read the script";
        }
    }
    if (!problem.empty()) {
        if (error != nullptr) *error = path + ": " + problem;
        return false;
    }
    return ReadScriptText(text.str(), path, script, error);
}

bool ReadFixedStep(const char* text, double* seconds, std::string* error)
{
    char* end = nullptr;
    errno = 0;
    const double value = strtod(text, &end);
    if (errno != 0 || end == text || *end != '\0' || !(value > 0.0) || !std::isfinite(value) ||
        value > MAX_FIXED_STEP_SECONDS) {
        if (error != nullptr)
            *error = std::string("PINWHIRL_FIXED_STEP='") + text + "' is not a positive number of seconds (e.g. 0.01)";
        return false;
    }
    *seconds = value;
    return true;
}
