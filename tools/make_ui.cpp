// Makes the pictures of the user interface: the title, the panel beside the play field,
// the map-complete picture, and the editor's test underlay.
//
//   make_ui ROOT    writes ROOT/data/ui/titlescreen.tga, ui_base01.tga,
//                   map_complete_success.tga and ROOT/data/UnderlayTest.tga
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "assetkit/Art.h"
#include "Engine/Canvas.h"
#include "assetkit/DataFiles.h"
#include "assetkit/Font.h"

static const std::string BOLD = FontPath("DejaVuSans-Bold.ttf");
static const std::string REGULAR = FontPath("DejaVuSans.ttf");
static const std::string CONDENSED_BOLD = FontPath("DejaVuSansCondensed-Bold.ttf");

// The same pseudo-random sequence on every machine (std's distributions are not portable).
class Random {
public:
    explicit Random(uint32_t seed) : _state(seed) {}
    float Next()
    {
        _state = _state * 1664525u + 1013904223u;
        return float(_state >> 8) / 16777216.0f;
    }

private:
    uint32_t _state;
};

// Light text with a soft dark shadow under it, for titles over busy backgrounds.
static void ShadowedText(Canvas& canvas, const Font& font, float x, float baseline, const std::string& text,
                         const std::function<Rgba(float, float)>& colourAt, int blur, float shadowAlpha)
{
    Canvas shadow(canvas.Width(), canvas.Height());
    font.Draw(shadow, x + 3.0f, baseline + 5.0f, text, Rgba(0.0f, 0.0f, 0.02f, shadowAlpha));
    shadow.Blur(blur);
    canvas.Draw(shadow, 0, 0);
    font.Draw(canvas, x, baseline, text, colourAt);
}

// A night-blue field that darkens to black at the edges, so the picture melts into the
// black window around it.
static Rgba Vignetted(float x, float y, float width, float height, const Rgba& centre, const Rgba& edge)
{
    const float dx = (x / width - 0.5f) * 2.0f, dy = (y / height - 0.5f) * 2.0f;
    const float r = std::sqrt(dx * dx * 0.8f + dy * dy);
    const Rgba field = Mix(centre, edge, SmoothStep(0.0f, 1.0f, r));
    const float fade = 1.0f - SmoothStep(0.82f, 1.0f, std::max(std::fabs(dx), std::fabs(dy)));
    return Rgba(field.r * fade, field.g * fade, field.b * fade);
}

static Canvas VignettedField(int width, int height, const Rgba& centre, const Rgba& edge)
{
    Canvas canvas(width, height);
    canvas.Paint([&](float x, float y) { return Vignetted(x, y, float(width), float(height), centre, edge); });
    return canvas;
}

// Calls place at `count` points spread over the rectangle, the same points on every run.
static void Scatter(uint32_t seed, int count, float x0, float y0, float width, float height,
                    const std::function<void(float x, float y, Random& random)>& place)
{
    Random random(seed);
    for (int i = 0; i < count; ++i) {
        const float x = x0 + random.Next() * width, y = y0 + random.Next() * height;
        place(x, y, random);
    }
}

// A big heading centred on the picture: a warm glow behind, a soft shadow, and a vertical
// gradient from `top` to `bottom` over the glyphs' rows. Returns its left end.
static float GlowingHeading(Canvas& canvas, const Font& font, float baseline, const std::string& text,
                            const Rgba& glowColour, const Rgba& top, const Rgba& bottom, int glowBlur)
{
    const float x = std::round(canvas.Width() * 0.5f - font.Measure(text) * 0.5f);
    Canvas glow(canvas.Width(), canvas.Height());
    font.Draw(glow, x, baseline, text, glowColour);
    glow.Blur(glowBlur);
    canvas.Draw(glow, 0, 0, true);
    const float gradientTop = baseline - float(font.Ascent()) * 0.8f;
    ShadowedText(
        canvas, font, x, baseline, text,
        [&](float, float y) { return Mix(top, bottom, SmoothStep(gradientTop, baseline + 5.0f, y)); }, glowBlur / 2,
        0.8f);
    return x;
}

