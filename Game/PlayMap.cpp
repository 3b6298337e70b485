#include "Game/PlayMap.h"

#include <windows.h>
#include <GL/gl.h>

#include "Engine/TheRenderer.h"
#include "Engine/Texture.h"
#include "Game/FlightGlobals.h"
#include "Game/Game.h"
#include "Game/Linedef.h"
#include "Game/MapItem.h"
#include "Game/Vertex.h"

PlayMap::PlayMap(const std::string& name, Game& game) : PlayField(name)
{
    background = new Texture(Game::BackgroundPath(name));
    MakeItems(true, [&game](const Vec2f& position) { game.SpawnBall(position); });
}

PlayMap::~PlayMap()
{
    delete background;
}

void PlayMap::Draw()
{
    theRenderer.SetBlending(Blending::OFF);
    theRenderer.DrawTexturedQuadUV(*background, Vec2f(0.0f, 0.0f), Vec2f(1024.0f, 1024.0f), Vec2f(0.0f, 0.0f),
                                   Vec2f(1.0f, 1.0f), 0.0f, Vec2f::ONE, Color::WHITE, true, true);
    for (MapItem* item : items) item->Draw();
    if (!debugOverlay) return;
    theRenderer.SetBlending(Blending::ALPHA);
    glLineWidth(3);
    for (Linedef* linedef : GetLinedefs()) {
        const Vec2f& start = linedef->start->position;
        theRenderer.DrawSegment(Segment2f(start, linedef->end->position - start), Color::RED, Color::GREEN);
    }
    glLineWidth(1);
}
