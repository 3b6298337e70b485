// General 2-D geometry shared by the map model's nearest-element queries and the ball physics.
// Everything is 32-bit float arithmetic, evaluated left to right as written, so a result is the
// same bit for bit on every build (the tree is compiled with -ffp-contract=off).
#pragma once

#include <cfloat>

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

// Inline, so the nearest-element queries over thousands of linedefs pay no call per element.

namespace GeometryDetail {

// The three cases every nearest-point query shares: before the start, past the end, or between.
// Returns the fraction along the extent.
inline float NearestFraction(const Vec2f& origin, const Vec2f& extent, const Vec2f& point)
{
    const Vec2f a = point - origin;
    const Vec2f b = extent - a;
    const float ad = Dot(a, extent);
    if (ad <= 0.0f) return 0.0f;
    const float bd = Dot(b, extent);
    if (bd <= 0.0f) return 1.0f;
    return ad / (bd + ad);
}

inline Vec2f PointAt(const Vec2f& origin, const Vec2f& extent, float fraction)
{
    // The two ends are the exact end points, never a product that might round.
    if (fraction == 0.0f) return origin;
    if (fraction == 1.0f) return origin + extent;
    return origin + extent * fraction;
}

}  // namespace GeometryDetail

inline float DistanceSquaredToSweep(const DiscSweep& sweep, const Vec2f& point, float* fraction)
{
    const float f = GeometryDetail::NearestFraction(sweep.start, sweep.displacement, point);
    if (fraction) *fraction = f;
    const Vec2f d = point - GeometryDetail::PointAt(sweep.start, sweep.displacement, f);
    return d.x * d.x + d.y * d.y;
}

inline Vec2f ClosestPointOnSegment(const Segment2f& segment, const Vec2f& point)
{
    return GeometryDetail::PointAt(segment.origin, segment.extent,
                                   GeometryDetail::NearestFraction(segment.origin, segment.extent, point));
}

inline bool IntersectSegments(const DiscSweep& sweep, const Segment2f& segment, float& t)
{
    t = FLT_MAX;
    const Vec2f& p = sweep.start;
    const Vec2f& d = sweep.displacement;
    const Vec2f& q = segment.origin;
    const Vec2f& e = segment.extent;

    // Each segment's ends must lie on both sides of (or on) the other's line; a zero counts as crossing.
    const float s1 = Cross(e, p - q);
    const float s2 = Cross(e, p + d - q);
    if ((s1 > 0.0f && s2 > 0.0f) || (s1 < 0.0f && s2 < 0.0f)) return false;
    const float u1 = Cross(d, q - p);
    const float u2 = Cross(d, q + e - p);
    if ((u1 > 0.0f && u2 > 0.0f) || (u1 < 0.0f && u2 < 0.0f)) return false;

    const float A1 = -d.y, B1 = d.x, C1 = A1 * p.x + B1 * p.y;
    const float A2 = -e.y, B2 = e.x, C2 = A2 * q.x + B2 * q.y;
    const float det = A1 * B2 - A2 * B1;
    const float x = (C1 * B2 - C2 * B1) / det;
    const float y = (A1 * C2 - A2 * C1) / det;
    t = Dot(Vec2f(x, y) - p, d) / Dot(d, d);
    // Parallel lines give a zero determinant; the non-number fails both comparisons.
    return t >= 0.0f && t <= 1.0f;
}