// 1024 x 1024, drawn centred at (640, 480) in the 1280 x 1024 window: its top 32 rows lie above
// the window, so nothing there matters.
static Canvas TitleScreen()
{
    Canvas canvas = VignettedField(1024, 1024, Rgba::Bytes(34, 44, 92), Rgba::Bytes(8, 10, 24));
    // Pegs scattered over the field, as on a map.
    Scatter(20240611u, 70, 60.0f, 90.0f, 904.0f, 880.0f, [&](float x, float y, Random& random) {
        const float fade = Vignetted(x, y, 1024, 1024, Rgba(1, 1, 1), Rgba(0.3f, 0.3f, 0.3f)).r;
        canvas.FillDisc(x, y, 3.0f + random.Next() * 2.0f, Rgba(0.55f, 0.65f, 0.95f, 0.35f * fade));
    });
    // A shot: thrown up from the lower left behind the title, over it, and falling to the right.
    std::vector<Point> trail;
    const float vx = 265.0f, vy = -961.0f, gravity = 600.0f;
    float bx = 0.0f, by = 0.0f;
    for (int step = 0; step <= 285; ++step) {
        const float t = float(step) * 0.01f;
        bx = 90.0f + vx * t;
        by = 940.0f + vy * t + 0.5f * gravity * t * t;
        trail.push_back({bx, by});
    }
    PaintTrail(canvas, trail, 2.5f, 1.0f);
    canvas.Glow(bx, by, 34.0f, Rgba(1.0f, 0.8f, 0.6f, 0.35f));
    PaintPinwheelBall(canvas, bx, by, 24.0f);
    canvas.Glow(bx - 8.0f, by - 9.0f, 5.0f, Rgba(1.0f, 1.0f, 1.0f, 0.7f));

    const Font title(BOLD, 168);
    const float titleX = GlowingHeading(canvas, title, 470.0f, "Pinwhirl", Rgba(1.0f, 0.55f, 0.25f, 0.55f),
                                        Rgba::Bytes(255, 236, 150), Rgba::Bytes(240, 100, 60), 18);
    Twinkle(canvas, titleX + 28.0f, 352.0f, 22.0f, 0.9f);

    const Font subtitle(REGULAR, 30);
    subtitle.DrawCentred(canvas, 512.0f, 540.0f, "a physics puzzle", Rgba::Bytes(170, 185, 230));
    const Font prompt(BOLD, 34);
    const float promptWidth = prompt.Measure("press any key");
    prompt.DrawCentred(canvas, 512.0f, 850.0f, "press any key", Rgba::Bytes(235, 240, 255));
    for (float side : {-1.0f, 1.0f}) {
        const float x = 512.0f + side * (promptWidth * 0.5f + 28.0f);
        canvas.FillCapsule({x, 838.0f}, {x + side * 60.0f, 838.0f}, 1.2f, Rgba::Bytes(140, 155, 210, 180));
        canvas.FillDisc(x, 838.0f, 3.0f, Rgba::Bytes(235, 240, 255));
    }
    return canvas;
}

// Panel colours.
static const Rgba PANEL_LINE = Rgba::Bytes(120, 140, 190);
static const Rgba PANEL_LABEL = Rgba::Bytes(150, 170, 215);
static const Rgba PANEL_TEXT = Rgba::Bytes(200, 208, 230);
static const Rgba PANEL_WELL = Rgba::Bytes(10, 12, 22);

static int CharacterCount(const std::string& utf8)
{
    int count = 0;
    for (char c : utf8) count += (uint8_t(c) & 0xC0) != 0x80;
    return count;
}

// A key cap with its label centred on it.
static float KeyCap(Canvas& canvas, const Font& font, float x, float top, const std::string& label, float minWidth)
{
    const float width = std::max(minWidth, std::round(font.Measure(label)) + 16.0f);
    canvas.FillShape(
        x, top, x + width, top + 26,
        [=](float px, float py) { return RoundRectDistance(px, py, x, top, x + width, top + 26, 5); },
        [=](float, float py) {
            return Mix(Rgba::Bytes(70, 80, 115), Rgba::Bytes(40, 46, 70), SmoothStep(top, top + 26, py));
        });
    canvas.StrokeRoundRect(x + 0.5f, top + 0.5f, x + width - 0.5f, top + 25.5f, 5, 1.0f, PANEL_LINE);
    font.DrawCentred(canvas, x + width * 0.5f, top + 18.0f, label, Rgba::Bytes(240, 244, 255));
    return x + width;
}

