// The maps in data/maps/ and their generated backgrounds: each file is exactly what the map
// writer writes, and each background shows every wall exactly where the physics has it, in
// window pixels, when drawn the way the game draws it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "Engine/Segment2f.h"
#include "Engine/Texture.h"
#include "Game/MapArea.h"
#include "RenderTestSupport.h"
#include "TestSupport.h"

static std::vector<std::string> ShippedMapNames()
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator("data/maps"))
        if (entry.path().extension() == ".map") names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

static std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

TEST(ShippedMaps, AreWrittenAsTheMapWriterWritesThemWithOneBallSpawnAndSomethingToCollect)
{
    const std::vector<std::string> names = ShippedMapNames();
    ASSERT_GE(names.size(), 3u);
    TestFolder folder;
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        MapArea map;
        map.Load(MapArea::MapFilePath(name));
        ASSERT_TRUE(map.Save(folder.PathOf(name + ".map")));
        EXPECT_EQ(ReadFile(folder.PathOf(name + ".map")), ReadFile(MapArea::MapFilePath(name)));

        int spawns = 0, collectibles = 0;
        for (const MapObject* object : map.GetObjects()) {
            std::string value;
            const bool spawn = object->properties.Get("BALLSPAWN", value);
            const bool collect = !(object->properties.Get("COLLECT", value) && value == "0");
            spawns += spawn;
            collectibles += collect;
            EXPECT_FALSE(spawn && collect) << "a ball spawn must not count as a collectible";
        }
        EXPECT_EQ(spawns, 1);
        EXPECT_GE(collectibles, 1);
        map.Clear();
    }
}

// Painted wall: the bright core, far above anything the calm field shows.
static bool IsWall(const Color& c)
{
    return std::min({c.r, c.g, c.b}) >= 150;
}

// Where a play-field point lands in the window: SetPixelOrtho(false) maps 0 ... W - 1 across the
// W pixels of the viewport, so points move out by W / (W - 1).
static Vec2f ToWindow(const Vec2f& p)
{
    return Vec2f(p.x * kWindowWidth / (kWindowWidth - 1.0f), p.y * kWindowHeight / (kWindowHeight - 1.0f));
}

static float DistanceToSegment(const Vec2f& p, const Vec2f& a, const Vec2f& b)
{
    const Vec2f e = b - a;
    const float lengthSquared = e.x * e.x + e.y * e.y;
    float t = lengthSquared > 0.0f ? ((p.x - a.x) * e.x + (p.y - a.y) * e.y) / lengthSquared : 0.0f;
    t = std::min(1.0f, std::max(0.0f, t));
    return std::hypot(p.x - (a.x + e.x * t), p.y - (a.y + e.y * t));
}

class MapBackgroundTest : public RenderingTest {
protected:
    // The background exactly as the game's play drawing puts it on the screen.
    static Frame DrawBackground(const Texture& background)
    {
        theRenderer.SetPixelOrtho(false);
        theRenderer.Clear(Color::BLACK);
        glDisable(GL_BLEND);
        theRenderer.DrawTexturedQuadUV(background, Vec2f(0.0f, 0.0f), Vec2f(1024.0f, 1024.0f), Vec2f(0.0f, 0.0f),
                                       Vec2f(1.0f, 1.0f), 0.0f, Vec2f::ONE, Color::WHITE, true, true);
        glEnable(GL_BLEND);
        return Frame();
    }
    // The physics overlay's linedefs alone, on black.
    static Frame DrawOverlay(const MapArea& map)
    {
        theRenderer.Clear(Color::BLACK);
        glLineWidth(3.0f);
        for (const Linedef* linedef : map.GetLinedefs()) {
            const Vec2f start = linedef->start->position, end = linedef->end->position;
            theRenderer.DrawSegment(Segment2f(start, end - start), Color::RED, Color::GREEN);
        }
        glLineWidth(1.0f);
        return Frame();
    }
};

