#include "Game/EditorShell.h"

#include <cmath>
#include <unordered_map>

#include <windows.h>
#include <GL/gl.h>

#include "Engine/Texture.h"
#include "Engine/TheApplication.h"
#include "Engine/TheConsole.h"
#include "Engine/TheInputSystem.h"
#include "Engine/TheRenderer.h"
#include "Engine/TheVideoSystem.h"
#include "Game/EditorPreferences.h"
#include "Game/FileChecks.h"
#include "Game/Game.h"
#include "Game/MapArea.h"
#include "Game/MapFile.h"
#include "Game/MapSaving.h"
#include "Game/Pane.h"
#include "Game/StartupDialog.h"
#include "Game/ViewInfo.h"
#include "Game/ViewXY.h"

EditorShell* theEditorShell = nullptr;
MapArea* theMapArea = nullptr;
Pane* focusPane = nullptr;
ViewBase* focusView = nullptr;
EditorPreferences* thePreferences = nullptr;

// The editor's preferences file, and its tuning.

constexpr const char* PREFERENCES_FILE = "data/Pinwhirl.ini";

// The map view takes this share of the window's width, the info view the rest.
constexpr float MAP_VIEW_SHARE = 0.75f;

// The rainbow background (a debugging preference): each channel swings between 0 and 255 at
// this rate (radians a second), a third of a turn behind the one before it.
constexpr double RAINBOW_RATE = 25.0;
constexpr double RAINBOW_CHANNEL_LAG = 2.0 * 3.14159265358979323846 / 3.0;

// The mouse marker (a debugging preference): a circle round the cursor, and the cursor's
// position written at a fixed place.
constexpr float MOUSE_MARKER_LINE_WIDTH = 5.0f;
constexpr float MOUSE_MARKER_RADIUS = 32.0f;
constexpr int MOUSE_MARKER_SEGMENTS = 32;
constexpr Vec2f MOUSE_MARKER_TEXT_AT(30.0f, 30.0f);

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
    _ResetHistory();
}

void EditorShell::_DestroyEditor()
{
    // The views go with their panes, and nothing editor-wide may point into the old map.
    focusPane = nullptr;
    focusView = nullptr;
    solver.Cancel();
    ResetEditorState();
    delete root;
    root = nullptr;
    if (theMapArea != nullptr) {
        theMapArea->Clear();
        delete theMapArea;
        theMapArea = nullptr;
    }
    _ResetHistory();
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
    // The game's current map was played from its file, which may have changed since.
    LoadMapByName(name);
    _ResetHistory();
    SetUnderlay(Game::BackgroundPath(name).c_str());
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
        theConsole.Printf("WARNING: the map has no name yet; save it with SAVE NAME, then PLAY\n");
        return;
    }
    if (!theGame->CanStartMap(name)) return;
    if (!MayDiscardChanges("PLAY")) return;
    // After SOLVE the panel is aimed at the fastest win, to watch it; only when the file to be
    // played is the map that was solved.
    int32_t angle = 0, power = 0;
    const bool solved = !HasUnsavedChanges() && solver.SolutionFor(theMapArea, angle, power);
    theGame->SetCommandLineOpen(false);
    theGame->SetMode(MODE_AIM);
    CloseEditor();
    theGame->SetMap(name);
    if (solved) {
        theGame->angle = angle;
        theGame->power = power;
    }
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
    // A mistyped name or a broken picture must not end the program and take the edited map
    // with it, nor take away the underlay shown now.
    Texture* picture = nullptr;
    if (fileName != nullptr && (picture = LoadTexture(fileName, "underlay picture")) == nullptr) return;
    delete underlay;
    underlay = picture;
}

