// The software mixer behind the FSOUND functions: samples, channels with volume, pan,
// frequency, loop mode and play position, mixed to clipped 16-bit stereo.
//
// The game thread changes channels while the audio thread mixes them, so every public
// call takes the one mutex; Mix holds it for one device buffer at most.
#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

#include "fmod.h"

// The mixer's scales: rates in Hz, volume 0 (silent) ... 255 (as recorded), pan 0 (left) ...
// 255 (right) with 128 in the centre.
const int MIXER_DEFAULT_RATE = 44100;
const int MIXER_FULL_VOLUME = 255;
const int MIXER_CENTRE_PAN = 128;
const int MIXER_RIGHT_PAN = 255;
const int MIXER_DEFAULT_PRIORITY = 128;

// The loop mode among the mode bits; a mode that names none plays once.
inline unsigned int LoopModeOf(unsigned int mode)
{
    const unsigned int loop = mode & (FSOUND_LOOP_OFF | FSOUND_LOOP_NORMAL | FSOUND_LOOP_BIDI);
    return loop != 0 ? loop : FSOUND_LOOP_OFF;
}

// A loaded sound. The mixer only reads it; whoever frees one calls StopSample first.
struct FSOUND_SAMPLE {
    std::vector<float> samples;  // interleaved frames on the 16-bit scale
    uint32_t length = 0;         // in frames
    int channels = 1;
    int defaultFrequency = MIXER_DEFAULT_RATE;
    int defaultVolume = MIXER_FULL_VOLUME;
    int defaultPan = MIXER_CENTRE_PAN;
    int defaultPriority = MIXER_DEFAULT_PRIORITY;
    unsigned int mode = 0;
};

// What a channel is set to, for the FSOUND queries.
struct ChannelState {
    bool playing = false;
    uint32_t position = 0;  // frames
    unsigned int loopMode = 0;
    int volume = 0;
    int frequency = 0;
    int pan = 0;
};

class Mixer {
public:
    // Channel handles keep the channel index in the low bits and a use count above, so a
    // handle kept after its channel was given to another sound no longer reaches it.
    static const int CHANNEL_INDEX_BITS = 12;
    static const int MAX_CHANNELS = 1 << CHANNEL_INDEX_BITS;
    static const int MIX_CHUNK_FRAMES = 256;

    Mixer() = default;
    Mixer(const Mixer&) = delete;
    Mixer& operator=(const Mixer&) = delete;

    // Stops everything and sets the output rate and the number of channels (1 ... MAX_CHANNELS).
    void Reset(int outputRate, int channelCount);
    void SetOutputRate(int outputRate);
    int GetOutputRate() const;
    int GetChannelCount() const;

    // channelIndex < 0: the next free channel. Returns the handle, or -1 when none is free.
    int Play(int channelIndex, const FSOUND_SAMPLE* sample);

    // Each returns false for a handle that no longer names a channel (or a bad argument).
    bool SetPosition(int handle, uint32_t frame);
    bool SetLoopMode(int handle, unsigned int loopMode);
    bool SetVolume(int handle, int volume);
    bool SetFrequency(int handle, int frequency);
    bool SetPan(int handle, int pan);
    bool GetState(int handle, ChannelState& state) const;
    bool IsPlaying(int handle) const;

    // Detaches the sample from every channel that plays it.
    void StopSample(const FSOUND_SAMPLE* sample);
    void StopAll();

    // Adds every playing channel into stereoOut (frameCount frames, left/right interleaved).
    void Mix(int16_t* stereoOut, int frameCount);
    // Moves every playing channel on by frameCount frames without producing output.
    void Advance(uint64_t frameCount);

    int GetPlayingCount() const;

private:
    struct Channel {
        const FSOUND_SAMPLE* sample = nullptr;
        uint64_t position = 0;  // frames, 32.32 fixed point
        uint64_t step = 0;      // frames per output frame, 32.32 fixed point
        unsigned int loopMode = 1;
        int volume = MIXER_FULL_VOLUME;
        int frequency = MIXER_DEFAULT_RATE;
        int pan = MIXER_CENTRE_PAN;
        uint32_t useCount = 0;
        bool playing = false;
    };

    Channel* _Find(int handle);
    const Channel* _Find(int handle) const;
    void _UpdateStep(Channel& channel);
    void _MixChannel(Channel& channel, float* accumulator, int frameCount);

    mutable std::mutex _mutex;
    std::vector<Channel> _channels;
    int _outputRate = MIXER_DEFAULT_RATE;
    int _nextFree = 0;
};
