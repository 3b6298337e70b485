// A sprite strip loaded once: its texture and how many of its square frames play. Animations
// draw from it without owning it, so everything that shows one file shares one texture.
#pragma once

#include <cstdint>
#include <string>

class Texture;

class Sprite {
public:
    // Loads the picture; a file that cannot be read or uploaded ends the program.
    explicit Sprite(const std::string& fileName);
    ~Sprite();

    Sprite(const Sprite&) = delete;
    Sprite& operator=(const Sprite&) = delete;

    // Null only when its memory could not be had.
    const Texture* GetTexture() const { return _texture; }
    // The texture's height: frames are square.
    int32_t GetFrameSize() const { return _frameSize; }
    // Width / height, cut at the first frame whose first stored row holds a magenta marker.
    int32_t GetFrameCount() const { return _frameCount; }

private:
    Texture* _texture = nullptr;
    int32_t _frameSize = 0;
    int32_t _frameCount = 0;
};
