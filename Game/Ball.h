// The game's ball: its physical state and its two sprites, the turning ball and a fixed shine.
#pragma once

#include <string>

#include "Game/Animation.h"
#include "Game/BallPhysics.h"

class Ball : public BallBody {
public:
    Ball(const std::string& ballTexture, const std::string& highlightTexture);

    Animation highlightAnimation;
    Animation ballAnimation;
};

// The ball, and with the debug overlay on, the last contact: the velocity before (green) and
// after (red), the tangent (olive) and the normal (purple).
void DrawBall(Ball& ball);
