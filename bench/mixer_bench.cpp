// Mixing cost per voice: 64 looping voices among the 1023 channels the game opens,
// mixed in device-sized buffers at 44.1 kHz. "voices_realtime" is how many voices one
// core could keep mixing in real time at this cost. The silent output's catch-up
// (Advance) is measured the same way, per voice and call.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "Mixer.h"
#include "fmod.h"

namespace {

const int OUTPUT_RATE = 44100;
const int VOICES = 64;
const int BUFFER_FRAMES = 512;

FSOUND_SAMPLE MakeTone(int channels, int frequency)
{
    FSOUND_SAMPLE sample;
    const int frames = frequency;  // one second
    for (int i = 0; i < frames * channels; ++i) sample.samples.push_back(8000.0f * std::sin(0.05f * i));
    sample.length = static_cast<uint32_t>(frames);
    sample.channels = channels;
    sample.defaultFrequency = frequency;
    sample.mode = FSOUND_LOOP_NORMAL | FSOUND_16BITS | (channels == 2 ? FSOUND_STEREO : FSOUND_MONO);
    return sample;
}

void StartVoices(Mixer& mixer, const FSOUND_SAMPLE& sample, int rate)
{
    mixer.Reset(OUTPUT_RATE, 1023);
    for (int i = 0; i < VOICES; ++i) {
        const int handle = mixer.Play(-1, &sample);
        mixer.SetVolume(handle, 100 + i);
        mixer.SetPan(handle, (i * 37) % 256);
        // Slightly different pitches keep the voices from marching in step.
        mixer.SetFrequency(handle, rate + 13 * i);
    }
}

// range(0): sample channels; range(1): the sample's rate (44100 plays without resampling).
void BM_Mix64Voices(benchmark::State& state)
{
    const FSOUND_SAMPLE sample = MakeTone(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    Mixer mixer;
    StartVoices(mixer, sample, static_cast<int>(state.range(1)));
    std::vector<int16_t> buffer(2 * BUFFER_FRAMES);
    for (auto _ : state) {
        mixer.Mix(buffer.data(), BUFFER_FRAMES);
        benchmark::DoNotOptimize(buffer.data());
    }
    const double audioSecondsPerVoice = static_cast<double>(BUFFER_FRAMES) / OUTPUT_RATE;
    state.counters["voices_realtime"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * VOICES * audioSecondsPerVoice, benchmark::Counter::kIsRate);
    state.counters["seconds_per_voice_frame"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * VOICES * BUFFER_FRAMES,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert, benchmark::Counter::kIs1000);
}
BENCHMARK(BM_Mix64Voices)
    ->ArgNames({"channels", "rate"})
    ->Args({1, 44100})
    ->Args({1, 22050})
    ->Args({2, 44100})
    ->Args({2, 22050});

// range(0): frames moved on per call (a frame's worth of time at 100 fps, then a day's).
void BM_Advance64Voices(benchmark::State& state)
{
    const FSOUND_SAMPLE sample = MakeTone(1, 22050);
    Mixer mixer;
    StartVoices(mixer, sample, 22050);
    for (auto _ : state) mixer.Advance(static_cast<uint64_t>(state.range(0)));
    state.counters["seconds_per_voice_call"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * VOICES,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert, benchmark::Counter::kIs1000);
}
BENCHMARK(BM_Advance64Voices)->ArgName("frames")->Arg(441)->Arg(44100LL * 86400);

}  // namespace
