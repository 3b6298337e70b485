// The editor's SAVE on disk: the map's file, and beside it the background picture painted from
// it, so that a map plays at once as it was drawn. A picture someone made is never replaced.
#pragma once

#include <string>

// Writes text, a map file's text, as "data/maps/" + name + ".map" and logs "Saved map ...".
// Then the picture "data/maps/" + name + ".tga" is painted from the text and written, but only
// where none is there or the one there is exactly what the painter made from the map's file
// as it was before this save; any other picture is kept, and the log says so. False, with a
// warning that says why, when the map could not be saved; a picture that could not be written
// is only a warning, and the map stays saved.
bool SaveMapAndBackground(const std::string& name, const std::string& text);
