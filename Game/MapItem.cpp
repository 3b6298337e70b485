#include "Game/MapItem.h"

#include "Game/MapObject.h"

MapItem::MapItem(MapObject* object) : source(object), position(object->position) {}

bool IsBallSpawn(const MapItem* item)
{
    std::string value;
    return item->source->properties.Get("BALLSPAWN", value);
}

bool IsCollectible(const MapItem* item)
{
    std::string value;
    return !(item->source->properties.Get("COLLECT", value) && value == "0");
}

std::string SpriteFileName(const MapItem* item)
{
    if (IsBallSpawn(item)) return std::string();
    std::string sprite;
    if (!item->source->properties.Get("SPRITE", sprite)) sprite = "collection01";
    return "data/sprites/" + sprite + ".tga";
}
