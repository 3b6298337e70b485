#include "Game/PlayField.h"

#include <algorithm>

#include "Game/MapItem.h"

PlayField::PlayField(const std::string& name) : MapArea(name, true) {}

PlayField::~PlayField()
{
    for (MapItem* item : items) delete item;
}

void PlayField::MakeItems(const std::function<void(const Vec2f&)>& spawnBall)
{
    for (MapItem* item : items) delete item;
    items.clear();
    collectiblesLeft = 0;
    for (MapObject* object : GetObjects()) {
        MapItem* item = new MapItem(object);
        items.push_back(item);
        if (IsCollectible(item)) ++collectiblesLeft;
        if (IsBallSpawn(item)) spawnBall(item->position);
    }
}

void PlayField::EraseItem(MapItem* item)
{
    const auto found = std::find(items.begin(), items.end(), item);
    if (found == items.end()) return;
    items.erase(found);
    delete item;
}
