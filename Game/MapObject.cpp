#include "Game/MapObject.h"

MapObject::MapObject(const Vec2f& position_) : position(position_)
{
    type = MAP_ELEMENT_OBJECT;
}

void MapObject::Move(const Vec2f& offset)
{
    position += offset;
}
