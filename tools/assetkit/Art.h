// Drawing pieces that more than one picture shows: the pinwheel ball, stars and sparkles,
// and the shot trail in the game's own colours.
#pragma once

#include <vector>

#include "Engine/Canvas.h"

extern const float PI;

// Points of a star with `points` tips, squeezed horizontally by xScale (a spin about the upright axis).
std::vector<Point> Star(float cx, float cy, int points, float outer, float inner, float xScale = 1.0f);

// A four-pointed sparkle, added as light.
void Twinkle(Canvas& canvas, float cx, float cy, float size, float strength);

// The ball: two colours in four curved blades, so every turn shows; shaded the same all
// round, since its shine is a separate picture that does not turn.
void PaintPinwheelBall(Canvas& canvas, float cx, float cy, float radius);

// The shot trail through the points, oldest first, coloured as the game colours it by age:
// white at the newest end, through lilac to a faint violet (0.5, 0.2, 1, 0.4) at the old end.
// pointsPerGamePoint stretches the colour ramp when the points are spaced wider than the
// game's one per frame.
void PaintTrail(Canvas& canvas, const std::vector<Point>& points, float halfWidth, float pointsPerGamePoint);
