// The WAV loader: any bytes as a sound file.
#include <cstddef>
#include <cstdint>

#include "FuzzSupport.h"
#include "WavFile.h"
#include "fmod.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string input = WriteInputFile(data, size, "input.wav");
    PcmSound sound;
    if (!LoadOrReject([&] { return LoadWavFile(input.c_str(), 0, 0, sound) == FMOD_ERR_NONE; })) return 0;

    if (sound.channels != 1 && sound.channels != 2) Finding("a channel count we cannot play");
    if (sound.bitsPerSample != 8 && sound.bitsPerSample != 16) Finding("a sample size we cannot play");
    if (sound.frequency <= 0) Finding("no sample rate");
    if (sound.samples.size() != size_t(sound.frameCount) * size_t(sound.channels))
        Finding("samples and frames disagree");
    if (size_t(sound.frameCount) * size_t(sound.channels) * size_t(sound.bitsPerSample / 8) > size)
        Finding("more samples than the file holds");
    return 0;
}
