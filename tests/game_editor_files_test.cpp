// The files behind the editor's commands, typed into the real game: LOAD, BG, PLAY, WARP and the
// next map read a file aside and refuse a missing or broken one with a warning that names it and
// its fault, keeping everything as it was; SAVE paints the map's picture beside it, but never
// over one someone made.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "Game/BackgroundPainter.h"
#include "Game/GameInterface.h"
#include "Game/MapObject.h"
#include "EditorGameTest.h"

static TheGameInterface theGameInterface;

using game_test_data::Bgra;

namespace {

class EditorFilesTest : public EditorGameTest {
protected:
    // What the painter makes of the map file as the game reads it.
    static std::string Painted(const std::string& name)
    {
        MapArea map(name, true);
        const std::vector<uint8_t> picture = PaintBackgroundPicture(map, name);
        map.Clear();
        return std::string(picture.begin(), picture.end());
    }
};

const std::string BOX_WITH_SPRITE_ =
    "Vertexes { (0, 0) (1024, 0) } Linedefs { 0, 1 }\n"
    "Objects { (100, 100) { \"BALLSPAWN\" \"1\" \"COLLECT\" \"0\" } (500, 500) { \"SPRITE\" \"";

}  // namespace

// The end-to-end run (editor_loop.sh) refuses the broken maps and pictures of every kind; here,
// what it does not: a file that is there but does not open, and a picture of a size textures
// refuse, leave the very map and underlay being edited.
TEST_F(EditorFilesTest, LoadAndBgRefuseWhatDoesNotOpenOrFitAndKeepTheMapAndUnderlay)
{
    Command("LOAD MAP01");
    MapObject* object = theMapArea->GetObjects().back();
    std::filesystem::create_directory("data/maps/folder.map");
    folder.Write("data/maps/hole.map", "Vertexes { (1, 2) } Linedefs { 0, 1 } Objects { }");
    Command("LOAD FOLDER");
    Command("LOAD HOLE");
    EXPECT_TRUE(Logged("WARNING: \"data/maps/FOLDER.map\" is not a map file")) << log;
    EXPECT_EQ(theMapArea->GetName(), "MAP01");
    EXPECT_EQ(theMapArea->GetObjects().back(), object);
    EXPECT_EQ(theMapArea->GetLinedefs().size(), 4u);

    Command("BG MAP01");
    Texture* shown = theEditorShell->underlay;
    ASSERT_NE(shown, nullptr);
    game_test_data::WriteSolid("data/maps/odd.tga", 100, 64, Bgra{1, 2, 3, 255});
    Command("BG ODD");
    EXPECT_TRUE(
        Logged("WARNING: cannot read underlay picture \"data/maps/ODD.tga\": texture \"data/maps/ODD.tga\" "
               "had a non-power-of-two width of 100; image width must be 8, 16, 32, 64, 128, 256, 512, 1024, "
               "or 2048"));
    EXPECT_EQ(theEditorShell->underlay, shown);
    RunFrames(2);
    EXPECT_FALSE(theApplication.IsShutdownRequested());
}

