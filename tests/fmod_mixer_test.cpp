// The mixer on its own: output rendered into a buffer and checked frame by frame.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "Mixer.h"
#include "fmod.h"

namespace {

FSOUND_SAMPLE MakeSample(const std::vector<float>& interleaved, int channels, int frequency)
{
    FSOUND_SAMPLE sample;
    sample.samples = interleaved;
    sample.channels = channels;
    sample.length = static_cast<uint32_t>(interleaved.size() / static_cast<size_t>(channels));
    sample.defaultFrequency = frequency;
    sample.mode = FSOUND_LOOP_OFF | FSOUND_16BITS | (channels == 2 ? FSOUND_STEREO : FSOUND_MONO);
    return sample;
}

std::vector<float> Constant(int frames, float value)
{
    return std::vector<float>(static_cast<size_t>(frames), value);
}

// 0, 100, 200, ...
std::vector<float> Ramp(int frames)
{
    std::vector<float> values;
    for (int i = 0; i < frames; ++i) values.push_back(100.0f * static_cast<float>(i));
    return values;
}

std::vector<int16_t> Render(Mixer& mixer, int frames)
{
    std::vector<int16_t> out(static_cast<size_t>(2 * frames), 12345);
    mixer.Mix(out.data(), frames);
    return out;
}

class MixerTest : public testing::Test {
protected:
    void SetUp() override { mixer.Reset(44100, 16); }
    Mixer mixer;
};

}  // namespace

TEST_F(MixerTest, VolumeScalesTheSampleLinearly)
{
    const FSOUND_SAMPLE sample = MakeSample(Constant(64, 16000.0f), 1, 44100);
    struct Case {
        int volume;
        int16_t expected;
    } cases[] = {{255, 16000}, {128, 8031}, {64, 4016}, {0, 0}, {300, 16000}, {-5, 0}};
    for (const Case& c : cases) {
        const int handle = mixer.Play(-1, &sample);
        ASSERT_TRUE(mixer.SetPan(handle, FSOUND_STEREOPAN));
        ASSERT_TRUE(mixer.SetVolume(handle, c.volume));
        const std::vector<int16_t> out = Render(mixer, 4);
        EXPECT_EQ(out[0], c.expected) << "volume " << c.volume;
        EXPECT_EQ(out[1], c.expected) << "volume " << c.volume;
        mixer.StopAll();
    }
}

TEST_F(MixerTest, PanLawOnMonoAndStereoSamples)
{
    const FSOUND_SAMPLE mono = MakeSample(Constant(64, 20000.0f), 1, 44100);
    std::vector<float> leftRight;
    for (int i = 0; i < 64; ++i) {
        leftRight.push_back(10000.0f);
        leftRight.push_back(-10000.0f);
    }
    const FSOUND_SAMPLE stereo = MakeSample(leftRight, 2, 44100);
    struct Case {
        const FSOUND_SAMPLE* sample;
        int pan;
        int16_t left;
        int16_t right;
    } cases[] = {
        {&mono, 0, 20000, 0},       // pan -1.0: all left
        {&mono, 128, 9961, 10039},  // pan 0.0: half on each side
        {&mono, 192, 4941, 15059},  // pan 0.5
        {&mono, 255, 0, 20000},     // pan +1.0: all right
        {&mono, FSOUND_STEREOPAN, 20000, 20000},
        {&stereo, FSOUND_STEREOPAN, 10000, -10000},  // each side at full level
        {&stereo, 128, 4980, -5020},
        {&stereo, 0, 10000, 0},
    };
    for (const Case& c : cases) {
        const int handle = mixer.Play(-1, c.sample);
        ASSERT_TRUE(mixer.SetPan(handle, c.pan));
        const std::vector<int16_t> out = Render(mixer, 2);
        EXPECT_EQ(out[0], c.left) << "pan " << c.pan << ", channels " << c.sample->channels;
        EXPECT_EQ(out[1], c.right) << "pan " << c.pan << ", channels " << c.sample->channels;
        mixer.StopAll();
    }
}

