// The painter of maps' backgrounds, as the editor's SAVE uses it: a map read as the editor
// reads it (y up) paints what the game's mirrored reading paints, whatever case its name has.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "Game/BackgroundPainter.h"
#include "Game/MapArea.h"
#include "TestSupport.h"

TEST(BackgroundPainter, PaintsTheSameFromEitherReadingAndForANameInAnyCase)
{
    TestFolder folder;
    std::filesystem::create_directories(folder.PathOf("data/maps"));
    folder.Write("data/maps/probe.map",
                 "Vertexes { (100.5, 200.25) (900, 200.25) (500, 0.0001) }\n"
                 "Linedefs { 0, 1 1, 2 }\nObjects { (300, 700) { \"BALLSPAWN\" \"1\" } }\n");
    const std::string previous = std::filesystem::current_path().string();
    std::filesystem::current_path(folder.Path());
    MapArea edited("probe", false), played("probe", true);
    std::filesystem::current_path(previous);

    const std::vector<uint8_t> picture = PaintBackgroundPicture(played, "probe");
    ASSERT_EQ(picture.size(), 18u + 1024 * 1024 * 3);
    EXPECT_TRUE(PaintBackgroundPicture(edited, "probe") == picture) << "mirrored as the game mirrors";
    EXPECT_TRUE(PaintBackgroundPicture(played, "PROBE") == picture) << "typed names arrive in capitals";
    EXPECT_FALSE(PaintBackgroundPicture(played, "other") == picture) << "the name picks the field's colours";

    // The wall from (100.5, 823.75) to (900, 823.75) on the field is lit; above it, the field.
    const Canvas canvas = PaintBackground(played, "probe");
    EXPECT_GT(canvas.At(500, 823).r, 0.8f);
    EXPECT_LT(canvas.At(500, 700).r, 0.3f);
    edited.Clear();
    played.Clear();
}

// A map may hold points far outside the field (a mapper's stray click, or a number too long for
// a float): what lies outside the picture paints nothing in it, and the painter must not
// overflow on the way (the sanitizer build watches it).
TEST(BackgroundPainter, PointsFarOutsideTheFieldPaintNothingInIt)
{
    MapArea empty, far;
    Vertex* a = far.AddVertex(Vec2f(3e9f, 3e9f), true);
    Vertex* b = far.AddVertex(Vec2f(-3e9f, 5e9f), true);
    far.AddLinedef(a, b);
    far.AddVertex(Vec2f(1e30f * 1e30f, 0.0f), true);
    EXPECT_TRUE(PaintBackgroundPicture(far, "far") == PaintBackgroundPicture(empty, "far"));
    far.Clear();
}
