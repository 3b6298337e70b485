// The editor's text panel: the selection counts by kind, and the highlighted element with
// the key/value properties of a linedef or object.
#pragma once

#include <string>
#include <vector>

#include "Game/ViewBase.h"

class MapArea;

class ViewInfo : public ViewBase {
public:
    // One piece of text at a window pixel position (the left end of its baseline).
    struct TextItem {
        float x;
        float y;
        std::string text;
    };

    ViewInfo();

    void Draw() override;
    void DrawInfo();
    // What DrawInfo writes for the map (none: the editor is not built), in order.
    std::vector<TextItem> ComposeInfo(const MapArea* map) const;
    // The map's name and whether it has unsaved changes, on the view's last line, below
    // whatever the lines above hold.
    TextItem ComposeMapStatus(const MapArea& map, bool unsaved) const;
};
