// The direction of every shot the panel can set: cos and sin of each whole angle from 0 to 360
// degrees (as radians, angle * 0.017453292519943295), each the double nearest the exact value.
// A table rather than the C library's cos and sin, whose last bits differ between libraries, so
// that a shot flies the same path on every build.
#pragma once

constexpr int SHOT_ANGLES = 361;
extern const double SHOT_DIRECTIONS[SHOT_ANGLES][2];
