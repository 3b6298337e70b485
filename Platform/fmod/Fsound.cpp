// The FSOUND functions: the library's state, the audio device and the error code.
// Everything here runs on the caller's thread except the device's thread, which only
// touches the mixer (and the mixer locks).
#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "FmodTesting.h"
#include "Mixer.h"
#include "SoundOutput.h"
#include "WavFile.h"
#include "fmod.h"

namespace {

const uint64_t NANOSECONDS_PER_SECOND = 1000000000u;

enum OutputKind { OUTPUT_NONE, OUTPUT_DEVICE, OUTPUT_SILENT, OUTPUT_MANUAL };

struct SoundLibrary {
    Mixer mixer;
    bool isInitialized = false;
    int lastError = FMOD_ERR_NONE;
    OutputKind output = OUTPUT_NONE;
    bool manualOutputForTesting = false;
    bool silentNoteShown = false;
    // The silent output moves the channels on by the clock, on the caller's thread.
    std::chrono::steady_clock::time_point silentStart;
    uint64_t silentFramesDone = 0;
    std::vector<FSOUND_SAMPLE*> samples;
};

// Never destroyed: a device thread still running at exit must not find the mixer gone.
SoundLibrary& Library()
{
    static SoundLibrary* library = new SoundLibrary;
    return *library;
}

signed char Fail(int error)
{
    Library().lastError = error;
    return 0;
}

signed char Succeed()
{
    Library().lastError = FMOD_ERR_NONE;
    return 1;
}

void CatchUpSilentOutput()
{
    SoundLibrary& library = Library();
    if (library.output != OUTPUT_SILENT) return;
    const auto elapsed = std::chrono::steady_clock::now() - library.silentStart;
    const uint64_t nanoseconds =
        static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(elapsed).count());
    const uint64_t rate = static_cast<uint64_t>(library.mixer.GetOutputRate());
    // nanoseconds * rate / 1e9 without overflow: whole seconds, then the rest.
    const uint64_t due = nanoseconds / NANOSECONDS_PER_SECOND * rate +
                         nanoseconds % NANOSECONDS_PER_SECOND * rate / NANOSECONDS_PER_SECOND;
    if (due > library.silentFramesDone) {
        library.mixer.Advance(due - library.silentFramesDone);
        library.silentFramesDone = due;
    }
}

void StartSilentOutput(const std::string& reason)
{
    SoundLibrary& library = Library();
    if (!library.silentNoteShown) {
        SoundOutputNote("FSOUND: no audio device (" + reason + "); playing silently\n");
        library.silentNoteShown = true;
    }
    library.output = OUTPUT_SILENT;
    library.silentStart = std::chrono::steady_clock::now();
    library.silentFramesDone = 0;
}

bool IsLoaded(const FSOUND_SAMPLE* sample)
{
    const std::vector<FSOUND_SAMPLE*>& samples = Library().samples;
    return sample != nullptr && std::find(samples.begin(), samples.end(), sample) != samples.end();
}

// Every channel function starts here: the library must be up and the clock caught up.
bool BeginChannelCall()
{
    if (!Library().isInitialized) {
        Fail(FMOD_ERR_UNINITIALIZED);
        return false;
    }
    CatchUpSilentOutput();
    return true;
}

signed char Result(bool ok)
{
    return ok ? Succeed() : Fail(FMOD_ERR_INVALID_PARAM);
}

}  // namespace

// There are no hardware channels behind this mixer; the limits are accepted and kept for nothing.
signed char FSOUND_SetMinHardwareChannels(int min)
{
    if (Library().isInitialized) return Fail(FMOD_ERR_BUSY);
    if (min < 0) return Fail(FMOD_ERR_INVALID_PARAM);
    return Succeed();
}

signed char FSOUND_SetMaxHardwareChannels(int max)
{
    if (Library().isInitialized) return Fail(FMOD_ERR_BUSY);
    if (max < 0) return Fail(FMOD_ERR_INVALID_PARAM);
    return Succeed();
}

