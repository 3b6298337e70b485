#include "Engine/Canvas.h"

#include <algorithm>
#include <cmath>

// No number counts as 0: a shape far outside the picture can give one.
float Clamp01(float v)
{
    return v > 0.0f ? (v < 1.0f ? v : 1.0f) : 0.0f;
}

// The same as the C library's float hypot on the systems we build on, but the same everywhere.
float Length(float x, float y)
{
    return float(std::sqrt(double(x) * x + double(y) * y));
}

float SmoothStep(float edge0, float edge1, float x)
{
    const float t = Clamp01((x - edge0) / (edge1 - edge0));
    return t * t * (3.0f - 2.0f * t);
}

Rgba Mix(const Rgba& a, const Rgba& b, float t)
{
    return Rgba(a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t);
}

Canvas::Canvas(int width, int height, const Rgba& fill)
    : _width(width), _height(height), _pixels(size_t(width) * height, fill)
{}

void Canvas::Blend(int x, int y, const Rgba& colour, float coverage)
{
    if (x < 0 || y < 0 || x >= _width || y >= _height) return;
    const float sa = Clamp01(colour.a * coverage);
    if (sa <= 0.0f) return;
    Rgba& d = At(x, y);
    const float outA = sa + d.a * (1.0f - sa);
    if (outA <= 0.0f) return;
    const float keep = d.a * (1.0f - sa);
    d.r = (colour.r * sa + d.r * keep) / outA;
    d.g = (colour.g * sa + d.g * keep) / outA;
    d.b = (colour.b * sa + d.b * keep) / outA;
    d.a = outA;
}

void Canvas::Add(int x, int y, const Rgba& colour, float coverage)
{
    if (x < 0 || y < 0 || x >= _width || y >= _height) return;
    const float k = Clamp01(colour.a * coverage);
    Rgba& d = At(x, y);
    // Light adds to what is there; on a transparent pixel it also makes the pixel visible.
    const float outA = (std::min)(1.0f, d.a + k);
    if (outA <= 0.0f) return;
    d.r = (std::min)(1.0f, (d.r * d.a + colour.r * k) / outA);
    d.g = (std::min)(1.0f, (d.g * d.a + colour.g * k) / outA);
    d.b = (std::min)(1.0f, (d.b * d.a + colour.b * k) / outA);
    d.a = outA;
}

// A shape's bound as a pixel column or row between lowest and highest. A map's points may lie far
// outside the picture, or be no number at all, where converting them to int would overflow.
static int PixelBound(float value, int lowest, int highest)
{
    if (!(value > float(lowest))) return lowest;
    if (value >= float(highest)) return highest;
    return int(value);
}

void Canvas::FillShape(float x0, float y0, float x1, float y1, const DistanceField& distance,
                       const std::function<Rgba(float x, float y)>& colourAt, bool additive)
{
    const int ix0 = PixelBound(std::floor(x0) - 1.0f, 0, _width);
    const int iy0 = PixelBound(std::floor(y0) - 1.0f, 0, _height);
    const int ix1 = PixelBound(std::ceil(x1) + 1.0f, -1, _width - 1);
    const int iy1 = PixelBound(std::ceil(y1) + 1.0f, -1, _height - 1);
    for (int y = iy0; y <= iy1; ++y) {
        for (int x = ix0; x <= ix1; ++x) {
            const float px = float(x) + 0.5f, py = float(y) + 0.5f;
            const float coverage = Clamp01(0.5f - distance(px, py));
            if (coverage <= 0.0f) continue;
            if (additive)
                Add(x, y, colourAt(px, py), coverage);
            else
                Blend(x, y, colourAt(px, py), coverage);
        }
    }
}

void Canvas::FillShape(float x0, float y0, float x1, float y1, const DistanceField& distance, const Rgba& colour,
                       bool additive)
{
    FillShape(
        x0, y0, x1, y1, distance, [&](float, float) { return colour; }, additive);
}

float DiscDistance(float x, float y, float cx, float cy, float radius)
{
    return Length(x - cx, y - cy) - radius;
}

float SegmentDistance(float x, float y, Point a, Point b)
{
    const float ex = b.x - a.x, ey = b.y - a.y;
    const float lengthSquared = ex * ex + ey * ey;
    float t = lengthSquared > 0.0f ? ((x - a.x) * ex + (y - a.y) * ey) / lengthSquared : 0.0f;
    t = Clamp01(t);
    return Length(x - (a.x + ex * t), y - (a.y + ey * t));
}