// 256 x 1024 over the window's (1024, 0)-(1280, 1024): panel x = window x - 1024. The game draws
// the power bar into (1052, 364)-(1252, 404) and the numbers with their baselines starting at
// (1138, 384) and (1138, 478), in white, 16 pixels high.
static Canvas Panel()
{
    Canvas canvas(256, 1024);
    canvas.Paint([](float x, float y) {
        const Rgba base = Mix(Rgba::Bytes(30, 36, 58), Rgba::Bytes(16, 19, 33), y / 1024.0f);
        // A bevel along the edge that meets the play field.
        const float edge = 1.0f - SmoothStep(0.0f, 10.0f, x);
        return Mix(base, Rgba::Bytes(8, 9, 16), 0.6f * edge);
    });
    canvas.FillShape(
        0, 0, 3, 1024, [](float x, float) { return x - 2.0f; }, Rgba::Bytes(90, 105, 150));

    const Font heading(BOLD, 36);
    PaintPinwheelBall(canvas, 40.0f, 62.0f, 14.0f);
    heading.Draw(canvas, 64.0f, 75.0f, "Pinwhirl", [](float, float y) {
        return Mix(Rgba::Bytes(255, 236, 150), Rgba::Bytes(240, 110, 70), SmoothStep(45.0f, 78.0f, y));
    });
    canvas.FillShape(
        24, 108, 232, 110, [](float, float y) { return std::fabs(y - 109.0f) - 0.5f; }, PANEL_LINE.WithAlpha(0.5f));

    const Font label(CONDENSED_BOLD, 15);
    const Font small(REGULAR, 11);
    const Font text(REGULAR, 14);

    const char* hint[] = {"Set the angle and the power,", "then shoot with Space.", "Collect every prize on the",
                          "field to clear the map."};
    for (int line = 0; line < 4; ++line) text.Draw(canvas, 28.0f, 170.0f + 24.0f * float(line), hint[line], PANEL_TEXT);

    // Power: the bar's well with a frame just outside the bar, and a scale under it.
    label.Draw(canvas, 28.0f, 352.0f, "POWER", PANEL_LABEL);
    canvas.FillRoundRect(24, 360, 232, 408, 6, PANEL_WELL);
    canvas.StrokeRoundRect(23, 359, 233, 409, 7, 2.0f, PANEL_LINE);
    for (int percent = 0; percent <= 100; percent += 25) {
        const float x = 28.0f + 2.0f * percent;
        canvas.FillShape(
            x - 1, 412, x + 1, 418, [=](float px, float) { return std::fabs(px - x) - 0.5f; }, PANEL_LINE);
        if (percent % 50 == 0) small.DrawCentred(canvas, x, 431.0f, std::to_string(percent), PANEL_LABEL);
    }

    // Angle: a well for the number, and a dial that shows which way the degrees go.
    label.Draw(canvas, 28.0f, 478.0f, "ANGLE", PANEL_LABEL);
    canvas.FillRoundRect(104, 458, 164, 488, 6, PANEL_WELL);
    canvas.StrokeRoundRect(103, 457, 165, 489, 7, 2.0f, PANEL_LINE);
    small.Draw(canvas, 172.0f, 478.0f, "degrees", PANEL_LABEL);
    const float dialX = 128.0f, dialY = 590.0f, dialR = 52.0f;
    canvas.StrokeCircle(dialX, dialY, dialR, 2.0f, PANEL_LINE);
    for (int degrees = 0; degrees < 360; degrees += 45) {
        const float a = float(degrees) * PI / 180.0f, c = std::cos(a), s = std::sin(a);
        const float inner = degrees % 90 == 0 ? dialR - 10.0f : dialR - 6.0f;
        canvas.FillCapsule({dialX + c * inner, dialY + s * inner}, {dialX + c * dialR, dialY + s * dialR}, 1.0f,
                           PANEL_LINE);
    }
    // y grows downward on the field, so 90 is straight down and 270 straight up.
    small.DrawCentred(canvas, dialX + dialR + 16.0f, dialY + 4.0f, "0", PANEL_TEXT);
    small.DrawCentred(canvas, dialX, dialY + dialR + 16.0f, "90", PANEL_TEXT);
    small.DrawCentred(canvas, dialX - dialR - 18.0f, dialY + 4.0f, "180", PANEL_TEXT);
    small.DrawCentred(canvas, dialX, dialY - dialR - 8.0f, "270", PANEL_TEXT);
    canvas.FillDisc(dialX, dialY, 3.0f, PANEL_LINE);

    // The keys.
    label.Draw(canvas, 28.0f, 712.0f, "KEYS", PANEL_LABEL);
    const Font keyFont(BOLD, 13);
    const Font glyphFont(BOLD, 17);  // one-character keys read better larger
    struct KeyRow {
        std::vector<std::string> keys;
        const char* action;
    };
    const KeyRow rows[] = {
        {{"\xE2\x86\x90", "\xE2\x86\x92"}, "angle"},
        {{"\xE2\x86\x91", "\xE2\x86\x93"}, "power"},
        {{"Space"}, "shoot"},
        {{"R"}, "restart the map"},
        {{"Esc"}, "quit"},
        {{"~"}, "command line"},
    };
    float top = 728.0f;
    for (const KeyRow& row : rows) {
        float x = 28.0f;
        for (const std::string& key : row.keys) {
            const Font& font = CharacterCount(key) == 1 ? glyphFont : keyFont;
            x = KeyCap(canvas, font, x, top, key, 28.0f) + 6.0f;
        }
        text.Draw(canvas, 110.0f, top + 18.0f, row.action, PANEL_TEXT);
        top += 42.0f;
    }
    return canvas;
}