TEST_F(MixerTest, ResamplesAtHalfAndDoubleFrequency)
{
    const FSOUND_SAMPLE ramp = MakeSample(Ramp(100), 1, 44100);

    int handle = mixer.Play(-1, &ramp);
    mixer.SetPan(handle, FSOUND_STEREOPAN);
    mixer.SetFrequency(handle, 22050);
    std::vector<int16_t> out = Render(mixer, 198);
    for (int k = 0; k < 99; ++k) {
        ASSERT_EQ(out[2 * (2 * k)], 100 * k) << "frame " << 2 * k;
        ASSERT_EQ(out[2 * (2 * k + 1)], 100 * k + 50) << "frame " << 2 * k + 1;
    }
    EXPECT_TRUE(mixer.IsPlaying(handle));
    Render(mixer, 2);
    EXPECT_FALSE(mixer.IsPlaying(handle)) << "half frequency lasts twice as long, no longer";

    handle = mixer.Play(-1, &ramp);
    mixer.SetPan(handle, FSOUND_STEREOPAN);
    mixer.SetFrequency(handle, 88200);
    out = Render(mixer, 60);
    for (int k = 0; k < 50; ++k) ASSERT_EQ(out[2 * k + 1], 200 * k) << "frame " << k;
    for (int k = 50; k < 60; ++k) ASSERT_EQ(out[2 * k + 1], 0) << "frame " << k;
    EXPECT_FALSE(mixer.IsPlaying(handle));
}

TEST_F(MixerTest, ResamplesToTheDeviceRate)
{
    // A device at 22050 Hz plays a 44100 Hz sample two frames per output frame.
    mixer.SetOutputRate(22050);
    const FSOUND_SAMPLE ramp = MakeSample(Ramp(100), 1, 44100);
    const int handle = mixer.Play(-1, &ramp);
    mixer.SetPan(handle, FSOUND_STEREOPAN);
    const std::vector<int16_t> out = Render(mixer, 50);
    EXPECT_EQ(out[2 * 10], 2000);
    EXPECT_EQ(out[2 * 49], 9800);
    EXPECT_FALSE(mixer.IsPlaying(handle));
}

TEST_F(MixerTest, OneShotEndsAndReportsNotPlaying)
{
    const FSOUND_SAMPLE sample = MakeSample(Constant(100, 5000.0f), 1, 44100);
    const int handle = mixer.Play(-1, &sample);
    mixer.SetPan(handle, FSOUND_STEREOPAN);
    Render(mixer, 99);
    EXPECT_TRUE(mixer.IsPlaying(handle));
    std::vector<int16_t> out = Render(mixer, 1);
    EXPECT_EQ(out[0], 5000) << "the last frame still sounds";
    EXPECT_FALSE(mixer.IsPlaying(handle)) << "and the channel stops right after it";
    out = Render(mixer, 8);
    EXPECT_EQ(out, std::vector<int16_t>(16, 0));
}

TEST_F(MixerTest, RestartedChannelStartsFromItsFirstFrame)
{
    const FSOUND_SAMPLE ramp = MakeSample(Ramp(100), 1, 44100);
    const int handle = mixer.Play(-1, &ramp);
    mixer.SetPan(handle, FSOUND_STEREOPAN);
    Render(mixer, 50);
    ASSERT_TRUE(mixer.SetPosition(handle, 0));
    std::vector<int16_t> out = Render(mixer, 3);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[2], 100);
    EXPECT_EQ(out[4], 200);

    // A one-shot that has ended comes back too, as long as its channel was not given away.
    Render(mixer, 200);
    ASSERT_FALSE(mixer.IsPlaying(handle));
    ASSERT_TRUE(mixer.SetPosition(handle, 0));
    EXPECT_TRUE(mixer.IsPlaying(handle));
    out = Render(mixer, 2);
    EXPECT_EQ(out[2], 100);

    EXPECT_FALSE(mixer.SetPosition(handle, 100)) << "past the last frame";
}

TEST_F(MixerTest, LoopingChannelsWrapAndStopWhenSetToPlayOnce)
{
    const FSOUND_SAMPLE ramp = MakeSample(Ramp(10), 1, 44100);
    const int handle = mixer.Play(-1, &ramp);
    mixer.SetPan(handle, FSOUND_STEREOPAN);
    mixer.SetLoopMode(handle, FSOUND_LOOP_NORMAL);
    std::vector<int16_t> out = Render(mixer, 25);
    for (int k = 0; k < 25; ++k) ASSERT_EQ(out[2 * k], 100 * (k % 10)) << "frame " << k;
    // Interpolation across the loop point leads back towards the first frame.
    mixer.SetFrequency(handle, 22050);
    out = Render(mixer, 10);
    EXPECT_EQ(out[2 * 9], 450) << "halfway from frame 9 back to frame 0";

    mixer.SetFrequency(handle, 44100);
    mixer.SetLoopMode(handle, FSOUND_LOOP_OFF);
    Render(mixer, 10);
    EXPECT_FALSE(mixer.IsPlaying(handle));

    // Any other loop value loops, too.
    const int other = mixer.Play(-1, &ramp);
    mixer.SetLoopMode(other, 0);
    Render(mixer, 35);
    EXPECT_TRUE(mixer.IsPlaying(other));
}

