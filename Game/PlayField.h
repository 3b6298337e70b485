// A map as the ball meets it: the walls of its map area, the items still in play and the count of
// collectibles left. It holds no pictures, so the physics runs on it without a window.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "Engine/Vector.h"
#include "Game/MapArea.h"

class MapItem;

class PlayField : public MapArea {
public:
    // Empty; filled through the map area's own operations and MakeItems.
    PlayField() = default;
    // Loads "data/maps/" + name + ".map" with y mirrored onto the play field.
    explicit PlayField(const std::string& mapName);
    // The map as the game would load it from the file it saves to: its elements and properties
    // copied in order with y mirrored onto the play field. leaveOut, a vertex without linedefs
    // (the editor's floating chain end), is not part of the map.
    explicit PlayField(const MapArea& map, const Vertex* leaveOut = nullptr);
    ~PlayField() override;

    // Makes an item of every object, in map order, adding up the collectibles, and passes the
    // position of every ball spawn to spawnBall as its item is made. Items made before are
    // destroyed first, so a tool puts every item back in play for its next shot this way.
    void MakeItems(const std::function<void(const Vec2f&)>& spawnBall);

    // Takes the item out of play and destroys it.
    void EraseItem(MapItem* item);

    std::vector<MapItem*> items;
    int32_t collectiblesLeft = 0;
};
