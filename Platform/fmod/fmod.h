// The FSOUND interface: the sound functions, constants and types the program calls,
// implemented here by a small software mixer over SDL2 audio.
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

typedef struct FSOUND_SAMPLE FSOUND_SAMPLE;

// Error codes read with FSOUND_GetError.
enum FMOD_ERRORS {
    FMOD_ERR_NONE = 0,
    FMOD_ERR_BUSY = 1,
    FMOD_ERR_UNINITIALIZED = 2,
    FMOD_ERR_INIT = 3,
    FMOD_ERR_ALLOCATED = 4,
    FMOD_ERR_PLAY = 5,
    FMOD_ERR_OUTPUT_FORMAT = 6,
    FMOD_ERR_COOPERATIVELEVEL = 7,
    FMOD_ERR_CREATEBUFFER = 8,
    FMOD_ERR_FILE_NOTFOUND = 9,
    FMOD_ERR_FILE_FORMAT = 10,
    FMOD_ERR_FILE_BAD = 11,
    FMOD_ERR_MEMORY = 12,
    FMOD_ERR_VERSION = 13,
    FMOD_ERR_INVALID_PARAM = 14,
    FMOD_ERR_NO_EAX = 15,
    FMOD_ERR_CHANNEL_ALLOC = 16,
    FMOD_ERR_RECORD = 17,
    FMOD_ERR_MEDIAPLAYER = 18,
};

// Channel and sample-index arguments.
#define FSOUND_FREE -1       // PlaySound: any free channel; Sample_Load: any free slot
#define FSOUND_UNMANAGED -2  // Sample_Load: the caller owns the sample and frees it
#define FSOUND_STEREOPAN -1  // SetPan: a stereo sample on both sides at full level

// Mode bits (Sample_Load argument, Sample_GetMode result) and loop modes.
#define FSOUND_LOOP_OFF 0x00000001
#define FSOUND_LOOP_NORMAL 0x00000002
#define FSOUND_LOOP_BIDI 0x00000004
#define FSOUND_8BITS 0x00000008
#define FSOUND_16BITS 0x00000010
#define FSOUND_MONO 0x00000020
#define FSOUND_STEREO 0x00000040
#define FSOUND_UNSIGNED 0x00000080
#define FSOUND_SIGNED 0x00000100
#define FSOUND_2D 0x00002000

// FSOUND_Init flags.
#define FSOUND_INIT_USEDEFAULTMIDISYNTH 0x0001

signed char FSOUND_SetMinHardwareChannels(int min);
signed char FSOUND_SetMaxHardwareChannels(int max);
signed char FSOUND_Init(int mixrate, int maxsoftwarechannels, unsigned int flags);
int FSOUND_GetError(void);
void FSOUND_Close(void);

FSOUND_SAMPLE* FSOUND_Sample_Load(int index, const char* name, unsigned int mode, int offset, int length);
void FSOUND_Sample_Free(FSOUND_SAMPLE* sptr);
unsigned int FSOUND_Sample_GetLength(FSOUND_SAMPLE* sptr);
signed char FSOUND_Sample_GetDefaults(FSOUND_SAMPLE* sptr, int* deffreq, int* defvol, int* defpan, int* defpri);
unsigned int FSOUND_Sample_GetMode(FSOUND_SAMPLE* sptr);

int FSOUND_PlaySound(int channel, FSOUND_SAMPLE* sptr);
signed char FSOUND_SetCurrentPosition(int channel, unsigned int offset);
signed char FSOUND_SetLoopMode(int channel, unsigned int loopmode);
signed char FSOUND_SetVolume(int channel, int vol);
signed char FSOUND_SetFrequency(int channel, int freq);
signed char FSOUND_SetPan(int channel, int pan);
signed char FSOUND_IsPlaying(int channel);

// Channel queries: what the setters above stored, and the play position in sample frames.
unsigned int FSOUND_GetCurrentPosition(int channel);
unsigned int FSOUND_GetLoopMode(int channel);
int FSOUND_GetVolume(int channel);
int FSOUND_GetFrequency(int channel);
int FSOUND_GetPan(int channel);
int FSOUND_GetOutputRate(void);

#ifdef __cplusplus
}
#endif
