// Writing the generated data files: TGA pictures as the engine's loader takes them and
// 16-bit PCM WAV sounds. Each file is written under a temporary name and then renamed,
// so an interrupted build never leaves half a file for the game to load.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Engine/Canvas.h"

// The canvas as the program's EncodeTga makes it. Ends the generator with a message when the
// file cannot be written.
void WriteTga(const std::string& path, const Canvas& canvas, bool withAlpha);

// Mono 16-bit PCM. Samples are on the -1 ... 1 scale; anything beyond it is an error of the
// generator (it would clip), reported and fatal.
void WriteWav(const std::string& path, const std::vector<float>& samples, int sampleRate);

// Writes bytes to path through a temporary file; creates the folders on the way.
void WriteFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes);
