// The game's record of a map object: where it is and how near the ball must come. What an
// object is follows from its property keys alone; its picture belongs to the map that shows it.
#pragma once

#include <string>

#include "Engine/Vector.h"

class MapObject;

class MapItem {
public:
    explicit MapItem(MapObject* object);

    MapObject* source;
    Vec2f position;
    float radius = 24.0f;
};

// "BALLSPAWN" present, whatever its value.
bool IsBallSpawn(const MapItem* item);
// "SPRITE", else "collection01"; the picture is SpritePath of it.
std::string SpriteName(const MapItem* item);
std::string SpritePath(const std::string& sprite);
// Unless "COLLECT" is exactly "0"; ball spawns follow the same rule.
bool IsCollectible(const MapItem* item);
// "data/sprites/" + the value of "SPRITE" (else "collection01") + ".tga"; empty for a ball spawn,
// which shows nothing.
std::string SpriteFileName(const MapItem* item);
