#include "Game/Collision.h"

#include <cfloat>
#include <cmath>

#include "Game/Linedef.h"
#include "Game/MapArea.h"
#include "Game/MapItem.h"
#include "Game/PlayField.h"
#include "Game/Vertex.h"

Vec2f Normalised(const Vec2f& v)
{
    const float len = std::sqrt(v.x * v.x + v.y * v.y);
    if (len == 0.0f) return v;
    return Vec2f(v.x / len, v.y / len);
}

int IntersectLineCircle(double R, double a, double b, double c, Point2d& out1, Point2d& out2)
{
    // Solve for the coordinate whose coefficient is the smaller, so the division that gives the
    // other one is by the larger.
    const bool solveForY = std::fabs(b) <= std::fabs(a);
    const double k2 = a * a + b * b;
    const double k1 = solveForY ? 2 * b * c : 2 * a * c;
    const double k0 = solveForY ? c * c - a * a * R * R : c * c - b * b * R * R;
    const double disc = k1 * k1 - 4 * k2 * k0;
    if (disc < 0) return 0;

    auto place = [&](double root, Point2d& out) {
        if (solveForY) {
            out.y = root;
            out.x = (-c - b * root) / a;
        } else {
            out.x = root;
            out.y = (-c - a * root) / b;
        }
    };
    if (disc == 0) {
        place(-k1 / (2 * k2), out1);
        return 1;
    }
    const double root = std::sqrt(disc);
    place((root - k1) / (2 * k2), out1);
    place((-k1 - root) / (2 * k2), out2);
    return 2;
}

float TimeOfImpact(const Vec2f& posA, const Vec2f& velA, float radA, const Vec2f& posB, const Vec2f& velB, float radB)
{
    const Vec2f rel = posA - posB;
    const Vec2f dv = velA - velB;
    const double R = double(radA) + double(radB);
    // The line of relative motion through rel.
    const double a = -double(dv.y);
    const double b = double(dv.x);
    const double c = -(a * rel.x + b * rel.y);

    Point2d q[2];
    const int count = IntersectLineCircle(R, a, b, c, q[0], q[1]);
    const double dvdv = double(dv.x) * dv.x + double(dv.y) * dv.y;
    double s[2];
    bool valid[2] = {false, false};
    for (int i = 0; i < count; ++i) {
        s[i] = ((q[i].x - rel.x) * dv.x + (q[i].y - rel.y) * dv.y) / dvdv;
        valid[i] = s[i] >= 0 && s[i] <= 1;
    }
    // A non-number (no relative motion) is never valid.
    if (valid[0] && valid[1]) return float(s[0] < s[1] ? s[0] : s[1]);
    if (valid[0]) return float(s[0]);
    if (valid[1]) return float(s[1]);
    return 1.0f;
}

bool SweepAgainstLinedef(const DiscSweep& sweep, float radius, const Segment2f& segment, float& t)
{
    const Vec2f u = Normalised(segment.extent);
    const Vec2f n(u.y, -u.x);
    const Vec2f off = n * radius;
    float t1 = 0.0f;
    float t2 = 0.0f;
    const bool hit1 = IntersectSegments(sweep, Segment2f(segment.origin + off, segment.extent), t1);
    const bool hit2 = IntersectSegments(sweep, Segment2f(segment.origin - off, segment.extent), t2);
    if (hit1 && hit2) {
        t = t1 < t2 ? t1 : t2;
    } else if (hit1) {
        t = t1;
    } else if (hit2) {
        t = t2;
    } else {
        t = FLT_MAX;
        return false;
    }
    return true;
}

Vertex* FindVertexHit(const MapArea& map, const DiscSweep& sweep, float radius, float& fraction)
{
    fraction = FLT_MAX;
    Vertex* result = nullptr;
    const float reach = radius * radius;
    for (Vertex* vertex : map.GetVertexes()) {
        // The cheap test first: does the centre's path pass within one radius at all? When it does,
        // the answer 1.0 for "no contact within the sweep" still counts as a hit at 1.0.
        if (!(DistanceSquaredToSweep(sweep, vertex->position) <= reach)) continue;
        const float s = TimeOfImpact(sweep.start, sweep.displacement, radius, vertex->position, Vec2f(0, 0), 0.0f);
        if (s < fraction) {
            fraction = s;
            result = vertex;
        }
    }
    return result;
}

Linedef* FindLinedefHit(const MapArea& map, const DiscSweep& sweep, float radius, float& fraction)
{
    fraction = FLT_MAX;
    Linedef* result = nullptr;
    for (Linedef* linedef : map.GetLinedefs()) {
        const Vec2f& start = linedef->start->position;
        const Segment2f segment(start, linedef->end->position - start);
        float t = 0.0f;
        if (SweepAgainstLinedef(sweep, radius, segment, t) && t < fraction) {
            fraction = t;
            result = linedef;
        }
    }
    return result;
}

void FindTouchedItems(const PlayField& map, const Vec2f& start, float radius, const Vec2f& displacement,
                      std::vector<MapItem*>& list)
{
    list.clear();
    const DiscSweep sweep(start, displacement);
    for (MapItem* item : map.items) {
        const float reach = radius + item->radius;
        if (DistanceSquaredToSweep(sweep, item->position) < reach * reach) list.push_back(item);
    }
}
