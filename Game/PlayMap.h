// A map being played: the play field with its items' sprites and the background picture.
#pragma once

#include <string>

#include "Game/PlayField.h"

class Game;
class Texture;

class PlayMap : public PlayField {
public:
    // Loads "data/maps/" + name + ".map" and the background "data/maps/" + name + ".tga", then
    // makes the items and has the game spawn a ball at every ball spawn.
    PlayMap(const std::string& name, Game& game);
    ~PlayMap() override;

    // The background over the whole field, the items in play and, with the debug overlay, every
    // linedef from red at its start to green at its end.
    void Draw();

    Texture* background = nullptr;
};
