// Reading RIFF/WAVE files with PCM data (8 or 16 bits, mono or stereo, any rate).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct PcmSound {
    // Interleaved frames as floats on the 16-bit scale (-32768 ... 32767).
    std::vector<float> samples;
    uint32_t frameCount = 0;
    int channels = 0;
    int bitsPerSample = 0;
    int frequency = 0;
};

// Both return an FMOD error code: FMOD_ERR_NONE, or FMOD_ERR_FILE_NOTFOUND for a file that
// cannot be opened, FMOD_ERR_FILE_FORMAT for anything but PCM WAVE data we can play,
// FMOD_ERR_FILE_BAD for a damaged or unreadable file or a name that is no regular file.
int ParseWav(const uint8_t* bytes, size_t size, PcmSound& out);

// offset skips that many bytes of the file; length > 0 reads only that many after it.
int LoadWavFile(const char* path, int offset, int length, PcmSound& out);
