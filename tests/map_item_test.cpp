// Map items and sprite animations: the object rules, the end markers of a strip, the frame
// rate, and which part of the strip a frame draws.
#include <gtest/gtest.h>

#include <string>

#include "Engine/TheApplication.h"
#include "Engine/Texture.h"
#include "Game/Animation.h"
#include "Game/MapItem.h"
#include "Game/MapObject.h"
#include "GameTestData.h"
#include "RenderTestSupport.h"
#include "TestSupport.h"

using game_test_data::Bgra;

namespace {

// Whether an item without its sprite made from the object counts.
bool Collectible(MapObject& object)
{
    const MapItem item(&object);
    return IsCollectible(&item);
}

const Bgra FRAME_COLOURS[4] = {{0, 0, 255, 255}, {0, 255, 0, 255}, {255, 0, 0, 255}, {255, 255, 0, 255}};

class AnimationTest : public RenderingTest {
protected:
    // A 128 x 32 strip of four solid frames; a magenta pixel in the first stored row of the
    // marked frame.
    std::string Strip(int markedFrame = -1)
    {
        const std::string path = folder.PathOf("strip" + std::to_string(markedFrame) + ".tga");
        game_test_data::WritePicture(path, 128, 32, 32, [markedFrame](int x, int row) {
            if (row == 0 && x / 32 == markedFrame && x % 32 == 5) return Bgra{255, 0, 255, 255};
            return FRAME_COLOURS[x / 32];
        });
        return path;
    }
    // The colour drawn an eighth of the way in from the left and from the right of the quad.
    std::pair<Color, Color> DrawAndRead(Animation& animation, int frame)
    {
        theRenderer.Clear(Color::BLACK);
        animation.Draw(Vec2f(200, 200), Vec2f::ONE, 0.0f, Color::WHITE, frame);
        const Frame picture;
        return {picture.At(188, 200), picture.At(212, 200)};
    }

    TestFolder folder;
};

}  // namespace

TEST(MapItemRules, WhatAnObjectIsFollowsFromItsKeys)
{
    MapObject plain(Vec2f(3, 4));
    const MapItem item(&plain);
    EXPECT_EQ(item.source, &plain);
    EXPECT_EQ(item.position, Vec2f(3, 4));
    EXPECT_EQ(item.radius, 24.0f);
    EXPECT_FALSE(IsBallSpawn(&item));
    EXPECT_TRUE(IsCollectible(&item));

    // A spawn with a sprite is still a spawn, and without "COLLECT" "0" it still counts.
    MapObject spawn(Vec2f(0, 0));
    spawn.properties.Set("ballspawn", "no");
    spawn.properties.Set("SPRITE", "gem");
    MapItem spawnItem(&spawn);
    EXPECT_TRUE(IsBallSpawn(&spawnItem));
    EXPECT_TRUE(IsCollectible(&spawnItem));
    EXPECT_EQ(SpriteFileName(&spawnItem), "");  // shows nothing

    for (const char* value : {"false", "", "00", " 0"}) {
        MapObject object(Vec2f(0, 0));
        object.properties.Set("Collect", value);
        EXPECT_TRUE(Collectible(object)) << '"' << value << '"';
    }
    MapObject fixed(Vec2f(0, 0));
    fixed.properties.Set("COLLECT", "0");
    EXPECT_FALSE(Collectible(fixed));
}

