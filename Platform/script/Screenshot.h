// Screenshots of scripted runs: the current OpenGL context's picture as a PNG file.
#pragma once

#include <string>

// Reads width x height pixels (the back buffer when fromBackBuffer: the picture the coming
// swap presents) and writes them top row first as an 8-bit RGB PNG. False when the file
// cannot be written.
bool WriteScreenshotPng(const std::string& file, int width, int height, bool fromBackBuffer);
