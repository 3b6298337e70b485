#include "Game/Vertex.h"

Vertex::Vertex(const Vec2f& position_) : position(position_)
{
    type = MAP_ELEMENT_VERTEX;
}

void Vertex::Move(const Vec2f& offset)
{
    position += offset;
}
