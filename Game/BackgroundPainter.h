// The picture behind a map: every linedef and vertex painted exactly where the physics has
// them, over a calm field in colours of the map's own. Walls are invisible in play, so this is
// how a player sees them. The build paints the shipped maps' pictures with it (make_background)
// and the editor's SAVE paints the picture of the map it saved.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "Engine/Canvas.h"

class MapArea;

// The field's side in pixels, which are map units, and the size of the picture's file.
constexpr int BACKGROUND_SIZE = 1024;
constexpr size_t BACKGROUND_FILE_BYTES = 18 + size_t(BACKGROUND_SIZE) * BACKGROUND_SIZE * 3;

// Canvas pixel (x, y) is field point (x, y): the map as the game loads it (y mirrored), or read
// as the editor reads it (y up), which is mirrored here the same way. The field's colours follow the number in the name
// (map01 the first set, map02 the second...) or, for a name without one, its letters, ignoring case.
Canvas PaintBackground(const MapArea& map, const std::string& name);

// The same as the bytes of the 24-bit TGA file that the game draws flipped over the field (its
// first stored row, the canvas's last, at the bottom).
std::vector<uint8_t> PaintBackgroundPicture(const MapArea& map, const std::string& name);
