// The game's record of a map object: where it is, how near the ball must come, and its sprite.
// What an object is follows from its property keys alone.
#pragma once

#include <string>

#include "Engine/Vector.h"

class Animation;
class MapObject;

class MapItem {
public:
    // Loads the object's sprite ("SPRITE", else "collection01") unless it is a ball spawn or
    // withSprite is false (the physics needs no pictures).
    explicit MapItem(MapObject* object, bool withSprite = true);
    ~MapItem();

    MapItem(const MapItem&) = delete;
    MapItem& operator=(const MapItem&) = delete;

    // Items without a sprite draw nothing.
    void Draw();

    MapObject* source;
    Vec2f position;
    float radius = 24.0f;
    Animation* animation = nullptr;
};

// "BALLSPAWN" present, whatever its value.
bool IsBallSpawn(const MapItem* item);
// "SPRITE", else "collection01"; the picture is SpritePath of it.
std::string SpriteName(const MapItem* item);
std::string SpritePath(const std::string& sprite);
// Unless "COLLECT" is exactly "0"; ball spawns follow the same rule.
bool IsCollectible(const MapItem* item);