float RoundRectDistance(float x, float y, float x0, float y0, float x1, float y1, float radius)
{
    const float cx = (x0 + x1) * 0.5f, cy = (y0 + y1) * 0.5f;
    const float hx = (x1 - x0) * 0.5f - radius, hy = (y1 - y0) * 0.5f - radius;
    const float qx = std::fabs(x - cx) - hx, qy = std::fabs(y - cy) - hy;
    const float outside = Length((std::max)(qx, 0.0f), (std::max)(qy, 0.0f));
    return outside + (std::min)((std::max)(qx, qy), 0.0f) - radius;
}

float PolygonDistance(float x, float y, const std::vector<Point>& points)
{
    float best = 1e30f;
    bool inside = false;
    for (size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
        const Point& a = points[j];
        const Point& b = points[i];
        best = (std::min)(best, SegmentDistance(x, y, a, b));
        if ((b.y > y) != (a.y > y) && x < (a.x - b.x) * (y - b.y) / (a.y - b.y) + b.x) inside = !inside;
    }
    return inside ? -best : best;
}

void Canvas::FillDisc(float cx, float cy, float radius, const Rgba& colour)
{
    FillShape(
        cx - radius, cy - radius, cx + radius, cy + radius,
        [=](float x, float y) { return DiscDistance(x, y, cx, cy, radius); }, colour);
}

void Canvas::StrokeCircle(float cx, float cy, float radius, float width, const Rgba& colour)
{
    const float outer = radius + width * 0.5f;
    FillShape(
        cx - outer, cy - outer, cx + outer, cy + outer,
        [=](float x, float y) { return std::fabs(DiscDistance(x, y, cx, cy, radius)) - width * 0.5f; }, colour);
}

void Canvas::FillCapsule(Point a, Point b, float halfWidth, const Rgba& colour, bool additive)
{
    FillShape((std::min)(a.x, b.x) - halfWidth, (std::min)(a.y, b.y) - halfWidth, (std::max)(a.x, b.x) + halfWidth,
              (std::max)(a.y, b.y) + halfWidth,
              [=](float x, float y) { return SegmentDistance(x, y, a, b) - halfWidth; }, colour, additive);
}

void Canvas::FillRoundRect(float x0, float y0, float x1, float y1, float radius, const Rgba& colour)
{
    FillShape(
        x0, y0, x1, y1, [=](float x, float y) { return RoundRectDistance(x, y, x0, y0, x1, y1, radius); }, colour);
}

void Canvas::StrokeRoundRect(float x0, float y0, float x1, float y1, float radius, float width, const Rgba& colour)
{
    const float h = width * 0.5f;
    FillShape(
        x0 - h, y0 - h, x1 + h, y1 + h,
        [=](float x, float y) { return std::fabs(RoundRectDistance(x, y, x0, y0, x1, y1, radius)) - h; }, colour);
}

void Canvas::FillPolygon(const std::vector<Point>& points, const Rgba& colour, bool additive)
{
    float x0 = 1e30f, y0 = 1e30f, x1 = -1e30f, y1 = -1e30f;
    for (const Point& p : points) {
        x0 = (std::min)(x0, p.x);
        y0 = (std::min)(y0, p.y);
        x1 = (std::max)(x1, p.x);
        y1 = (std::max)(y1, p.y);
    }
    FillShape(
        x0, y0, x1, y1, [&](float x, float y) { return PolygonDistance(x, y, points); }, colour, additive);
}

void Canvas::Glow(float cx, float cy, float radius, const Rgba& colour, bool additive)
{
    const int reach = int(std::ceil(radius * 3.0f));
    for (int y = (std::max)(0, int(cy) - reach); y <= (std::min)(_height - 1, int(cy) + reach); ++y) {
        for (int x = (std::max)(0, int(cx) - reach); x <= (std::min)(_width - 1, int(cx) + reach); ++x) {
            const float dx = (float(x) + 0.5f - cx) / radius, dy = (float(y) + 0.5f - cy) / radius;
            const float k = std::exp(-(dx * dx + dy * dy));
            if (additive)
                Add(x, y, colour, k);
            else
                Blend(x, y, colour, k);
        }
    }
}

