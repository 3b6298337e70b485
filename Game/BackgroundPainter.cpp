#include "Game/BackgroundPainter.h"

#include <cmath>
#include <cstdlib>

#include "Game/MapArea.h"
#include "Game/MapFile.h"

namespace {

const float FIELD = float(BACKGROUND_SIZE);

// Wall paint; the core is fully lit out to this distance from the line, so the 3-pixel line
// of the physics overlay always falls inside it.
const float WALL_CORE = 2.5f;
const float WALL_EDGE = 4.5f;
const float VERTEX_RADIUS = 5.0f;
const Rgba WALL_COLOUR = Rgba::Bytes(220, 236, 255);
const Rgba WALL_EDGE_COLOUR = Rgba::Bytes(14, 18, 30);

struct Palette {
    Rgba top, bottom, accent;
};

// One calm field per map, in turn, so neighbouring maps look different.
const Palette PALETTES[] = {
    {Rgba::Bytes(22, 44, 62), Rgba::Bytes(10, 20, 32), Rgba::Bytes(80, 190, 230)},   // sea
    {Rgba::Bytes(40, 30, 66), Rgba::Bytes(16, 12, 32), Rgba::Bytes(170, 120, 240)},  // dusk
    {Rgba::Bytes(22, 50, 40), Rgba::Bytes(8, 22, 18), Rgba::Bytes(110, 220, 160)},   // moss
    {Rgba::Bytes(58, 32, 40), Rgba::Bytes(26, 12, 18), Rgba::Bytes(240, 130, 120)},  // ember
    {Rgba::Bytes(36, 42, 56), Rgba::Bytes(14, 16, 24), Rgba::Bytes(150, 180, 230)},  // slate
    {Rgba::Bytes(54, 48, 24), Rgba::Bytes(22, 18, 8), Rgba::Bytes(235, 200, 100)},   // sand
};
const int PALETTE_COUNT = int(sizeof(PALETTES) / sizeof(PALETTES[0]));

// Typed names arrive in capitals, and the same map may be saved as MYLEVEL and loaded as
// mylevel: the letters count ignoring case.
const Palette& PaletteFor(const std::string& name)
{
    for (size_t i = 0; i < name.size(); ++i) {
        if (name[i] >= '0' && name[i] <= '9')
            return PALETTES[(atoi(name.c_str() + i) + PALETTE_COUNT - 1) % PALETTE_COUNT];
    }
    unsigned sum = 0;
    for (char c : name) sum = sum * 31u + uint8_t(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return PALETTES[sum % PALETTE_COUNT];
}

void PaintField(Canvas& canvas, const Palette& palette)
{
    canvas.Paint([&](float x, float y) {
        Rgba c = Mix(palette.top, palette.bottom, y / FIELD);
        // Faint dots every 64 units give a sense of distance without drawing the eye.
        const float gx = std::fabs(x - std::round(x / 64.0f) * 64.0f),
                    gy = std::fabs(y - std::round(y / 64.0f) * 64.0f);
        const float dot = 1.0f - SmoothStep(0.8f, 1.8f, Length(gx, gy));
        c = Mix(c, palette.accent, 0.10f * dot);
        const float dx = x / FIELD - 0.5f, dy = y / FIELD - 0.5f;
        const float vignette = 1.0f - 0.45f * SmoothStep(0.25f, 0.75f, std::sqrt(dx * dx + dy * dy));
        return Rgba(c.r * vignette, c.g * vignette, c.b * vignette);
    });
}

// Where a point of the map lies on the field: a map read as the editor reads it (y up) is
// mirrored exactly as the game's reading mirrors it, so both paint the same picture.
Point OnField(const MapArea& map, const Vec2f& position)
{
    if (map.GetFlipY()) return {position.x, position.y};
    return {position.x, MapFile::FLIP_Y_HEIGHT - position.y};
}

}  // namespace

Canvas PaintBackground(const MapArea& map, const std::string& name)
{
    const Palette& palette = PaletteFor(name);
    Canvas canvas(BACKGROUND_SIZE, BACKGROUND_SIZE);
    PaintField(canvas, palette);

    // Where the ball waits: a faint ring, well below the brightness of a wall.
    for (const MapObject* object : map.GetObjects()) {
        std::string value;
        if (!object->properties.Get("BALLSPAWN", value)) continue;
        const Point at = OnField(map, object->position);
        canvas.StrokeCircle(at.x, at.y, 19.0f, 1.5f, palette.accent.WithAlpha(0.35f));
    }

    // A soft light around the walls, then a dark edge and the bright core on top.
    Canvas light(BACKGROUND_SIZE, BACKGROUND_SIZE);
    for (const Linedef* linedef : map.GetLinedefs())
        light.FillCapsule(OnField(map, linedef->start->position), OnField(map, linedef->end->position), WALL_EDGE,
                          palette.accent.WithAlpha(0.5f));
    for (const Vertex* vertex : map.GetVertexes()) {
        const Point at = OnField(map, vertex->position);
        light.FillDisc(at.x, at.y, VERTEX_RADIUS + 2.0f, palette.accent.WithAlpha(0.5f));
    }
    light.Blur(10);
    canvas.Draw(light, 0, 0, true);
    for (const Linedef* linedef : map.GetLinedefs())
        canvas.FillCapsule(OnField(map, linedef->start->position), OnField(map, linedef->end->position), WALL_EDGE,
                           WALL_EDGE_COLOUR);
    for (const Vertex* vertex : map.GetVertexes()) {
        const Point at = OnField(map, vertex->position);
        canvas.FillDisc(at.x, at.y, VERTEX_RADIUS + 1.5f, WALL_EDGE_COLOUR);
    }
    for (const Linedef* linedef : map.GetLinedefs())
        canvas.FillCapsule(OnField(map, linedef->start->position), OnField(map, linedef->end->position),
                           WALL_CORE + 0.5f, WALL_COLOUR);
    // Vertexes are round pegs, joints and lone posts alike, with an accent-coloured centre.
    for (const Vertex* vertex : map.GetVertexes()) {
        const Point at = OnField(map, vertex->position);
        canvas.FillDisc(at.x, at.y, VERTEX_RADIUS, WALL_COLOUR);
        canvas.FillDisc(at.x, at.y, 1.6f, Mix(WALL_COLOUR, palette.accent, 0.3f));
    }
    return canvas;
}

std::vector<uint8_t> PaintBackgroundPicture(const MapArea& map, const std::string& name)
{
    return EncodeTga(PaintBackground(map, name), false);
}
