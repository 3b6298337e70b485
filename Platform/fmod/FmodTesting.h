// Hooks through which tests drive the sound output themselves. A real program never calls these.
#pragma once

#include <cstdint>

// While set, FSOUND_Init opens no audio device and the mixer moves on only when a test
// renders with FmodRenderForTesting, so output and channel ends are exact.
void FmodSetManualOutputForTesting(bool manual);

// Mixes frameCount stereo frames (left/right interleaved) into stereoOut.
void FmodRenderForTesting(int16_t* stereoOut, int frameCount);

// How many samples are loaded and not yet freed.
int FmodGetLoadedSampleCountForTesting();

// True when FSOUND_Init found no audio device and plays silently by the clock.
bool FmodIsSilentOutputForTesting();
