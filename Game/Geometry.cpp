#include "Game/Geometry.h"

#include <cfloat>

namespace {

// The three cases every nearest-point query shares: before the start, past the end, or between.
// Returns the fraction along the extent.
float NearestFraction(const Vec2f& origin, const Vec2f& extent, const Vec2f& point)
{
    const Vec2f a = point - origin;
    const Vec2f b = extent - a;
    const float ad = Dot(a, extent);
    if (ad <= 0.0f) return 0.0f;
    const float bd = Dot(b, extent);
    if (bd <= 0.0f) return 1.0f;
    return ad / (bd + ad);
}

Vec2f PointAt(const Vec2f& origin, const Vec2f& extent, float fraction)
{
    // The two ends are the exact end points, never a product that might round.
    if (fraction == 0.0f) return origin;
    if (fraction == 1.0f) return origin + extent;
    return origin + extent * fraction;
}

}  // namespace

float DistanceSquaredToSweep(const DiscSweep& sweep, const Vec2f& point, float* fraction)
{
    const float f = NearestFraction(sweep.start, sweep.displacement, point);
    if (fraction) *fraction = f;
    const Vec2f d = point - PointAt(sweep.start, sweep.displacement, f);
    return d.x * d.x + d.y * d.y;
}

Vec2f ClosestPointOnSegment(const Segment2f& segment, const Vec2f& point)
{
    return PointAt(segment.origin, segment.extent, NearestFraction(segment.origin, segment.extent, point));
}

bool IntersectSegments(const DiscSweep& sweep, const Segment2f& segment, float& t)
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
