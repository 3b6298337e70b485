// Saving a text file so that a failed save leaves the old file whole.
#pragma once

#include <string>

// Writes text beside path and moves it over path only once it was written whole.
// False, leaving path as it was, on any failure.
bool SaveTextSafely(const std::string& path, const std::string& text);
