#include "Game/MapItem.h"

#include "Engine/AssertionFailure.h"
#include "Engine/FileName.h"
#include "Game/MapObject.h"

MapItem::MapItem(MapObject* object) : source(object), position(object->position) {}

bool IsBallSpawn(const MapItem* item)
{
    std::string value;
    return item->source->properties.Get("BALLSPAWN", value);
}

std::string SpriteName(const MapItem* item)
{
    std::string sprite;
    if (!item->source->properties.Get("SPRITE", sprite)) sprite = "collection01";
    return sprite;
}

std::string SpritePath(const std::string& sprite)
{
    return "data/sprites/" + sprite + ".tga";
}

bool IsCollectible(const MapItem* item)
{
    std::string value;
    return !(item->source->properties.Get("COLLECT", value) && value == "0");
}

std::string SpriteFileName(const MapItem* item)
{
    if (IsBallSpawn(item)) return std::string();
    const std::string sprite = SpriteName(item);
    // Maps are checked before they start; one that cannot be refused (the first, at start-up)
    // must still never read a file outside data/sprites/.
    FATAL_CHECK(IsPlainFileName(sprite), "MapItem : the sprite \"%s\" of an object names no file of data/sprites/",
                sprite.c_str());
    return SpritePath(sprite);
}
