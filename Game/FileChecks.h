// Reading files that a user may have mistyped or broken, where the program must go on (the
// editor's LOAD and BG, starting a map from the command line or after the last one): each reads
// the file aside with fatal reports trapped, and refuses it with one warning that names the file
// and the fault. At start-up and where the game needs its own files, a bad file stays fatal.
#pragma once

#include <string>

struct TrappedReport;
class MapArea;
class Texture;

// Whether the file opens for reading. Otherwise warns "no <what> \"<path>\"" when there is
// nothing of that name, or "cannot read <what> \"<path>\": <why>" when there is something that
// does not open (a folder, a file without permission).
bool CheckFileOpens(const std::string& path, const char* what);

// Adds the elements of the map file at path to map, which holds none. False, with the warning
// and map empty again, when the file does not open or is no map (a syntax error, a linedef
// naming a vertex the file lacks).
bool ReadMapFile(const std::string& path, MapArea& map);

// The same from a map file's text in memory, with no warning: the fault instead.
bool ReadMapText(const std::string& text, const std::string& name, MapArea& map, std::string& fault);

// Whether the picture loads and the texture rules take its size; false with the warning.
bool CheckPicture(const std::string& path, const char* what);

// A texture of the picture, or null with the warning.
Texture* LoadTexture(const std::string& path, const char* what);

// The fault a trapped report tells, on one line: a syntax error's line and error, a message's
// lines joined, or the check that failed when there is no message.
std::string DescribeFault(const TrappedReport& report);
