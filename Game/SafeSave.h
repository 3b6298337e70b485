// Saving a file so that a failed save leaves the old file whole. Built on the C and C++
// standard libraries alone (std::filesystem for links and modes), so it is the same on every system.
#pragma once

#include <cstdio>
#include <string>

// Appends what is left of the file to bytes and closes it; false when a read failed.
bool ReadAllAndClose(FILE* in, std::string& bytes);

// Writes text to path, in text mode. A symbolic link is written through to the file it names;
// the file keeps its mode and its hard links. The text is written whole beside the file first
// and only then moved over it (or, for a file with hard links, copied into it), and a file
// that is already there under the temporary name is never touched. Where no file can be made
// beside it, the file is rewritten in place, and its old text is put back if that fails.
// False, with the file as it was, when path names no file that may be written (a read-only
// file, a folder) or the text could not be written.
bool SaveTextSafely(const std::string& path, const std::string& text);
// The same; on failure why says what stood in the way, in words for a warning ("it is a
// folder", "the file is read-only", "there is no folder \"data/maps\"", ...).
bool SaveTextSafely(const std::string& path, const std::string& text, std::string& why);
// Bytes as they are, with no line ends made on the way (pictures); otherwise the same.
bool SaveBytesSafely(const std::string& path, const std::string& bytes, std::string& why);
