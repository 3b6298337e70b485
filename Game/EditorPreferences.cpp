#include "Game/EditorPreferences.h"

#include <filesystem>
#include <system_error>

#include "Engine/ParseFile.h"
#include "Engine/TheConsole.h"
#include "Game/EditorShell.h"

EditorPreferences::EditorPreferences(const std::string& fileName_) : fileName(fileName_)
{
    thePreferences = this;

    std::error_code error;
    if (!std::filesystem::exists(fileName, error)) {
        theConsole.Printf("Couldn't find preferences file \"%s\"; using defaults\n", fileName.c_str());
        return;
    }
    theConsole.Printf("Reading editor preferences from \"%s\"...\n", fileName.c_str());
    // Read whole, so that an unreadable file fails here; no key changes a default yet.
    ParseFile file(fileName.c_str());
}

EditorPreferences::~EditorPreferences()
{
    if (thePreferences == this) thePreferences = nullptr;
}