void Canvas::Paint(const std::function<Rgba(float x, float y)>& colourAt)
{
    for (int y = 0; y < _height; ++y)
        for (int x = 0; x < _width; ++x) At(x, y) = colourAt(float(x) + 0.5f, float(y) + 0.5f);
}

void Canvas::Draw(const Canvas& layer, int x, int y, bool additive)
{
    for (int ly = 0; ly < layer.Height(); ++ly) {
        for (int lx = 0; lx < layer.Width(); ++lx) {
            const Rgba& c = layer.At(lx, ly);
            if (c.a <= 0.0f) continue;
            if (additive)
                Add(x + lx, y + ly, c, 1.0f);
            else
                Blend(x + lx, y + ly, c, 1.0f);
        }
    }
}

// One horizontal or vertical running-mean pass over premultiplied colour, clamped at the edges.
static void BoxPass(std::vector<Rgba>& pixels, int width, int height, int radius, bool horizontal)
{
    const int lines = horizontal ? height : width;
    const int length = horizontal ? width : height;
    const size_t step = horizontal ? 1 : size_t(width);
    std::vector<Rgba> line(static_cast<size_t>(length));
    const float scale = 1.0f / float(2 * radius + 1);
    for (int l = 0; l < lines; ++l) {
        Rgba* first = horizontal ? &pixels[size_t(l) * width] : &pixels[size_t(l)];
        for (int i = 0; i < length; ++i) line[size_t(i)] = first[size_t(i) * step];
        auto clamped = [&](int i) -> const Rgba& { return line[size_t((std::min)(length - 1, (std::max)(0, i)))]; };
        Rgba sum(0, 0, 0, 0);
        for (int k = -radius; k <= radius; ++k) {
            const Rgba& c = clamped(k);
            sum = Rgba(sum.r + c.r, sum.g + c.g, sum.b + c.b, sum.a + c.a);
        }
        for (int i = 0; i < length; ++i) {
            first[size_t(i) * step] = Rgba(sum.r * scale, sum.g * scale, sum.b * scale, sum.a * scale);
            const Rgba& in = clamped(i + radius + 1);
            const Rgba& out = clamped(i - radius);
            sum = Rgba(sum.r + in.r - out.r, sum.g + in.g - out.g, sum.b + in.b - out.b, sum.a + in.a - out.a);
        }
    }
}

void Canvas::Blur(int radius)
{
    if (radius <= 0) return;
    // Blurring straight alpha would bleed the colour of transparent pixels in: premultiply first.
    for (Rgba& c : _pixels) c = Rgba(c.r * c.a, c.g * c.a, c.b * c.a, c.a);
    const int passRadius = (std::max)(1, radius / 2);
    for (int pass = 0; pass < 3; ++pass) {
        BoxPass(_pixels, _width, _height, passRadius, true);
        BoxPass(_pixels, _width, _height, passRadius, false);
    }
    for (Rgba& c : _pixels) {
        if (c.a > 0.0f) c = Rgba(c.r / c.a, c.g / c.a, c.b / c.a, c.a);
    }
}

uint8_t ChannelByte(float value)
{
    return uint8_t(std::lround(Clamp01(value) * 255.0f));
}

static void PutU16(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

std::vector<uint8_t> EncodeTga(const Canvas& canvas, bool withAlpha)
{
    std::vector<uint8_t> bytes = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    bytes.reserve(18 + size_t(canvas.Width()) * canvas.Height() * (withAlpha ? 4 : 3));
    PutU16(bytes, uint32_t(canvas.Width()));
    PutU16(bytes, uint32_t(canvas.Height()));
    bytes.push_back(withAlpha ? 32 : 24);
    // Alpha bits only; the origin bits stay 0 (bottom-left), which is how the rows are stored.
    bytes.push_back(withAlpha ? 8 : 0);
    for (int y = canvas.Height() - 1; y >= 0; --y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            const Rgba& c = canvas.At(x, y);
            if (withAlpha) {
                bytes.push_back(ChannelByte(c.b));
                bytes.push_back(ChannelByte(c.g));
                bytes.push_back(ChannelByte(c.r));
                bytes.push_back(ChannelByte(c.a));
            } else {
                bytes.push_back(ChannelByte(c.b * c.a));
                bytes.push_back(ChannelByte(c.g * c.a));
                bytes.push_back(ChannelByte(c.r * c.a));
            }
        }
    }
    return bytes;
}
