// TheSoundSystem over our FSOUND library, with the output rendered by the test.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "Engine/TheConsole.h"
#include "Engine/TheSoundSystem.h"
#include "FmodTesting.h"
#include "SoundTestFiles.h"
#include "TestSupport.h"

namespace {

const int ONCE = FSOUND_LOOP_OFF;

class SoundSystemTest : public testing::Test {
protected:
    void SetUp() override
    {
        FmodSetManualOutputForTesting(true);
        startLog = CaptureDebugOutput([] {
            theConsole.Startup();
            theSoundSystem.Startup();
        });
    }
    void TearDown() override
    {
        CaptureDebugOutput([] {
            theSoundSystem.Shutdown();
            theConsole.Shutdown();
        });
    }

    // A one-shot sound of the given length, registered under the number.
    void Register(int soundNumber, int frames, int rate = 44100, int channels = 1)
    {
        const std::string path =
            dir.Write("sound" + std::to_string(fileCount++) + ".wav", MakeSilentWav(frames, rate, channels));
        CaptureDebugOutput([&] { theSoundSystem.RegisterSound(soundNumber, path); });
    }

    // A play in a frame of its own: the frame's Update first, as the application runs it.
    std::string Play(int soundNumber, float volume = 1.0f, float frequencyScale = 1.0f, float pan = 0.0f,
                     int loopMode = ONCE)
    {
        return CaptureDebugOutput([&] {
            theSoundSystem.Update();
            theSoundSystem.Play(soundNumber, 0, loopMode, volume, frequencyScale, pan);
        });
    }

    // The channel of the newest instance of a sound.
    int NewestChannel(int soundNumber)
    {
        return std::prev(theSoundSystem.FindSound(soundNumber)->channels.end())->channel;
    }

    void Render(int frames)
    {
        std::vector<int16_t> out(static_cast<size_t>(2 * frames));
        FmodRenderForTesting(out.data(), frames);
    }

    std::string NewestConsoleLine() { return theConsole.GetLine(theConsole.GetNewestLineNumber()); }

    TestFolder dir;
    int fileCount = 0;
    std::string startLog;
};

}  // namespace

TEST_F(SoundSystemTest, StartupAndShutdownLogAndOpenAndCloseTheLibrary)
{
    EXPECT_NE(startLog.find("CONSOLE: ::: Initialization : Sound (starting)\n"
                            "CONSOLE: ::: Initialization : Sound (finished)\n"),
              std::string::npos)
        << startLog;
    EXPECT_TRUE(TheSoundSystem::IsInitialized());
    EXPECT_EQ(FSOUND_GetOutputRate(), 44100);

    Register(1, 100);
    Register(2, 100);
    const std::string log = CaptureDebugOutput([] { theSoundSystem.Shutdown(); });
    EXPECT_EQ(log, "CONSOLE: ::: Shutdown : Sound (starting)\nCONSOLE: ::: Shutdown : Sound (finished)\n");
    EXPECT_FALSE(TheSoundSystem::IsInitialized());
    EXPECT_EQ(theSoundSystem.GetNumRegisteredSounds(), 0u);
    EXPECT_EQ(FmodGetLoadedSampleCountForTesting(), 0);
    EXPECT_EQ(FSOUND_GetOutputRate(), 0) << "library closed";

    // Shutdown does not ask whether it was started; a second one only logs.
    EXPECT_EQ(CaptureDebugOutput([] { theSoundSystem.Shutdown(); }), log);
    CaptureDebugOutput([] { theSoundSystem.Startup(); });
}

TEST_F(SoundSystemTest, RegisteringANumberAgainFreesTheFirstSample)
{
    Register(3, 1000);
    Register(3, 2000);
    EXPECT_EQ(theSoundSystem.GetNumRegisteredSounds(), 1u);
    EXPECT_EQ(FmodGetLoadedSampleCountForTesting(), 1);
    EXPECT_EQ(FSOUND_Sample_GetLength(theSoundSystem.FindSound(3)->sample), 2000u);

    Register(-1, 10);  // numbers order as unsigned: -1 comes after 3
    EXPECT_EQ(theSoundSystem.GetNumRegisteredSounds(), 2u);
    theSoundSystem.UnregisterSound(3);
    EXPECT_EQ(theSoundSystem.FindSound(3), nullptr);
    EXPECT_EQ(FmodGetLoadedSampleCountForTesting(), 1);
    theSoundSystem.UnregisterAllSounds();
    EXPECT_EQ(FmodGetLoadedSampleCountForTesting(), 0);
}

TEST_F(SoundSystemTest, UnregisteredNumbersWarnAndChangeNothing)
{
    Register(1, 100);
    Play(7);
    EXPECT_EQ(NewestConsoleLine(), "WARNING: tried to play non-existent sound #7");
    EXPECT_EQ(theSoundSystem.FindSound(7), nullptr);
    EXPECT_EQ(theSoundSystem.FindSound(1)->playingCount, 0);

    CaptureDebugOutput([] { theSoundSystem.UnregisterSound(-4); });
    EXPECT_EQ(NewestConsoleLine(), "WARNING: tried to unregister non-existent sound #-4");
    EXPECT_EQ(theSoundSystem.GetNumRegisteredSounds(), 1u);
    EXPECT_EQ(FmodGetLoadedSampleCountForTesting(), 1);
}

