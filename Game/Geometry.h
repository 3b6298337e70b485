// General 2-D geometry shared by the map model's nearest-element queries and the ball physics.
// Everything is 32-bit float arithmetic, evaluated left to right as written, so a result is the
// same bit for bit on every build (the tree is compiled with -ffp-contract=off).
#pragma once

#include "Engine/Segment2f.h"
#include "Engine/Vector.h"

// The motion of a disc's centre over one sweep: the point at fraction s is start + displacement × s.
struct DiscSweep {
    Vec2f start;
    Vec2f displacement;

    constexpr DiscSweep() = default;
    constexpr DiscSweep(const Vec2f& start_, const Vec2f& displacement_) : start(start_), displacement(displacement_) {}
};

inline float Dot(const Vec2f& a, const Vec2f& b)
{
    return a.x * b.x + a.y * b.y;
}

// u.x × w.y − u.y × w.x
inline float Cross(const Vec2f& u, const Vec2f& w)
{
    return u.x * w.y - u.y * w.x;
}

// Squared distance from point to the nearest point of the sweep; that point's fraction goes to
// *fraction when asked (0 before the start, 1 past the end).
float DistanceSquaredToSweep(const DiscSweep& sweep, const Vec2f& point, float* fraction = nullptr);

// The point of the segment nearest to point, by the same three cases.
Vec2f ClosestPointOnSegment(const Segment2f& segment, const Vec2f& point);

// Where the sweep's path crosses the segment, as a fraction of the sweep in t (the largest float
// when the two do not cross at all). True when they cross within the sweep (0 ≤ t ≤ 1); parallel
// lines never do.
bool IntersectSegments(const DiscSweep& sweep, const Segment2f& segment, float& t);
