#include "Game/MapItem.h"

#include <windows.h>
#include <GL/gl.h>

#include <string>

#include "Engine/AssertionFailure.h"
#include "Engine/Color.h"
#include "Engine/FileName.h"
#include "Game/Animation.h"
#include "Game/MapObject.h"

MapItem::MapItem(MapObject* object, bool withSprite) : source(object), position(object->position)
{
    if (IsBallSpawn(this) || !withSprite) return;
    const std::string sprite = SpriteName(this);
    // Maps are checked before they start; one that cannot be refused (the first, at start-up)
    // must still never read a file outside data/sprites/.
    FATAL_CHECK(IsPlainFileName(sprite), "MapItem : the sprite \"%s\" of an object names no file of data/sprites/",
                sprite.c_str());
    animation = new Animation(SpritePath(sprite), 10.0f, Vec2f(1.0f, 1.0f));
}

MapItem::~MapItem()
{
    delete animation;
}

void MapItem::Draw()
{
    if (!animation) return;
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    animation->Draw(position, Vec2f(1.0f, 1.0f), 0.0f, Color::WHITE, Animation::KEEP_PLAYING);
}

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
