// File names as the program's users type them. Typed text arrives in capitals and Windows
// ignores the case of file names; so does every path this program opens by name.
#pragma once

#include <cstdio>
#include <string>

// The path of the file that path names on a file system that ignores case: each part of it
// that exists as written is kept, a part that does not is replaced by the first entry of its
// folder (in name order) that matches it ignoring ASCII case, and a part that matches nothing
// is kept as written, so a new file is created with the name as typed.
std::string ResolveFileName(const std::string& path);

// What the name stands for, its symbolic links followed: nothing, a regular file, or anything
// else (a folder, a FIFO, a device).
enum class FileKind { MISSING, REGULAR, OTHER };
FileKind GetFileKind(const std::string& path);

// The file that path names (case ignored), opened for binary reading, or null. Only a regular
// file is opened: a FIFO would wait for a writer for ever and a device may never end.
FILE* OpenRegularFile(const std::string& path);

// Whether the file that path names (case ignored) opens for reading; only a regular file does.
bool CanOpenFile(const std::string& path);

// Whether name, put after a folder, names a file of that folder and nothing beside or above
// it: not empty, no folder separator or drive colon, not "." or "..", not a Windows device
// (CON, NUL, COM1, "nul.map", ...). Every name that comes
// from a user or a file (a typed map name, an object's sprite) passes this before it becomes
// a path.
bool IsPlainFileName(const std::string& name);
