// One OpenGL 2-D texture made from a TGA picture; afterwards only a GL name and a size. The GL
// texture goes with the object.
#pragma once

#include <windows.h>
#include <GL/gl.h>

#include <cstdint>
#include <string>

class Image;

// Non-zero and 2^k for some k from 0 to 31.
inline bool IsAPowerOfTwo(uint32_t value)
{
    return value != 0 && (value & (value - 1)) == 0;
}

class Texture {
public:
    // Loads the picture, uploads it and drops the pixels again.
    explicit Texture(const std::string& fileName);
    explicit Texture(const Image& image);
    ~Texture();

    // One owner per GL name.
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;

    uint16_t GetWidth() const { return _width; }
    uint16_t GetHeight() const { return _height; }
    uint8_t GetBytesPerPixel() const { return _bytesPerPixel; }
    GLenum GetGLInternalFormat() const { return _glInternalFormat; }
    // -1 until the texture exists; what the renderer's textured-quad calls take.
    int32_t GetGLName() const { return _glName; }

    static bool IsOpenGLReady() { return _isOpenGLReady; }
    // The rules for a picture's sides (powers of two from 8 to 2048): fatal, naming the picture,
    // when they refuse it. Creation checks them; a check before loading a map may too.
    static void CheckSize(const Image& image);

private:
    friend class TheRenderer;  // sets _isOpenGLReady once the default GL state is in place

    void _CreateFromImage(const Image& image);

    uint16_t _width = 0;
    uint16_t _height = 0;
    uint8_t _bytesPerPixel = 0;
    GLenum _glInternalFormat = 0;
    int32_t _glName = -1;

    static bool _isOpenGLReady;
};