TEST_F(EditorFilesTest, PlayWarpAndTheNextMapRefuseAMapWhoseFileSpriteOrPictureCannotBeRead)
{
    game_test_data::WriteMap(folder.Path(), "nosprite", BOX_WITH_SPRITE_ + "nope\" } }");
    game_test_data::WriteMap(folder.Path(), "escape", BOX_WITH_SPRITE_ + "../../../../tmp/x\" } }");
    game_test_data::WriteMap(folder.Path(), "badbg", BOX_WITH_SPRITE_ + "collection01\" } }");
    folder.Write("data/maps/badbg.tga", std::string());
    game_test_data::WriteMap(folder.Path(), "broken", "Vertexes { } Linedefs { } Objects {");
    Command("LOAD NOSPRITE");
    Command("PLAY");
    EXPECT_TRUE(Logged("WARNING: no sprite picture \"data/sprites/nope.tga\"")) << log;
    Command("WARP ESCAPE");
    EXPECT_TRUE(
        Logged("WARNING: map file \"data/maps/ESCAPE.map\": the sprite \"../../../../tmp/x\" names no file "
               "of data/sprites/"));
    Command("WARP BADBG");
    EXPECT_TRUE(
        Logged("WARNING: cannot read background picture \"data/maps/BADBG.tga\": the file ends early (the "
               "check ( bytesRead == sizeof( primerTGA ) ) failed)"));
    Command("WARP BROKEN");
    EXPECT_TRUE(
        Logged("WARNING: cannot read map file \"data/maps/BROKEN.map\": Syntax error on line 1 of buffer "
               "\"data/maps/BROKEN.map\": couldn't find expected floating point expression"));
    EXPECT_EQ(theGame->mode, MODE_EDIT);
    ASSERT_NE(theMapArea, nullptr);
    EXPECT_EQ(theMapArea->GetName(), "NOSPRITE");

    // The map after level07 cannot start: the game goes on with map01, saying why.
    game_test_data::WriteMap(folder.Path(), "level07", BOX_WITH_SPRITE_ + "collection01\" } }");
    game_test_data::WriteMap(folder.Path(), "level08", BOX_WITH_SPRITE_ + "gone\" } }");
    Command("WARP LEVEL07");
    ASSERT_EQ(theGame->currentMapName, "LEVEL07");
    log += Capture([] { theGame->AdvanceToNextMap(); });
    EXPECT_TRUE(Logged("WARNING: no sprite picture \"data/sprites/gone.tga\""));
    EXPECT_EQ(theGame->currentMapName, "map01");
    EXPECT_FALSE(theApplication.IsShutdownRequested());
}

TEST_F(EditorFilesTest, SavePaintsTheMapsPictureButNeverReplacesOneSomeoneMade)
{
    // map02's picture is the test data's own, so it stays; a new map gets the painter's.
    Command("LOAD MAP02");
    const std::string own = ReadWholeFile("data/maps/map02.tga");
    Command("SAVE");
    EXPECT_TRUE(Logged("Kept background picture \"data/maps/MAP02.tga\", which was not painted from the map")) << log;
    EXPECT_EQ(ReadWholeFile("data/maps/map02.tga"), own);
    Command("SAVE FRESH");
    EXPECT_TRUE(Logged("Painted background picture \"data/maps/FRESH.tga\""));
    const std::string first = ReadWholeFile("data/maps/FRESH.tga");
    EXPECT_EQ(first, Painted("FRESH"));

    // A picture the painter made from the map before this save follows the map's edits...
    theMapArea->RemoveLinedef(theMapArea->GetLinedefs().front());
    Command("SAVE");
    const std::string second = ReadWholeFile("data/maps/FRESH.tga");
    EXPECT_NE(second, first);
    EXPECT_EQ(second, Painted("FRESH"));
    // ...and one painted from another map, or made by hand, stays as it is.
    std::filesystem::copy_file("data/maps/FRESH.tga", "data/maps/map01.tga",
                               std::filesystem::copy_options::overwrite_existing);
    Command("SAVE MAP01");
    EXPECT_EQ(ReadWholeFile("data/maps/map01.tga"), second);
    game_test_data::WriteSolid("data/maps/FRESH.tga", 8, 8, Bgra{9, 9, 9, 255});
    const std::string handMade = ReadWholeFile("data/maps/FRESH.tga");
    Command("SAVE FRESH");
    EXPECT_EQ(ReadWholeFile("data/maps/FRESH.tga"), handMade);

    // Where the picture cannot be written the map is saved all the same.
    std::filesystem::create_directory("data/maps/STUCK.tga");
    Command("SAVE STUCK");
    EXPECT_TRUE(Logged("Saved map \"data/maps/STUCK.map\""));
    EXPECT_TRUE(
        Logged("WARNING: background picture \"data/maps/STUCK.tga\" is no file that can be read; it is left "
               "as it is"));
    EXPECT_EQ(theMapArea->GetName(), "STUCK");
}
