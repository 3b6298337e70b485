// A segment given by its origin and its extent; the end is origin + extent.
#pragma once

#include "Engine/Vector.h"

struct Segment2f {
    Vec2f origin;
    Vec2f extent;

    constexpr Segment2f() = default;
    constexpr Segment2f(const Vec2f& origin_, const Vec2f& extent_) : origin(origin_), extent(extent_) {}
    constexpr Vec2f End() const { return origin + extent; }
};
