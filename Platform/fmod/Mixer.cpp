#include "Mixer.h"

#include <cmath>

#include "fmod.h"

namespace {

const uint32_t MAX_USE_COUNT = 0x7FFFF;  // keeps every handle a positive int
const int MAX_FREQUENCY = 2000000;
const float FRACTION_SCALE = 1.0f / 4294967296.0f;

// x + y modulo m, for x and y below m, without overflowing.
uint64_t AddMod(uint64_t x, uint64_t y, uint64_t m)
{
    return x >= m - y ? x - (m - y) : x + y;
}

// a * b modulo m, exactly, in 64-bit arithmetic (32-bit targets have no wider type).
uint64_t MulMod(uint64_t a, uint64_t b, uint64_t m)
{
    // The common case, two factors below 2^32, needs no division to see that it fits.
    if ((a | b) >> 32 == 0 || a <= UINT64_MAX / b) return a * b % m;
    a %= m;
    uint64_t product = 0;
    for (; b != 0; b >>= 1) {
        if ((b & 1) != 0) product = AddMod(product, a, m);
        a = AddMod(a, a, m);
    }
    return product;
}

// base + a * b, or UINT64_MAX where that does not fit.
uint64_t SaturatingMulAdd(uint64_t base, uint64_t a, uint64_t b)
{
    if (a != 0 && b > (UINT64_MAX - base) / a) return UINT64_MAX;
    return base + a * b;
}

// Mixes run output frames of mono (one value for both sides) or left/right interleaved data,
// interpolating between neighbouring frames; the stretch reaches no end of the sample.
// Returns the position after it.
template <int CHANNELS>
uint64_t MixRun(const float* data, uint32_t last, uint32_t wrap, uint64_t position, uint64_t step, uint64_t run,
                float left, float right, float* out)
{
    for (uint64_t k = 0; k < run; ++k) {
        const uint32_t index = static_cast<uint32_t>(position >> 32);
        const uint32_t next = index < last ? index + 1 : wrap;
        const float fraction = static_cast<float>(static_cast<uint32_t>(position)) * FRACTION_SCALE;
        const float* a = data + CHANNELS * static_cast<size_t>(index);
        const float* b = data + CHANNELS * static_cast<size_t>(next);
        const float leftValue = a[0] + (b[0] - a[0]) * fraction;
        const float rightValue =
            CHANNELS == 1 ? leftValue : a[CHANNELS - 1] + (b[CHANNELS - 1] - a[CHANNELS - 1]) * fraction;
        out[2 * k] += leftValue * left;
        out[2 * k + 1] += rightValue * right;
        position += step;
    }
    return position;
}

}  // namespace

void Mixer::Reset(int outputRate, int channelCount)
{
    std::lock_guard<std::mutex> lock(_mutex);
    if (channelCount < 1) channelCount = 1;
    if (channelCount > MAX_CHANNELS) channelCount = MAX_CHANNELS;
    // Use counts survive, so handles from before the reset stay dead.
    std::vector<uint32_t> useCounts(static_cast<size_t>(channelCount), 0);
    for (size_t i = 0; i < _channels.size() && i < useCounts.size(); ++i) useCounts[i] = _channels[i].useCount;
    _channels.assign(static_cast<size_t>(channelCount), Channel());
    for (size_t i = 0; i < useCounts.size(); ++i) _channels[i].useCount = useCounts[i];
    _outputRate = outputRate > 0 ? outputRate : MIXER_DEFAULT_RATE;
    _nextFree = 0;
}

void Mixer::SetOutputRate(int outputRate)
{
    std::lock_guard<std::mutex> lock(_mutex);
    if (outputRate <= 0) return;
    _outputRate = outputRate;
    for (Channel& channel : _channels) _UpdateStep(channel);
}

int Mixer::GetOutputRate() const
{
    std::lock_guard<std::mutex> lock(_mutex);
    return _outputRate;
}

int Mixer::GetChannelCount() const
{
    std::lock_guard<std::mutex> lock(_mutex);
    return static_cast<int>(_channels.size());
}

Mixer::Channel* Mixer::_Find(int handle)
{
    if (handle < 0) return nullptr;
    const size_t index = static_cast<size_t>(handle) & (MAX_CHANNELS - 1);
    const uint32_t useCount = static_cast<uint32_t>(handle) >> CHANNEL_INDEX_BITS;
    if (index >= _channels.size() || useCount == 0 || _channels[index].useCount != useCount) return nullptr;
    return &_channels[index];
}

