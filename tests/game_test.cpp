// The game through the real engine, driven by window messages and frames of a fixed-step clock,
// on a small data folder of its own.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <FmodTesting.h>
#include <PlatformTesting.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "Engine/TheApplication.h"
#include "Engine/TheRenderer.h"
#include "Engine/TheSoundSystem.h"
#include "Engine/TheVideoSystem.h"
#include "Game/Ball.h"
#include "Game/EditorShell.h"
#include "Game/FlightGlobals.h"
#include "Game/Game.h"
#include "Game/GameInterface.h"
#include "Game/MapItem.h"
#include "Game/PlayMap.h"
#include "GameFixture.h"
#include "GameTestData.h"
#include "RenderTestSupport.h"
#include "TestSupport.h"

static TheGameInterface theGameInterface;

TEST_F(GameTest, StartsOnTheTitleWithMap01LoadedAndTheBallOnItsSpawn)
{
    Start();
    EXPECT_STREQ(TheApplication::GetName(), "Pinwhirl v0.01");
    EXPECT_EQ(theGame->mode, MODE_TITLE);
    EXPECT_EQ(theGame->currentMapName, "map01");
    ASSERT_EQ(theGame->balls.size(), 1u);
    EXPECT_EQ(theGame->lastSpawnedBall, &TheBall());
    EXPECT_EQ(TheBall().position, Vec2f(100, 924));
    EXPECT_EQ(TheBall().velocity, Vec2f(500, -40));
    EXPECT_EQ(TheMap().collectiblesLeft, 1);
    EXPECT_EQ(theSoundSystem.GetNumRegisteredSounds(), 4u);
    for (Texture* texture :
         {theGame->titleTexture, theGame->panelTexture, theGame->arrowTexture, theGame->mapCompleteTexture})
        EXPECT_NE(texture, nullptr);
}

TEST_F(GameTest, TheTitleTakesNoEventForHalfASecondThenAnyEventStartsPlay)
{
    Start();
    theGame->SetMode(MODE_TITLE);  // as the start-up dialog does
    Frames(40);
    Press('A');
    EXPECT_EQ(theGame->mode, MODE_TITLE);
    EXPECT_TRUE(ReachedDefaultHandling());
    Frames(20);
    Release('A');  // even a release
    EXPECT_EQ(theGame->mode, MODE_AIM);
    EXPECT_FALSE(ReachedDefaultHandling());

    theGame->SetMode(MODE_TITLE);
    Frames(60);
    Post(WM_MOUSEWHEEL, WPARAM(120 << 16), 0);
    EXPECT_EQ(theGame->mode, MODE_AIM);
}

TEST_F(GameTest, TheAngleWrapsFrom360To0AndBack)
{
    StartAiming();
    theGame->angle = 359;
    Tap(VK_RIGHT);
    EXPECT_EQ(theGame->angle, 360);  // an angle the panel can hold
    Tap(VK_RIGHT);
    EXPECT_EQ(theGame->angle, 0);
    Tap(VK_LEFT);
    EXPECT_EQ(theGame->angle, 360);
    Frames(30);
    EXPECT_EQ(theGame->angle, 360);
}

TEST_F(GameTest, AHeldKeyStepsOnceWaitsATenthThenRepeatsQuickly)
{
    StartAiming();
    PlatformSetFixedStepForTesting(0.003);
    Frames(1);
    Press(VK_RIGHT);
    Frames(1);
    EXPECT_EQ(theGame->angle, 316);
    Repeat(VK_RIGHT);
    Frames(33);  // 0.099 s: still waiting
    EXPECT_EQ(theGame->angle, 316);
    Frames(1);
    EXPECT_EQ(theGame->angle, 317);
    // Then one step each 0.01 s, which at 0.003 s a frame is every fourth frame.
    Frames(40);
    EXPECT_EQ(theGame->angle, 327);
    Release(VK_RIGHT);
    Frames(40);
    EXPECT_EQ(theGame->angle, 327);

    // Power repeats every 0.02 s: every seventh frame.
    Press(VK_DOWN);
    Frames(1);
    EXPECT_EQ(theGame->power, 49);
    Repeat(VK_DOWN);
    Frames(34);
    EXPECT_EQ(theGame->power, 48);
    Frames(70);
    EXPECT_EQ(theGame->power, 38);
}

