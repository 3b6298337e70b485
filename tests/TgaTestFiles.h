// Writes small TGA files into a private temporary folder for the picture tests.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

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
    return {h.idLength, h.colourMapType, h.imageType, 0, 0, 0, 0, 0,
            uint8_t(h.xOrigin), uint8_t(h.xOrigin >> 8), uint8_t(h.yOrigin), uint8_t(h.yOrigin >> 8),
            uint8_t(h.width), uint8_t(h.width >> 8), uint8_t(h.height), uint8_t(h.height >> 8),
            h.depth, h.descriptor};
}

// A recognisable pixel pattern: every byte differs from its neighbours.
inline std::vector<uint8_t> PatternPixels(size_t count)
{
    std::vector<uint8_t> pixels(count);
    for (size_t i = 0; i < count; ++i) pixels[i] = uint8_t(i * 7 + 3);
    return pixels;
}

class TgaTestFolder {
public:
    // A death test's child process runs the test body again from the start; it must find the
    // parent's folder, or the file names in the expected messages would differ.
    TgaTestFolder()
    {
        const char* inherited = getenv("PINWHIRL_TGA_TEST_FOLDER");
        if (inherited != nullptr && !GTEST_FLAG_GET(internal_run_death_test).empty()) {
            _path = inherited;
            _owned = false;
            return;
        }
        char pattern[] = "/tmp/pinwhirl-tga-XXXXXX";
        const char* made = mkdtemp(pattern);
        _path = made != nullptr ? made : "/tmp";
        setenv("PINWHIRL_TGA_TEST_FOLDER", _path.c_str(), 1);
    }
    ~TgaTestFolder()
    {
        if (!_owned) return;
        for (const std::string& file : _files) std::remove(file.c_str());
        rmdir(_path.c_str());
    }

    std::string Write(const std::string& name, const std::vector<uint8_t>& bytes)
    {
        const std::string file = _path + "/" + name;
        FILE* f = fopen(file.c_str(), "wb");
        if (f != nullptr) {
            if (!bytes.empty()) fwrite(bytes.data(), 1, bytes.size(), f);
            fclose(f);
        }
        _files.push_back(file);
        return file;
    }

    // A complete picture: header, pixels (the pattern unless given) and optional trailing bytes.
    std::string WriteTga(const std::string& name, const TgaHeader& header, std::vector<uint8_t> pixels = {},
                         const std::vector<uint8_t>& trailer = {})
    {
        if (pixels.empty()) pixels = PatternPixels(size_t(header.width) * header.height * (header.depth / 8));
        std::vector<uint8_t> bytes = TgaHeaderBytes(header);
        bytes.insert(bytes.end(), pixels.begin(), pixels.end());
        bytes.insert(bytes.end(), trailer.begin(), trailer.end());
        return Write(name, bytes);
    }

    const std::string& Path() const { return _path; }

private:
    std::string _path;
    std::vector<std::string> _files;
    bool _owned = true;
};

// A death-test pattern that matches the text literally.
inline std::string Literal(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (std::string(".[]()*+?{}|^$\\").find(c) != std::string::npos) out += '\\';
        out += c;
    }
    return out;
}
