// One picture from an uncompressed true-colour TGA file, kept in the file's own byte order.
#pragma once

#include <windows.h>
#include <GL/gl.h>

#include <cstdint>
#include <cstdio>
#include <string>

class Image {
public:
    // Loads the file; a picture that cannot be read ends the program, so an Image is always loaded.
    explicit Image(const std::string& fileName);
    ~Image();

    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    void LoadFromFile(const std::string& fileName);

    uint16_t GetWidth() const { return _width; }
    uint16_t GetHeight() const { return _height; }
    uint8_t GetBytesPerPixel() const { return _bytesPerPixel; }
    const uint8_t* GetPixelData() const { return _pixelData; }
    size_t GetPixelDataSize() const { return size_t(_width) * _height * _bytesPerPixel; }
    GLenum GetGLInternalFormat() const { return _glInternalFormat; }
    GLenum GetGLPixelFormat() const { return _glPixelFormat; }
    const std::string& GetFileName() const { return _fileName; }

private:
    friend class Texture;

    void _LoadTGAFromFile(FILE* file);

    uint16_t _width = 0;
    uint16_t _height = 0;
    uint8_t _bytesPerPixel = 0;
    uint8_t* _pixelData = nullptr;
    GLenum _glInternalFormat = 0;
    GLenum _glPixelFormat = 0;
    std::string _fileName;

    // The only header we take: no image ID, no colour map, type 2 (uncompressed true-colour), origin 0, 0.
    static const uint8_t _primerTGA_correct[12];
};
