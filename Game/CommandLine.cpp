// The ~ command line: its keys, and the commands it runs in the game and the editor.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "Engine/FileName.h"
#include "Engine/TheApplication.h"
#include "Engine/TheConsole.h"
#include "Game/EditorShell.h"
#include "Game/Game.h"

namespace {

// The key left of 1 on a US keyboard, the one that carries ~.
const uint8_t KEY_COMMAND_LINE = VK_OEM_3;

// Each field is at most the whole line, which is shorter than this.
const size_t FIELD_SIZE = Game::COMMAND_LINE_SIZE + 1;
typedef char Field[FIELD_SIZE];

bool BeginsWithIgnoringCase(const char* text, const char* word)
{
    for (; *word != '\0'; ++text, ++word) {
        char a = *text, b = *word;
        if (a >= 'a' && a <= 'z') a = char(a - 'a' + 'A');
        if (b >= 'a' && b <= 'z') b = char(b - 'a' + 'A');
        if (a != b) return false;
    }
    return true;
}

// A typed map name names a file in data/maps and nothing beside or above it.
bool IsMapName(const char* name)
{
    const bool plain = IsPlainFileName(name);
    if (!plain) theConsole.Printf("WARNING: \"%s\" is not a map name\n", name);
    return plain;
}

void Warp(const char* text)
{
    Field name;
    if (sscanf(text, "WARP %255s", name) != 1 || !IsMapName(name)) return;
    // A typed name that has no map must not end the program or lose the edited map.
    if (!theGame->CanStartMap(name)) return;
    if (!theEditorShell->MayDiscardChanges("WARP " + std::string(name))) return;
    theGame->SetMode(MODE_AIM);
    theGame->SetMap(name);
}

void Set(const char* text)
{
    Field key, value;
    if (sscanf(text, "SET %255s %255s", key, value) == 2) theEditorShell->SetHighlightedProperty(key, value);
}

void Remove(const char* text)
{
    Field key;
    if (sscanf(text, "DELETE %255s", key) == 1) theEditorShell->RemoveHighlightedProperty(key);
}

void Save(const char* text)
{
    Field name;
    if (sscanf(text, "SAVE %255s", name) != 1)
        theEditorShell->SaveMap();
    else if (IsMapName(name) && theEditorShell->MayReplaceMapFile(name))
        theEditorShell->SaveMapByName(name);
}

// The shell refuses a map or a picture that has no file, keeping the map being edited.
void Load(const char* text)
{
    Field name;
    if (sscanf(text, "LOAD %255s", name) != 1 || !IsMapName(name)) return;
    // A missing file replaces nothing: the shell's own warning is all there is to say.
    const bool replaces = theGame->MapFileExists(name);
    if (replaces && !theEditorShell->MayDiscardChanges("LOAD " + std::string(name))) return;
    theEditorShell->LoadMapByName(name);
}

void Underlay(const char* text)
{
    Field name;
    if (sscanf(text, "BG %255s", name) == 1 && IsMapName(name))
        theEditorShell->SetUnderlay(Game::BackgroundPath(name).c_str());
}

void Edit(const char*)
{
    // Typed while editing, it starts the editor afresh on the game's map.
    if (!theEditorShell->MayDiscardChanges("EDIT")) return;
    theEditorShell->EnterEditor();
}

void Play(const char*)
{
    theEditorShell->LeaveForPlay();
}

void Quit(const char*)
{
    if (!theEditorShell->MayDiscardChanges("QUIT")) return;
    theApplication.RequestShutdown();
}

void Solve(const char*)
{
    theEditorShell->Solve();
}

struct Command {
    const char* word;
    void (*run)(const char* text);
};

// In the order they are tried: the first word that begins the text is the command.
const Command COMMANDS[] = {
    {"warp", Warp},   {"set", Set},   {"delete", Remove}, {"save", Save}, {"load", Load},
    {"bg", Underlay}, {"edit", Edit}, {"play", Play},     {"quit", Quit}, {"solve", Solve},
};

}  // namespace

bool Game::HandleCommandLineKey(uint8_t code)
{
    if (!commandLineOpen) {
        if (code != KEY_COMMAND_LINE) return false;
        SetCommandLineOpen(true);
        return true;
    }
    switch (code) {
    case VK_RETURN:
        ExecuteCommand();
        commandLineLength = 0;
        commandLineText[0] = '\0';
        break;
    case VK_ESCAPE:
    case KEY_COMMAND_LINE:
        // The text stays for the next time the line is opened.
        SetCommandLineOpen(false);
        break;
    case VK_BACK:
        if (commandLineLength > 0) commandLineText[--commandLineLength] = '\0';
        break;
    default:
        // Every other key is stored as its key code; a full line takes no more.
        AppendToCommandLine(code);
        break;
    }
    return true;
}

bool Game::ExecuteCommand()
{
    theConsole.Printf("Executing Console Command: %s\n", commandLineText);
    // A warning's "again" is for the very next command.
    if (theEditorShell != nullptr) theEditorShell->NoteCommand();
    // A command may change the line (EDIT and PLAY close it): it works on its own copy.
    char text[COMMAND_LINE_SIZE];
    memcpy(text, commandLineText, sizeof(text));
    for (const Command& command : COMMANDS) {
        if (!BeginsWithIgnoringCase(text, command.word)) continue;
        command.run(text);
        break;
    }
    return false;
}