TEST_F(GameTest, PowerHeldUpStopsAtAHundredWithAFullLengthRedBar)
{
    StartAiming();
    theGame->power = 99;
    Press(VK_UP);
    Repeat(VK_UP);
    Frames(50);
    EXPECT_EQ(theGame->power, 100);

    theGame->RunFrame();  // drawn into the back buffer, which the test reads
    const Frame frame;
    const PixelBox bar = FindPixels(
        frame, [](const Color& c) { return c.r == 254 && c.g == 0 && c.b == 0; }, 1024, 300, 1279, 450);
    EXPECT_NEAR(bar.maxX - bar.minX + 1, 200, 1);
    EXPECT_NEAR(bar.minX, 1052, 1);
    EXPECT_NEAR(bar.maxY - bar.minY + 1, 40, 1);

    // Half power: half the bar, half red and half blue.
    theGame->power = 50;
    theGame->RunFrame();
    const Frame half;
    EXPECT_TRUE(SameRgb(half.At(1100, 384), Color(127, 0, 127), 0)) << half.At(1100, 384);
    EXPECT_TRUE(SameRgb(half.At(1200, 384), Color(48, 48, 48), 0));
}

TEST_F(GameTest, SpaceShootsAlongTheAngleAndTheLastCollectibleCompletesTheMap)
{
    StartAiming();
    Press(VK_SPACE);
    EXPECT_EQ(theGame->mode, MODE_FLIGHT);
    EXPECT_EQ(Playing(SOUND_BALL_SHOT), 1u);
    // Power 50 at 315°: 1000 units a second up and to the right, each component rounded once.
    EXPECT_EQ(TheBall().velocity, Vec2f(float(0.7071067811865476 * 1000), float(-0.7071067811865475 * 1000)));
    EXPECT_DOUBLE_EQ(trailTimeLeft, 45.0);

    // The collectible lies on the path; the map is complete at the start of the next frame,
    // and the ball still moves in that frame.
    FlyUntil([&] { return TheMap().collectiblesLeft == 0; });
    EXPECT_EQ(theGame->mode, MODE_FLIGHT);
    EXPECT_EQ(Playing(SOUND_ITEM_COLLECTED), 1u);
    const Vec2f before = TheBall().position;
    Frames(1);
    EXPECT_EQ(theGame->mode, MODE_MAP_COMPLETE);
    EXPECT_EQ(Playing(SOUND_MAP_COMPLETE), 1u);
    EXPECT_NE(TheBall().position, before);

    Frames(10);
    Release(VK_SPACE);  // only a press moves on
    EXPECT_EQ(theGame->mode, MODE_MAP_COMPLETE);
    Press('X');
    EXPECT_EQ(theGame->mode, MODE_AIM);
    EXPECT_EQ(theGame->currentMapName, "map02");
    EXPECT_EQ(TheBall().position, Vec2f(512, 512));
}

TEST_F(GameTest, RRestoresTheMapButKeepsTheTrailUntilTheNextShot)
{
    StartAiming();
    Press(VK_SPACE);
    FlyUntil([&] { return TheMap().collectiblesLeft == 0; });
    const size_t trail = shotTrail.size();
    ASSERT_GT(trail, 1u);
    Press('R');
    EXPECT_FALSE(ReachedDefaultHandling());
    EXPECT_EQ(theGame->mode, MODE_AIM);
    EXPECT_EQ(TheMap().collectiblesLeft, 1);
    EXPECT_EQ(TheBall().position, Vec2f(100, 924));
    EXPECT_EQ(theGame->maps.size(), 1u);  // map01 was unloaded and loaded afresh
    Frames(5);
    EXPECT_EQ(shotTrail.size(), trail);
    Press(VK_SPACE);
    EXPECT_TRUE(shotTrail.empty());
}