TEST_F(MixerTest, SumsChannelsAndClipsTo16Bits)
{
    const FSOUND_SAMPLE loud = MakeSample(Constant(8, 30000.0f), 1, 44100);
    const FSOUND_SAMPLE quiet = MakeSample(Constant(8, -30000.0f), 1, 44100);
    for (int i = 0; i < 2; ++i) mixer.SetPan(mixer.Play(-1, &loud), FSOUND_STEREOPAN);
    std::vector<int16_t> out = Render(mixer, 2);
    EXPECT_EQ(out[0], 32767);
    mixer.StopAll();
    for (int i = 0; i < 2; ++i) mixer.SetPan(mixer.Play(-1, &quiet), FSOUND_STEREOPAN);
    out = Render(mixer, 2);
    EXPECT_EQ(out[1], -32768);
    mixer.StopAll();
    mixer.SetPan(mixer.Play(-1, &loud), FSOUND_STEREOPAN);
    mixer.SetPan(mixer.Play(-1, &quiet), FSOUND_STEREOPAN);
    out = Render(mixer, 2);
    EXPECT_EQ(out[0], 0) << "opposite signals cancel before clipping";
}

TEST_F(MixerTest, HandlesOfReusedChannelsNoLongerReachThem)
{
    mixer.Reset(44100, 2);
    const FSOUND_SAMPLE shortOne = MakeSample(Constant(10, 1000.0f), 1, 44100);
    const FSOUND_SAMPLE longOne = MakeSample(Constant(1000, 1000.0f), 1, 44100);
    const int first = mixer.Play(-1, &shortOne);
    const int second = mixer.Play(-1, &longOne);
    ASSERT_GE(first, 0);
    ASSERT_GE(second, 0);
    EXPECT_NE(first, second);
    EXPECT_EQ(mixer.Play(-1, &longOne), -1) << "both channels busy";

    Render(mixer, 10);
    const int third = mixer.Play(-1, &longOne);
    ASSERT_GE(third, 0) << "the ended channel is free again";
    EXPECT_NE(third, first);
    EXPECT_FALSE(mixer.IsPlaying(first));
    EXPECT_FALSE(mixer.SetVolume(first, 10));
    EXPECT_FALSE(mixer.SetPosition(first, 0)) << "a stale handle must not restart another sound";
    ChannelState state;
    ASSERT_TRUE(mixer.GetState(third, state));
    EXPECT_EQ(state.volume, 255);
    EXPECT_FALSE(mixer.IsPlaying(-1));
    EXPECT_FALSE(mixer.IsPlaying(0x7FFFFFFF));
}

TEST_F(MixerTest, StoppingASampleSilencesEveryChannelThatPlaysIt)
{
    const FSOUND_SAMPLE a = MakeSample(Constant(100, 1000.0f), 1, 44100);
    const FSOUND_SAMPLE b = MakeSample(Constant(100, 2000.0f), 1, 44100);
    const int a1 = mixer.Play(-1, &a);
    const int a2 = mixer.Play(-1, &a);
    const int b1 = mixer.Play(-1, &b);
    for (int h : {a1, a2, b1}) mixer.SetPan(h, FSOUND_STEREOPAN);
    mixer.StopSample(&a);
    EXPECT_FALSE(mixer.IsPlaying(a1));
    EXPECT_FALSE(mixer.IsPlaying(a2));
    EXPECT_FALSE(mixer.SetPosition(a1, 0)) << "nothing left to restart";
    EXPECT_TRUE(mixer.IsPlaying(b1));
    EXPECT_EQ(Render(mixer, 1)[0], 2000);
}

TEST_F(MixerTest, AdvancingWithoutOutputEndsAndWrapsLikeMixing)
{
    const FSOUND_SAMPLE sample = MakeSample(Ramp(100), 1, 44100);
    const int once = mixer.Play(-1, &sample);
    const int looped = mixer.Play(-1, &sample);
    mixer.SetLoopMode(looped, FSOUND_LOOP_NORMAL);
    mixer.Advance(99);
    EXPECT_TRUE(mixer.IsPlaying(once));
    mixer.Advance(1);
    EXPECT_FALSE(mixer.IsPlaying(once));

    // An hour at double speed must neither overflow nor stop the loop.
    mixer.SetFrequency(looped, 88200);
    mixer.Advance(44100ull * 3600ull + 7);
    ChannelState state;
    ASSERT_TRUE(mixer.GetState(looped, state));
    EXPECT_TRUE(state.playing);
    EXPECT_EQ(state.position, (100u + 2u * (44100u * 3600u + 7u)) % 100u);

    const FSOUND_SAMPLE empty = MakeSample({}, 1, 44100);
    EXPECT_FALSE(mixer.IsPlaying(mixer.Play(-1, &empty))) << "an empty sample has nothing to play";
}

