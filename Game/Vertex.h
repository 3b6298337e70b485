// A point of the map; linedefs end at vertexes.
#pragma once

#include <list>

#include "Engine/Vector.h"
#include "Game/MapElement.h"

class Linedef;

class Vertex : public MapElement {
public:
    explicit Vertex(const Vec2f& position_);
    void Move(const Vec2f& offset) override;

    Vec2f position;
    // The linedefs that end here, in the order they were attached (not owned).
    std::list<Linedef*> linedefs;

private:
    friend class MapArea;
    std::list<Vertex*>::iterator _areaEntry;
};
