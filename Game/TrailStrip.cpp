#include "Game/TrailStrip.h"

#include <windows.h>
#include <GL/gl.h>

#include <algorithm>

// The trail's colours by i, the count of points back from the newest end (1 at the newest,
// nearly opaque white): green falls by GREEN_FADE over the newest 150 points, red and opacity by
// RED_FADE and ALPHA_FADE over the newest 400 (FADING_POINTS); older points stay (0.5, 0.2, 1, 0.4).
constexpr float GREEN_FADE_PER_POINT = 0.006666667f;
constexpr float RED_AND_ALPHA_FADE_PER_POINT = 0.0025f;
constexpr float RED_FADE = 0.5f;
constexpr float GREEN_FADE = 0.8f;
constexpr float ALPHA_FADE = 0.6f;

namespace {

float Clamp01(float value)
{
    if (value < 0.0f) return 0.0f;
    if (value > 1.0f) return 1.0f;
    return value;
}

float DistanceSquared(const Vec2f& a, const Vec2f& b)
{
    const Vec2f d = a - b;
    return d.x * d.x + d.y * d.y;
}

void Vertex(const TrailStrip::Point& point, int32_t total)
{
    const float i = float(total - point.index);
    const float a = Clamp01(i * GREEN_FADE_PER_POINT);
    const float b = Clamp01(i * RED_AND_ALPHA_FADE_PER_POINT);
    glColor4f(1.0f - RED_FADE * b, 1.0f - GREEN_FADE * a, 1.0f, 1.0f - ALPHA_FADE * b);
    glVertex2f(point.position.x, point.position.y);
}

// Half the line's width and a pixel for rounding.
const float SEGMENT_MARGIN = 2.0f;

bool Reaches(const Vec2f& a, const Vec2f& b, const Rect2f& clip)
{
    return (std::max)(a.x, b.x) + SEGMENT_MARGIN >= clip.minX && (std::min)(a.x, b.x) - SEGMENT_MARGIN <= clip.maxX &&
           (std::max)(a.y, b.y) + SEGMENT_MARGIN >= clip.minY && (std::min)(a.y, b.y) - SEGMENT_MARGIN <= clip.maxY;
}

}  // namespace

bool TrailStrip::Update(const std::vector<Vec2f>& trail)
{
    const Point* newest = _Newest();
    const bool follows = _total > 0 && trail.size() >= size_t(_total) && trail[0] == _first && newest != nullptr &&
                         trail[size_t(_total) - 1] == newest->position;
    if (!follows && (_total > 0 || !trail.empty())) {
        ++_restarts;
        _kept.clear();
        _hasPending = false;
        _total = 0;
        if (!trail.empty()) _first = trail[0];
    }
    for (size_t k = size_t(_total); k < trail.size(); ++k) _Take(trail[k]);
    return follows || trail.empty();
}

void TrailStrip::_Take(const Vec2f& point)
{
    const Point taken = {point, _total++};
    if (_kept.empty()) {
        _kept.push_back(taken);
        return;
    }
    if (_hasPending) {
        const float spacing = MIN_SPACING * MIN_SPACING;
        if (DistanceSquared(_pending.position, _kept.back().position) >= spacing ||
            DistanceSquared(point, _pending.position) >= spacing)
            _kept.push_back(_pending);
    }
    _pending = taken;
    _hasPending = true;
}

std::vector<TrailStrip::Point> TrailStrip::GetDrawnPoints() const
{
    std::vector<Point> points = _kept;
    if (_hasPending) points.push_back(_pending);
    return points;
}

void TrailStrip::ChangedBoxes(int32_t previousTotal, int32_t pointsPerBox, std::vector<Rect2f>& boxes) const
{
    if (previousTotal == _total) return;
    const int32_t firstChanged = previousTotal - FADING_POINTS;
    Rect2f box;
    int32_t inBox = 0;
    auto include = [&](const Point& point) {
        const Vec2f& p = point.position;
        if (inBox == 0) {
            box = Rect2f(p.x, p.y, p.x, p.y);
        } else {
            box = Rect2f((std::min)(box.minX, p.x), (std::min)(box.minY, p.y), (std::max)(box.maxX, p.x),
                         (std::max)(box.maxY, p.y));
        }
        // A full box is closed, and its last point starts the next one: they share that segment's end.
        if (++inBox == pointsPerBox) {
            boxes.push_back(box);
            box = Rect2f(p.x, p.y, p.x, p.y);
            inBox = 1;
        }
    };
    if (_hasPending) include(_pending);
    // Back from the newest end to the last point whose colour changed, and the one before it,
    // where the first changed segment starts.
    for (size_t n = _kept.size(); n-- > 0;) {
        include(_kept[n]);
        if (_kept[n].index <= firstChanged) break;
    }
    if (inBox > 1 || boxes.empty()) boxes.push_back(box);
}

void TrailStrip::Draw(const Rect2f* clip) const
{
    const size_t count = _kept.size() + (_hasPending ? 1 : 0);
    if (_total < 2 || count < 2) return;
    auto point = [this](size_t n) -> const Point& { return n < _kept.size() ? _kept[n] : _pending; };
    if (clip == nullptr) {
        glBegin(GL_LINE_STRIP);
        for (size_t n = 0; n < count; ++n) Vertex(point(n), _total);
        glEnd();
        return;
    }
    // Runs of segments that reach into the clip box, each its own strip.
    const auto& points = point;
    bool open = false;
    for (size_t n = 1; n < count; ++n) {
        if (!Reaches(points(n - 1).position, points(n).position, *clip)) {
            if (open) glEnd();
            open = false;
            continue;
        }
        if (!open) {
            glBegin(GL_LINE_STRIP);
            Vertex(points(n - 1), _total);
            open = true;
        }
        Vertex(points(n), _total);
    }
    if (open) glEnd();
}