void EditorShell::Frame()
{
    if (!active || root == nullptr) return;

    const Vec2i mouse = theInputSystem.GetMousePosition();
    focusPane = nullptr;
    focusView = nullptr;
    root->UpdateMouseFocus(mouse);

    root->UpdateViews();
    _CommitChanges();
    // After the views' edits, so a changed map stops the search before it flies on.
    solver.RunFrame(theMapArea);

    // The editor's colours are meant over plain alpha blending, whatever the game's frames
    // before EDIT drew with.
    theRenderer.SetBlending(Blending::ALPHA);
    if (preferences != nullptr && preferences->rainbowBackground) {
        const double phase = RAINBOW_RATE * theApplication.GetCurrentSeconds();
        auto channel = [](double at) { return static_cast<uint8_t>((std::cos(at) + 1.0) / 2.0 * 255.0); };
        theRenderer.ResetViewportAndScissor();
        theRenderer.Clear(Color(channel(phase), channel(phase + RAINBOW_CHANNEL_LAG),
                                channel(phase + 2.0 * RAINBOW_CHANNEL_LAG), 255));
    }
    root->Draw();

    if (preferences != nullptr && preferences->showMouseMarker) {
        theRenderer.ResetViewportAndScissor();
        theRenderer.SetPixelOrtho(false);
        glLineWidth(MOUSE_MARKER_LINE_WIDTH);
        theRenderer.DrawCircle(Vec2f(float(mouse.x), float(mouse.y)), MOUSE_MARKER_RADIUS, Color::WHITE,
                               MOUSE_MARKER_SEGMENTS);
        theRenderer.DrawText(MOUSE_MARKER_TEXT_AT, "Mouse is at %d, %d", mouse.x, mouse.y);
    }
    theRenderer.ResetViewportAndScissor();
}

bool EditorShell::HandleEditorInput(int32_t type, uint8_t code)
{
    // Undo and redo work wherever the mouse is.
    if (_HandleHistoryKeys(type, code)) return true;
    // Nothing under the mouse (the split column, outside the window) consumes nothing.
    const bool consumed = focusView != nullptr && focusView->HandleInputEvent(type, code);
    _CommitChanges();
    return consumed;
}

void EditorShell::SetHighlightedProperty(const std::string& key, const std::string& value)
{
    if (!_IsBuilt("no property is set")) return;
    theMapArea->SetHighlightedProperty(key, value);
    _CommitChanges();
}

void EditorShell::RemoveHighlightedProperty(const std::string& key)
{
    if (!_IsBuilt("no property is removed")) return;
    theMapArea->RemoveHighlightedProperty(key);
    _CommitChanges();
}

void EditorShell::SaveMapByName(const std::string& name)
{
    if (!_IsBuilt("no map is saved")) return;
    if (name.empty()) {
        theConsole.Printf("WARNING: the map has no name yet; save it with SAVE NAME\n");
        return;
    }
    // The floating end of a line chain only follows the mouse; written out it would become a
    // lone vertex (a peg in play) that the map never had, and so would a start vertex the chain
    // made before its first segment.
    std::string text;
    if (!MapFile::Write(*theMapArea, text, chainCursor, chainMadeStart ? chainStart : nullptr)) {
        theConsole.Printf("WARNING: could not save map \"%s\"\n", MapArea::MapFilePath(name).c_str());
        return;
    }
    // Saved under a name, the map is that map from now on: PLAY plays this file.
    if (SaveMapAndBackground(name, text)) {
        theMapArea->SetName(name);
        _NoteFileText();
    }
}

void EditorShell::SaveMap()
{
    if (!_IsBuilt("no map is saved")) return;
    SaveMapByName(theMapArea->GetName());
}

void EditorShell::LoadMapByName(const std::string& name)
{
    if (!_IsBuilt("no map is loaded")) return;
    // A missing or broken file would be fatal and take the edited map with it: the file is
    // read aside, and only a whole map replaces the one being edited.
    MapArea loaded;
    if (!ReadMapFile(MapArea::MapFilePath(name), loaded)) return;
    solver.Cancel();
    // What was done before is a step of its own, so that undoing the load brings it back.
    _RecordStep();
    ResetEditorState();
    _ForgetMapElements(root);
    _ReplaceElements(*theMapArea, loaded);
    theMapArea->SetName(name);
    _RecordStep();
    _NoteFileText();
}

void EditorShell::Solve()
{
    if (!_IsBuilt("nothing is solved")) return;
    solver.Start(*theMapArea, chainCursor);
}

void EditorShell::_ReplaceElements(MapArea& map, const MapArea& from)
{
    map.Clear();
    std::unordered_map<const Vertex*, Vertex*> copies;
    for (const Vertex* vertex : from.GetVertexes()) copies[vertex] = map.AddVertex(vertex->position, true);
    for (const Linedef* linedef : from.GetLinedefs())
        map.AddLinedef(copies[linedef->start], copies[linedef->end])->properties = linedef->properties;
    for (const MapObject* object : from.GetObjects()) map.AddObject(object->position)->properties = object->properties;
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
