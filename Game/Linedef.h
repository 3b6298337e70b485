// A segment between two vertexes of the map, with properties.
#pragma once

#include <list>

#include "Engine/Vector.h"
#include "Game/MapElement.h"
#include "Game/PropertyMap.h"

class Vertex;

class Linedef : public MapElement {
public:
    Linedef(Vertex* start_, Vertex* end_);
    // Moves both vertexes: a vertex shared with another moved linedef moves twice.
    void Move(const Vec2f& offset) override;

    Vertex* start;
    Vertex* end;
    PropertyMap properties;

private:
    // Where this linedef sits in the map area's list and in its vertexes' lists.
    friend class MapArea;
    std::list<Linedef*>::iterator _areaEntry;
    std::list<Linedef*>::iterator _startEntry;
    std::list<Linedef*>::iterator _endEntry;
};