const Mixer::Channel* Mixer::_Find(int handle) const
{
    return const_cast<Mixer*>(this)->_Find(handle);
}

void Mixer::_UpdateStep(Channel& channel)
{
    channel.step = (static_cast<uint64_t>(channel.frequency) << 32) / static_cast<uint64_t>(_outputRate);
}

int Mixer::Play(int channelIndex, const FSOUND_SAMPLE* sample)
{
    std::lock_guard<std::mutex> lock(_mutex);
    const int count = static_cast<int>(_channels.size());
    if (sample == nullptr || count == 0 || channelIndex >= count) return -1;

    int index = channelIndex;
    if (index < 0) {
        // Round robin, so a channel that just ended keeps its handle as long as possible.
        for (int tried = 0; tried < count; ++tried) {
            const int candidate = (_nextFree + tried) % count;
            if (!_channels[static_cast<size_t>(candidate)].playing) {
                index = candidate;
                break;
            }
        }
        if (index < 0) return -1;
    }

    Channel& channel = _channels[static_cast<size_t>(index)];
    channel.sample = sample;
    channel.position = 0;
    channel.loopMode = LoopModeOf(sample->mode);
    channel.volume = sample->defaultVolume;
    channel.frequency = sample->defaultFrequency;
    channel.pan = sample->defaultPan;
    channel.useCount = channel.useCount % MAX_USE_COUNT + 1;
    channel.playing = sample->length > 0;
    _UpdateStep(channel);
    _nextFree = (index + 1) % count;
    return static_cast<int>((channel.useCount << CHANNEL_INDEX_BITS) | static_cast<uint32_t>(index));
}

bool Mixer::SetPosition(int handle, uint32_t frame)
{
    std::lock_guard<std::mutex> lock(_mutex);
    Channel* channel = _Find(handle);
    if (channel == nullptr || channel->sample == nullptr || frame >= channel->sample->length) return false;
    // Also brings back a channel that has played to its end and not been given away since.
    channel->position = static_cast<uint64_t>(frame) << 32;
    channel->playing = true;
    return true;
}

bool Mixer::SetLoopMode(int handle, unsigned int loopMode)
{
    std::lock_guard<std::mutex> lock(_mutex);
    Channel* channel = _Find(handle);
    if (channel == nullptr) return false;
    channel->loopMode = loopMode;
    return true;
}

bool Mixer::SetVolume(int handle, int volume)
{
    std::lock_guard<std::mutex> lock(_mutex);
    Channel* channel = _Find(handle);
    if (channel == nullptr) return false;
    channel->volume = volume < 0 ? 0 : (volume > MIXER_FULL_VOLUME ? MIXER_FULL_VOLUME : volume);
    return true;
}

bool Mixer::SetFrequency(int handle, int frequency)
{
    std::lock_guard<std::mutex> lock(_mutex);
    Channel* channel = _Find(handle);
    if (channel == nullptr || frequency < 0) return false;
    channel->frequency = frequency > MAX_FREQUENCY ? MAX_FREQUENCY : frequency;
    _UpdateStep(*channel);
    return true;
}

bool Mixer::SetPan(int handle, int pan)
{
    std::lock_guard<std::mutex> lock(_mutex);
    Channel* channel = _Find(handle);
    if (channel == nullptr) return false;
    if (pan != FSOUND_STEREOPAN) pan = pan < 0 ? 0 : (pan > MIXER_RIGHT_PAN ? MIXER_RIGHT_PAN : pan);
    channel->pan = pan;
    return true;
}

bool Mixer::GetState(int handle, ChannelState& state) const
{
    std::lock_guard<std::mutex> lock(_mutex);
    const Channel* channel = _Find(handle);
    if (channel == nullptr) return false;
    state.playing = channel->playing;
    state.position = static_cast<uint32_t>(channel->position >> 32);
    state.loopMode = channel->loopMode;
    state.volume = channel->volume;
    state.frequency = channel->frequency;
    state.pan = channel->pan;
    return true;
}

bool Mixer::IsPlaying(int handle) const
{
    std::lock_guard<std::mutex> lock(_mutex);
    const Channel* channel = _Find(handle);
    return channel != nullptr && channel->playing;
}

void Mixer::StopSample(const FSOUND_SAMPLE* sample)
{
    std::lock_guard<std::mutex> lock(_mutex);
    for (Channel& channel : _channels) {
        if (channel.sample != sample) continue;
        channel.sample = nullptr;
        channel.playing = false;
    }
}

