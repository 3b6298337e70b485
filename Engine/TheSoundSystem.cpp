#include "Engine/TheSoundSystem.h"

#include "Engine/AssertionFailure.h"
#include "Engine/FileName.h"
#include "Engine/TheConsole.h"

bool TheSoundSystem::_isInitialized = false;

TheSoundSystem::~TheSoundSystem()
{
    CHECK_NOT_RUNNING_AT_DESTRUCTION("TheSoundSystem");
    // The library is closed by now (or never opened); its samples are not ours to free.
    m_samples.clear();
}

void TheSoundSystem::Startup()
{
    theConsole.Printf("::: Initialization : Sound (starting)\n");
    CHECK_NOT_YET_INITIALIZED("TheSoundSystem");
    FSOUND_SetMinHardwareChannels(0);
    _CheckFmodError();
    FSOUND_SetMaxHardwareChannels(0);
    _CheckFmodError();
    FSOUND_Init(44100, 1023, FSOUND_INIT_USEDEFAULTMIDISYNTH);
    _CheckFmodError();
    _isInitialized = true;
    theConsole.Printf("::: Initialization : Sound (finished)\n");
}

void TheSoundSystem::Shutdown()
{
    theConsole.Printf("::: Shutdown : Sound (starting)\n");
    UnregisterAllSounds();
    FSOUND_Close();
    _isInitialized = false;
    theConsole.Printf("::: Shutdown : Sound (finished)\n");
}

void TheSoundSystem::_CheckFmodError()
{
    const int fmodError = FSOUND_GetError();
    FATAL_CHECK(FMOD_ERR_NONE == fmodError, "%s", GetFmodErrorString(fmodError));
}

void TheSoundSystem::RegisterSound(int soundNumber, std::string fileName)
{
    if (m_samples.find(soundNumber) != m_samples.end()) UnregisterSound(soundNumber);
    m_samples[soundNumber].sample =
        FSOUND_Sample_Load(FSOUND_UNMANAGED, ResolveFileName(fileName).c_str(), FSOUND_2D, 0, 0);
    // The reported expression keeps its source spacing.
    // clang-format off
    FATAL_CHECK(m_samples[ soundNumber ].sample != NULL, "Failed to load sound %s", fileName.c_str());
    // clang-format on
    m_samples[soundNumber].playingCount = 0;
    m_samples[soundNumber].maxInstances = MAX_INSTANCES_PER_SOUND;
}

void TheSoundSystem::UnregisterSound(int soundNumber)
{
    auto found = m_samples.find(soundNumber);
    if (found == m_samples.end()) {
        theConsole.PrintfCategory(CONSOLE_CATEGORY_SOUND, "WARNING: tried to unregister non-existent sound #%i\n",
                                  soundNumber);
        return;
    }
    FSOUND_Sample_Free(found->second.sample);
    m_samples.erase(found);
}

void TheSoundSystem::UnregisterAllSounds()
{
    while (!m_samples.empty()) {
        FSOUND_Sample_Free(m_samples.begin()->second.sample);
        m_samples.erase(m_samples.begin());
    }
}

uint32_t TheSoundSystem::_ComputeChannelKey(const SoundEntry& entry, int loopMode) const
{
    if (loopMode != FSOUND_LOOP_OFF) return LOOPING_CHANNEL_KEY;
    const uint64_t frames = FSOUND_Sample_GetLength(entry.sample);
    int frequency = 0;
    FSOUND_Sample_GetDefaults(entry.sample, &frequency, NULL, NULL, NULL);
    if (frequency <= 0) return 0;
    // Whole milliseconds, kept below the looping key so one-shots always come first.
    const uint64_t milliseconds = frames * 1000u / static_cast<uint64_t>(frequency);
    return milliseconds < LOOPING_CHANNEL_KEY ? static_cast<uint32_t>(milliseconds) : LOOPING_CHANNEL_KEY - 1;
}