TEST(MapItemRules, AnItemShowsItsSpriteOrCollection01)
{
    MapObject plain(Vec2f(0, 0));
    const MapItem plainItem(&plain);
    EXPECT_EQ(SpriteFileName(&plainItem), "data/sprites/collection01.tga");
    MapObject gem(Vec2f(0, 0));
    gem.properties.Set("sprite", "gem");
    const MapItem gemItem(&gem);
    EXPECT_EQ(SpriteFileName(&gemItem), "data/sprites/gem.tga");
    // Where a map cannot be refused (the first, at start-up), a sprite named outside
    // data/sprites/ is never read.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    MapObject escape(Vec2f(0, 0));
    escape.properties.Set("SPRITE", "../../outside");
    const MapItem escapeItem(&escape);
    EXPECT_EXIT(SpriteFileName(&escapeItem), testing::ExitedWithCode(1),
                Literal("Expression was: ( IsPlainFileName(sprite) )\n\n   MapItem : the sprite \"../../outside\" of "
                        "an object names no file of data/sprites/"));
}

TEST_F(AnimationTest, AStripPlaysTheFramesBeforeItsFirstMarker)
{
    Animation whole(Strip(), 10.0f, Vec2f(1, 1));
    EXPECT_EQ(whole.frameSize, 32);
    EXPECT_EQ(whole.frameCount, 4);
    EXPECT_EQ(whole.currentFrame, 0);
    EXPECT_EQ(whole.framesPerSecond, 10.0f);
    EXPECT_DOUBLE_EQ(whole.lastFrameTime, theApplication.GetCurrentSeconds());

    Animation cut(Strip(2), 10.0f, Vec2f(1, 1));
    EXPECT_EQ(cut.frameCount, 2);

    // A marker in the first frame: no frames at all, and the whole strip is one picture.
    Animation none(Strip(0), 10.0f, Vec2f(1, 1));
    EXPECT_EQ(none.frameCount, 0);
    const auto sides = DrawAndRead(none, Animation::KEEP_PLAYING);
    EXPECT_TRUE(SameRgb(sides.first, Color(255, 0, 0))) << sides.first;
    EXPECT_TRUE(SameRgb(sides.second, Color(0, 255, 255))) << sides.second;
}

TEST_F(AnimationTest, EachFrameDrawsItsOwnSquareOfTheStrip)
{
    Animation animation(Strip(), 10.0f, Vec2f(1, 1));
    const Color expected[4] = {Color(255, 0, 0), Color(0, 255, 0), Color(0, 0, 255), Color(0, 255, 255)};
    for (int frame : {2, 0, 3, 1}) {
        const auto sides = DrawAndRead(animation, frame);
        EXPECT_TRUE(SameRgb(sides.first, expected[frame]) && SameRgb(sides.second, expected[frame]))
            << "frame " << frame << ": " << sides.first << " " << sides.second;
        EXPECT_EQ(animation.currentFrame, frame);
    }
}

TEST_F(AnimationTest, AtTenFramesASecondAFrameAdvancesOnceATenthHasPassed)
{
    Animation animation(Strip(), 10.0f, Vec2f(1, 1));
    const double now = theApplication.GetCurrentSeconds();
    animation.lastFrameTime = now - 0.0999;
    DrawAndRead(animation, Animation::KEEP_PLAYING);
    EXPECT_EQ(animation.currentFrame, 0);
    EXPECT_EQ(animation.lastFrameTime, now - 0.0999);

    // Long pauses never skip frames: one advance per draw, and the period starts again.
    animation.lastFrameTime = now - 5.0;
    DrawAndRead(animation, Animation::KEEP_PLAYING);
    EXPECT_EQ(animation.currentFrame, 1);
    EXPECT_EQ(animation.lastFrameTime, now);
    DrawAndRead(animation, Animation::KEEP_PLAYING);
    EXPECT_EQ(animation.currentFrame, 1);

    // After the last frame the strip starts over; a jump plays on from the frame given.
    animation.lastFrameTime = now - 0.1001;
    DrawAndRead(animation, 3);
    EXPECT_EQ(animation.currentFrame, 0);

    // A single picture never advances.
    Animation still(Strip(0), 10.0f, Vec2f(1, 1));
    still.lastFrameTime = now - 5.0;
    DrawAndRead(still, Animation::KEEP_PLAYING);
    EXPECT_EQ(still.currentFrame, 0);
}
