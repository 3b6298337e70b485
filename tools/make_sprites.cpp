// Makes the sprites of data/sprites/: the aiming arrow, the ball and its shine, and the item
// strips. Every sprite is a recipe below; a strip with fewer frames than its width holds ends
// with the magenta end marker, so a new item sprite is one more entry in the table.
//
//   make_sprites ROOT    writes ROOT/data/sprites/NAME.tga for every recipe
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "assetkit/Art.h"
#include "Engine/Canvas.h"
#include "assetkit/DataFiles.h"

struct SpriteRecipe {
    std::string name;
    int frameSize;  // frames are square: the picture's height
    int frames;     // frames that play
    int slots;      // frames the width holds (a power of two); more than frames: end marker
    bool withAlpha;
    // Paints frame `frame` of `frames` into a frameSize x frameSize canvas.
    std::function<void(Canvas& canvas, int frame, int frames)> paint;
};

// Along +x (angle 0), starting clear of the ball. Drawn additively, so alpha is brightness.
static void PaintArrow(Canvas& canvas, int, int)
{
    const float cy = 64.0f;
    auto colourAt = [](float x, float) {
        const float t = Clamp01((x - 78.0f) / 46.0f);
        return Mix(Rgba(1.0f, 0.55f, 0.15f, 0.25f), Rgba(1.0f, 0.95f, 0.65f, 1.0f), t);
    };
    Canvas glow(128, 128);
    glow.FillPolygon(
        {{80, cy - 3}, {104, cy - 6}, {104, cy - 14}, {125, cy}, {104, cy + 14}, {104, cy + 6}, {80, cy + 3}},
        Rgba(1.0f, 0.6f, 0.2f, 0.45f));
    glow.Blur(8);
    canvas.Draw(glow, 0, 0);
    const std::vector<Point> shaft = {{80, cy - 1.5f}, {105, cy - 3.5f}, {105, cy + 3.5f}, {80, cy + 1.5f}};
    canvas.FillShape(
        78, cy - 4, 106, cy + 4, [&](float x, float y) { return PolygonDistance(x, y, shaft); }, colourAt);
    const std::vector<Point> head = {{101, cy - 11}, {124, cy}, {101, cy + 11}, {106, cy}};
    canvas.FillShape(
        100, cy - 12, 125, cy + 12, [&](float x, float y) { return PolygonDistance(x, y, head); }, colourAt);
}

// The ball, radius 12 as the physics has it.
static void PaintBall(Canvas& canvas, int, int)
{
    PaintPinwheelBall(canvas, 16.0f, 16.0f, 12.0f);
}

// The shine laid additively over the ball; it does not turn with it.
static void PaintBallHighlight(Canvas& canvas, int, int)
{
    const float c = 16.0f;
    canvas.FillShape(
        c - 12, c - 12, c + 12, c + 12, [=](float x, float y) { return DiscDistance(x, y, c, c, 11.5f); },
        [=](float x, float y) {
            const float spot = std::exp(-(std::pow(x - (c - 4.0f), 2.0f) + std::pow(y - (c - 4.5f), 2.0f)) / 9.0f);
            const float rim = SmoothStep(8.0f, 11.5f, std::hypot(x - c, y - c)) * Clamp01((x - c + y - c) / 16.0f);
            return Rgba(1.0f, 1.0f, 1.0f, Clamp01(0.75f * spot + 0.25f * rim + 0.04f));
        },
        true);
}

// The golden star of collection01 turns about its upright axis, its halo breathing with it.
static void PaintGoldStar(Canvas& canvas, int frame, int frames)
{
    const float c = 32.0f, phase = 2.0f * PI * float(frame) / float(frames);
    const float turn = std::cos(phase);
    const float width = 0.12f + 0.88f * std::fabs(turn);
    canvas.Glow(c, c, 16.0f, Rgba(1.0f, 0.75f, 0.2f, 0.30f + 0.08f * std::sin(phase)));
    const std::vector<Point> star = Star(c, c + 1.0f, 5, 20.0f, 9.0f, width);
    const bool back = turn < 0.0f;
    canvas.FillShape(
        c - 21, c - 21, c + 21, c + 21, [&](float x, float y) { return PolygonDistance(x, y, star); },
        [&](float x, float y) {
            const float t = Clamp01((y - (c - 20.0f)) / 40.0f);
            Rgba gold = Mix(Rgba::Bytes(255, 236, 140), Rgba::Bytes(220, 140, 20), t);
            if (back) gold = Mix(gold, Rgba::Bytes(160, 90, 10), 0.35f);
            // A bright ridge down the middle of the face.
            const float ridge = std::exp(-std::pow((x - c) / (3.0f * width + 0.5f), 2.0f));
            return Mix(gold, Rgba::Bytes(255, 255, 225), 0.45f * ridge);
        });
    canvas.StrokeCircle(c, c, 23.0f, 1.0f, Rgba(1.0f, 0.85f, 0.4f, 0.25f));
    if (frame == 0) Twinkle(canvas, c - 8.0f, c - 10.0f, 7.0f, 0.9f);
}

