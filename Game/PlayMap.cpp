#include "Game/PlayMap.h"

#include <windows.h>
#include <GL/gl.h>

#include "Engine/FileName.h"
#include "Engine/TheRenderer.h"
#include "Engine/Texture.h"
#include "Game/Animation.h"
#include "Game/FlightGlobals.h"
#include "Game/Game.h"
#include "Game/Linedef.h"
#include "Game/MapItem.h"
#include "Game/Sprite.h"
#include "Game/Vertex.h"

PlayMap::PlayMap(const std::string& mapName, Game& game) : PlayField(mapName)
{
    background = new Texture(Game::BackgroundPath(mapName));
    MakeItems([&game](const Vec2f& position) { game.SpawnBall(position); });
    // A sprite is loaded once however many items show it; each item plays its own animation.
    for (const MapItem* item : items) {
        const std::string fileName = SpriteFileName(item);
        if (fileName.empty()) continue;
        Sprite*& sprite = _sprites[ResolveFileName(fileName)];
        if (sprite == nullptr) sprite = new Sprite(fileName);
        _animations[item->source] = new Animation(*sprite, 10.0f, Vec2f(1.0f, 1.0f));
    }
}

PlayMap::~PlayMap()
{
    for (auto& entry : _animations) delete entry.second;
    for (auto& entry : _sprites) delete entry.second;
    delete background;
}

Animation* PlayMap::GetAnimation(const MapItem* item) const
{
    const auto found = _animations.find(item->source);
    return found == _animations.end() ? nullptr : found->second;
}

void PlayMap::Draw()
{
    theRenderer.SetBlending(Blending::OFF);
    theRenderer.DrawTexturedQuadUV(*background, Vec2f(0.0f, 0.0f), Vec2f(1024.0f, 1024.0f), Vec2f(0.0f, 0.0f),
                                   Vec2f(1.0f, 1.0f), 0.0f, Vec2f::ONE, Color::WHITE, true, true);
    for (const MapItem* item : items) {
        Animation* animation = GetAnimation(item);
        if (animation == nullptr) continue;
        theRenderer.SetBlending(Blending::ALPHA);
        animation->Draw(item->position, Vec2f(1.0f, 1.0f), 0.0f, Color::WHITE, Animation::KEEP_PLAYING);
    }
    if (!debugOverlay) return;
    theRenderer.SetBlending(Blending::ALPHA);
    glLineWidth(3);
    for (Linedef* linedef : GetLinedefs()) {
        const Vec2f& start = linedef->start->position;
        theRenderer.DrawSegment(Segment2f(start, linedef->end->position - start), Color::RED, Color::GREEN);
    }
    glLineWidth(1);
}
