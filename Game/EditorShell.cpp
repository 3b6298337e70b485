#include "Game/EditorShell.h"

#include <cmath>

#include <windows.h>
#include <GL/gl.h>

#include "Engine/FileName.h"
#include "Engine/Texture.h"
#include "Engine/TheApplication.h"
#include "Engine/TheConsole.h"
#include "Engine/TheInputSystem.h"
#include "Engine/TheRenderer.h"
#include "Engine/TheVideoSystem.h"
#include "Game/EditorPreferences.h"
#include "Game/Game.h"
#include "Game/MapArea.h"
#include "Game/Pane.h"
#include "Game/StartupDialog.h"
#include "Game/ViewInfo.h"
#include "Game/ViewXY.h"

EditorShell* theEditorShell = nullptr;
MapArea* theMapArea = nullptr;
Pane* focusPane = nullptr;
ViewBase* focusView = nullptr;
EditorPreferences* thePreferences = nullptr;

static const char* const PREFERENCES_FILE = "data/Pinwhirl.ini";
static const float MAP_VIEW_SHARE = 0.75f;

EditorShell::~EditorShell()
{
    _DestroyEditor();
    delete underlay;
    delete preferences;
}

void EditorShell::PreInit()
{
    StartupDialog::ShowStartupDialog();
    delete preferences;
    preferences = new EditorPreferences(PREFERENCES_FILE);
}

void EditorShell::BuildEditor()
{
    if (!active) return;
    _BuildEditor(theVideoSystem.GetSize());
}

void EditorShell::_BuildEditor(const Vec2i& windowSize)
{
    // A second build replaces the first editor rather than leave it behind.
    _DestroyEditor();
    ResetEditorState();
    theMapArea = new MapArea();
    root = new Pane(new ViewXY(), Pane::MARGIN, windowSize - Pane::MARGIN - Pane::MARGIN);
    root->Split(new ViewInfo(), MAP_VIEW_SHARE, true, false);
}

void EditorShell::_DestroyEditor()
{
    // The views go with their panes, and nothing editor-wide may point into the old map.
    focusPane = nullptr;
    focusView = nullptr;
    ResetEditorState();
    delete root;
    root = nullptr;
    if (theMapArea != nullptr) {
        theMapArea->Clear();
        delete theMapArea;
        theMapArea = nullptr;
    }
}

void EditorShell::EnterEditor()
{
    theGame->SetCommandLineOpen(false);
    theGame->SetMode(MODE_EDIT);
    active = true;
    BuildEditor();
    const std::string name = theGame->currentMapName;
    if (name.empty()) {
        SetUnderlay(nullptr);
        return;
    }
    // The game's current map has its file: it was just played from it.
    theMapArea->LoadMapByName(name);
    SetUnderlay(("data/maps/" + name + ".tga").c_str());
}

void EditorShell::CloseEditor()
{
    active = false;
    _DestroyEditor();
    // A right-button drag hides the cursor until its release, which no view will see now.
    theInputSystem.SetCursorVisible(true);
}

void EditorShell::LeaveForPlay()
{
    // The game plays the map's file as last saved; without one there is nothing to play, and
    // closing the editor would throw the edited map away.
    if (!_IsBuilt("there is no edited map to play")) return;
    const std::string name = theMapArea->GetName();
    if (name.empty()) {
        theConsole.Printf("WARNING: no map file \"%s\"\n", MapArea::MapFilePath(name).c_str());
        return;
    }
    if (!theGame->CanStartMap(name)) return;
    theGame->SetCommandLineOpen(false);
    theGame->SetMode(MODE_AIM);
    CloseEditor();
    theGame->SetMap(name);
}

bool EditorShell::_IsBuilt(const char* refusal) const
{
    if (root != nullptr && theMapArea != nullptr) return true;
    theConsole.Printf("WARNING: the editor is not open; %s\n", refusal);
    return false;
}

void EditorShell::SetUnderlay(const char* fileName)
{
    if (!_IsBuilt("the underlay is not changed")) return;
    // A mistyped name must not end the program and take the edited map with it, nor take
    // away the underlay shown now.
    if (fileName != nullptr && !CanOpenFile(fileName)) {
        theConsole.Printf("WARNING: no underlay picture \"%s\"\n", fileName);
        return;
    }
    delete underlay;
    underlay = nullptr;
    if (fileName != nullptr) underlay = new Texture(fileName);
}