// 1024 x 512 over black, drawn centred at (640, 480) and bobbing by 8 pixels.
static Canvas MapComplete()
{
    Canvas canvas = VignettedField(1024, 512, Rgba::Bytes(30, 56, 80), Rgba::Bytes(0, 0, 0));
    Scatter(777u, 40, 120.0f, 80.0f, 784.0f, 352.0f, [&](float x, float y, Random& random) {
        const float size = 3.0f + random.Next() * 7.0f;
        Twinkle(canvas, x, y, size, 0.25f + 0.5f * random.Next());
    });
    const Font title(BOLD, 104);
    GlowingHeading(canvas, title, 262.0f, "Map complete!", Rgba(1.0f, 0.75f, 0.3f, 0.5f), Rgba::Bytes(255, 240, 160),
                   Rgba::Bytes(245, 150, 50), 16);
    for (int i = 0; i < 3; ++i) {
        const float sx = 442.0f + 70.0f * float(i), sy = i == 1 ? 320.0f : 328.0f;
        canvas.Glow(sx, sy, 14.0f, Rgba(1.0f, 0.8f, 0.3f, 0.5f));
        canvas.FillPolygon(Star(sx, sy, 5, i == 1 ? 26.0f : 21.0f, i == 1 ? 11.0f : 9.0f), Rgba::Bytes(255, 214, 90));
    }
    const Font prompt(REGULAR, 30);
    prompt.DrawCentred(canvas, 512.0f, 410.0f, "press any key for the next map", Rgba::Bytes(215, 225, 250));
    return canvas;
}

// The editor shows this under the map with y up: picture row 0 lies along y = 0. Canvas row r
// is therefore world y = 1024 - r, and the labels read the world coordinates there.
static Canvas Underlay()
{
    Canvas canvas(1024, 1024);
    canvas.Paint([](float x, float y) {
        auto near = [](float v, float step, float width) {
            const float d = std::fabs(v - std::round(v / step) * step);
            return 1.0f - SmoothStep(width * 0.5f, width * 0.5f + 1.0f, d);
        };
        const float wy = 1024.0f - y;
        const float fine = std::max(near(x, 64, 1), near(wy, 64, 1));
        const float coarse = std::max(near(x, 256, 2), near(wy, 256, 2));
        Rgba c = Mix(Rgba::Bytes(44, 48, 58), Rgba::Bytes(62, 68, 82), fine);
        return Mix(c, Rgba::Bytes(96, 108, 132), coarse);
    });
    canvas.StrokeRoundRect(2, 2, 1022, 1022, 0, 4, Rgba::Bytes(200, 120, 60));
    const Font font(REGULAR, 14);
    for (int v = 128; v < 1024; v += 128) {
        font.DrawCentred(canvas, float(v), 1024.0f - 10.0f, std::to_string(v), Rgba::Bytes(190, 200, 220));
        font.Draw(canvas, 10.0f, 1024.0f - float(v) + 5.0f, std::to_string(v), Rgba::Bytes(190, 200, 220));
    }
    font.Draw(canvas, 10.0f, 1014.0f, "0, 0", Rgba::Bytes(230, 150, 90));
    const Font heading(BOLD, 22);
    heading.DrawCentred(canvas, 512.0f, 40.0f, "UnderlayTest  1024 x 1024, y up", Rgba::Bytes(220, 228, 245));
    // An arrow up the y axis and one along x make the orientation plain at a glance.
    const Rgba green = Rgba::Bytes(120, 200, 120), red = Rgba::Bytes(220, 120, 120);
    canvas.FillCapsule({512, 512}, {512, 392}, 2.0f, green);
    canvas.FillPolygon({{500, 398}, {512, 372}, {524, 398}}, green);
    font.Draw(canvas, 522.0f, 388.0f, "+y", green);
    canvas.FillCapsule({512, 512}, {632, 512}, 2.0f, red);
    canvas.FillPolygon({{626, 500}, {652, 512}, {626, 524}}, red);
    font.Draw(canvas, 640.0f, 538.0f, "+x", red);
    return canvas;
}

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: make_ui ROOT\n");
        return 2;
    }
    const std::string root = argv[1];
    WriteTga(root + "/data/ui/titlescreen.tga", TitleScreen(), false);
    WriteTga(root + "/data/ui/ui_base01.tga", Panel(), false);
    WriteTga(root + "/data/ui/map_complete_success.tga", MapComplete(), false);
    WriteTga(root + "/data/UnderlayTest.tga", Underlay(), false);
    return 0;
}
