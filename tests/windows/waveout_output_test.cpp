// The FSOUND functions over winmm's waveOut, run under wine with ALSA's null device
// (tools/windows-check.sh): a real device thread that plays nothing.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <string>

#include "FmodTesting.h"
#include "SoundTestFiles.h"
#include "fmod.h"

namespace {

std::string WriteTempFile(const std::string& name, const std::vector<uint8_t>& bytes)
{
    char folder[MAX_PATH];
    GetTempPathA(sizeof(folder), folder);
    const std::string path = std::string(folder) + name;
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return path;
}

}  // namespace

TEST(WaveOutOutput, TheDeviceThreadPlaysSoundsToTheirEndAndCloseWaitsForIt)
{
    ASSERT_TRUE(FSOUND_Init(44100, 1023, 1));
    ASSERT_FALSE(FmodIsSilentOutputForTesting()) << "waveOut found no device";
    EXPECT_EQ(FSOUND_GetOutputRate(), 44100) << "the wave mapper converts, the mixer keeps its rate";

    const std::string path = WriteTempFile("waveout-test.wav", MakeSilentWav(4410, 44100, 2));
    FSOUND_SAMPLE* sample = FSOUND_Sample_Load(FSOUND_UNMANAGED, path.c_str(), FSOUND_2D, 0, 0);
    ASSERT_NE(sample, nullptr);
    const int once = FSOUND_PlaySound(FSOUND_FREE, sample);
    const int looped = FSOUND_PlaySound(FSOUND_FREE, sample);
    ASSERT_TRUE(FSOUND_SetLoopMode(looped, FSOUND_LOOP_NORMAL));
    // 100 ms of sound: played out by the device's thread well within the limit.
    const ULONGLONG deadline = GetTickCount64() + 10000;
    while (FSOUND_IsPlaying(once) && GetTickCount64() < deadline) Sleep(5);
    EXPECT_FALSE(FSOUND_IsPlaying(once)) << "100 ms of sound still playing after 10 s";
    EXPECT_TRUE(FSOUND_IsPlaying(looped));

    // Closing stops the thread while it mixes a looping voice, and frees the sample.
    FSOUND_Close();
    EXPECT_EQ(FmodGetLoadedSampleCountForTesting(), 0);
    ASSERT_TRUE(FSOUND_Init(22050, 8, 1)) << "the device opens again after a close";
    EXPECT_FALSE(FmodIsSilentOutputForTesting());
    FSOUND_Close();
    DeleteFileA(path.c_str());
}
