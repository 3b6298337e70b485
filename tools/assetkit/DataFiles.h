// Writing the generated data files: TGA pictures as the engine's loader takes them and
// 16-bit PCM WAV sounds. Each file is written under a temporary name and then renamed,
// so an interrupted build never leaves half a file for the game to load.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Canvas.h"

// Uncompressed true-colour TGA: the 12-byte primer 00 00 02 00 ..., width, height, depth 24 or 32,
// rows bottom-up (the canvas's last row first), pixels B, G, R (, A). A 24-bit picture is the
// canvas over black. Ends the generator with a message when the file cannot be written.
void WriteTga(const std::string& path, const Canvas& canvas, bool withAlpha);

// Mono 16-bit PCM. Samples are on the -1 ... 1 scale; anything beyond it is an error of the
// generator (it would clip), reported and fatal.
void WriteWav(const std::string& path, const std::vector<float>& samples, int sampleRate);

// Writes bytes to path through a temporary file; creates the folders on the way.
void WriteFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes);

// A picture channel as a byte: rounded, clamped.
uint8_t ChannelByte(float value);
