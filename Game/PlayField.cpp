#include "Game/PlayField.h"

#include <algorithm>
#include <unordered_map>

#include "Game/MapFile.h"
#include "Game/MapItem.h"

PlayField::PlayField(const std::string& mapName) : MapArea(mapName, true) {}

PlayField::PlayField(const MapArea& map, const Vertex* leaveOut)
{
    SetName(map.GetName());
    // The same float arithmetic as the reader's mirror, so a map loaded in the editor flies
    // exactly as its file does in the game.
    auto mirrored = [](const Vec2f& p) { return Vec2f(p.x, MapFile::FLIP_Y_HEIGHT - p.y); };
    std::unordered_map<const Vertex*, Vertex*> copies;
    for (const Vertex* vertex : map.GetVertexes())
        if (vertex != leaveOut) copies[vertex] = AddVertex(mirrored(vertex->position), true);
    for (const Linedef* linedef : map.GetLinedefs()) {
        const auto start = copies.find(linedef->start), end = copies.find(linedef->end);
        if (start == copies.end() || end == copies.end()) continue;
        AddLinedef(start->second, end->second)->properties = linedef->properties;
    }
    for (const MapObject* object : map.GetObjects())
        AddObject(mirrored(object->position))->properties = object->properties;
}

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
