// Sound effects by number: a registry of loaded samples and their playing instances.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>

#include "fmod.h"

// One playing instance of a sound. One-shots sort by their length, looping ones last.
struct ChannelRecord {
    uint32_t key;
    int32_t channel;

    bool operator<(const ChannelRecord& other) const { return key < other.key; }
};

struct SoundEntry {
    FSOUND_SAMPLE* sample = nullptr;
    uint8_t playingCount = 0;
    uint8_t maxInstances = 255;
    // Starts since the last Update, for the per-frame limit.
    uint8_t startsThisFrame = 0;
    // Equal keys keep their insertion order, so the oldest instance comes first.
    std::multiset<ChannelRecord> channels;
};

// Sound numbers are ordered as unsigned values.
struct SoundNumberLess {
    bool operator()(int a, int b) const { return static_cast<uint32_t>(a) < static_cast<uint32_t>(b); }
};

class TheSoundSystem {
public:
    static const uint8_t MAX_INSTANCES_PER_SOUND = 255;
    static const uint32_t LOOPING_CHANNEL_KEY = 0xFFFFFFFFu;
    // Copies of one sound started in one frame sound as one loud copy beyond this; more only
    // clip the mix (a ball sweeping up a row of items in one step starts one per item).
    static constexpr uint8_t MAX_STARTS_PER_FRAME = 4;

    TheSoundSystem() = default;
    ~TheSoundSystem();

    void Startup();
    void Shutdown();
    static bool IsInitialized() { return _isInitialized; }

    void RegisterSound(int soundNumber, std::string fileName);
    void UnregisterSound(int soundNumber);
    void UnregisterAllSounds();
    void Play(int soundNumber, int reserved, int loopMode, float volume, float frequencyScale, float pan);
    // Once per frame: forgets the instances that have finished and opens the next frame's
    // starts.
    void Update();

    static const char* GetFmodErrorString(int errorCode);

    // The registered entry for a number, or null.
    const SoundEntry* FindSound(int soundNumber) const;
    size_t GetNumRegisteredSounds() const { return m_samples.size(); }

private:
    void _CheckFmodError();
    uint32_t _ComputeChannelKey(const SoundEntry& entry, int loopMode) const;

    std::map<int, SoundEntry, SoundNumberLess> m_samples;

    static bool _isInitialized;
};

extern TheSoundSystem theSoundSystem;