void EditorShell::Frame()
{
    if (!active || root == nullptr) return;

    const Vec2i mouse = theInputSystem.GetMousePosition();
    focusPane = nullptr;
    focusView = nullptr;
    root->UpdateMouseFocus(mouse);

    root->UpdateViews();

    // The editor's colours are meant over plain alpha blending, whatever the game's frames
    // before EDIT drew with.
    theRenderer.SetBlending(Blending::ALPHA);
    if (preferences != nullptr && preferences->rainbowBackground) {
        const double t = theApplication.GetCurrentSeconds();
        const double third = 2.0 * 3.14159265358979323846 / 3.0;
        auto channel = [](double phase) { return static_cast<uint8_t>((std::cos(phase) + 1.0) / 2.0 * 255.0); };
        theRenderer.ResetViewportAndScissor();
        theRenderer.Clear(Color(channel(25.0 * t), channel(25.0 * t + third), channel(25.0 * t + 2.0 * third), 255));
    }
    root->Draw();

    if (preferences != nullptr && preferences->showMouseMarker) {
        theRenderer.ResetViewportAndScissor();
        theRenderer.SetPixelOrtho(false);
        glLineWidth(5.0f);
        theRenderer.DrawCircle(Vec2f(float(mouse.x), float(mouse.y)), 32.0f, Color::WHITE, 32);
        theRenderer.DrawText(30.0f, 30.0f, "Mouse is at %d, %d", mouse.x, mouse.y);
    }
    theRenderer.ResetViewportAndScissor();
}

bool EditorShell::HandleEditorInput(int32_t type, uint8_t code)
{
    // Nothing under the mouse (the split column, outside the window) consumes nothing.
    return focusView != nullptr && focusView->HandleInputEvent(type, code);
}

void EditorShell::SetHighlightedProperty(const std::string& key, const std::string& value)
{
    if (!_IsBuilt("no property is set")) return;
    theMapArea->SetHighlightedProperty(key, value);
}

void EditorShell::RemoveHighlightedProperty(const std::string& key)
{
    if (!_IsBuilt("no property is removed")) return;
    theMapArea->RemoveHighlightedProperty(key);
}

void EditorShell::SaveMapByName(const std::string& name)
{
    if (!_IsBuilt("no map is saved")) return;
    const std::string path = MapArea::MapFilePath(name);
    if (name.empty() || !_SaveWithoutChainCursor(name)) {
        theConsole.Printf("WARNING: could not save map \"%s\"\n", path.c_str());
        return;
    }
    // Saved under a name, the map is that map from now on: PLAY plays this file.
    theMapArea->SetName(name);
    theConsole.Printf("Saved map \"%s\"\n", path.c_str());
}

// The floating end of a line chain only follows the mouse; written out it would become a lone
// vertex (a peg in play) that the map never had. It leaves the map for the save and comes back
// at the same place, the last vertex as before.
bool EditorShell::_SaveWithoutChainCursor(const std::string& name)
{
    if (chainCursor == nullptr) return theMapArea->SaveMapByName(name);
    const Vec2f cursorPosition = chainCursor->position;
    theMapArea->RemoveVertex(chainCursor);
    const bool saved = theMapArea->SaveMapByName(name);
    chainCursor = theMapArea->AddVertex(cursorPosition, true);
    return saved;
}

void EditorShell::SaveMap()
{
    if (!_IsBuilt("no map is saved")) return;
    SaveMapByName(theMapArea->GetName());
}

void EditorShell::LoadMapByName(const std::string& name)
{
    if (!_IsBuilt("no map is loaded")) return;
    const std::string path = MapArea::MapFilePath(name);
    // A missing file would be fatal; the map being edited stays instead.
    if (!CanOpenFile(path)) {
        theConsole.Printf("WARNING: no map file \"%s\"\n", path.c_str());
        return;
    }
    ResetEditorState();
    _ForgetMapElements(root);
    theMapArea->LoadMapByName(name);
}

void EditorShell::_ForgetMapElements(Pane* pane)
{
    if (pane == nullptr) return;
    if (pane->IsLeaf()) {
        if (pane->view != nullptr) pane->view->ForgetMapElements();
        return;
    }
    _ForgetMapElements(pane->first);
    _ForgetMapElements(pane->second);
}
