#include "Game/EditorShell.h"

#include "Engine/TheVideoSystem.h"

// Until the editor and the start-up dialog are built, the shell starts the windowed game at
// 1280 x 1024 and does nothing else.
EditorShell* theEditorShell = nullptr;
MapArea* theMapArea = nullptr;
Pane* focusPane = nullptr;
ViewBase* focusView = nullptr;
EditorPreferences* thePreferences = nullptr;

EditorShell::~EditorShell() {}

void EditorShell::PreInit()
{
    theVideoSystem.SetDesiredDisplayMode(1280, 1024, 32, 85, 0);
}

void EditorShell::BuildEditor() {}
void EditorShell::EnterEditor() {}
void EditorShell::CloseEditor() {}
void EditorShell::LeaveForPlay() {}
void EditorShell::SetUnderlay(const char*) {}
void EditorShell::Frame() {}

bool EditorShell::HandleEditorInput(int32_t, uint8_t)
{
    return false;
}

void EditorShell::SetHighlightedProperty(const std::string&, const std::string&) {}
void EditorShell::RemoveHighlightedProperty(const std::string&) {}
void EditorShell::SaveMapByName(const std::string&) {}
void EditorShell::SaveMap() {}
void EditorShell::LoadMapByName(const std::string&) {}
