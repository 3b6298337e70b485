#include "Game/Animation.h"

#include <new>

#include "Engine/AssertionFailure.h"
#include "Engine/Image.h"
#include "Engine/TheApplication.h"
#include "Engine/TheRenderer.h"
#include "Engine/Texture.h"

namespace {

// Magenta in the file's blue, green, red order marks the end of a strip.
bool IsEndMarker(const uint8_t* pixel)
{
    return pixel[0] == 255 && pixel[1] == 0 && pixel[2] == 255;
}

}  // namespace

Animation::Animation(const std::string& fileName, float framesPerSecond_, const Vec2f& scale_)
    : framesPerSecond(framesPerSecond_), scale(scale_)
{
    const Image image(fileName);
    a_texture = new (std::nothrow) Texture(image);
    FATAL_CHECK(a_texture, "%s", "");

    frameSize = a_texture->GetHeight();
    frameCount = a_texture->GetWidth() / a_texture->GetHeight();
    lastFrameTime = theApplication.GetCurrentSeconds();

    // The first row the file stores, read four bytes at a time, frame by frame: strips with
    // markers are 32-bit pictures. The texture rules guarantee at least 8 rows, so the walk
    // stays inside the pixels even for a 24-bit picture.
    if (frameCount > 1) {
        const uint8_t* pixel = image.GetPixelData();
        for (int32_t frame = 0; frame < frameCount; ++frame) {
            bool marked = false;
            for (int32_t step = 0; step < frameSize; ++step, pixel += 4) marked = marked || IsEndMarker(pixel);
            if (marked) {
                frameCount = frame;
                break;
            }
        }
    }
}

Animation::~Animation()
{
    delete a_texture;
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
