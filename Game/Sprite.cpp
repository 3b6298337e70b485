#include "Game/Sprite.h"

#include <new>

#include "Engine/Image.h"
#include "Engine/Texture.h"

namespace {

// Magenta in the file's blue, green, red order marks the end of a strip.
bool IsEndMarker(const uint8_t* pixel)
{
    return pixel[0] == 255 && pixel[1] == 0 && pixel[2] == 255;
}

}  // namespace

Sprite::Sprite(const std::string& fileName)
{
    const Image image(fileName);
    // A failed allocation is reported by the animation that finds no texture.
    _texture = new (std::nothrow) Texture(image);
    if (_texture == nullptr) return;

    _frameSize = _texture->GetHeight();
    _frameCount = _texture->GetWidth() / _texture->GetHeight();

    // The first row the file stores, read four bytes at a time, frame by frame: strips with
    // markers are 32-bit pictures. The texture rules guarantee at least 8 rows, so the walk
    // stays inside the pixels even for a 24-bit picture.
    if (_frameCount > 1) {
        const uint8_t* pixel = image.GetPixelData();
        for (int32_t frame = 0; frame < _frameCount; ++frame) {
            bool marked = false;
            for (int32_t step = 0; step < _frameSize; ++step, pixel += 4) marked = marked || IsEndMarker(pixel);
            if (marked) {
                _frameCount = frame;
                break;
            }
        }
    }
}

Sprite::~Sprite()
{
    delete _texture;
}