void Mixer::StopAll()
{
    std::lock_guard<std::mutex> lock(_mutex);
    for (Channel& channel : _channels) {
        channel.sample = nullptr;
        channel.playing = false;
    }
}

int Mixer::GetPlayingCount() const
{
    std::lock_guard<std::mutex> lock(_mutex);
    int count = 0;
    for (const Channel& channel : _channels) count += channel.playing ? 1 : 0;
    return count;
}

void Mixer::_MixChannel(Channel& channel, float* accumulator, int frameCount)
{
    const FSOUND_SAMPLE& sample = *channel.sample;
    if (sample.length == 0) {
        channel.playing = false;
        return;
    }
    // A zero frequency holds the channel, silent, where it is.
    if (channel.step == 0) return;

    // Linear pan: the centre gives each side half the level; FSOUND_STEREOPAN gives both full.
    const float volume = static_cast<float>(channel.volume) / static_cast<float>(MIXER_FULL_VOLUME);
    float left = volume;
    float right = volume;
    if (channel.pan != FSOUND_STEREOPAN) {
        left = volume * static_cast<float>(MIXER_RIGHT_PAN - channel.pan) / static_cast<float>(MIXER_RIGHT_PAN);
        right = volume * static_cast<float>(channel.pan) / static_cast<float>(MIXER_RIGHT_PAN);
    }

    const bool loops = channel.loopMode != FSOUND_LOOP_OFF;
    const uint64_t end = static_cast<uint64_t>(sample.length) << 32;
    const uint32_t last = sample.length - 1;
    const uint32_t wrap = loops ? 0 : last;  // the frame to interpolate towards past the end
    const float* data = sample.samples.data();
    const uint64_t step = channel.step;
    uint64_t position = channel.position;

    int done = 0;
    while (done < frameCount) {
        if (position >= end) {
            if (!loops) break;
            position %= end;
        }
        uint64_t run = static_cast<uint64_t>(frameCount - done);
        const uint64_t untilEnd = (end - position + step - 1) / step;
        if (untilEnd < run) run = untilEnd;
        float* out = accumulator + 2 * done;
        position = sample.channels == 1 ? MixRun<1>(data, last, wrap, position, step, run, left, right, out)
                                        : MixRun<2>(data, last, wrap, position, step, run, left, right, out);
        done += static_cast<int>(run);
    }
    // Settle the end here, so a one-shot that has played its last frame reports stopped at once.
    if (position >= end) {
        if (loops) {
            position %= end;
        } else {
            channel.playing = false;
        }
    }
    channel.position = position;
}

void Mixer::Mix(int16_t* stereoOut, int frameCount)
{
    std::lock_guard<std::mutex> lock(_mutex);
    float accumulator[2 * MIX_CHUNK_FRAMES];
    while (frameCount > 0) {
        const int chunk = frameCount < MIX_CHUNK_FRAMES ? frameCount : MIX_CHUNK_FRAMES;
        for (int i = 0; i < 2 * chunk; ++i) accumulator[i] = 0.0f;
        for (Channel& channel : _channels) {
            if (channel.playing && channel.sample != nullptr) _MixChannel(channel, accumulator, chunk);
        }
        for (int i = 0; i < 2 * chunk; ++i) {
            float value = accumulator[i];
            if (value > 32767.0f) value = 32767.0f;
            if (value < -32768.0f) value = -32768.0f;
            stereoOut[i] = static_cast<int16_t>(lrintf(value));
        }
        stereoOut += 2 * chunk;
        frameCount -= chunk;
    }
}

void Mixer::Advance(uint64_t frameCount)
{
    std::lock_guard<std::mutex> lock(_mutex);
    for (Channel& channel : _channels) {
        if (!channel.playing || channel.sample == nullptr) continue;
        const uint64_t end = static_cast<uint64_t>(channel.sample->length) << 32;
        if (end == 0) {
            channel.playing = false;
            continue;
        }
        if (channel.loopMode != FSOUND_LOOP_OFF) {
            const uint64_t position = channel.position < end ? channel.position : channel.position % end;
            channel.position = AddMod(position, MulMod(channel.step, frameCount, end), end);
        } else {
            // Past the end it has played out; exactly how far past no longer matters.
            channel.position = SaturatingMulAdd(channel.position, channel.step, frameCount);
            if (channel.position >= end) channel.playing = false;
        }
    }
}
