// The FSOUND functions with the output driven by the test (no device, exact frames).
#include <gtest/gtest.h>

#include <vector>

#include "FmodTesting.h"
#include "SoundTestFiles.h"
#include "fmod.h"

namespace {

class FsoundTest : public testing::Test {
protected:
    void SetUp() override
    {
        FmodSetManualOutputForTesting(true);
        ASSERT_TRUE(FSOUND_Init(44100, 1023, FSOUND_INIT_USEDEFAULTMIDISYNTH));
    }
    void TearDown() override { FSOUND_Close(); }

    FSOUND_SAMPLE* Load(const std::string& name, const std::vector<uint8_t>& bytes)
    {
        return FSOUND_Sample_Load(FSOUND_UNMANAGED, dir.Write(name, bytes).c_str(), FSOUND_2D, 0, 0);
    }

    std::vector<int16_t> Render(int frames)
    {
        std::vector<int16_t> out(static_cast<size_t>(2 * frames));
        FmodRenderForTesting(out.data(), frames);
        return out;
    }

    TestFolder dir;
};

}  // namespace

TEST(FsoundSetup, InitialisationRulesAndTheLastError)
{
    FmodSetManualOutputForTesting(true);
    EXPECT_EQ(FSOUND_PlaySound(FSOUND_FREE, nullptr), -1);
    EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_UNINITIALIZED);
    EXPECT_EQ(FSOUND_Sample_Load(FSOUND_UNMANAGED, "data/none.wav", FSOUND_2D, 0, 0), nullptr);
    EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_UNINITIALIZED);

    EXPECT_TRUE(FSOUND_SetMinHardwareChannels(0));
    EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_NONE) << "a success clears the earlier error";
    EXPECT_TRUE(FSOUND_SetMaxHardwareChannels(0));
    EXPECT_FALSE(FSOUND_Init(44100, 0, 1));
    EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_INVALID_PARAM);
    EXPECT_TRUE(FSOUND_Init(44100, 1023, 1));
    EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_NONE);
    EXPECT_EQ(FSOUND_GetOutputRate(), 44100);

    EXPECT_FALSE(FSOUND_Init(44100, 1023, 1));
    EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_BUSY);
    EXPECT_FALSE(FSOUND_SetMinHardwareChannels(0));
    EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_BUSY);
    EXPECT_FALSE(FSOUND_SetMaxHardwareChannels(0));
    EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_BUSY);

    FSOUND_Close();
    EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_NONE);
    FSOUND_Close();  // a second close is harmless
    EXPECT_TRUE(FSOUND_SetMinHardwareChannels(0)) << "set-up calls are allowed again after closing";
}

TEST_F(FsoundTest, SamplesReportLengthDefaultsAndMode)
{
    WavLayout stereo;
    stereo.channels = 2;
    stereo.rate = 22050;
    FSOUND_SAMPLE* wide = Load("stereo.wav", MakeWavBytes(std::vector<int>(2 * 300, 5), stereo));
    WavLayout mono8;
    mono8.bits = 8;
    mono8.rate = 11025;
    FSOUND_SAMPLE* narrow = Load("mono8.wav", MakeWavBytes(std::vector<int>(77, 128), mono8));
    ASSERT_NE(wide, nullptr);
    ASSERT_NE(narrow, nullptr);
    EXPECT_EQ(FmodGetLoadedSampleCountForTesting(), 2);

    EXPECT_EQ(FSOUND_Sample_GetLength(wide), 300u) << "frames, not samples or bytes";
    EXPECT_EQ(FSOUND_Sample_GetLength(narrow), 77u);
    int frequency = 0;
    EXPECT_TRUE(FSOUND_Sample_GetDefaults(wide, &frequency, nullptr, nullptr, nullptr));
    EXPECT_EQ(frequency, 22050);
    int volume = 0, pan = 0, priority = 0;
    EXPECT_TRUE(FSOUND_Sample_GetDefaults(narrow, &frequency, &volume, &pan, &priority));
    EXPECT_EQ(frequency, 11025);
    EXPECT_EQ(volume, 255);
    EXPECT_EQ(pan, 128);
    EXPECT_NE(FSOUND_Sample_GetMode(wide) & FSOUND_STEREO, 0u);
    EXPECT_EQ(FSOUND_Sample_GetMode(narrow) & FSOUND_STEREO, 0u);
    EXPECT_NE(FSOUND_Sample_GetMode(narrow) & FSOUND_8BITS, 0u);

    FSOUND_Sample_Free(narrow);
    EXPECT_EQ(FmodGetLoadedSampleCountForTesting(), 1);
    FSOUND_Sample_Free(narrow);  // already gone: refused, not freed twice
    EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_INVALID_PARAM);
    FSOUND_Sample_Free(nullptr);
    EXPECT_EQ(FSOUND_Sample_GetLength(nullptr), 0u);
    EXPECT_EQ(FmodGetLoadedSampleCountForTesting(), 1);
}