TEST_F(GameTest, SDuringFlightLoadsMap02AndItsBallFliesAtOnce)
{
    StartAiming();
    Press(VK_SPACE);
    Frames(3);
    Press('S');
    EXPECT_TRUE(ReachedDefaultHandling());  // not handled
    EXPECT_EQ(theGame->mode, MODE_FLIGHT);
    EXPECT_EQ(theGame->currentMapName, "map02");
    EXPECT_FALSE(theGame->soundOn);
    EXPECT_EQ(theGame->power, 71);
    EXPECT_EQ(theGame->angle, 102);
    EXPECT_TRUE(shotTrail.empty());  // another map
    Frames(1);
    // The default velocity plus one frame of gravity.
    EXPECT_EQ(TheBall().velocity, Vec2f(500, -40 + 1000 * 0.01f));
    EXPECT_GT(TheBall().position.x, 512);
    // map01 went: only the map in play is kept.
    ASSERT_EQ(theGame->maps.size(), 1u);
    EXPECT_EQ(theGame->maps[0]->GetName(), "map02");
}

TEST_F(GameTest, F11SwitchesTheFrameRateInEveryMode)
{
    Start();
    theGame->commandLineOpen = true;
    for (GameMode mode : {MODE_TITLE, MODE_AIM, MODE_FLIGHT, MODE_MAP_COMPLETE, MODE_EDIT}) {
        theGame->SetMode(mode);
        const bool shown = theRenderer.IsFpsDisplayed();
        Press(VK_F11);
        EXPECT_NE(theRenderer.IsFpsDisplayed(), shown) << "mode " << mode;
        EXPECT_FALSE(ReachedDefaultHandling());
        Frames(1);
    }
}

TEST_F(GameTest, BounceSoundsComeAtMostOncePerTenthOfASecond)
{
    StartAiming();
    Frames(20);
    theGame->PlayBounceSound(0.5f);
    Frames(5);
    theGame->PlayBounceSound(0.5f);  // 0.05 s later
    EXPECT_EQ(Playing(SOUND_BALL_BOUNCE), 1u);
    Frames(6);
    theGame->PlayBounceSound(0.5f);
    EXPECT_EQ(Playing(SOUND_BALL_BOUNCE), 2u);
    // With the sound off nothing plays, and the clock of the last one stays.
    theGame->soundOn = false;
    Frames(20);
    theGame->PlayBounceSound(1.0f);
    theGame->PlayCollectSound();
    EXPECT_EQ(Playing(SOUND_BALL_BOUNCE), 2u);
    EXPECT_EQ(Playing(SOUND_ITEM_COLLECTED), 0u);
}

TEST_F(GameTest, SpaceOnAMapWithoutABallSpawnChangesTheModeAndTouchesNoBall)
{
    game_test_data::WriteMap(folder.Path(), "empty", "Vertexes { } Linedefs { } Objects { (5, 5) }");
    StartAiming();
    theGame->SetMap("empty");
    EXPECT_TRUE(theGame->balls.empty());
    Press(VK_SPACE);
    EXPECT_EQ(theGame->mode, MODE_FLIGHT);
    EXPECT_EQ(Playing(SOUND_BALL_SHOT), 1u);
    Frames(5);
    EXPECT_EQ(theGame->mode, MODE_FLIGHT);
    Press('R');
    EXPECT_EQ(theGame->mode, MODE_AIM);
}

TEST_F(GameTest, FreezeStopsTheBallAfterEachBounceUntilG)
{
    StartAiming();
    Press('P');
    Press('F');
    EXPECT_TRUE(debugOverlay && freezeOnCollision);
    theGame->angle = 90;  // straight down onto the floor
    Press(VK_SPACE);
    FlyUntil([] { return collisionPending; });
    const BallBody frozen = TheBall();
    Frames(10);
    EXPECT_EQ(TheBall().position, frozen.position);
    EXPECT_EQ(TheBall().velocity, frozen.velocity);
    Press('G');
    EXPECT_FALSE(collisionPending);
    Frames(1);
    EXPECT_NE(TheBall().position, frozen.position);
    // Without the overlay the freeze does not hold.
    FlyUntil([] { return collisionPending; });
    Press('P');
    const Vec2f position = TheBall().position;
    Frames(1);
    EXPECT_NE(TheBall().position, position);
    Press('P');
    Press('F');
}

