#include "Art.h"

#include <algorithm>
#include <cmath>

const float PI = 3.14159265f;

std::vector<Point> Star(float cx, float cy, int points, float outer, float inner, float xScale)
{
    std::vector<Point> star;
    for (int i = 0; i < points * 2; ++i) {
        const float angle = -PI / 2.0f + PI * float(i) / float(points);
        const float r = (i % 2 == 0) ? outer : inner;
        star.push_back({cx + std::cos(angle) * r * xScale, cy + std::sin(angle) * r});
    }
    return star;
}

void Twinkle(Canvas& canvas, float cx, float cy, float size, float strength)
{
    if (strength <= 0.0f) return;
    const Rgba light(1.0f, 1.0f, 0.95f, strength);
    canvas.FillPolygon(Star(cx, cy, 4, size, size * 0.18f), light, true);
    canvas.Glow(cx, cy, size * 0.35f, light.WithAlpha(strength * 0.8f));
}

void PaintPinwheelBall(Canvas& canvas, float cx, float cy, float radius)
{
    const Rgba cream = Rgba::Bytes(250, 240, 220), coral = Rgba::Bytes(240, 90, 60), rim = Rgba::Bytes(60, 30, 40);
    const Rgba hubColour = Rgba::Bytes(255, 210, 80);
    const float unit = radius / 12.0f;  // the shapes are tuned for the game's radius of 12
    canvas.FillShape(
        cx - radius, cy - radius, cx + radius, cy + radius,
        [=](float x, float y) { return DiscDistance(x, y, cx, cy, radius); },
        [=](float x, float y) {
            const float dx = x - cx, dy = y - cy, r = std::hypot(dx, dy) / unit;
            // The blade edge curls with the radius: a swirl rather than straight sectors.
            const float blade = std::atan2(dy, dx) + r * 0.11f;
            const float side = std::sin(blade * 2.0f);
            Rgba base = Mix(coral, cream, SmoothStep(-0.18f, 0.18f, side));
            const float shade = 1.0f - 0.35f * SmoothStep(7.0f, 12.0f, r);
            base = Rgba(base.r * shade, base.g * shade, base.b * shade);
            const Rgba edged = Mix(base, rim, SmoothStep(10.6f, 11.8f, r) * 0.8f);
            return Mix(edged, hubColour, SmoothStep(3.2f, 2.2f, r));
        });
}

void PaintTrail(Canvas& canvas, const std::vector<Point>& points, float halfWidth, float pointsPerGamePoint)
{
    // Neighbouring pieces overlap at their joints; taking the stronger of the two there
    // instead of blending both keeps the translucent old end from looking beaded.
    Canvas layer(canvas.Width(), canvas.Height());
    const size_t count = points.size();
    for (size_t k = 1; k < count; ++k) {
        // The game counts down from the newest point: i = count at the oldest, 1 at the newest.
        const float i = float(count - k) / pointsPerGamePoint;
        const float a = Clamp01(i * 0.006666667f), b = Clamp01(i * 0.0025f);
        const Rgba colour(1.0f - 0.5f * b, 1.0f - 0.8f * a, 1.0f, 1.0f - 0.6f * b);
        const Point p = points[k - 1], q = points[k];
        const int x0 = std::max(0, int(std::min(p.x, q.x) - halfWidth) - 1);
        const int x1 = std::min(canvas.Width() - 1, int(std::max(p.x, q.x) + halfWidth) + 1);
        const int y0 = std::max(0, int(std::min(p.y, q.y) - halfWidth) - 1);
        const int y1 = std::min(canvas.Height() - 1, int(std::max(p.y, q.y) + halfWidth) + 1);
        for (int y = y0; y <= y1; ++y) {
            for (int x = x0; x <= x1; ++x) {
                const float alpha = colour.a * Clamp01(halfWidth + 0.5f - SegmentDistance(x + 0.5f, y + 0.5f, p, q));
                if (alpha > layer.At(x, y).a) layer.At(x, y) = colour.WithAlpha(alpha);
            }
        }
    }
    canvas.Draw(layer, 0, 0);
}
