// The frame around the map editor: its preferences, the pane tree with the views, the editor's
// map area and the underlay picture. One shell exists from the game's PreInit on, reached through
// theEditorShell; it only works while active.
#pragma once

#include <cstdint>
#include <string>

#include "Engine/Vector.h"

class EditorPreferences;
class MapArea;
class Pane;
class Texture;
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

    // Building for a window of the given size (the video system's, normally); a built editor
    // is replaced.
    void _BuildEditor(const Vec2i& windowSize);

    Pane* root = nullptr;
    EditorPreferences* preferences = nullptr;
    bool active = false;
    Texture* underlay = nullptr;
    float underlayAlpha = 0.5f;

private:
    void _DestroyEditor();
    bool _IsBuilt(const char* refusal) const;
    bool _TextWithoutChainCursor(std::string& text);
    // The elements of from, in their order and with their properties, in place of map's.
    static void _ReplaceElements(MapArea& map, const MapArea& from);
    static void _ForgetMapElements(Pane* pane);
};

extern EditorShell* theEditorShell;
// The editor's map area; null while the editor is not built.
extern MapArea* theMapArea;
// The leaf pane and the view under the mouse this frame, or null.
extern Pane* focusPane;
extern ViewBase* focusView;
extern EditorPreferences* thePreferences;