// flags (FSOUND_INIT_...) select driver details this mixer does not have; they are accepted.
signed char FSOUND_Init(int mixrate, int maxsoftwarechannels, unsigned int flags)
{
    (void)flags;
    SoundLibrary& library = Library();
    if (library.isInitialized) return Fail(FMOD_ERR_BUSY);
    if (mixrate < 4000 || mixrate > 192000 || maxsoftwarechannels < 1 || maxsoftwarechannels > Mixer::MAX_CHANNELS)
        return Fail(FMOD_ERR_INVALID_PARAM);

    library.mixer.Reset(mixrate, maxsoftwarechannels);
    std::string reason;
    if (library.manualOutputForTesting) {
        library.output = OUTPUT_MANUAL;
    } else if (SoundOutputOpen(library.mixer, mixrate, &reason)) {
        library.output = OUTPUT_DEVICE;
    } else {
        StartSilentOutput(reason);
    }
    library.isInitialized = true;
    return Succeed();
}

int FSOUND_GetError(void)
{
    return Library().lastError;
}

void FSOUND_Close(void)
{
    SoundLibrary& library = Library();
    if (!library.isInitialized) {
        Fail(FMOD_ERR_UNINITIALIZED);
        return;
    }
    if (library.output == OUTPUT_DEVICE) SoundOutputClose();
    library.mixer.StopAll();
    // Closing the library frees what it loaded; those handles are dead from here on.
    for (FSOUND_SAMPLE* sample : library.samples) delete sample;
    library.samples.clear();
    library.output = OUTPUT_NONE;
    library.isInitialized = false;
    Succeed();
}

// The samples are not kept in numbered slots: each one is owned by the caller until it
// frees it (or closes the library), whatever the index says.
FSOUND_SAMPLE* FSOUND_Sample_Load(int index, const char* name, unsigned int mode, int offset, int length)
{
    SoundLibrary& library = Library();
    if (!library.isInitialized) {
        Fail(FMOD_ERR_UNINITIALIZED);
        return nullptr;
    }
    if (index < FSOUND_UNMANAGED || name == nullptr) {
        Fail(FMOD_ERR_INVALID_PARAM);
        return nullptr;
    }
    PcmSound pcm;
    const int error = LoadWavFile(name, offset, length, pcm);
    if (error != FMOD_ERR_NONE) {
        Fail(error);
        return nullptr;
    }
    FSOUND_SAMPLE* sample = new FSOUND_SAMPLE;
    sample->samples.swap(pcm.samples);
    sample->length = pcm.frameCount;
    sample->channels = pcm.channels;
    sample->defaultFrequency = pcm.frequency;
    sample->mode = LoopModeOf(mode) | (mode & FSOUND_2D) | (pcm.bitsPerSample == 8 ? FSOUND_8BITS : FSOUND_16BITS) |
                   (pcm.channels == 2 ? FSOUND_STEREO : FSOUND_MONO) |
                   (pcm.bitsPerSample == 8 ? FSOUND_UNSIGNED : FSOUND_SIGNED);
    library.samples.push_back(sample);
    Succeed();
    return sample;
}

void FSOUND_Sample_Free(FSOUND_SAMPLE* sptr)
{
    SoundLibrary& library = Library();
    if (!IsLoaded(sptr)) {
        Fail(FMOD_ERR_INVALID_PARAM);
        return;
    }
    // No channel may still read it once it is gone.
    library.mixer.StopSample(sptr);
    library.samples.erase(std::find(library.samples.begin(), library.samples.end(), sptr));
    delete sptr;
    Succeed();
}

unsigned int FSOUND_Sample_GetLength(FSOUND_SAMPLE* sptr)
{
    if (!IsLoaded(sptr)) {
        Fail(FMOD_ERR_INVALID_PARAM);
        return 0;
    }
    Succeed();
    return sptr->length;
}

signed char FSOUND_Sample_GetDefaults(FSOUND_SAMPLE* sptr, int* deffreq, int* defvol, int* defpan, int* defpri)
{
    if (!IsLoaded(sptr)) return Fail(FMOD_ERR_INVALID_PARAM);
    if (deffreq != nullptr) *deffreq = sptr->defaultFrequency;
    if (defvol != nullptr) *defvol = sptr->defaultVolume;
    if (defpan != nullptr) *defpan = sptr->defaultPan;
    if (defpri != nullptr) *defpri = sptr->defaultPriority;
    return Succeed();
}