TEST_F(FsoundTest, LoadFailuresGiveNullAndTheirErrorCode)
{
    EXPECT_EQ(FSOUND_Sample_Load(FSOUND_UNMANAGED, dir.PathOf("absent.wav").c_str(), FSOUND_2D, 0, 0), nullptr);
    EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_FILE_NOTFOUND);
    std::vector<uint8_t> cut = MakeWavBytes({1, 2, 3});
    cut.resize(30);
    EXPECT_EQ(Load("cut.wav", cut), nullptr);
    EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_FILE_BAD);
    EXPECT_EQ(FmodGetLoadedSampleCountForTesting(), 0);
}

TEST_F(FsoundTest, ChannelSettingsReachTheMixer)
{
    FSOUND_SAMPLE* sample = Load("tone.wav", MakeWavBytes(std::vector<int>(400, 10000)));
    const int channel = FSOUND_PlaySound(FSOUND_FREE, sample);
    ASSERT_NE(channel, -1);
    EXPECT_TRUE(FSOUND_IsPlaying(channel));
    EXPECT_TRUE(FSOUND_SetVolume(channel, 51));
    EXPECT_TRUE(FSOUND_SetPan(channel, 0));
    std::vector<int16_t> out = Render(2);
    EXPECT_EQ(out[0], 2000);
    EXPECT_EQ(out[1], 0);

    // Out-of-range values are held to the range; a negative frequency is refused.
    FSOUND_SetVolume(channel, 999);
    FSOUND_SetPan(channel, 300);
    EXPECT_EQ(FSOUND_GetVolume(channel), 255);
    EXPECT_EQ(FSOUND_GetPan(channel), 255);
    EXPECT_FALSE(FSOUND_SetFrequency(channel, -5));
    EXPECT_EQ(FSOUND_GetFrequency(channel), 44100);

    // Restarted two frames in, it then plays exactly its 400 frames.
    EXPECT_TRUE(FSOUND_SetCurrentPosition(channel, 0));
    Render(399);
    EXPECT_TRUE(FSOUND_IsPlaying(channel));
    Render(1);
    EXPECT_FALSE(FSOUND_IsPlaying(channel));
}

TEST_F(FsoundTest, PlaySoundGivesMinusOneWhenNoChannelIsFree)
{
    FSOUND_Close();
    ASSERT_TRUE(FSOUND_Init(44100, 2, 1));
    FSOUND_SAMPLE* sample = Load("loop.wav", MakeWavBytes(std::vector<int>(50, 1)));
    const int a = FSOUND_PlaySound(FSOUND_FREE, sample);
    const int b = FSOUND_PlaySound(FSOUND_FREE, sample);
    EXPECT_NE(a, -1);
    EXPECT_NE(b, -1);
    EXPECT_EQ(FSOUND_PlaySound(FSOUND_FREE, sample), -1);
    EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_CHANNEL_ALLOC);
    EXPECT_EQ(FSOUND_PlaySound(FSOUND_FREE, nullptr), -1);
    EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_INVALID_PARAM);

    // Freeing the sample stops its channels, which are then free again.
    FSOUND_Sample_Free(sample);
    EXPECT_FALSE(FSOUND_IsPlaying(a));
    EXPECT_FALSE(FSOUND_IsPlaying(b));
    FSOUND_SAMPLE* other = Load("other.wav", MakeWavBytes(std::vector<int>(50, 1)));
    EXPECT_NE(FSOUND_PlaySound(FSOUND_FREE, other), -1);
}

TEST_F(FsoundTest, CloseFreesEverySampleAndStopsEveryChannel)
{
    FSOUND_SAMPLE* sample = Load("a.wav", MakeWavBytes(std::vector<int>(1000, 3000)));
    Load("b.wav", MakeWavBytes(std::vector<int>(10, 3000)));
    const int channel = FSOUND_PlaySound(FSOUND_FREE, sample);
    ASSERT_NE(channel, -1);
    FSOUND_Close();
    EXPECT_EQ(FmodGetLoadedSampleCountForTesting(), 0);
    EXPECT_FALSE(FSOUND_IsPlaying(channel));
    EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_UNINITIALIZED);

    ASSERT_TRUE(FSOUND_Init(44100, 1023, 1));
    EXPECT_FALSE(FSOUND_IsPlaying(channel)) << "handles from before the close stay dead";
    FSOUND_Sample_Free(sample);  // a handle from before the close is refused, not freed
    EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_INVALID_PARAM);
    EXPECT_EQ(Render(1), (std::vector<int16_t>{0, 0}));
}