TEST_F(SoundSystemTest, The256thPlayRestartsTheOldestInstance)
{
    Register(1, 4410);
    std::set<int> channels;
    for (int i = 0; i < 255; ++i) {
        Play(1);
        channels.insert(NewestChannel(1));
    }
    const SoundEntry* entry = theSoundSystem.FindSound(1);
    ASSERT_EQ(entry->playingCount, 255);
    ASSERT_EQ(channels.size(), 255u);
    const int oldest = entry->channels.begin()->channel;

    Render(100);
    Play(1, 0.5f);
    EXPECT_EQ(entry->playingCount, 255);
    EXPECT_EQ(entry->channels.size(), 255u);
    EXPECT_EQ(NewestChannel(1), oldest) << "the oldest channel is now the newest instance";
    EXPECT_EQ(FSOUND_GetCurrentPosition(oldest), 0u) << "restarted from its first frame";
    EXPECT_EQ(FSOUND_GetVolume(oldest), 127) << "with the new settings";
    const int secondOldest = entry->channels.begin()->channel;
    EXPECT_EQ(FSOUND_GetCurrentPosition(secondOldest), 100u);
    std::set<int> after;
    for (const ChannelRecord& record : entry->channels) after.insert(record.channel);
    EXPECT_EQ(after, channels) << "no new channel taken";
}

TEST_F(SoundSystemTest, RunningOutOfChannelsWarnsAndRecordsNothing)
{
    // Five sounds at their 255-instance cap want 1275 of the 1023 channels.
    for (int n = 0; n < 5; ++n) Register(n, 1000);
    std::string lastWarning;
    for (int n = 0; n < 5; ++n) {
        for (int i = 0; i < 255; ++i) {
            const std::string out = Play(n);
            if (!out.empty()) lastWarning = NewestConsoleLine();
        }
    }
    EXPECT_EQ(lastWarning, "WARNING: tried to play sound #4, but no free sound channels");
    EXPECT_EQ(theSoundSystem.FindSound(3)->playingCount, 255);
    EXPECT_EQ(theSoundSystem.FindSound(4)->playingCount, 1023 - 4 * 255);
    EXPECT_EQ(theSoundSystem.FindSound(4)->channels.size(), size_t(1023 - 4 * 255));
}

TEST_F(SoundSystemTest, ChannelKeysOrderOneShotsByLengthAndLoopsLast)
{
    Register(1, 44100, 22050);
    Play(1, 1.0f, 1.0f, 0.0f, FSOUND_LOOP_NORMAL);
    Play(1);
    const std::multiset<ChannelRecord>& records = theSoundSystem.FindSound(1)->channels;
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records.begin()->key, 2000u) << "44100 frames at 22050 Hz";
    EXPECT_EQ(std::prev(records.end())->key, 0xFFFFFFFFu);
    EXPECT_EQ(FSOUND_GetLoopMode(std::prev(records.end())->channel), unsigned(FSOUND_LOOP_NORMAL));

    // Sub-second one-shots keep their milliseconds.
    Register(2, 11025, 22050);
    Play(2);
    EXPECT_EQ(theSoundSystem.FindSound(2)->channels.begin()->key, 500u);
}

TEST_F(SoundSystemTest, VolumeFrequencyAndPanReachTheChannel)
{
    Register(1, 1000, 22050);
    Register(2, 1000, 22050, 2);
    Play(1, 1.0f, 0.5f);
    EXPECT_EQ(FSOUND_GetFrequency(NewestChannel(1)), 11025);
    EXPECT_EQ(FSOUND_GetVolume(NewestChannel(1)), 255);
    Play(1, 0.3f, 2.0f);
    EXPECT_EQ(FSOUND_GetFrequency(NewestChannel(1)), 44100);
    EXPECT_EQ(FSOUND_GetVolume(NewestChannel(1)), 76);

    struct Case {
        int soundNumber;
        float pan;
        int expected;
    } cases[] = {
        {1, -1.0f, 0},  {1, 0.0f, 128}, {1, 0.5f, 192}, {1, 1.0f, 255}, {2, 0.0f, FSOUND_STEREOPAN},
        {2, 0.5f, 192}, {1, -2.0f, 0},  // beyond the left end stays at the left, never "stereo"
        {1, -1.01f, 0},
    };
    for (const Case& c : cases) {
        Play(c.soundNumber, 1.0f, 1.0f, c.pan);
        EXPECT_EQ(FSOUND_GetPan(NewestChannel(c.soundNumber)), c.expected)
            << "sound " << c.soundNumber << " pan " << c.pan;
    }
}

