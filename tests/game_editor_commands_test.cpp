// The command line's editor commands typed into the real game, started as the start-up dialog's
// "1280 x 1024 Windowed Editor" leaves it: LOAD, SET and DELETE on the element under the mouse,
// SAVE and SAVE NEW, BG, PLAY and EDIT, with names typed in capitals.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "Engine/Texture.h"
#include "Game/GameInterface.h"
#include "Game/MapObject.h"
#include "EditorGameTest.h"

static TheGameInterface theGameInterface;

namespace {

class EditorCommandTest : public EditorGameTest {
protected:
    // map01's object at (200, 200), under the mouse so that the commands find it.
    MapObject& HoverTheCollectible()
    {
        MoveMouseToWorld(Vec2f(200, 200));
        RunFrames(2);
        EXPECT_EQ(theMapArea->GetHighlighted().size(), 1u);
        return *theMapArea->GetObjects().back();
    }
    static std::string Property(const MapObject& object, const std::string& key)
    {
        std::string value = "(none)";
        object.properties.Get(key, value);
        return value;
    }
};

}  // namespace

TEST_F(EditorCommandTest, SetSetxAndDeleteChangeTheElementUnderTheMouse)
{
    Command("LOAD MAP01");
    EXPECT_EQ(theMapArea->GetName(), "MAP01");
    ASSERT_EQ(theMapArea->GetObjects().size(), 2u);
    MapObject& object = HoverTheCollectible();
    Command("SET KIND STAR");
    EXPECT_EQ(Property(object, "KIND"), "STAR");
    Command("SETX A B");  // "set" with the key X and the value A
    EXPECT_EQ(Property(object, "X"), "A");
    EXPECT_EQ(Property(object, "XA"), "(none)");
    Command("DELETE KIND");
    EXPECT_EQ(Property(object, "KIND"), "(none)");
    Command("SET ONLYAKEY");  // two fields or nothing
    EXPECT_EQ(Property(object, "ONLYAKEY"), "(none)");
}

TEST_F(EditorCommandTest, SaveKeepsTheMapsOwnFileAndSaveNewMakesOneAsTyped)
{
    Command("LOAD MAP01");
    HoverTheCollectible();
    Command("SET KIND STAR");
    Command("SAVE");
    // The map typed as MAP01 is map01.map: that file is written, no other is made.
    EXPECT_TRUE(Logged("Saved map \"data/maps/MAP01.map\"")) << log;
    EXPECT_FALSE(std::filesystem::exists("data/maps/MAP01.map"));
    EXPECT_NE(ReadWholeFile("data/maps/map01.map").find("\"KIND\" \"STAR\""), std::string::npos);
    Command("SAVE NEW");
    EXPECT_TRUE(Logged("Saved map \"data/maps/NEW.map\""));
    EXPECT_NE(ReadWholeFile("data/maps/NEW.map").find("\"KIND\" \"STAR\""), std::string::npos);
    EXPECT_EQ(theMapArea->GetName(), "NEW");
}

TEST_F(EditorCommandTest, AMissingMapOrPictureOnlyWarnsAndTheMapStays)
{
    Command("LOAD MAP01");
    Command("LOAD NOPE");
    EXPECT_TRUE(Logged("WARNING: no map file \"data/maps/NOPE.map\""));
    EXPECT_EQ(theMapArea->GetName(), "MAP01");
    EXPECT_EQ(theMapArea->GetObjects().size(), 2u);
    Command("BGX");  // the word is "bg": the picture X
    EXPECT_TRUE(Logged("WARNING: no underlay picture \"data/maps/X.tga\""));
    EXPECT_EQ(theEditorShell->underlay, nullptr);
    Command("BG MAP02");
    EXPECT_NE(theEditorShell->underlay, nullptr);
    // A mistyped picture keeps the underlay shown now; a path is no map name at all.
    Texture* shown = theEditorShell->underlay;
    Command("BG NOPE");
    EXPECT_EQ(theEditorShell->underlay, shown);
    Command("SAVE ../OUT");
    EXPECT_TRUE(Logged("WARNING: \"../OUT\" is not a map name"));
    EXPECT_FALSE(std::filesystem::exists("data/OUT.map"));
    EXPECT_EQ(theMapArea->GetName(), "MAP01");
    EXPECT_EQ(theMapArea->GetObjects().size(), 2u);
    EXPECT_FALSE(theApplication.IsShutdownRequested());
}

