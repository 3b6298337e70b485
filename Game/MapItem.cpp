#include "Game/MapItem.h"

#include <windows.h>
#include <GL/gl.h>

#include <string>

#include "Engine/Color.h"
#include "Engine/TheRenderer.h"
#include "Game/Animation.h"
#include "Game/MapObject.h"

MapItem::MapItem(MapObject* object, bool withSprite) : source(object), position(object->position)
{
    if (IsBallSpawn(this) || !withSprite) return;
    std::string sprite;
    if (!source->properties.Get("SPRITE", sprite)) sprite = "collection01";
    animation = new Animation("data/sprites/" + sprite + ".tga", 10.0f, Vec2f(1.0f, 1.0f));
}

MapItem::~MapItem()
{
    delete animation;
}

void MapItem::Draw()
{
    if (!animation) return;
    theRenderer.SetBlending(Blending::ALPHA);
    animation->Draw(position, Vec2f(1.0f, 1.0f), 0.0f, Color::WHITE, Animation::KEEP_PLAYING);
}

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
