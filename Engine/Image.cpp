#include "Engine/Image.h"

#include <cstring>
#include <new>

#include "Engine/AssertionFailure.h"
#include "Engine/FileName.h"

const uint8_t Image::_primerTGA_correct[12] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};

// How many bytes are left after the read position, or SIZE_MAX when the stream cannot tell.
static size_t RemainingBytes(FILE* file)
{
    const long here = ftell(file);
    if (here < 0 || fseek(file, 0, SEEK_END) != 0) return SIZE_MAX;
    const long end = ftell(file);
    if (fseek(file, here, SEEK_SET) != 0 || end < here) return SIZE_MAX;
    return size_t(end - here);
}

Image::Image(const std::string& fileName) : _fileName(fileName)
{
    LoadFromFile(fileName);
}

Image::~Image()
{
    delete[] _pixelData;
}

void Image::LoadFromFile(const std::string& fileName)
{
    _fileName = fileName;
    FILE* file = OpenRegularFile(fileName);
    FATAL_CHECK(file, "Image::LoadFromFile : failed to open \"%s\"\n", fileName.c_str());
    // A trapped fatal report in the reading still closes the file.
    struct CloseOnLeaving {
        FILE* file;
        ~CloseOnLeaving() { fclose(file); }
    } closer{file};
    _LoadTGAFromFile(file);
}

void Image::_LoadTGAFromFile(FILE* file)
{
    uint8_t primerTGA[12];
    size_t bytesRead = fread(primerTGA, 1, sizeof(primerTGA), file);
    // The reported expression keeps its source spacing.
    // clang-format off
    FATAL_CHECK(bytesRead == sizeof( primerTGA ), "%s", "");
    FATAL_CHECK(!memcmp( primerTGA, _primerTGA_correct, sizeof( primerTGA ) ), "%s", "");
    // clang-format on

    // Width, height, depth and descriptor; a file that ends inside them is as bad as a short primer.
    uint8_t header[6];
    bytesRead = fread(header, 1, sizeof(header), file);
    // The reported expression keeps its source spacing.
    // clang-format off
    FATAL_CHECK(bytesRead == sizeof( header ), "%s", "");
    // clang-format on
    _width = uint16_t(header[0] | (header[1] << 8));
    _height = uint16_t(header[2] | (header[3] << 8));
    const uint8_t depth = header[4];

    _bytesPerPixel = uint8_t(depth / 8);
    // TGA stores blue first. Windows' OpenGL 1.1 header names the formats by their
    // extension only (same values as GL_BGRA and GL_BGR).
    if (_bytesPerPixel == 4) {
        _glInternalFormat = GL_RGBA;
        _glPixelFormat = GL_BGRA_EXT;
    } else if (_bytesPerPixel == 3) {
        _glInternalFormat = GL_RGB;
        _glPixelFormat = GL_BGR_EXT;
    } else {
        AssertionFailure(__LINE__, __FILE__, "ALL BUILDS", "(_bytesPerPixel == 3) || (_bytesPerPixel == 4)",
                         "Image::_LoadTGAFromFile : %s had unsupported bit-depth of %d bpp\n", _fileName.c_str(),
                         int(depth));
    }

    delete[] _pixelData;
    _pixelData = nullptr;
    const size_t pixelBytes = size_t(_width) * _height * _bytesPerPixel;
    const size_t remaining = RemainingBytes(file);
    if (remaining < pixelBytes) {
        // The header promises more than the file holds: the read can only come up short, so don't
        // reserve up to 16 GiB for it first.
        bytesRead = remaining;
    } else {
        _pixelData = new (std::nothrow) uint8_t[pixelBytes];
        FATAL_CHECK(_pixelData, "%s", "");
        bytesRead = fread(_pixelData, 1, pixelBytes, file);
    }
    // No partial picture survives a trapped report either (a constructor that fails runs no destructor).
    if (bytesRead != pixelBytes) {
        delete[] _pixelData;
        _pixelData = nullptr;
    }
    FATAL_CHECK(bytesRead == pixelBytes, "%s", "");
}
