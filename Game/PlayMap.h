// A map being played: the play field with its items' sprites and the background picture.
#pragma once

#include <map>
#include <string>

#include "Game/PlayField.h"

class Animation;
class Game;
class MapObject;
class Sprite;
class Texture;

class PlayMap : public PlayField {
public:
    // Loads "data/maps/" + name + ".map" and the background "data/maps/" + name + ".tga", then
    // makes the items, has the game spawn a ball at every ball spawn, and loads each sprite file
    // the items show once.
    PlayMap(const std::string& mapName, Game& game);
    ~PlayMap() override;

    // The background over the whole field, the items in play and, with the debug overlay, every
    // linedef from red at its start to green at its end.
    void Draw();

    // The item's own animation, or null for one that shows nothing (a ball spawn).
    Animation* GetAnimation(const MapItem* item) const;
    // How many sprite files the map's items show, each loaded once.
    size_t GetSpriteCount() const { return _sprites.size(); }

    Texture* background = nullptr;

private:
    // By the name of the file found on disk, so names that differ only in case share too.
    std::map<std::string, Sprite*> _sprites;
    // By the item's object, which stays while its item leaves play.
    std::map<const MapObject*, Animation*> _animations;
};