unsigned int FSOUND_Sample_GetMode(FSOUND_SAMPLE* sptr)
{
    if (!IsLoaded(sptr)) {
        Fail(FMOD_ERR_INVALID_PARAM);
        return 0;
    }
    Succeed();
    return sptr->mode;
}

int FSOUND_PlaySound(int channel, FSOUND_SAMPLE* sptr)
{
    if (!BeginChannelCall()) return -1;
    SoundLibrary& library = Library();
    if (!IsLoaded(sptr) || channel < FSOUND_FREE || channel >= library.mixer.GetChannelCount()) {
        Fail(FMOD_ERR_INVALID_PARAM);
        return -1;
    }
    const int handle = library.mixer.Play(channel, sptr);
    if (handle < 0) {
        Fail(FMOD_ERR_CHANNEL_ALLOC);
        return -1;
    }
    Succeed();
    return handle;
}

signed char FSOUND_SetCurrentPosition(int channel, unsigned int offset)
{
    if (!BeginChannelCall()) return 0;
    return Result(Library().mixer.SetPosition(channel, offset));
}

signed char FSOUND_SetLoopMode(int channel, unsigned int loopmode)
{
    if (!BeginChannelCall()) return 0;
    return Result(Library().mixer.SetLoopMode(channel, loopmode));
}

signed char FSOUND_SetVolume(int channel, int vol)
{
    if (!BeginChannelCall()) return 0;
    return Result(Library().mixer.SetVolume(channel, vol));
}

signed char FSOUND_SetFrequency(int channel, int freq)
{
    if (!BeginChannelCall()) return 0;
    return Result(Library().mixer.SetFrequency(channel, freq));
}

signed char FSOUND_SetPan(int channel, int pan)
{
    if (!BeginChannelCall()) return 0;
    return Result(Library().mixer.SetPan(channel, pan));
}

namespace {

// The queries share this: the channel's state, or nothing for a dead handle.
bool QueryChannel(int channel, ChannelState& state)
{
    if (!BeginChannelCall()) return false;
    if (!Library().mixer.GetState(channel, state)) {
        Fail(FMOD_ERR_INVALID_PARAM);
        return false;
    }
    Succeed();
    return true;
}

}  // namespace

signed char FSOUND_IsPlaying(int channel)
{
    ChannelState state;
    return QueryChannel(channel, state) && state.playing ? 1 : 0;
}

unsigned int FSOUND_GetCurrentPosition(int channel)
{
    ChannelState state;
    return QueryChannel(channel, state) ? state.position : 0;
}

unsigned int FSOUND_GetLoopMode(int channel)
{
    ChannelState state;
    return QueryChannel(channel, state) ? state.loopMode : 0;
}

int FSOUND_GetVolume(int channel)
{
    ChannelState state;
    return QueryChannel(channel, state) ? state.volume : 0;
}

int FSOUND_GetFrequency(int channel)
{
    ChannelState state;
    return QueryChannel(channel, state) ? state.frequency : 0;
}

int FSOUND_GetPan(int channel)
{
    ChannelState state;
    return QueryChannel(channel, state) ? state.pan : 0;
}

int FSOUND_GetOutputRate(void)
{
    if (!Library().isInitialized) {
        Fail(FMOD_ERR_UNINITIALIZED);
        return 0;
    }
    Succeed();
    return Library().mixer.GetOutputRate();
}

void FmodSetManualOutputForTesting(bool manual)
{
    Library().manualOutputForTesting = manual;
}

void FmodRenderForTesting(int16_t* stereoOut, int frameCount)
{
    Library().mixer.Mix(stereoOut, frameCount);
}

int FmodGetLoadedSampleCountForTesting()
{
    return static_cast<int>(Library().samples.size());
}

bool FmodIsSilentOutputForTesting()
{
    return Library().output == OUTPUT_SILENT;
}