TEST_F(GameTest, AReloadedMapTakesItsLastContactWithIt)
{
    StartAiming();
    Press('P');
    theGame->angle = 90;
    Press(VK_SPACE);
    FlyUntil([] { return lastCollisionLinedef != nullptr; });
    Press('R');
    EXPECT_EQ(lastCollisionLinedef, nullptr);
    Frames(2);  // the overlay has nothing stale to draw
    Press('P');
}

TEST_F(GameTest, TheNextMapIsTheNumberPlusOneOrMap01)
{
    for (const char* name : {"map09", "map10", "level7", "level08", "intro"})
        game_test_data::WriteMap(folder.Path(), name, game_test_data::BoxMap(50, 50, " (500, 500)\n"));
    StartAiming();
    auto complete = [this](const char* from) {
        theGame->SetMap(from);
        theGame->SetMode(MODE_MAP_COMPLETE);
        Press(VK_RETURN);
        EXPECT_EQ(theGame->mode, MODE_AIM);
        return theGame->currentMapName;
    };
    EXPECT_EQ(complete("map09"), "map10");
    EXPECT_EQ(complete("level7"), "level08");
    EXPECT_EQ(complete("map10"), "map01");
    // Without a digit the same map starts again, with its collectibles back.
    theGame->SetMap("intro");
    TheMap().collectiblesLeft = 0;
    EXPECT_EQ(complete("intro"), "intro");
    EXPECT_EQ(TheMap().collectiblesLeft, 1);
    // A next map that cannot start (no background picture yet) counts as missing, and says why.
    ASSERT_EQ(remove("data/maps/level08.tga"), 0);
    EXPECT_EQ(complete("level7"), "map01");
    EXPECT_NE(log.find("CONSOLE: WARNING: no background picture \"data/maps/level08.tga\"\n"), std::string::npos);
    ASSERT_EQ(remove("data/maps/map10.map"), 0);
    EXPECT_EQ(complete("map09"), "map01");
}

TEST_F(GameTest, EscapeQuitsFromPlay)
{
    StartAiming();
    Press(VK_ESCAPE);
    EXPECT_TRUE(theApplication.IsShutdownRequested());
    Frames(1);
    EXPECT_FALSE(TheApplication::IsInitialized());
}

TEST_F(GameTest, TheCommandLineHoldsAtMost254Characters)
{
    Start();
    for (int i = 0; i < 254; ++i) EXPECT_TRUE(theGame->AppendToCommandLine(uint8_t('A' + i % 26)));
    EXPECT_FALSE(theGame->AppendToCommandLine('Z'));
    EXPECT_EQ(theGame->commandLineLength, 254);
    EXPECT_EQ(std::string(theGame->commandLineText), std::string(theGame->commandLineText, 254));
    EXPECT_EQ(theGame->commandLineText[253], 'A' + 253 % 26);
}

TEST_F(GameTest, TheOpenCommandLineIsDrawnOverThePlay)
{
    StartAiming();
    theGame->commandLineOpen = true;
    theGame->RunFrame();
    const Frame open;
    theGame->commandLineOpen = false;
    theGame->RunFrame();
    const Frame closed;
    // A translucent blue box at (0, 360)-(400, 408), white-framed.
    EXPECT_GT(open.At(300, 370).b, closed.At(300, 370).b + 40);
    EXPECT_TRUE(SameRgb(open.At(200, 360), Color::WHITE));
    EXPECT_TRUE(SameRgb(open.At(300, 420), closed.At(300, 420), 0));
}

