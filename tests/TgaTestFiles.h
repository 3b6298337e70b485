// Writes small TGA files into a private temporary folder for the picture tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "TestSupport.h"

struct TgaHeader {
    uint8_t idLength = 0;
    uint8_t colourMapType = 0;
    uint8_t imageType = 2;
    uint16_t xOrigin = 0;
    uint16_t yOrigin = 0;
    uint16_t width = 8;
    uint16_t height = 8;
    uint8_t depth = 24;
    uint8_t descriptor = 0;
};

inline std::vector<uint8_t> TgaHeaderBytes(const TgaHeader& h)
{
    return {h.idLength,
            h.colourMapType,
            h.imageType,
            0,
            0,
            0,
            0,
            0,
            uint8_t(h.xOrigin),
            uint8_t(h.xOrigin >> 8),
            uint8_t(h.yOrigin),
            uint8_t(h.yOrigin >> 8),
            uint8_t(h.width),
            uint8_t(h.width >> 8),
            uint8_t(h.height),
            uint8_t(h.height >> 8),
            h.depth,
            h.descriptor};
}

// A recognisable pixel pattern: every byte differs from its neighbours.
inline std::vector<uint8_t> PatternPixels(size_t count)
{
    std::vector<uint8_t> pixels(count);
    for (size_t i = 0; i < count; ++i) pixels[i] = uint8_t(i * 7 + 3);
    return pixels;
}

class TgaTestFolder : public TestFolder {
public:
    // A complete picture: header, pixels (the pattern unless given) and optional trailing bytes.
    std::string WriteTga(const std::string& name, const TgaHeader& header, std::vector<uint8_t> pixels = {},
                         const std::vector<uint8_t>& trailer = {})
    {
        if (pixels.empty()) pixels = PatternPixels(size_t(header.width) * header.height * (header.depth / 8));
        const std::vector<uint8_t> head = TgaHeaderBytes(header);
        std::string bytes(head.begin(), head.end());
        bytes.append(pixels.begin(), pixels.end());
        bytes.append(trailer.begin(), trailer.end());
        return Write(name, bytes);
    }
};
