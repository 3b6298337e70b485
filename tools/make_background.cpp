// Makes a map's background from its .map file. Walls are invisible in play, so the
// background paints every linedef and vertex exactly where the physics has them: the map
// is loaded as the game loads it (y mirrored to 1024 - y), and canvas pixel (x, y) is
// play-field point (x, y). The game draws the picture flipped over (0, 0)-(1024, 1024), so
// stored row 0, the canvas's last row, lands at the bottom of the field.
//
//   make_background ROOT NAME [OUT.tga]    reads ROOT/data/maps/NAME.map,
//                                          writes OUT.tga (default ROOT/data/maps/NAME.tga)
#include <unistd.h>

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "Game/MapArea.h"
#include "Game/MapElement.h"
#include "assetkit/Canvas.h"
#include "assetkit/DataFiles.h"

static const int FIELD = 1024;

// Wall paint; the core is fully lit out to this distance from the line, so the 3-pixel line
// of the physics overlay always falls inside it.
static const float WALL_CORE = 2.5f;
static const float WALL_EDGE = 4.5f;
static const float VERTEX_RADIUS = 5.0f;
static const Rgba WALL_COLOUR = Rgba::Bytes(220, 236, 255);
static const Rgba WALL_EDGE_COLOUR = Rgba::Bytes(14, 18, 30);

struct Palette {
    Rgba top, bottom, accent;
};

// One calm field per map, in turn, so neighbouring maps look different.
static const Palette PALETTES[] = {
    {Rgba::Bytes(22, 44, 62), Rgba::Bytes(10, 20, 32), Rgba::Bytes(80, 190, 230)},   // sea
    {Rgba::Bytes(40, 30, 66), Rgba::Bytes(16, 12, 32), Rgba::Bytes(170, 120, 240)},  // dusk
    {Rgba::Bytes(22, 50, 40), Rgba::Bytes(8, 22, 18), Rgba::Bytes(110, 220, 160)},   // moss
    {Rgba::Bytes(58, 32, 40), Rgba::Bytes(26, 12, 18), Rgba::Bytes(240, 130, 120)},  // ember
    {Rgba::Bytes(36, 42, 56), Rgba::Bytes(14, 16, 24), Rgba::Bytes(150, 180, 230)},  // slate
    {Rgba::Bytes(54, 48, 24), Rgba::Bytes(22, 18, 8), Rgba::Bytes(235, 200, 100)},   // sand
};
static const int PALETTE_COUNT = int(sizeof(PALETTES) / sizeof(PALETTES[0]));

// map01 takes the first palette, map02 the second...; a name without a number, one by its letters.
static const Palette& PaletteFor(const std::string& name)
{
    for (size_t i = 0; i < name.size(); ++i) {
        if (isdigit(uint8_t(name[i]))) return PALETTES[(atoi(name.c_str() + i) + PALETTE_COUNT - 1) % PALETTE_COUNT];
    }
    unsigned sum = 0;
    for (char c : name) sum = sum * 31u + uint8_t(c);
    return PALETTES[sum % PALETTE_COUNT];
}

static void PaintField(Canvas& canvas, const Palette& palette)
{
    canvas.Paint([&](float x, float y) {
        Rgba c = Mix(palette.top, palette.bottom, y / FIELD);
        // Faint dots every 64 units give a sense of distance without drawing the eye.
        const float gx = std::fabs(x - std::round(x / 64.0f) * 64.0f),
                    gy = std::fabs(y - std::round(y / 64.0f) * 64.0f);
        const float dot = 1.0f - SmoothStep(0.8f, 1.8f, std::hypot(gx, gy));
        c = Mix(c, palette.accent, 0.10f * dot);
        const float dx = x / FIELD - 0.5f, dy = y / FIELD - 0.5f;
        const float vignette = 1.0f - 0.45f * SmoothStep(0.25f, 0.75f, std::sqrt(dx * dx + dy * dy));
        return Rgba(c.r * vignette, c.g * vignette, c.b * vignette);
    });
}

static Point At(const Vertex* vertex)
{
    return {vertex->position.x, vertex->position.y};
}

static Canvas PaintMap(const MapArea& map, const Palette& palette)
{
    Canvas canvas(FIELD, FIELD);
    PaintField(canvas, palette);

    // Where the ball waits: a faint ring, well below the brightness of a wall.
    for (const MapObject* object : map.GetObjects()) {
        std::string value;
        if (!object->properties.Get("BALLSPAWN", value)) continue;
        canvas.StrokeCircle(object->position.x, object->position.y, 19.0f, 1.5f, palette.accent.WithAlpha(0.35f));
    }

    // A soft light around the walls, then a dark edge and the bright core on top.
    Canvas light(FIELD, FIELD);
    for (const Linedef* linedef : map.GetLinedefs())
        light.FillCapsule(At(linedef->start), At(linedef->end), WALL_EDGE, palette.accent.WithAlpha(0.5f));
    for (const Vertex* vertex : map.GetVertexes())
        light.FillDisc(vertex->position.x, vertex->position.y, VERTEX_RADIUS + 2.0f, palette.accent.WithAlpha(0.5f));
    light.Blur(10);
    canvas.Draw(light, 0, 0, true);
    for (const Linedef* linedef : map.GetLinedefs())
        canvas.FillCapsule(At(linedef->start), At(linedef->end), WALL_EDGE, WALL_EDGE_COLOUR);
    for (const Vertex* vertex : map.GetVertexes())
        canvas.FillDisc(vertex->position.x, vertex->position.y, VERTEX_RADIUS + 1.5f, WALL_EDGE_COLOUR);
    for (const Linedef* linedef : map.GetLinedefs())
        canvas.FillCapsule(At(linedef->start), At(linedef->end), WALL_CORE + 0.5f, WALL_COLOUR);
    // Vertexes are round pegs, joints and lone posts alike, with an accent-coloured centre.
    for (const Vertex* vertex : map.GetVertexes()) {
        const float x = vertex->position.x, y = vertex->position.y;
        canvas.FillDisc(x, y, VERTEX_RADIUS, WALL_COLOUR);
        canvas.FillDisc(x, y, 1.6f, Mix(WALL_COLOUR, palette.accent, 0.3f));
    }
    return canvas;
}

int main(int argc, char** argv)
{
    if (argc != 3 && argc != 4) {
        fprintf(stderr, "usage: make_background ROOT NAME [OUT.tga]\n");
        return 2;
    }
    const std::string name = argv[2];
    std::string out = argc == 4 ? argv[3] : std::string(argv[1]) + "/data/maps/" + name + ".tga";
    if (out[0] != '/') {
        char here[4096];
        if (getcwd(here, sizeof(here)) != nullptr) out = std::string(here) + "/" + out;
    }
    // The map area reads "data/maps/" + name + ".map" from the working folder, as in the game.
    if (chdir(argv[1]) != 0) {
        fprintf(stderr, "cannot enter \"%s\"\n", argv[1]);
        return 1;
    }
    MapElement::traceLines = false;  // the build runs this once per map
    MapArea map(name, true);
    WriteTga(out, PaintMap(map, PaletteFor(name)), false);
    map.Clear();
    return 0;
}
