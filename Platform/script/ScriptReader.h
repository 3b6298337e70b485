// The script of a scripted run (PINWHIRL_SCRIPT) and its fixed step (PINWHIRL_FIXED_STEP),
// read the same way by the Linux platform and by the Windows test build's driver:
//
//   # comment
//   dialog <control-id> <ok|cancel|help>
//   frame <N> key <down|repeat|up> <vk>
//   frame <N> button <down|dblclk|up> <left|right|middle>
//   frame <N> wheel <notches>
//   frame <N> mouse <x> <y>
//   frame <N> screenshot <file.png>
//   frame <N> close
#pragma once

#include <string>
#include <vector>

enum class KeyAction { DOWN, REPEAT, UP };
enum class ButtonAction { DOWN, DBLCLK, UP };
enum class ScriptEventKind { KEY, BUTTON, WHEEL, MOUSE, CLOSE };

struct ScriptEvent {
    long frame = 0;
    ScriptEventKind kind = ScriptEventKind::CLOSE;
    KeyAction keyAction = KeyAction::DOWN;
    unsigned int vk = 0;
    ButtonAction buttonAction = ButtonAction::DOWN;
    int button = 0;  // 0 left, 1 right, 2 middle
    double notches = 0.0;
    int x = 0;
    int y = 0;
};

struct ScriptScreenshot {
    long frame;
    std::string file;
};

struct ScriptDialogAnswer {
    int controlId;
    int button;  // IDOK, IDCANCEL or IDHELP
};

struct Script {
    std::vector<ScriptEvent> events;  // by frame, in script order within a frame
    std::vector<ScriptScreenshot> screenshots;
    std::vector<ScriptDialogAnswer> answers;
};

// Reads the whole text; on a bad line nothing is stored and false is returned with the
// reason, e.g. "script.txt:3: unknown event 'jump'" (name is the file's name).
bool ReadScriptText(const std::string& text, const std::string& name, Script* script, std::string* error);
bool ReadScriptFile(const std::string& path, Script* script, std::string* error);

// A PINWHIRL_FIXED_STEP value: seconds per presented frame, or false with the reason.
bool ReadFixedStep(const char* text, double* seconds, std::string* error);