// Whatever blending the frame left, the command line looks the same, and it leaves the frame's
// blending as it was for the overlays drawn next (the console is opaque over the map-complete
// picture, which is drawn without).
TEST_F(GameTest, TheCommandLineLooksTheSameOverAnyBlendingAndKeepsTheFrames)
{
    StartAiming();
    ASSERT_FALSE(theRenderer.IsFramePartial());
    theGame->commandLineOpen = true;
    std::vector<std::vector<uint8_t>> pictures;
    for (const Blending before : {Blending::OFF, Blending::ALPHA, Blending::ADDITIVE}) {
        theRenderer.Clear(Color::GREY);
        theRenderer.SetBlending(before);
        theGame->DrawCommandLine();
        EXPECT_EQ(glIsEnabled(GL_BLEND) == GL_TRUE, before != Blending::OFF);
        GLint destination = 0;
        glGetIntegerv(GL_BLEND_DST, &destination);
        EXPECT_EQ(destination, before == Blending::ADDITIVE ? GL_ONE : GL_ONE_MINUS_SRC_ALPHA);
        pictures.push_back(Frame().BottomUpRgba());
    }
    EXPECT_EQ(pictures[0], pictures[1]);
    EXPECT_EQ(pictures[0], pictures[2]);
}

// ---------------------------------------------------------------------------
// Files that are missing or broken end the program, naming the file.

namespace {

std::string Names(const std::string& expression, const std::string& message)
{
    return Literal("Expression was: ( " + expression + " )\n\n   " + message);
}

// The report goes to stderr, where the death test reads it.
void StartReporting()
{
    theApplication.Startup();
}

}  // namespace

TEST_F(GameTest, AMissingPictureIsFatalAndNamesTheFile)
{
    for (const char* picture :
         {"data/ui/ui_base01.tga", "data/sprites/ball02.tga", "data/sprites/collection01.tga", "data/maps/map01.tga"}) {
        game_test_data::WriteAll(folder.Path());
        ASSERT_EQ(remove(picture), 0);
        EXPECT_EXIT(StartReporting(), testing::ExitedWithCode(1),
                    Names("file", std::string("Image::LoadFromFile : failed to open \"") + picture + "\""));
    }
}

TEST_F(GameTest, ABrokenPictureIsFatal)
{
    game_test_data::WritePicture("data/ui/titlescreen.tga", 8, 8, 16, [](int, int) {
        return game_test_data::Bgra{0, 0, 0, 0};
    });
    EXPECT_EXIT(StartReporting(), testing::ExitedWithCode(1),
                Literal("Image::_LoadTGAFromFile : data/ui/titlescreen.tga had unsupported bit-depth of 16 bpp"));
    game_test_data::WriteAll(folder.Path());
    game_test_data::WriteSolid("data/sprites/arrow.tga", 100, 64, game_test_data::Bgra{0, 0, 0, 0});
    EXPECT_EXIT(StartReporting(), testing::ExitedWithCode(1),
                Literal("texture \"data/sprites/arrow.tga\" had a non-power-of-two"));
}

TEST_F(GameTest, AMissingOrBrokenSoundIsFatalAndNamesTheFile)
{
    ASSERT_EQ(remove("data/sounds/ballbounce.wav"), 0);
    EXPECT_EXIT(StartReporting(), testing::ExitedWithCode(1),
                Literal("Failed to load sound data/sounds/ballbounce.wav"));
    game_test_data::WriteBytes("data/sounds/ballbounce.wav", {'R', 'I', 'F', 'F', 0, 0});
    EXPECT_EXIT(StartReporting(), testing::ExitedWithCode(1),
                Literal("Failed to load sound data/sounds/ballbounce.wav"));
}

TEST_F(GameTest, AMissingOrBrokenMapIsFatalAndNamesTheFile)
{
    ASSERT_EQ(remove("data/maps/map01.map"), 0);
    EXPECT_EXIT(StartReporting(), testing::ExitedWithCode(1), Literal("could not open file \"data/maps/map01.map\""));
    game_test_data::WriteMap(folder.Path(), "map01", "Vertexes { (1, 2) }\nLinedefs { 0 }\nObjects { }\n");
    EXPECT_EXIT(StartReporting(), testing::ExitedWithCode(1), Literal("data/maps/map01.map"));
}
