// A horizontal strip of square frames from one texture, played at a fixed rate. Map items and
// the ball draw their sprites through it.
#pragma once

#include <cstdint>
#include <string>

#include "Engine/Color.h"
#include "Engine/Vector.h"

class Sprite;
class Texture;

class Animation {
public:
    // Draw's frame number that keeps playing from the current frame.
    static constexpr int32_t KEEP_PLAYING = -666;

    // Loads the sprite file for this animation alone.
    Animation(const std::string& fileName, float framesPerSecond_, const Vec2f& scale_);
    // Draws from a sprite that someone else owns and keeps while the animation lives.
    Animation(const Sprite& sprite, float framesPerSecond_, const Vec2f& scale_);
    ~Animation();

    Animation(const Animation&) = delete;
    Animation& operator=(const Animation&) = delete;

    // Draws the current frame centred on position (or jumps to frame first), then moves on by at
    // most one frame once a whole frame period has passed since the last advance.
    void Draw(const Vec2f& position, const Vec2f& drawScale, float rotation, const Color& colour, int32_t frame);

    const Texture* GetTexture() const { return a_texture; }

    float framesPerSecond;
    int32_t currentFrame = 0;
    int32_t frameSize = 0;
    int32_t frameCount = 0;
    Vec2f scale;
    double lastFrameTime = 0.0;
    const Texture* a_texture = nullptr;

private:
    void _TakeFrames(const Sprite& sprite);

    Sprite* _ownSprite = nullptr;
};