TEST_F(MapBackgroundTest, PaintsEveryLinedefAndVertexExactlyWhereTheLoadedMapHasThem)
{
    for (const std::string& name : ShippedMapNames()) {
        SCOPED_TRACE(name);
        MapArea map(name, true);  // as the game loads it: y mirrored
        const Texture background("data/maps/" + name + ".tga");
        ASSERT_EQ(background.GetWidth(), 1024);
        ASSERT_EQ(background.GetHeight(), 1024);
        const Frame field = DrawBackground(background);
        const Frame overlay = DrawOverlay(map);

        // Every pixel of the overlay's 3-pixel lines lands on painted wall.
        int overlayPixels = 0, offWall = 0;
        for (int y = 0; y < kWindowHeight; ++y) {
            for (int x = 0; x < 1024; ++x) {
                const Color o = overlay.At(x, y);
                if (o.r + o.g < 64) continue;
                ++overlayPixels;
                if (!IsWall(field.At(x, y))) {
                    if (offWall < 5) ADD_FAILURE() << "overlay pixel (" << x << ", " << y << ") is not on a wall";
                    ++offWall;
                }
            }
        }
        EXPECT_GT(overlayPixels, 3000);
        EXPECT_EQ(offWall, 0);

        // And no wall is painted where the physics has nothing: every wall pixel is within the
        // painted half-width of a linedef or the radius of a vertex (plus a pixel of sampling).
        int wallPixels = 0, stray = 0;
        for (int y = 0; y < kWindowHeight; ++y) {
            for (int x = 0; x < 1024; ++x) {
                if (!IsWall(field.At(x, y))) continue;
                ++wallPixels;
                const Vec2f p(x + 0.5f, y + 0.5f);
                float nearest = 1e9f;
                for (const Linedef* l : map.GetLinedefs())
                    nearest = std::min(nearest,
                                       DistanceToSegment(p, ToWindow(l->start->position), ToWindow(l->end->position)));
                for (const Vertex* v : map.GetVertexes())
                    nearest =
                        std::min(nearest, DistanceToSegment(p, ToWindow(v->position), ToWindow(v->position)) - 2.5f);
                if (nearest > 4.0f) {
                    if (stray < 5) ADD_FAILURE() << "wall pixel (" << x << ", " << y << ") is " << nearest << " away";
                    ++stray;
                }
            }
        }
        EXPECT_GT(wallPixels, overlayPixels);
        EXPECT_EQ(stray, 0);

        // Across each linedef the painted wall is centred on it to within a pixel, away from
        // where another wall meets or passes it (a wall ending on the field's edge, say).
        for (const Linedef* l : map.GetLinedefs()) {
            const Vec2f a = ToWindow(l->start->position), b = ToWindow(l->end->position);
            const float length = std::hypot(b.x - a.x, b.y - a.y);
            const Vec2f u((b.x - a.x) / length, (b.y - a.y) / length), n(-u.y, u.x);
            for (float along = 12.0f; along < length - 12.0f; along += 37.0f) {
                const Vec2f centre = a + u * along;
                bool nearAnother = false;
                for (const Linedef* other : map.GetLinedefs())
                    nearAnother =
                        nearAnother || (other != l && DistanceToSegment(centre, ToWindow(other->start->position),
                                                                        ToWindow(other->end->position)) < 12.0f);
                if (nearAnother) continue;
                float low = 1e9f, high = -1e9f;
                for (float across = -10.0f; across <= 10.0f; across += 0.25f) {
                    const Vec2f p = centre + n * across;
                    if (p.x < 0 || p.y < 0 || p.x >= 1024 || p.y >= kWindowHeight) continue;
                    if (!IsWall(field.At(int(p.x), int(p.y)))) continue;
                    low = std::min(low, across);
                    high = std::max(high, across);
                }
                ASSERT_LE(low, high) << "no wall painted across (" << centre.x << ", " << centre.y << ")";
                EXPECT_NEAR((low + high) * 0.5f, 0.0f, 1.0f) << "at (" << centre.x << ", " << centre.y << ")";
                EXPECT_GE(high - low, 4.0f);
            }
        }
        map.Clear();
    }
}
