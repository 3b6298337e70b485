// Test WAV files, written as RIFF/PCM bytes into a directory of their own.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "TestSupport.h"  // TestFolder holds the files

struct WavLayout {
    int channels = 1;
    int bits = 16;
    int rate = 44100;
    bool extensible = false;  // WAVE_FORMAT_EXTENSIBLE header with the PCM sub-format
    uint16_t formatTag = 1;
    int declaredDataBytes = -1;  // a data size other than the real one, for damaged files
};

inline void PutU16(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

inline void PutU32(std::vector<uint8_t>& out, uint32_t v)
{
    PutU16(out, v & 0xFFFF);
    PutU16(out, v >> 16);
}

inline void PutTag(std::vector<uint8_t>& out, const char* tag)
{
    out.insert(out.end(), tag, tag + 4);
}

// values: interleaved samples, in the file's own range (0 ... 255 for 8 bits).
inline std::vector<uint8_t> MakeWavBytes(const std::vector<int>& values, const WavLayout& layout = WavLayout(),
                                         const std::vector<uint8_t>& chunksBeforeData = {})
{
    std::vector<uint8_t> data;
    for (int v : values) {
        if (layout.bits == 8) {
            data.push_back(static_cast<uint8_t>(v));
        } else {
            PutU16(data, static_cast<uint16_t>(static_cast<int16_t>(v)));
        }
    }
    const int blockAlign = layout.channels * layout.bits / 8;
    std::vector<uint8_t> fmt;
    PutU16(fmt, layout.extensible ? 0xFFFE : layout.formatTag);
    PutU16(fmt, static_cast<uint32_t>(layout.channels));
    PutU32(fmt, static_cast<uint32_t>(layout.rate));
    PutU32(fmt, static_cast<uint32_t>(layout.rate * blockAlign));
    PutU16(fmt, static_cast<uint32_t>(blockAlign));
    PutU16(fmt, static_cast<uint32_t>(layout.bits));
    if (layout.extensible) {
        PutU16(fmt, 22);
        PutU16(fmt, static_cast<uint32_t>(layout.bits));
        PutU32(fmt, layout.channels == 2 ? 3 : 4);
        PutU16(fmt, layout.formatTag);
        const uint8_t guidRest[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                      0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
        fmt.insert(fmt.end(), guidRest, guidRest + 14);
    }

    std::vector<uint8_t> body;
    PutTag(body, "WAVE");
    PutTag(body, "fmt ");
    PutU32(body, static_cast<uint32_t>(fmt.size()));
    body.insert(body.end(), fmt.begin(), fmt.end());
    body.insert(body.end(), chunksBeforeData.begin(), chunksBeforeData.end());
    PutTag(body, "data");
    PutU32(body, static_cast<uint32_t>(layout.declaredDataBytes >= 0 ? layout.declaredDataBytes
                                                                     : static_cast<int>(data.size())));
    body.insert(body.end(), data.begin(), data.end());

    std::vector<uint8_t> file;
    PutTag(file, "RIFF");
    PutU32(file, static_cast<uint32_t>(body.size()));
    file.insert(file.end(), body.begin(), body.end());
    return file;
}

// A constant mono 16-bit sound of the given length.
inline std::vector<uint8_t> MakeSilentWav(int frames, int rate, int channels = 1)
{
    WavLayout layout;
    layout.rate = rate;
    layout.channels = channels;
    return MakeWavBytes(std::vector<int>(static_cast<size_t>(frames * channels), 1000), layout);
}
