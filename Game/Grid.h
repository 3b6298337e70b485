// The 2-D view's grid: its spacing in map units, kept between a minimum and a maximum, and
// the snapping of points onto it.
#pragma once

#include "Engine/Vector.h"

class Grid {
public:
    // Each coordinate to the nearest multiple of size (halves round up); unchanged with snap off.
    Vec2f Snap(const Vec2f& point) const;
    void Halve();
    void Double();

    float size = 64.0f;
    float minimumSize = 1.0f;
    float maximumSize = 1024.0f;
    bool snap = true;
};
