// A small but complete data folder for the game, written under a root folder: every picture,
// sound and map the game reads, in plain recognisable colours.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "SoundTestFiles.h"
#include "TgaTestFiles.h"

namespace game_test_data {

struct Bgra {
    uint8_t b, g, r, a;
};

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// Rows in file order (the first is the picture's bottom row).
inline void WritePicture(const std::string& path, int width, int height, int depth,
                         const std::function<Bgra(int x, int row)>& pixel)
{
    TgaHeader header;
    header.width = uint16_t(width);
    header.height = uint16_t(height);
    header.depth = uint8_t(depth);
    std::vector<uint8_t> bytes = TgaHeaderBytes(header);
    for (int row = 0; row < height; ++row)
        for (int x = 0; x < width; ++x) {
            const Bgra p = pixel(x, row);
            bytes.insert(bytes.end(), {p.b, p.g, p.r});
            if (depth == 32) bytes.push_back(p.a);
        }
    WriteBytes(path, bytes);
}

inline void WriteSolid(const std::string& path, int width, int height, Bgra colour)
{
    WritePicture(path, width, height, 24, [colour](int, int) { return colour; });
}

// A disc of the given radius centred in each square frame of a 32-bit strip.
inline void WriteDiscs(const std::string& path, int frameSize, int frames, float radius, Bgra colour)
{
    WritePicture(path, frameSize * frames, frameSize, 32, [=](int x, int row) {
        const float dx = float(x % frameSize) + 0.5f - frameSize / 2.0f;
        const float dy = float(row) + 0.5f - frameSize / 2.0f;
        return dx * dx + dy * dy < radius * radius ? colour : Bgra{0, 0, 0, 0};
    });
}

// A map and its background.
inline void WriteMap(const std::string& root, const std::string& name, const std::string& text)
{
    const std::string base = root + "/data/maps/" + name;
    WriteBytes(base + ".map", std::vector<uint8_t>(text.begin(), text.end()));
    WriteSolid(base + ".tga", 8, 8, Bgra{40, 24, 16, 255});
}

// Walls along the field's edges, the ball spawn at (x, y) of the file (mirrored in play) and
// the collectibles given.
inline std::string BoxMap(float spawnX, float spawnY, const std::string& moreObjects = "")
{
    return "Vertexes { (0, 0) (1024, 0) (1024, 1024) (0, 1024) }\n"
           "Linedefs { 0, 1 1, 2 2, 3 3, 0 }\n"
           "Objects {\n (" +
           std::to_string(spawnX) + ", " + std::to_string(spawnY) + ") { \"BALLSPAWN\" \"1\" \"COLLECT\" \"0\" }\n" +
           moreObjects + "}\n";
}

inline void WriteSound(const std::string& path)
{
    std::vector<int> values;
    for (int i = 0; i < 2205; ++i) values.push_back((i % 50 - 25) * 400);
    WriteBytes(path, MakeWavBytes(values));
}

// map01: the ball at play (100, 924) and one collectible at (200, 824), on the path of the
// starting shot (315°). map02: the ball at (512, 512), one collectible far from it.
inline void WriteAll(const std::string& root)
{
    const std::string data = root + "/data/";
    WriteSolid(data + "ui/titlescreen.tga", 16, 16, Bgra{160, 64, 32, 255});
    WriteSolid(data + "ui/ui_base01.tga", 8, 8, Bgra{48, 48, 48, 255});
    WriteSolid(data + "ui/map_complete_success.tga", 16, 8, Bgra{32, 160, 32, 255});
    WriteDiscs(data + "sprites/arrow.tga", 32, 1, 4, Bgra{255, 128, 0, 255});
    WriteDiscs(data + "sprites/ball02.tga", 32, 1, 12, Bgra{255, 255, 255, 255});
    WriteDiscs(data + "sprites/ballhighlight.tga", 32, 1, 4, Bgra{64, 64, 64, 128});
    WriteDiscs(data + "sprites/collection01.tga", 32, 4, 10, Bgra{0, 255, 255, 255});
    for (const char* sound : {"itemcollected", "ballshot", "ballbounce"}) WriteSound(data + "sounds/" + sound + ".wav");
    WriteMap(root, "map01", BoxMap(100, 100, " (200, 200)\n"));
    WriteMap(root, "map02", BoxMap(512, 512, " (900, 900)\n"));
}

}  // namespace game_test_data
