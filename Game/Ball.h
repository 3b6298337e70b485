// The game's ball: its physical state and its two sprites, the turning ball and a fixed shine.
#pragma once

#include "Game/Animation.h"
#include "Game/BallPhysics.h"

class Sprite;

class Ball : public BallBody {
public:
    // Draws from the two sprites, which the game keeps for every ball it makes.
    Ball(const Sprite& ballSprite, const Sprite& highlightSprite);

    Animation highlightAnimation;
    Animation ballAnimation;
};

// The ball, and with the debug overlay on, the last contact: the velocity before (green) and
// after (red), the tangent (olive) and the normal (purple).
void DrawBall(Ball& ball);