// The green gem of collection02: a cut stone whose facets catch a travelling glint.
static void PaintGem(Canvas& canvas, int frame, int frames)
{
    const float c = 32.0f;
    const float glint = float(frame) / float(frames);
    canvas.Glow(c, c, 17.0f, Rgba(0.3f, 1.0f, 0.55f, 0.28f));
    const Point top{c, c - 21}, upperLeft{c - 17, c - 6}, upperRight{c + 17, c - 6}, bottom{c, c + 21};
    const Point tableLeft{c - 7, c - 6}, tableRight{c + 7, c - 6};
    const Rgba facets[4] = {Rgba::Bytes(120, 240, 160), Rgba::Bytes(40, 170, 90), Rgba::Bytes(20, 120, 70),
                            Rgba::Bytes(70, 210, 120)};
    canvas.FillPolygon({top, tableRight, tableLeft}, facets[0]);
    canvas.FillPolygon({top, upperRight, tableRight}, facets[3]);
    canvas.FillPolygon({top, tableLeft, upperLeft}, facets[1]);
    canvas.FillPolygon({upperLeft, tableLeft, bottom}, facets[1]);
    canvas.FillPolygon({tableLeft, tableRight, bottom}, facets[3]);
    canvas.FillPolygon({tableRight, upperRight, bottom}, facets[2]);
    // The glint runs down the left edge and up the right one over a cycle.
    const float t = glint < 0.5f ? glint * 2.0f : (glint - 0.5f) * 2.0f;
    const Point from = glint < 0.5f ? upperLeft : bottom, to = glint < 0.5f ? bottom : upperRight;
    Twinkle(canvas, from.x + (to.x - from.x) * t, from.y + (to.y - from.y) * t, 8.0f, 0.85f);
}

// The blue orb of collection03, with a spark circling it.
static void PaintOrb(Canvas& canvas, int frame, int frames)
{
    const float c = 32.0f, phase = 2.0f * PI * float(frame) / float(frames);
    canvas.Glow(c, c, 18.0f, Rgba(0.35f, 0.6f, 1.0f, 0.3f));
    canvas.FillShape(
        c - 15, c - 15, c + 15, c + 15, [=](float x, float y) { return DiscDistance(x, y, c, c, 14.0f); },
        [=](float x, float y) {
            const float light = std::exp(-(std::pow(x - (c - 5), 2.0f) + std::pow(y - (c - 5), 2.0f)) / 60.0f);
            return Mix(Rgba::Bytes(30, 60, 170), Rgba::Bytes(150, 210, 255), light);
        });
    canvas.StrokeCircle(c, c, 20.0f, 1.2f, Rgba(0.6f, 0.8f, 1.0f, 0.45f));
    const float sx = c + std::cos(phase) * 20.0f, sy = c + std::sin(phase) * 20.0f * 0.45f;
    Twinkle(canvas, sx, sy, 7.0f, 0.95f);
}

// marker01: a quiet pulsing ring for objects that are shown but not collected.
static void PaintMarker(Canvas& canvas, int frame, int frames)
{
    const float c = 32.0f, pulse = 0.5f + 0.5f * std::cos(2.0f * PI * float(frame) / float(frames));
    canvas.StrokeCircle(c, c, 14.0f + 4.0f * (1.0f - pulse), 2.0f, Rgba(0.7f, 0.8f, 0.9f, 0.25f + 0.35f * pulse));
    canvas.FillDisc(c, c, 5.0f, Rgba(0.75f, 0.85f, 0.95f, 0.85f));
    canvas.Glow(c, c, 8.0f, Rgba(0.7f, 0.85f, 1.0f, 0.25f + 0.2f * pulse));
}

static const std::vector<SpriteRecipe>& Recipes()
{
    static const std::vector<SpriteRecipe> recipes = {
        {"arrow", 128, 1, 1, true, PaintArrow},
        {"ball02", 32, 1, 1, true, PaintBall},
        {"ballhighlight", 32, 1, 1, true, PaintBallHighlight},
        {"collection01", 64, 12, 16, true, PaintGoldStar},
        {"collection02", 64, 8, 8, true, PaintGem},
        {"collection03", 64, 6, 8, true, PaintOrb},
        {"marker01", 64, 8, 8, true, PaintMarker},
    };
    return recipes;
}

static Canvas MakeStrip(const SpriteRecipe& recipe)
{
    Canvas strip(recipe.frameSize * recipe.slots, recipe.frameSize);
    for (int frame = 0; frame < recipe.frames; ++frame) {
        Canvas one(recipe.frameSize, recipe.frameSize);
        recipe.paint(one, frame, recipe.frames);
        strip.Draw(one, frame * recipe.frameSize, 0);
    }
    // The player stops at the first frame whose first stored row (the bottom row) holds magenta.
    if (recipe.frames < recipe.slots)
        strip.At(recipe.frames * recipe.frameSize, recipe.frameSize - 1) = Rgba(1, 0, 1, 1);
    return strip;
}

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: make_sprites ROOT\n");
        return 2;
    }
    const std::string folder = std::string(argv[1]) + "/data/sprites/";
    for (const SpriteRecipe& recipe : Recipes())
        WriteTga(folder + recipe.name + ".tga", MakeStrip(recipe), recipe.withAlpha);
    return 0;
}
