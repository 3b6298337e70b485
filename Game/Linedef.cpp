#include "Game/Linedef.h"

#include "Game/Vertex.h"

Linedef::Linedef(Vertex* start_, Vertex* end_) : start(start_), end(end_)
{
    type = MAP_ELEMENT_LINEDEF;
}

void Linedef::Move(const Vec2f& offset)
{
    start->Move(offset);
    end->Move(offset);
}