TEST_F(EditorCommandTest, AFifoOrAFolderNamedByLoadWarpOrBgIsRefusedAtOnceWithOneWarning)
{
    // Opening a FIFO that no one writes to would wait for ever.
    alarm(20);
    ASSERT_EQ(mkfifo("data/maps/pipe.map", 0600), 0);
    ASSERT_EQ(mkfifo("data/maps/pipe.tga", 0600), 0);
    ASSERT_EQ(mkfifo("data/maps/map02.tga.fifo", 0600), 0);
    std::filesystem::rename("data/maps/map02.tga.fifo", "data/maps/map02.tga");  // map02 itself is fine
    std::filesystem::create_directory("data/maps/folder.map");
    Command("LOAD MAP01");
    Command("BG MAP01");
    Texture* shown = theEditorShell->underlay;
    log.clear();
    for (const char* command : {"LOAD PIPE", "BG PIPE", "WARP PIPE", "WARP MAP02", "LOAD FOLDER"}) Command(command);
    alarm(0);

    // Named as typed, as the warnings for missing files name them.
    std::vector<std::string> warnings;
    for (const std::string& line : SplitLines(log))
        if (line.rfind("CONSOLE: WARNING", 0) == 0) warnings.push_back(line.substr(9));
    EXPECT_EQ(warnings, (std::vector<std::string>{
                            "WARNING: \"data/maps/PIPE.map\" is not a map file",
                            "WARNING: \"data/maps/PIPE.tga\" is not a picture file",
                            "WARNING: \"data/maps/PIPE.map\" is not a map file",
                            "WARNING: \"data/maps/MAP02.tga\" is not a picture file",
                            "WARNING: \"data/maps/FOLDER.map\" is not a map file",
                        }));
    EXPECT_EQ(theGame->mode, MODE_EDIT);
    EXPECT_EQ(theMapArea->GetName(), "MAP01");
    EXPECT_EQ(theMapArea->GetObjects().size(), 2u);
    EXPECT_EQ(theEditorShell->underlay, shown);
}

TEST_F(EditorCommandTest, PlayAndEditGoBetweenTheEditorAndTheGameClosingTheLine)
{
    Command("LOAD MAP02");
    Command("PLAY");
    EXPECT_EQ(theGame->mode, MODE_AIM);
    EXPECT_FALSE(theGame->commandLineOpen);
    EXPECT_EQ(theMapArea, nullptr);
    EXPECT_EQ(theGame->currentMapName, "MAP02");
    EXPECT_EQ(TheBall().position, Vec2f(512, 512));
    Frames(2);
    Command("EDIT");
    EXPECT_EQ(theGame->mode, MODE_EDIT);
    EXPECT_FALSE(theGame->commandLineOpen);
    ASSERT_NE(theMapArea, nullptr);
    EXPECT_EQ(theMapArea->GetName(), "MAP02");
    EXPECT_NE(theEditorShell->underlay, nullptr);
    RunFrames(2);
}

TEST_F(EditorCommandTest, RequestsThatWouldLoseUnsavedChangesOrAnotherMapAskOnce)
{
    const std::string warning = "WARNING: \"MAP01\" has unsaved changes; SAVE it, or ";
    Command("LOAD MAP01");
    HoverTheCollectible();
    Command("SET KIND STAR");
    Command("QUIT");
    EXPECT_TRUE(Logged(warning + "QUIT again to discard them"));
    DoubleClick(2);  // a change in between, or another request, and the next one asks again
    log.clear();
    Command("QUIT");
    EXPECT_TRUE(Logged(warning + "QUIT again to discard them"));
    Post(WM_CLOSE, 0, 0);
    EXPECT_TRUE(Logged(warning + "close the window again to discard them"));
    EXPECT_FALSE(theApplication.IsShutdownRequested());
    Command("LOAD NOPE");  // nothing would be replaced: only the missing file is worth a word
    EXPECT_FALSE(Logged(warning + "LOAD NOPE again to discard them"));
    const std::string shipped = ReadWholeFile("data/maps/map02.map");
    Command("SAVE MAP02");
    EXPECT_TRUE(Logged("WARNING: \"data/maps/MAP02.map\" is another map's file; SAVE MAP02 again to replace it"));
    EXPECT_EQ(ReadWholeFile("data/maps/map02.map"), shipped);
    Command("SAVE MAP02");
    EXPECT_NE(ReadWholeFile("data/maps/map02.map").find("STAR"), std::string::npos);
    Command("LOAD MAP01");  // saved: no question
    EXPECT_EQ(theMapArea->GetName(), "MAP01");

    const std::pair<const char*, GameMode> requests[] = {{"LOAD MAP02", MODE_EDIT},
                                                         {"EDIT", MODE_EDIT},
                                                         {"WARP MAP02", MODE_AIM},
                                                         {"EDIT", MODE_EDIT},
                                                         {"PLAY", MODE_AIM}};
    for (const auto& request : requests) {
        SCOPED_TRACE(request.first);
        if (theGame->mode != MODE_EDIT) Command("EDIT");
        RunFrames(1);
        DoubleClick(2);
        const size_t objects = theMapArea->GetObjects().size();
        log.clear();
        Command(request.first);
        const std::string& name = theMapArea->GetName();
        EXPECT_TRUE(Logged((name.empty() ? "WARNING: the new map has unsaved changes; SAVE it under a name, or "
                                         : "WARNING: \"" + name + "\" has unsaved changes; SAVE it, or ") +
                           request.first + " again to discard them"));
        EXPECT_EQ(theMapArea->GetObjects().size(), objects);
        Command(request.first);
        EXPECT_EQ(theGame->mode, request.second);
        if (request.second == MODE_EDIT) {
            EXPECT_FALSE(theEditorShell->HasUnsavedChanges()) << "afresh";
        }
    }
    Command("EDIT");
    RunFrames(1);
    DoubleClick(2);
    Post(WM_CLOSE, 0, 0);
    EXPECT_FALSE(theApplication.IsShutdownRequested());
    Post(WM_CLOSE, 0, 0);
    EXPECT_TRUE(theApplication.IsShutdownRequested());
}
