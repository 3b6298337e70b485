// File names typed in capitals find their files as on Windows: an existing name that matches
// ignoring case is used, a new one is made as typed; maps, pictures and saves go through it.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>

#include "Engine/FileName.h"
#include "Engine/Image.h"
#include "Engine/ParseFile.h"
#include "Game/MapArea.h"
#include "GameTestData.h"
#include "TestSupport.h"

namespace {

class FileNameTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(getcwd(previous, sizeof(previous)), nullptr);
        ASSERT_EQ(chdir(folder.Path().c_str()), 0);
        game_test_data::WriteMap(".", "map02", game_test_data::BoxMap(512, 512));
    }
    void TearDown() override { EXPECT_EQ(chdir(previous), 0); }
    static bool Exists(const std::string& path) { return std::filesystem::exists(path); }

    TestFolder folder;
    char previous[4096] = {};
};

}  // namespace

TEST_F(FileNameTest, EachPartOfAPathMatchesIgnoringCaseAndANewPartStaysAsTyped)
{
    EXPECT_EQ(ResolveFileName("data/maps/MAP02.map"), "data/maps/map02.map");
    EXPECT_EQ(ResolveFileName("DATA/Maps/map02.MAP"), "data/maps/map02.map");
    EXPECT_EQ(ResolveFileName("data/maps/NEW.map"), "data/maps/NEW.map");
    EXPECT_EQ(ResolveFileName("DATA/MAPS/NEW.map"), "data/maps/NEW.map");
    // Below a folder that matches nothing, nothing is looked up.
    EXPECT_EQ(ResolveFileName("data/NOPE/MAP02.map"), "data/NOPE/MAP02.map");
    EXPECT_EQ(ResolveFileName(folder.PathOf("DATA/maps/Map02.tga")), folder.PathOf("data/maps/map02.tga"));
    EXPECT_EQ(ResolveFileName(""), "");
}

TEST_F(FileNameTest, AnExactNameWinsAndOtherwiseTheFirstInNameOrder)
{
    folder.Write("data/maps/Map02.map", "x");
    EXPECT_EQ(ResolveFileName("data/maps/Map02.map"), "data/maps/Map02.map");
    EXPECT_EQ(ResolveFileName("data/maps/map02.map"), "data/maps/map02.map");
    EXPECT_EQ(ResolveFileName("data/maps/MAP02.map"), "data/maps/Map02.map");  // 'M' sorts before 'm'
}

TEST_F(FileNameTest, MapsAndPicturesOpenByTheirNamesInCapitals)
{
    EXPECT_TRUE(CanOpenFile("data/maps/MAP02.MAP"));
    EXPECT_FALSE(CanOpenFile("data/maps/MAP03.map"));
    EXPECT_FALSE(CanOpenFile("data/maps"));  // a folder opens on Linux, but it is no file to read
    MapArea map("MAP02", true);
    EXPECT_EQ(map.GetVertexes().size(), 4u);
    const Image picture("data/maps/MAP02.TGA");
    EXPECT_EQ(picture.GetWidth(), 8);
}

TEST_F(FileNameTest, ASaveWritesTheExistingFileOrMakesOneWithTheNameAsTyped)
{
    MapArea map("map02", true);
    map.AddVertex(Vec2f(1, 2), true);
    ASSERT_TRUE(map.SaveMapByName("MAP02"));
    EXPECT_FALSE(Exists("data/maps/MAP02.map"));
    MapArea reloaded("map02", true);
    EXPECT_EQ(reloaded.GetVertexes().size(), 5u);

    ASSERT_TRUE(map.SaveMapByName("NEW"));
    EXPECT_TRUE(Exists("data/maps/NEW.map"));
    EXPECT_FALSE(Exists("data/maps/new.map"));
}

TEST(PlainFileName, NamesOnlyAFileOfItsOwnFolder)
{
    for (const char* name :
         {"map01", "MYLEVEL", "a.b", "..x", "x..", "with space", "CONSOLE", "com10", "lpt", "null.tga"})
        EXPECT_TRUE(IsPlainFileName(name)) << name;
    for (const char* name : {"", ".", "..", "../x", "a/b", "a\\b", "c:x", "/tmp/x", "../../../../tmp/x", "CON",
                             "nul.map", "Aux.tga", "com1 .tga", "LPT9", "conout$"})
        EXPECT_FALSE(IsPlainFileName(name)) << name;
    EXPECT_FALSE(IsPlainFileName(std::string("a\0b", 3)));
}

TEST_F(FileNameTest, OnlyRegularFilesOpenAndAFifoOrADeviceIsRefusedWithoutWaiting)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // Opening a FIFO that no one writes to waits for ever: a refusal must come before the open.
    alarm(20);
    // A death test's child runs this again in the same folder: what is there already stays.
    for (const char* fifo : {"data/maps/pipe.map", "data/maps/pipe.tga"})
        ASSERT_TRUE(mkfifo(fifo, 0600) == 0 || errno == EEXIST) << fifo;
    std::error_code error;
    std::filesystem::create_symlink("/dev/zero", "data/maps/zero.map", error);
    std::filesystem::create_directory("data/maps/folder.map");

    EXPECT_EQ(GetFileKind("data/maps/MAP02.MAP"), FileKind::REGULAR);
    EXPECT_EQ(GetFileKind("data/maps/nope.map"), FileKind::MISSING);
    for (const char* other : {"data/maps/PIPE.map", "data/maps/zero.map", "data/maps/folder.map"}) {
        EXPECT_EQ(GetFileKind(other), FileKind::OTHER) << other;
        EXPECT_FALSE(CanOpenFile(other)) << other;
        EXPECT_EQ(OpenRegularFile(other), nullptr) << other;
    }
    FILE* file = OpenRegularFile("data/maps/MAP02.map");
    EXPECT_NE(file, nullptr);
    if (file != nullptr) fclose(file);

    // The loaders refuse them as they refuse a file that does not open.
    EXPECT_EXIT(MapArea map("pipe", true), testing::ExitedWithCode(1),
                Literal("could not open file \"data/maps/pipe.map\""));
    EXPECT_EXIT(MapArea map("zero", true), testing::ExitedWithCode(1),
                Literal("could not open file \"data/maps/zero.map\""));
    EXPECT_EXIT(Image picture("data/maps/pipe.tga"), testing::ExitedWithCode(1),
                Literal("Image::LoadFromFile : failed to open \"data/maps/pipe.tga\""));
    alarm(0);
}
