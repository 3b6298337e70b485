#include "Game/Ball.h"

#include <windows.h>
#include <GL/gl.h>

#include "Engine/Color.h"
#include "Engine/TheRenderer.h"
#include "Game/FlightGlobals.h"
#include "Game/Linedef.h"
#include "Game/Vertex.h"

Ball::Ball(const Sprite& ballSprite, const Sprite& highlightSprite)
    : highlightAnimation(highlightSprite, 10.0f, Vec2f(1.0f, 1.0f)), ballAnimation(ballSprite, 10.0f, Vec2f(1.0f, 1.0f))
{}

namespace {

void DrawContactVectors(const Vec2f& position, const Vec2f& anchor)
{
    theRenderer.DrawLine(position, position + debugVelocityBefore, Color::GREEN, Color::GREEN);
    theRenderer.DrawLine(position, position + debugVelocityAfter, Color::RED, Color::RED);
    theRenderer.DrawLine(anchor - debugTangent, anchor + debugTangent, Color::OLIVE, Color::OLIVE);
    theRenderer.DrawLine(anchor, anchor + debugNormal, Color::PURPLE, Color::PURPLE);
}

}  // namespace

void DrawBall(Ball& ball)
{
    const Vec2f unscaled(1.0f, 1.0f);
    theRenderer.SetBlending(Blending::ALPHA);
    ball.ballAnimation.Draw(ball.position, unscaled, ball.rotation, Color::WHITE, Animation::KEEP_PLAYING);
    // The shine does not turn with the ball.
    theRenderer.SetBlending(Blending::ADDITIVE);
    ball.highlightAnimation.Draw(ball.position, unscaled, 0.0f, Color::WHITE, Animation::KEEP_PLAYING);

    if (!debugOverlay) return;
    theRenderer.SetBlending(Blending::ALPHA);
    if (lastCollisionVertex) {
        const Vec2f& vertex = lastCollisionVertex->position;
        glLineWidth(5);
        if (debugVectorsValid) DrawContactVectors(ball.position, vertex);
        theRenderer.DrawCircle(vertex, 5.0f, Color::MAGENTA, 16);
    } else if (lastCollisionLinedef) {
        glLineWidth(3);
        if (debugVectorsValid) DrawContactVectors(ball.position, ball.position);
        theRenderer.DrawLine(lastCollisionLinedef->start->position, lastCollisionLinedef->end->position,
                             Color::DARK_BLUE, Color::PURPLE);
    }
    if (interpenetrationMark) {
        interpenetrationMark = false;
        glLineWidth(8);
        theRenderer.DrawCircle(ball.position, 2.0f * ball.radius, Color::WHITE, 32);
    }
    glLineWidth(1);
}