TEST_F(SoundSystemTest, UpdateReapsFinishedInstancesFromTheFront)
{
    Register(1, 200);
    Play(1);
    Play(1, 1.0f, 2.0f);  // same key, behind the first, but done in half the time
    const SoundEntry* entry = theSoundSystem.FindSound(1);
    Render(100);
    theSoundSystem.Update();
    EXPECT_EQ(entry->playingCount, 2) << "only the front is examined, and it still plays";
    Render(100);
    theSoundSystem.Update();
    EXPECT_EQ(entry->playingCount, 0) << "the frame in which it ended reaps both";
    EXPECT_TRUE(entry->channels.empty());

    Play(1, 1.0f, 1.0f, 0.0f, FSOUND_LOOP_NORMAL);
    Render(1000);
    theSoundSystem.Update();
    EXPECT_EQ(entry->playingCount, 1) << "a loop never ends by itself";
}

TEST_F(SoundSystemTest, OneSoundStartsAtMostFourTimesInAFrameAndOthersStillStart)
{
    Register(1, 4410);
    Register(2, 4410);
    // A ball that sweeps up 300 items in one step asks for 300 copies at once.
    const std::string out = CaptureDebugOutput([] {
        for (int i = 0; i < 300; ++i) theSoundSystem.Play(1, 0, ONCE, 1.0f, 1.0f, 0.0f);
        theSoundSystem.Play(2, 0, ONCE, 1.0f, 1.0f, 0.0f);
    });
    EXPECT_EQ(out, "") << "nothing is logged for the starts left out";
    EXPECT_EQ(TheSoundSystem::MAX_STARTS_PER_FRAME, 4);
    EXPECT_EQ(theSoundSystem.FindSound(1)->playingCount, 4);
    EXPECT_EQ(theSoundSystem.FindSound(2)->playingCount, 1);

    // The next frame starts copies again, also of a sound whose copies still play.
    Play(1);
    EXPECT_EQ(theSoundSystem.FindSound(1)->playingCount, 5);
}

TEST(SoundSystemErrors, ErrorTextsAreExact)
{
    EXPECT_STREQ(TheSoundSystem::GetFmodErrorString(0), "No errors");
    EXPECT_STREQ(TheSoundSystem::GetFmodErrorString(1),
                 "Cannot call this command after FSOUND_Init.  Call FSOUND_Close first.");
    EXPECT_STREQ(TheSoundSystem::GetFmodErrorString(12), "Not enough memory ");
    EXPECT_STREQ(TheSoundSystem::GetFmodErrorString(18), "Required Mediaplayer codec is not installed");
    EXPECT_STREQ(TheSoundSystem::GetFmodErrorString(19), "Unknown error");
    EXPECT_STREQ(TheSoundSystem::GetFmodErrorString(-1), "Unknown error");
}

// The default fork-only death tests: nothing here starts a thread, and the child must see
// the parent's test files.
TEST(SoundSystemDeathTest, AFileThatCannotBeLoadedIsFatal)
{
    TestFolder dir;
    const std::string missing = dir.PathOf("missing.wav");
    const std::string text = dir.Write("text.wav", std::vector<uint8_t>{'h', 'i'});
    FmodSetManualOutputForTesting(true);
    auto registerFile = [](const std::string& path) {
        theSoundSystem.Startup();
        theSoundSystem.RegisterSound(5, path);
    };
    EXPECT_EXIT(registerFile(missing), testing::ExitedWithCode(1),
                "Engine/TheSoundSystem.cpp\\([0-9]+\\):  \\(ALL BUILDS\\)\nExpression was: \\( m_samples\\[ "
                "soundNumber \\]\\.sample != NULL \\)\n\n   Failed to load sound " +
                    missing + "\n");
    EXPECT_EXIT(registerFile(text), testing::ExitedWithCode(1), "   Failed to load sound " + text + "\n");
}

TEST(SoundSystemDeathTest, SetUpErrorsAreFatalWithTheirText)
{
    FmodSetManualOutputForTesting(true);
    // With the library already open, the first set-up call is refused.
    EXPECT_EXIT(
        {
            FSOUND_Init(44100, 16, 1);
            theSoundSystem.Startup();
        },
        testing::ExitedWithCode(1),
        "Expression was: \\( FMOD_ERR_NONE == fmodError \\)\n\n   Cannot call this command after FSOUND_Init\\.  "
        "Call FSOUND_Close first\\.\n");
}

TEST(SoundSystemDeathTest, StartingTwiceOrDestroyingWhileRunningIsFatal)
{
    FmodSetManualOutputForTesting(true);
    EXPECT_EXIT(
        {
            theSoundSystem.Startup();
            theSoundSystem.Startup();
        },
        testing::ExitedWithCode(1),
        "Expression was: \\( !_isInitialized \\)\n\n   TheSoundSystem was initialized twice; either a second "
        "TheSoundSystem was started or Startup\\(\\) was called on an already-running system\\.\n");
    EXPECT_EXIT(
        {
            theSoundSystem.Startup();
            TheSoundSystem second;
        },
        testing::ExitedWithCode(1),
        "   TheSoundSystem was destroyed while running; Shutdown\\(\\) should be called first!\n");
}
