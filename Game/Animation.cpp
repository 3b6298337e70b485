#include "Game/Animation.h"

#include "Engine/AssertionFailure.h"
#include "Engine/TheApplication.h"
#include "Engine/TheRenderer.h"
#include "Engine/Texture.h"
#include "Game/Sprite.h"

Animation::Animation(const std::string& fileName, float framesPerSecond_, const Vec2f& scale_)
    : framesPerSecond(framesPerSecond_), scale(scale_), _ownSprite(new Sprite(fileName))
{
    _TakeFrames(*_ownSprite);
}

Animation::Animation(const Sprite& sprite, float framesPerSecond_, const Vec2f& scale_)
    : framesPerSecond(framesPerSecond_), scale(scale_)
{
    _TakeFrames(sprite);
}

void Animation::_TakeFrames(const Sprite& sprite)
{
    a_texture = sprite.GetTexture();
    FATAL_CHECK(a_texture, "%s", "");
    frameSize = sprite.GetFrameSize();
    frameCount = sprite.GetFrameCount();
    lastFrameTime = theApplication.GetCurrentSeconds();
}

Animation::~Animation()
{
    delete _ownSprite;
}

void Animation::Draw(const Vec2f& position, const Vec2f& drawScale, float rotation, const Color& colour, int32_t frame)
{
    if (frame != KEEP_PLAYING) currentFrame = frame;

    Vec2f uvMin(0.0f, 0.0f);
    Vec2f uvMax(1.0f, 1.0f);
    if (frameCount > 1) {
        const float width = float(a_texture->GetWidth());
        uvMin.x = float(currentFrame * frameSize) / width;
        uvMax.x = uvMin.x + float(frameSize) / width;
    }
    const float side = float(frameSize);
    theRenderer.DrawTexturedQuadCentredUV(*a_texture, position, Vec2f(side, side), uvMin, uvMax, rotation, drawScale,
                                          colour, true, true);

    const double now = theApplication.GetCurrentSeconds();
    if (frameCount > 1 && now - lastFrameTime >= 1.0 / framesPerSecond) {
        ++currentFrame;
        if (currentFrame > frameCount - 1) currentFrame = 0;
        lastFrameTime = now;
    }
}
