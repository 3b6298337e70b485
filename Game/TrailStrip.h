// The shot trail as it is drawn: the trail's points less those that add nothing one can see,
// each with its place in the whole trail, on which its colour depends. It follows the trail a
// frame at a time, looking only at the points added since.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "Engine/Rect2f.h"
#include "Engine/Vector.h"

class TrailStrip {
public:
    // A point closer than this (map units, which are pixels) to the last one kept is left out,
    // unless the point after it moves off: then it ends a cluster and is kept, so the strip
    // leaves the cluster from the same place, in the same colour, as the whole trail does.
    static constexpr float MIN_SPACING = 0.25f;
    // Colours stop changing this many points back from the newest.
    static constexpr int32_t FADING_POINTS = 400;

    struct Point {
        Vec2f position;
        int32_t index;  // in the whole trail, from the oldest
    };

    // Follows the trail: the new points only, or from the start when it was emptied or replaced.
    // Returns false in the second case.
    bool Update(const std::vector<Vec2f>& trail);

    int32_t GetTotal() const { return _total; }
    // How many times the strip started again from an emptied or replaced trail.
    int32_t GetRestarts() const { return _restarts; }
    // The points drawn: those kept, and always the newest.
    std::vector<Point> GetDrawnPoints() const;
    size_t GetKeptCount() const { return _kept.size(); }

    // The boxes (map units) of the segments whose colour or shape differs from the strip drawn
    // when the trail had previousTotal points, a box for each run of pointsPerBox points from
    // the newest end back; none when nothing differs.
    void ChangedBoxes(int32_t previousTotal, int32_t pointsPerBox, std::vector<Rect2f>& boxes) const;

    // The strip from the oldest point to the newest, coloured by each point's place from the
    // newest end; with a clip box only the segments that reach into it.
    void Draw(const Rect2f* clip) const;

private:
    void _Take(const Vec2f& point);
    const Point* _Newest() const { return _hasPending ? &_pending : (_kept.empty() ? nullptr : &_kept.back()); }

    std::vector<Point> _kept;
    Point _pending = {};  // the newest point, kept or not once the next one shows
    bool _hasPending = false;
    int32_t _total = 0;
    int32_t _restarts = 0;
    Vec2f _first;
};
