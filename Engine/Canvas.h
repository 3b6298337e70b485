// A floating-point RGBA picture to paint into, with a few anti-aliased shapes: the maps'
// backgrounds (which the program paints itself) and the data generators' pictures. Rows run
// top-down here; a TGA file stores them bottom-up. Colours are straight (not premultiplied)
// alpha, 0 ... 1. Only plain float arithmetic and correctly rounded square roots, so a picture
// comes out the same to the byte on every system and build.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

struct Rgba {
    float r = 0.0f, g = 0.0f, b = 0.0f, a = 1.0f;

    Rgba() = default;
    Rgba(float r_, float g_, float b_, float a_ = 1.0f) : r(r_), g(g_), b(b_), a(a_) {}
    // From 0 ... 255 bytes.
    static Rgba Bytes(int r, int g, int b, int a = 255)
    {
        return Rgba(float(r) / 255.0f, float(g) / 255.0f, float(b) / 255.0f, float(a) / 255.0f);
    }
    Rgba WithAlpha(float alpha) const { return Rgba(r, g, b, alpha); }
};

Rgba Mix(const Rgba& a, const Rgba& b, float t);

struct Point {
    float x = 0.0f, y = 0.0f;
};

// Signed distance from a pixel-centre point to a shape's edge: negative inside.
typedef std::function<float(float x, float y)> DistanceField;

class Canvas {
public:
    Canvas(int width, int height, const Rgba& fill = Rgba(0, 0, 0, 0));

    int Width() const { return _width; }
    int Height() const { return _height; }
    Rgba& At(int x, int y) { return _pixels[size_t(y) * _width + x]; }
    const Rgba& At(int x, int y) const { return _pixels[size_t(y) * _width + x]; }

    // Source-over and additive compositing of one colour with a coverage of 0 ... 1.
    void Blend(int x, int y, const Rgba& colour, float coverage);
    void Add(int x, int y, const Rgba& colour, float coverage);

    // Paints a shape given by its distance field over the pixels of a bounding box, with one
    // pixel of anti-aliasing. colourAt gives the colour at each pixel centre.
    void FillShape(float x0, float y0, float x1, float y1, const DistanceField& distance,
                   const std::function<Rgba(float x, float y)>& colourAt, bool additive = false);
    void FillShape(float x0, float y0, float x1, float y1, const DistanceField& distance, const Rgba& colour,
                   bool additive = false);

    void FillDisc(float cx, float cy, float radius, const Rgba& colour);
    void StrokeCircle(float cx, float cy, float radius, float width, const Rgba& colour);
    // A segment with round ends, halfWidth to each side of the line from a to b.
    void FillCapsule(Point a, Point b, float halfWidth, const Rgba& colour, bool additive = false);
    void FillRoundRect(float x0, float y0, float x1, float y1, float radius, const Rgba& colour);
    void StrokeRoundRect(float x0, float y0, float x1, float y1, float radius, float width, const Rgba& colour);
    void FillPolygon(const std::vector<Point>& points, const Rgba& colour, bool additive = false);
    // A soft round light: alpha falls off as a Gaussian of the distance from the centre.
    void Glow(float cx, float cy, float radius, const Rgba& colour, bool additive = true);

    // Every pixel from the function of its centre (backgrounds, gradients).
    void Paint(const std::function<Rgba(float x, float y)>& colourAt);
    // Composites another canvas of any size over this one with its top-left corner at (x, y).
    void Draw(const Canvas& layer, int x, int y, bool additive = false);
    // Three box blurs approximate a Gaussian of about the given radius (glows and shadows).
    void Blur(int radius);

private:
    int _width;
    int _height;
    std::vector<Rgba> _pixels;
};

// Distance fields of the basic shapes, for FillShape and for combining.
float DiscDistance(float x, float y, float cx, float cy, float radius);
float SegmentDistance(float x, float y, Point a, Point b);
float RoundRectDistance(float x, float y, float x0, float y0, float x1, float y1, float radius);
float PolygonDistance(float x, float y, const std::vector<Point>& points);

// The length of (x, y), rounded once from double precision.
float Length(float x, float y);
// The usual smooth step from 0 at edge0 to 1 at edge1.
float SmoothStep(float edge0, float edge1, float x);
float Clamp01(float v);

// A picture channel as a byte: rounded, clamped.
uint8_t ChannelByte(float value);

// The canvas as an uncompressed true-colour TGA file that Image reads: the 12-byte primer
// 00 00 02 00 ..., width, height, depth 24 or 32, rows bottom-up (the canvas's last row first),
// pixels B, G, R (, A). A 24-bit picture is the canvas over black.
std::vector<uint8_t> EncodeTga(const Canvas& canvas, bool withAlpha);
