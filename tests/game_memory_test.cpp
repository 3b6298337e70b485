// What a map owns goes with it: its background and its sprites' textures, one texture per sprite
// file however many objects show it; the ball's two are made once. Players retry a map hundreds
// of times, so restarts and next maps must leave the program's memory where it was.
#include <gtest/gtest.h>

#include <windows.h>
#include <GL/gl.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "Engine/FileName.h"
#include "Engine/Texture.h"
#include "Game/Animation.h"
#include "Game/GameInterface.h"
#include "Game/MapItem.h"
#include "Game/Sprite.h"
#include "GameFixture.h"

static TheGameInterface theGameInterface;

namespace {

// How many texture names GL has in use among the first few thousand (it hands them out from 1).
int LiveTextures()
{
    int count = 0;
    for (GLuint name = 1; name < 4096; ++name) count += glIsTexture(name) ? 1 : 0;
    return count;
}

// The process's resident memory, from the kernel's count of its resident pages.
double ResidentMegabytes()
{
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

class GameMemoryTest : public GameTest {
protected:
    // A key that starts a map (R in flight, any key on the map-complete picture), then one frame
    // that draws it. The frame is finished at once: headless, GL would otherwise keep every
    // presented frame's work, and the textures it used, queued.
    void StartAgainWith(GameMode mode, UINT key)
    {
        theGame->SetMode(mode);
        Press(key);
        Frames(1);
        glFinish();
        log.clear();
    }
    void Restart() { StartAgainWith(MODE_FLIGHT, 'R'); }
    void NextMap() { StartAgainWith(MODE_MAP_COMPLETE, VK_RETURN); }
};

}  // namespace

TEST_F(GameMemoryTest, ItemsShowingOneSpriteShareItsTextureAndARestartGivesBackWhatTheMapHeld)
{
    game_test_data::WriteDiscs(folder.PathOf("data/sprites/gem.tga"), 16, 2, 6, game_test_data::Bgra{255, 0, 0, 255});
    game_test_data::WriteMap(folder.Path(), "map01",
                             game_test_data::BoxMap(100, 100,
                                                    " (200, 200)\n (300, 300) { \"SPRITE\" \"COLLECTION01\" }\n"
                                                    " (400, 400) { \"SPRITE\" \"gem\" }\n"
                                                    " (500, 500) { \"SPRITE\" \"gem\" }\n"));
    StartAiming();
    const PlayMap& map = TheMap();
    ASSERT_EQ(map.items.size(), 5u);
    EXPECT_EQ(map.GetAnimation(map.items[0]), nullptr) << "the ball spawn shows nothing";
    EXPECT_EQ(map.GetSpriteCount(), 2u) << "collection01 (also when named in capitals) and gem";
    const Animation* star = map.GetAnimation(map.items[1]);
    const Animation* gem = map.GetAnimation(map.items[3]);
    ASSERT_TRUE(star && gem);
    EXPECT_EQ(map.GetAnimation(map.items[2])->a_texture, star->a_texture);
    EXPECT_EQ(map.GetAnimation(map.items[4])->a_texture, gem->a_texture);
    EXPECT_NE(star->a_texture, gem->a_texture);
    EXPECT_NE(map.GetAnimation(map.items[4]), gem) << "each item plays its own frames";
    EXPECT_EQ(gem->frameCount, 2);

    const Sprite* ballSprite = theGame->ballSprite;
    ASSERT_NE(ballSprite, nullptr);
    EXPECT_EQ(TheBall().ballAnimation.a_texture, ballSprite->GetTexture());
    const int live = LiveTextures();
    for (int i = 0; i < 5; ++i) Restart();
    EXPECT_EQ(LiveTextures(), live) << "the old map's background and sprites went with it";
    EXPECT_EQ(theGame->ballSprite, ballSprite) << "the ball's textures are made once";
    EXPECT_EQ(TheBall().ballAnimation.a_texture, ballSprite->GetTexture());
    EXPECT_EQ(TheBall().highlightAnimation.a_texture, theGame->highlightSprite->GetTexture());

    // The editor's underlay is given back as it is replaced.
    theEditorShell->EnterEditor();
    const int editing = LiveTextures();
    for (int i = 0; i < 5; ++i) theEditorShell->SetUnderlay("data/maps/map02.tga");
    EXPECT_EQ(LiveTextures(), editing);
}

// On the shipped maps, whose backgrounds are a megapixel each: each leaked restart would cost
// several megabytes.
TEST_F(GameMemoryTest, HundredsOfRestartsAndNextMapsLeaveResidentMemoryWhereItWas)
{
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "AddressSanitizer holds freed blocks back for a while, and resident memory counts them";
#endif
    ASSERT_EQ(chdir(previous), 0);
    ASSERT_TRUE(CanOpenFile("data/maps/map01.tga")) << "the build makes the shipped data";
    StartAiming();

    for (int i = 0; i < 10; ++i) Restart();
    const double afterTen = ResidentMegabytes();
    for (int i = 10; i < 300; ++i) Restart();
    EXPECT_EQ(theGame->currentMapName, "map01");
    EXPECT_LT(ResidentMegabytes() - afterTen, 20.0) << "300 restarts, from " << afterTen << " MB";

    for (int i = 0; i < 10; ++i) NextMap();
    const double afterTenMaps = ResidentMegabytes();
    for (int i = 10; i < 300; ++i) NextMap();
    EXPECT_LT(ResidentMegabytes() - afterTenMaps, 20.0) << "300 next maps, from " << afterTenMaps << " MB";
}