void TheSoundSystem::Play(int soundNumber, int reserved, int loopMode, float volume, float frequencyScale, float pan)
{
    (void)reserved;
    auto found = m_samples.find(soundNumber);
    if (found == m_samples.end()) {
        theConsole.PrintfCategory(CONSOLE_CATEGORY_SOUND, "WARNING: tried to play non-existent sound #%i\n",
                                  soundNumber);
        return;
    }
    SoundEntry& entry = found->second;
    if (entry.startsThisFrame >= MAX_STARTS_PER_FRAME) return;
    ++entry.startsThisFrame;

    int channel;
    if (entry.playingCount == entry.maxInstances) {
        // At the cap the oldest (shortest) instance starts over as the new one.
        auto oldest = entry.channels.begin();
        channel = oldest->channel;
        FSOUND_SetCurrentPosition(channel, 0);
        entry.channels.erase(oldest);
    } else {
        channel = FSOUND_PlaySound(FSOUND_FREE, entry.sample);
        if (channel == -1) {
            theConsole.PrintfCategory(CONSOLE_CATEGORY_SOUND,
                                      "WARNING: tried to play sound #%i, but no free sound channels\n", soundNumber);
            return;
        }
        ++entry.playingCount;
    }

    entry.channels.insert(ChannelRecord{_ComputeChannelKey(entry, loopMode), channel});

    FSOUND_SetLoopMode(channel, static_cast<unsigned int>(loopMode));
    FSOUND_SetVolume(channel, static_cast<int>(volume * 255.0f));
    int defaultFrequency = 0;
    FSOUND_Sample_GetDefaults(entry.sample, &defaultFrequency, NULL, NULL, NULL);
    FSOUND_SetFrequency(channel, static_cast<int>(static_cast<float>(defaultFrequency) * frequencyScale));

    if (pan == 0.0f && (FSOUND_Sample_GetMode(entry.sample) & FSOUND_STEREO) != 0) {
        FSOUND_SetPan(channel, FSOUND_STEREOPAN);
    } else {
        int value = 128 - static_cast<int>(pan * -128.0f);
        if (value > 255) value = 255;
        // Below -1.0 the value would turn negative, and -1 means "stereo, full level".
        if (value < 0) value = 0;
        FSOUND_SetPan(channel, value);
    }
}

void TheSoundSystem::Update()
{
    for (auto& numberAndEntry : m_samples) {
        SoundEntry& entry = numberAndEntry.second;
        entry.startsThisFrame = 0;
        while (!entry.channels.empty()) {
            auto first = entry.channels.begin();
            if (FSOUND_IsPlaying(first->channel)) break;
            entry.channels.erase(first);
            --entry.playingCount;
        }
    }
}

const SoundEntry* TheSoundSystem::FindSound(int soundNumber) const
{
    auto found = m_samples.find(soundNumber);
    return found == m_samples.end() ? nullptr : &found->second;
}

const char* TheSoundSystem::GetFmodErrorString(int errorCode)
{
    switch (errorCode) {
    case FMOD_ERR_NONE:
        return "No errors";
    case FMOD_ERR_BUSY:
        return "Cannot call this command after FSOUND_Init.  Call FSOUND_Close first.";
    case FMOD_ERR_UNINITIALIZED:
        return "This command failed because FSOUND_Init was not called";
    case FMOD_ERR_INIT:
        return "Error initializing output device.";
    case FMOD_ERR_ALLOCATED:
        return "The output device is already in use and cannot be reused.";
    case FMOD_ERR_PLAY:
        return "Playing the sound failed.";
    case FMOD_ERR_OUTPUT_FORMAT:
        return "Soundcard does not support the features needed for this soundsystem (16bit stereo output)";
    case FMOD_ERR_COOPERATIVELEVEL:
        return "Error setting cooperative level for hardware.";
    case FMOD_ERR_CREATEBUFFER:
        return "Error creating hardware sound buffer.";
    case FMOD_ERR_FILE_NOTFOUND:
        return "File not found";
    case FMOD_ERR_FILE_FORMAT:
        return "Unknown file format";
    case FMOD_ERR_FILE_BAD:
        return "Error loading file";
    case FMOD_ERR_MEMORY:
        return "Not enough memory ";
    case FMOD_ERR_VERSION:
        return "The version number of this file format is not supported";
    case FMOD_ERR_INVALID_PARAM:
        return "An invalid parameter was passed to this function";
    case FMOD_ERR_NO_EAX:
        return "Tried to use an EAX command on a non EAX enabled channel or output.";
    case FMOD_ERR_CHANNEL_ALLOC:
        return "Failed to allocate a new channel";
    case FMOD_ERR_RECORD:
        return "Recording not supported on this device";
    case FMOD_ERR_MEDIAPLAYER:
        return "Required Mediaplayer codec is not installed";
    default:
        return "Unknown error";
    }
}