TEST_F(MixerTest, AdvancingPastTheSixtyFourBitRangeStaysExact)
{
    // Steps times frames beyond 2^64 in 32.32 fixed point, where a looping channel must
    // land exactly where 128-bit arithmetic puts it.
    const FSOUND_SAMPLE sample = MakeSample(Ramp(100), 1, 44100);
    const auto loopedPosition = [&](int frequency, uint64_t frames) {
        const int handle = mixer.Play(-1, &sample);
        mixer.SetLoopMode(handle, FSOUND_LOOP_NORMAL);
        mixer.SetFrequency(handle, frequency);
        mixer.Advance(37);
        mixer.Advance(frames);
        ChannelState state;
        EXPECT_TRUE(mixer.GetState(handle, state) && state.playing);
        mixer.StopAll();
        return state.position;
    };
    EXPECT_EQ(loopedPosition(88200, 1ull << 40), (2 * (37 + (1ull << 40))) % 100) << "two frames a step";
    const uint64_t end = 100ull << 32;
    for (const auto& c : {std::pair<int, uint64_t>{30011, ~0ull}, {2000000, (1ull << 63) + 1}, {44101, 1ull << 33}}) {
        const uint64_t step = (static_cast<uint64_t>(c.first) << 32) / 44100u;
        const unsigned __int128 moved =
            static_cast<unsigned __int128>(step) * 37u + static_cast<unsigned __int128>(step) * c.second;
        ASSERT_GT(static_cast<uint64_t>(moved >> 64), 0u) << "the case must leave the 64-bit range";
        EXPECT_EQ(loopedPosition(c.first, c.second), static_cast<uint32_t>((moved % end) >> 32)) << c.first << " Hz";
    }

    // A one-shot that far has ended; one held at zero frequency stays where it is.
    const int once = mixer.Play(-1, &sample);
    mixer.Advance(1ull << 63);
    EXPECT_FALSE(mixer.IsPlaying(once));
    const int held = mixer.Play(-1, &sample);
    mixer.Advance(10);
    mixer.SetFrequency(held, 0);
    mixer.Advance(~0ull);
    ChannelState state;
    ASSERT_TRUE(mixer.GetState(held, state));
    EXPECT_TRUE(state.playing);
    EXPECT_EQ(state.position, 10u);
}

TEST_F(MixerTest, GameThreadChangesWhileTheAudioThreadMixes)
{
    // ThreadSanitizer (CI's TSan build) reports any channel state touched without the lock.
    // For that the two threads must really overlap: the game thread goes on changing
    // channels until the audio thread has mixed, and heard, a good number of buffers.
    mixer.Reset(44100, 64);
    const FSOUND_SAMPLE sample = MakeSample(Ramp(300), 1, 44100);
    std::atomic<bool> stop(false);
    std::atomic<int> mixes(0);
    std::atomic<int> audibleMixes(0);
    std::thread audio([&] {
        std::vector<int16_t> buffer(2 * 512);
        while (!stop.load()) {
            mixer.Mix(buffer.data(), 512);
            ++mixes;
            for (int16_t value : buffer) {
                if (value != 0) {
                    ++audibleMixes;
                    break;
                }
            }
        }
    });
    const int mixesBefore = mixes.load();
    int played = 0;
    int changes = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    for (int i = 0; changes < 3000 || (mixes.load() - mixesBefore < 20 && std::chrono::steady_clock::now() < deadline);
         ++i) {
        ++changes;
        const int handle = mixer.Play(-1, &sample);
        if (handle < 0) continue;
        ++played;
        mixer.SetVolume(handle, i % 256);
        mixer.SetPan(handle, i % 3 == 0 ? FSOUND_STEREOPAN : i % 256);
        mixer.SetFrequency(handle, 11025 + i % 20000);
        mixer.SetLoopMode(handle, i % 7 == 0 ? FSOUND_LOOP_NORMAL : FSOUND_LOOP_OFF);
        mixer.IsPlaying(handle);
        if (i % 100 == 0) mixer.StopSample(&sample);
    }
    const int mixesDuring = mixes.load() - mixesBefore;
    stop.store(true);
    audio.join();
    EXPECT_GT(played, 64) << "channels were taken, ended and taken again";
    EXPECT_GE(mixesDuring, 20) << "the audio thread mixed while the game thread changed channels";
    EXPECT_GT(audibleMixes.load(), 0) << "and it mixed the channels being changed, not silence";
}
