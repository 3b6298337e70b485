// A point of the map carrying properties; the game makes items of them.
#pragma once

#include <list>

#include "Engine/Vector.h"
#include "Game/MapElement.h"
#include "Game/PropertyMap.h"

class MapObject : public MapElement {
public:
    explicit MapObject(const Vec2f& position_);
    void Move(const Vec2f& offset) override;

    Vec2f position;
    PropertyMap properties;

private:
    friend class MapArea;
    std::list<MapObject*>::iterator _areaEntry;
};
