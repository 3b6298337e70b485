// The audio device the FSOUND functions play through, one per platform: SDL2 audio on
// Linux (SdlOutput.cpp), winmm's waveOut on Windows (WaveOutOutput.cpp). The mixer and
// the WAV reader are the same on both.
#pragma once

#include <string>

class Mixer;

// Opens the default device for 16-bit stereo near mixRate, sets the mixer's output rate to
// the rate it plays at, then has the device's thread fill it from the mixer. False, with
// the reason, when there is no device to play on.
bool SoundOutputOpen(Mixer& mixer, int mixRate, std::string* reason);

// Stops the device opened last; returns once its thread has finished its last buffer.
void SoundOutputClose();

// A note of the sound library for whoever reads the program's log: stderr on Linux, the
// debugger output on Windows (a GUI program's stderr goes nowhere).
void SoundOutputNote(const std::string& line);
