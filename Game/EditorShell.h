// The frame around the map editor: its preferences, the pane tree with the views, the editor's
// map area and the underlay picture. One shell exists from the game's PreInit on, reached through
// theEditorShell; it only works while active.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "Engine/Vector.h"
#include "Game/MapHistory.h"
#include "Game/MapSolver.h"

class EditorPreferences;
class MapArea;
class Pane;
class Texture;
class Vertex;
class ViewBase;

class EditorShell {
public:
    EditorShell() = default;
    ~EditorShell();

    EditorShell(const EditorShell&) = delete;
    EditorShell& operator=(const EditorShell&) = delete;

    // From the game's PreInit: the start-up dialog, then the preferences.
    void PreInit();
    // From the game's PostInit: builds the editor when the start-up choice made the shell active.
    void BuildEditor();
    // The EDIT command: editing mode, a fresh editor on the game's current map.
    void EnterEditor();
    void CloseEditor();
    // The PLAY command: close the editor and play its map as last saved.
    void LeaveForPlay();
    // Null for no underlay.
    void SetUnderlay(const char* fileName);

    void Frame();
    bool HandleEditorInput(int32_t type, uint8_t code);

    // The console's operations on the editor's map area (SET, DELETE, SAVE, LOAD). While no
    // editor is built they do nothing but log that. SAVE paints the map's background beside it
    // (MapSaving); LOAD and BG read their file aside and refuse a missing or broken one with a
    // warning, keeping the map and the underlay as they were.
    void SetHighlightedProperty(const std::string& key, const std::string& value);
    void RemoveHighlightedProperty(const std::string& key);
    void SaveMapByName(const std::string& name);
    // SAVE without a name: under the map area's own name.
    void SaveMap();
    void LoadMapByName(const std::string& name);
    // SOLVE: the search for winning shots on the edited map, in slices of the frames to come.
    void Solve();

    // Unsaved changes (EditorShellChanges.cpp). The map has them when it differs from the
    // file it was loaded from or last saved to (a new map: from the empty map).
    bool HasUnsavedChanges();
    // Every console command, and every press of the window's close box, is a new request:
    // a confirmation is only for the request right after the warning.
    void NoteCommand();
    // Whether a request that would drop the edited map's unsaved changes may go on: yes
    // without an editor open or without such changes, or when it repeats the request just
    // warned about with no change to the map since; otherwise it logs a warning that says
    // how to go on ("QUIT again", "LOAD MAP02 again") and answers no.
    bool MayDiscardChanges(const std::string& request);
    // SAVE under the name of another map whose file exists asks the same way.
    bool MayReplaceMapFile(const std::string& name);
    // Ctrl+Z and Ctrl+Y (or Ctrl+Shift+Z): one step of the map's history back or forward.
    void Undo();
    void Redo();
    const MapHistory& GetHistory() const { return _history; }

    // Building for a window of the given size (the video system's, normally); a built editor
    // is replaced.
    void _BuildEditor(const Vec2i& windowSize);

    Pane* root = nullptr;
    EditorPreferences* preferences = nullptr;
    bool active = false;
    Texture* underlay = nullptr;
    float underlayAlpha = 0.5f;
    MapSolver solver;

private:
    void _DestroyEditor();
    bool _IsBuilt(const char* refusal) const;
    // The elements of from, in their order and with their properties, in place of map's.
    static void _ReplaceElements(MapArea& map, const MapArea& from);
    static void _ForgetMapElements(Pane* pane);

    bool _IsEditing() const;
    bool _IsDragging(const Pane* pane) const;
    bool _HandleHistoryKeys(int32_t type, uint8_t code);
    bool _MayTravelHistory(const char* command, const char* refusal);
    // The map's snapshot now, without the scaffolding of a line chain in the making.
    const std::string& _CurrentText();
    // A completed user action becomes one step; none while a chain or a drag is unfinished.
    void _CommitChanges();
    void _RecordStep();
    void _ResetHistory();
    // The map as it is now is its file's content under its own name.
    void _NoteFileText();
    void _RestoreFromHistory();
    bool _Confirmed(const std::string& request);
    void _AwaitConfirmation(const std::string& request);

    MapHistory _history;
    uint64_t _recordedRevision = 0;
    // By lower-case map name: the snapshot of what its file held when loaded or saved here.
    std::map<std::string, std::string> _fileTexts;
    std::string _currentText;
    uint64_t _currentTextRevision = 0;
    const Vertex* _currentTextLeftOut[2] = {nullptr, nullptr};
    bool _currentTextValid = false;
    std::string _pendingRequest;
    uint64_t _pendingCommand = 0;
    uint64_t _pendingRevision = 0;
    uint64_t _commandCount = 0;
};

extern EditorShell* theEditorShell;
// The editor's map area; null while the editor is not built.
extern MapArea* theMapArea;
// The leaf pane and the view under the mouse this frame, or null.
extern Pane* focusPane;
extern ViewBase* focusView;
extern EditorPreferences* thePreferences;
