// The collision tests of the ball physics: when a moving disc first touches a point or a
// linedef of the map, and which items its path comes near. Float arithmetic evaluated as written,
// double precision only inside TimeOfImpact and IntersectLineCircle.
#pragma once

#include <cstdint>
#include <vector>

#include "Engine/Segment2f.h"
#include "Engine/Vector.h"
#include "Game/Geometry.h"

class Linedef;
class MapArea;
class MapItem;
class PlayField;
class Vertex;

// What a bounce reflects off: a line through point along direction.
struct ContactLine {
    Vec2f point;
    Vec2f direction;
};

struct Point2d {
    double x = 0.0;
    double y = 0.0;
};

// Each component divided by the length; a zero vector stays as it is.
Vec2f Normalised(const Vec2f& v);

// The first moment within [0, 1] at which the two moving circles touch; 1.0 when they do not.
// A disc that starts inside reports the moment it would leave.
float TimeOfImpact(const Vec2f& posA, const Vec2f& velA, float radA, const Vec2f& posB, const Vec2f& velB, float radB);

// The points where the line a·x + b·y + c = 0 meets the circle of radius R about the origin:
// 0, 1 or 2 of them, in out1 then out2.
int IntersectLineCircle(double R, double a, double b, double c, Point2d& out1, Point2d& out2);

// The sweep against the linedef moved one radius to either side; the earlier crossing's fraction
// goes to t (the largest float and false when neither side is crossed). The rounded ends are the
// vertexes' business.
bool SweepAgainstLinedef(const DiscSweep& sweep, float radius, const Segment2f& segment, float& t);

// The earliest vertex or linedef the swept disc touches, with its fraction of the sweep (the
// largest float and null for none). Ties keep the earlier element in map order.
Vertex* FindVertexHit(const MapArea& map, const DiscSweep& sweep, float radius, float& fraction);
Linedef* FindLinedefHit(const MapArea& map, const DiscSweep& sweep, float radius, float& fraction);

// Every item, in map order, whose centre comes closer than radius + its own radius to the path
// from start over displacement.
void FindTouchedItems(const PlayField& map, const Vec2f& start, float radius, const Vec2f& displacement,
                      std::vector<MapItem*>& list);
