// The FSOUND functions over a real SDL output (the dummy driver in tests), and without any.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <chrono>
#include <string>
#include <thread>

#include "FmodTesting.h"
#include "SoundTestFiles.h"
#include "fmod.h"

namespace {

// SDL's dummy driver: a real device thread that mixes in real time and plays nothing.
void UseDummyDriver()
{
    setenv("SDL_AUDIODRIVER", "dummy", 1);
}

bool WaitUntilStopped(int channel, double seconds)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (FSOUND_IsPlaying(channel)) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

}  // namespace

TEST(FsoundDevice, TheDeviceThreadPlaysSoundsToTheirEnd)
{
    UseDummyDriver();
    TestFolder dir;
    testing::internal::CaptureStderr();
    ASSERT_TRUE(FSOUND_Init(44100, 1023, 1));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "a device was found: nothing to say";
    EXPECT_FALSE(FmodIsSilentOutputForTesting());
    EXPECT_GT(FSOUND_GetOutputRate(), 0);

    FSOUND_SAMPLE* sample =
        FSOUND_Sample_Load(FSOUND_UNMANAGED, dir.Write("tick.wav", MakeSilentWav(441, 44100)).c_str(), FSOUND_2D, 0, 0);
    ASSERT_NE(sample, nullptr);
    const int channel = FSOUND_PlaySound(FSOUND_FREE, sample);
    ASSERT_NE(channel, -1);
    EXPECT_TRUE(WaitUntilStopped(channel, 10.0)) << "10 ms of sound still playing after 10 s";
    FSOUND_Close();
}

TEST(FsoundDevice, ChannelsChangeSafelyWhileTheDeviceMixes)
{
    // The game thread's calls against the device thread's mixing: a data race here is
    // what ThreadSanitizer reports (CI's TSan build); a freed sample still being read is
    // what ASan reports. A looping probe shows the device really mixed meanwhile.
    UseDummyDriver();
    TestFolder dir;
    ASSERT_TRUE(FSOUND_Init(44100, 64, 1));
    const std::string path = dir.Write("hum.wav", MakeSilentWav(2000, 22050, 2));
    FSOUND_SAMPLE* probeSample = FSOUND_Sample_Load(FSOUND_UNMANAGED, path.c_str(), FSOUND_2D, 0, 0);
    FSOUND_SAMPLE* sample = FSOUND_Sample_Load(FSOUND_UNMANAGED, path.c_str(), FSOUND_2D, 0, 0);
    ASSERT_NE(probeSample, nullptr);
    ASSERT_NE(sample, nullptr);
    const int probe = FSOUND_PlaySound(FSOUND_FREE, probeSample);
    ASSERT_TRUE(FSOUND_SetLoopMode(probe, FSOUND_LOOP_NORMAL));
    ASSERT_TRUE(FSOUND_SetFrequency(probe, 1000));  // 2 s a round: it cannot wrap back unseen
    const unsigned int probeStart = FSOUND_GetCurrentPosition(probe);

    int played = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    for (int i = 0;
         i < 2000 || (FSOUND_GetCurrentPosition(probe) == probeStart && std::chrono::steady_clock::now() < deadline);
         ++i) {
        const int channel = FSOUND_PlaySound(FSOUND_FREE, sample);
        if (channel != -1) ++played;
        FSOUND_SetLoopMode(channel, i % 2 == 0 ? FSOUND_LOOP_OFF : FSOUND_LOOP_NORMAL);
        FSOUND_SetVolume(channel, i % 256);
        FSOUND_SetFrequency(channel, 8000 + 17 * (i % 2000));
        FSOUND_SetPan(channel, i % 5 == 0 ? FSOUND_STEREOPAN : i % 256);
        FSOUND_IsPlaying(channel);
        if (i % 250 == 249) {
            FSOUND_Sample_Free(sample);
            sample = FSOUND_Sample_Load(FSOUND_UNMANAGED, path.c_str(), FSOUND_2D, 0, 0);
            ASSERT_NE(sample, nullptr);
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }
    EXPECT_GT(played, 64) << "channels were taken, ended and taken again";
    EXPECT_NE(FSOUND_GetCurrentPosition(probe), probeStart) << "the device mixed while the channels changed";
    EXPECT_TRUE(FSOUND_IsPlaying(probe)) << "freeing another sample leaves the probe alone";
    FSOUND_Close();
}

TEST(FsoundDevice, WithoutADeviceItPlaysSilentlyAndSaysSoOnce)
{
    const char* previous = getenv("SDL_AUDIODRIVER");
    const std::string saved = previous != nullptr ? previous : "";
    setenv("SDL_AUDIODRIVER", "pinwhirl-no-such-driver", 1);
    TestFolder dir;

    testing::internal::CaptureStderr();
    const bool started = FSOUND_Init(44100, 1023, 1);
    const std::string note = testing::internal::GetCapturedStderr();
    ASSERT_TRUE(started);
    EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_NONE) << "no device is not an error";
    EXPECT_TRUE(FmodIsSilentOutputForTesting());
    EXPECT_EQ(note.rfind("FSOUND: no audio device (", 0), 0u) << note;
    EXPECT_EQ(note.find('\n'), note.size() - 1) << "one line";

    // Sounds still end, by the clock.
    FSOUND_SAMPLE* sample =
        FSOUND_Sample_Load(FSOUND_UNMANAGED, dir.Write("beep.wav", MakeSilentWav(441, 44100)).c_str(), FSOUND_2D, 0, 0);
    ASSERT_NE(sample, nullptr);
    const int channel = FSOUND_PlaySound(FSOUND_FREE, sample);
    ASSERT_NE(channel, -1);
    EXPECT_TRUE(FSOUND_IsPlaying(channel));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(FSOUND_IsPlaying(channel));

    // A missing file is still an error.
    EXPECT_EQ(FSOUND_Sample_Load(FSOUND_UNMANAGED, dir.PathOf("gone.wav").c_str(), FSOUND_2D, 0, 0), nullptr);
    EXPECT_EQ(FSOUND_GetError(), FMOD_ERR_FILE_NOTFOUND);
    FSOUND_Close();

    testing::internal::CaptureStderr();
    ASSERT_TRUE(FSOUND_Init(44100, 1023, 1));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "the note is given once";
    FSOUND_Close();

    if (previous != nullptr) {
        setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
    } else {
        unsetenv("SDL_AUDIODRIVER");
    }
}
