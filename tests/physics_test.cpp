// The ball physics on hand-built fields, without a window: sweeps, bounces, push-out, collection,
// the frame clamps and the sub-step cap, with the exact log lines.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include "Game/BallPhysics.h"
#include "Game/Collision.h"
#include "Game/MapItem.h"
#include "Game/PlayField.h"
#include "Game/ShotDirections.h"
#include "TestSupport.h"

using testing::ElementsAre;

namespace {

class RecordingListener : public FlightListener {
public:
    bool LogsLines() const override { return true; }
    void LogLine(const char* line) override { lines.push_back(line); }
    void PlayBounceSound(float volume) override { volumes.push_back(volume); }
    void PlayCollectSound() override { ++collected; }

    std::vector<std::string> lines;
    std::vector<float> volumes;
    int collected = 0;
};

class PhysicsTest : public testing::Test {
protected:
    void SetUp() override { physics.SetFrame(0.01, 7); }

    Linedef* Wall(Vec2f from, Vec2f to)
    {
        return field.AddLinedef(field.AddVertex(from, true), field.AddVertex(to, true));
    }
    // An object; items are made for all of them at once by MakeItems.
    MapObject* Object(Vec2f at, const char* collect = nullptr)
    {
        MapObject* object = field.AddObject(at);
        if (collect) object->properties.Set("COLLECT", collect);
        return object;
    }
    void MakeItems()
    {
        field.MakeItems([](const Vec2f&) {});
    }
    void Place(Vec2f position, Vec2f velocity)
    {
        ball.position = position;
        ball.velocity = velocity;
    }
    float SubStep(float timeLeft)
    {
        physics.SubStep(ball, timeLeft);
        return timeLeft;
    }

    PlayField field;
    FlightRecord record;
    RecordingListener listener;
    BallPhysics physics{field, record, listener};
    BallBody ball;
};

}  // namespace

TEST_F(PhysicsTest, AFrameRunsAsIfItLastedFiveToTwentyMilliseconds)
{
    // Gravity once per frame, from the clamped time; a free flight is one sub-step.
    Place(Vec2f(100, 100), Vec2f(0, 0));
    ball.spin = 100.0f;
    record.trailTimeLeft = 45.0;
    physics.StepBall(ball, 0.1, 1);
    EXPECT_EQ(ball.velocity, Vec2f(0, 1000.0f * 0.02f));
    EXPECT_EQ(ball.position, Vec2f(100, 100 + 20.0f * 0.02f));
    EXPECT_FLOAT_EQ(ball.rotation, 2.0f);
    // The trail takes the position before the sweep and counts down the whole frame time.
    EXPECT_THAT(record.trail, ElementsAre(Vec2f(100, 100)));
    EXPECT_DOUBLE_EQ(record.trailTimeLeft, 44.9);

    Place(Vec2f(100, 100), Vec2f(0, 0));
    physics.StepBall(ball, 0.001, 2);
    EXPECT_EQ(ball.velocity, Vec2f(0, 1000.0f * 0.005f));
    EXPECT_EQ(ball.position, Vec2f(100, 100 + 5.0f * 0.005f));
    EXPECT_TRUE(listener.lines.empty());
}

TEST_F(PhysicsTest, FallingOntoAFloorLeavesItAtEightTenthsOfTheSpeed)
{
    Linedef* floor = Wall(Vec2f(-100, 100), Vec2f(100, 100));
    Place(Vec2f(0, 50), Vec2f(0, 1000));
    const float timeLeft = SubStep(0.1f);

    EXPECT_EQ(ball.velocity, Vec2f(0, -800));
    EXPECT_THAT(listener.volumes, ElementsAre(0.64f));
    EXPECT_THAT(listener.lines, ElementsAre("LINEDEF Collision occurred; discSweep = (0,50),(0,100); linedef = "
                                            "(-100,100)->(100,100); timeFraction = 0.38; timeLeft = 0.1 seconds\n"));
    // 99 % of the way to the contact, and the rest of the time is left for the next sweep.
    EXPECT_FLOAT_EQ(ball.position.y, 50 + 38 * 0.99f);
    EXPECT_FLOAT_EQ(timeLeft, 0.1f * 0.62f);
    // What the debug overlay draws.
    EXPECT_TRUE(record.collisionPending);
    EXPECT_TRUE(record.debugVectorsValid);
    EXPECT_EQ(record.lastCollisionLinedef, floor);
    EXPECT_EQ(record.lastCollisionVertex, nullptr);
    EXPECT_EQ(record.debugNormal, Vec2f(0, -100));
    EXPECT_EQ(record.debugTangent, Vec2f(100, 0));
    EXPECT_EQ(record.debugVelocityBefore, Vec2f(0, 1000));
    EXPECT_EQ(record.debugVelocityAfter, Vec2f(0, -800));
}

TEST_F(PhysicsTest, ABounceKeepsMostOfTheTangentialSpeedAndBlendsTheSpin)
{
    // The same for a wall walked from its other end: the normal always faces the sweep's start.
    Wall(Vec2f(100, 100), Vec2f(-100, 100));
    Place(Vec2f(0, 50), Vec2f(100, 1000));
    SubStep(0.1f);
    EXPECT_FLOAT_EQ(ball.velocity.x, 97.0f);
    EXPECT_FLOAT_EQ(ball.velocity.y, -800.0f);
    // 35 % of the way towards 0.97 × 100 × 12 × 0.3 = 349.2 degrees per second.
    EXPECT_FLOAT_EQ(ball.spin, 0.35f * 349.2f);

    // A ball already spinning at that rate keeps it.
    Place(Vec2f(0, 50), Vec2f(100, 1000));
    ball.spin = 349.2f;
    SubStep(0.1f);
    EXPECT_FLOAT_EQ(ball.spin, 349.2f);
    EXPECT_EQ(listener.volumes.size(), 2u);
}

TEST_F(PhysicsTest, AVertexIsAWallSquareToTheLineFromItToTheSweepsStart)
{
    Vertex* peg = field.AddVertex(Vec2f(0, 50), true);
    Place(Vec2f(0, 0), Vec2f(0, 100));
    SubStep(1.0f);
    EXPECT_THAT(listener.lines, ElementsAre("VERTEX Collision occurred; discSweep = (0,0),(0,100); vertex = (0,50); "
                                            "timeFraction = 0.38; timeLeft = 1 seconds\n"));
    EXPECT_EQ(record.lastCollisionVertex, peg);
    EXPECT_EQ(record.lastCollisionLinedef, nullptr);
    EXPECT_FLOAT_EQ(ball.velocity.x, 0.0f);
    EXPECT_FLOAT_EQ(ball.velocity.y, -80.0f);

    // Off centre, the wall is square to the start line (0, 0)-(6, 50), not to the line at contact.
    Place(Vec2f(-6, 0), Vec2f(0, 100));
    SubStep(1.0f);
    const Vec2f along = Normalised(Vec2f(6, 50));
    const Vec2f across(along.y, -along.x);
    EXPECT_NEAR(ball.velocity.x * along.x + ball.velocity.y * along.y, -0.8f * 100 * along.y, 1e-3);
    EXPECT_NEAR(ball.velocity.x * across.x + ball.velocity.y * across.y, 0.97f * 100 * across.y, 1e-3);
}

TEST_F(PhysicsTest, AVertexAndALinedefAtTheSameFractionAreLeftToThePushOut)
{
    // The sweep reaches the linedef's end vertex and the linedef itself at exactly one half.
    Wall(Vec2f(-100, 36), Vec2f(0, 36));
    Place(Vec2f(0, 0), Vec2f(0, 48));
    EXPECT_EQ(SubStep(1.0f), 0.0f);
    EXPECT_EQ(ball.position, Vec2f(0, 48));
    EXPECT_TRUE(listener.lines.empty());
    EXPECT_TRUE(listener.volumes.empty());

    // The next sweep starts by pushing the ball out of the vertex it now overlaps.
    ball.velocity = Vec2f(0, -10);
    SubStep(1.0f);
    EXPECT_THAT(listener.lines, ElementsAre("Resolving vertex interpenetration on frame #7\n",
                                            "WARNING: required 1 passes to resolve interpenetrations this frame!\n",
                                            "...resolved interpenetration!\n"));
}

TEST_F(PhysicsTest, AnOverlapIsPushedOutToJustOverOneRadiusAndSlowsTheBall)
{
    field.AddVertex(Vec2f(5, 0), true);
    Place(Vec2f(0, 0), Vec2f(-10, 0));
    const BallBody before = ball;
    EXPECT_TRUE(physics.ResolveInterpenetrations(ball));
    EXPECT_FLOAT_EQ(ball.position.x, 5 - 12.12f);
    EXPECT_EQ(ball.velocity, before.velocity * 0.9f);
    EXPECT_THAT(listener.lines, ElementsAre("Resolving vertex interpenetration on frame #7\n",
                                            "WARNING: required 1 passes to resolve interpenetrations this frame!\n"));

    // Through a sub-step the overlap is marked for the overlay and logged once more.
    listener.lines.clear();
    Place(Vec2f(0, 0), Vec2f(-10, 0));
    SubStep(0.01f);
    EXPECT_TRUE(record.interpenetrationMark);
    EXPECT_EQ(listener.lines.back(), "...resolved interpenetration!\n");
    EXPECT_FALSE(physics.ResolveInterpenetrations(ball));
}

TEST_F(PhysicsTest, ALinedefOverlapPushesOutOfItsNearestPoint)
{
    Wall(Vec2f(-100, 0), Vec2f(100, 0));
    Place(Vec2f(30, 5), Vec2f(0, 0));
    physics.SetFrame(0.01, 3);
    EXPECT_TRUE(physics.ResolveInterpenetrations(ball));
    EXPECT_EQ(ball.position, Vec2f(30, 12.12f));
    EXPECT_THAT(listener.lines, ElementsAre("Resolving linedef interpenetration on frame #3\n",
                                            "Resolving vertex interpenetration on frame #3\n",
                                            "WARNING: required 1 passes to resolve interpenetrations this frame!\n"));
}

TEST_F(PhysicsTest, AChannelNarrowerThanTheBallGivesUpAfterNinePasses)
{
    Wall(Vec2f(-100, 0), Vec2f(100, 0));
    Wall(Vec2f(-100, 20), Vec2f(100, 20));
    Place(Vec2f(0, 10), Vec2f(100, 0));
    EXPECT_TRUE(physics.ResolveInterpenetrations(ball));
    EXPECT_EQ(listener.lines.back(), "WARNING: required 9 passes to resolve interpenetrations this frame!\n");
    float speed = 100;
    for (int pass = 0; pass < 9; ++pass) speed *= 0.9f;
    EXPECT_EQ(ball.velocity.x, speed);
}

TEST_F(PhysicsTest, ItemsCloserThanThirtySixUnitsToTheMotionAreCollected)
{
    Object(Vec2f(50, 36));       // exactly at reach: stays
    Object(Vec2f(50, 35.9f));    // just inside
    Object(Vec2f(-35, 0));       // behind the start, within reach of it
    Object(Vec2f(50, 10), "0");  // touched, but not collectible
    MakeItems();
    ASSERT_EQ(field.collectiblesLeft, 3);

    Place(Vec2f(0, 0), Vec2f(100, 0));
    SubStep(1.0f);
    ASSERT_EQ(field.items.size(), 2u);
    EXPECT_EQ(field.items[0]->position, Vec2f(50, 36));
    EXPECT_EQ(field.items[1]->position, Vec2f(50, 10));
    EXPECT_EQ(field.collectiblesLeft, 1);
    EXPECT_EQ(listener.collected, 2);
}

TEST_F(PhysicsTest, CollectionFollowsTheWholeMotionEvenPastABounce)
{
    Wall(Vec2f(-200, 100), Vec2f(200, 100));
    Object(Vec2f(0, 140));
    MakeItems();
    Place(Vec2f(0, 0), Vec2f(0, 150));
    SubStep(1.0f);
    EXPECT_LT(ball.velocity.y, 0.0f);
    EXPECT_TRUE(field.items.empty());
    EXPECT_EQ(field.collectiblesLeft, 0);
}

TEST_F(PhysicsTest, AFrameThatKeepsBouncingStopsAtTheSubStepCap)
{
    EXPECT_EQ(physics.maxSubSteps, 1000);
    // Between two floors 30 apart a fast ball crosses back and forth many times in one frame.
    Wall(Vec2f(-100, 0), Vec2f(100, 0));
    Wall(Vec2f(-100, 30), Vec2f(100, 30));
    Place(Vec2f(0, 15), Vec2f(0, 20000));
    BallBody uncapped = ball;
    physics.StepBall(uncapped, 0.01, 1);
    const size_t bounces = listener.lines.size();
    ASSERT_GT(bounces, 4u);
    EXPECT_EQ(listener.lines.back().find("WARNING"), std::string::npos);

    listener.lines.clear();
    physics.maxSubSteps = 4;
    physics.StepBall(ball, 0.01, 2);
    ASSERT_EQ(listener.lines.size(), 5u);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(listener.lines[size_t(i)].rfind("LINEDEF Collision occurred;", 0), 0u);
    EXPECT_EQ(listener.lines[4], "WARNING: sub-step limit reached; the rest of this frame is dropped\n");
    // The rest of the frame's time is dropped: the ball is where the fourth bounce left it.
    EXPECT_NE(ball.position, uncapped.position);
    EXPECT_GT(ball.position.y, 12.0f);
    EXPECT_LT(ball.position.y, 18.0f);
}

TEST(Collision, TimeOfImpactFindsTheFirstTouchOrTheMomentADiscInsideLeaves)
{
    // Approaching: first touch at 38 of 100 units.
    EXPECT_FLOAT_EQ(TimeOfImpact(Vec2f(0, 0), Vec2f(0, 100), 12, Vec2f(0, 50), Vec2f(0, 0), 0), 0.38f);
    // Both moving: only the relative motion counts.
    EXPECT_FLOAT_EQ(TimeOfImpact(Vec2f(0, 0), Vec2f(0, 150), 12, Vec2f(0, 50), Vec2f(0, 50), 0), 0.38f);
    // Passing by, falling short, or not moving at all: 1.0.
    EXPECT_EQ(TimeOfImpact(Vec2f(0, 0), Vec2f(0, 100), 12, Vec2f(13, 50), Vec2f(0, 0), 0), 1.0f);
    EXPECT_EQ(TimeOfImpact(Vec2f(0, 0), Vec2f(0, 10), 12, Vec2f(0, 50), Vec2f(0, 0), 0), 1.0f);
    EXPECT_EQ(TimeOfImpact(Vec2f(0, 0), Vec2f(0, 0), 12, Vec2f(0, 5), Vec2f(0, 0), 0), 1.0f);
    // Starting inside, the disc reports when it would leave.
    EXPECT_FLOAT_EQ(TimeOfImpact(Vec2f(0, 0), Vec2f(0, 100), 12, Vec2f(0, 0), Vec2f(0, 0), 0), 0.12f);
}

TEST(Collision, ALineMeetsACircleInTwoPointsOneOrNone)
{
    Point2d p, q;
    // x = 5, steep: solved for y, divided by a.
    ASSERT_EQ(IntersectLineCircle(13, 1, 0, -5, p, q), 2);
    EXPECT_DOUBLE_EQ(p.x, 5);
    EXPECT_DOUBLE_EQ(p.y, 12);
    EXPECT_DOUBLE_EQ(q.x, 5);
    EXPECT_DOUBLE_EQ(q.y, -12);
    // y = 5, flat: solved for x, divided by b.
    ASSERT_EQ(IntersectLineCircle(13, 0, 1, -5, p, q), 2);
    EXPECT_DOUBLE_EQ(p.x, 12);
    EXPECT_DOUBLE_EQ(p.y, 5);
    EXPECT_DOUBLE_EQ(q.x, -12);
    // Tangent, and clear of the circle.
    ASSERT_EQ(IntersectLineCircle(13, 1, 0, -13, p, q), 1);
    EXPECT_DOUBLE_EQ(p.x, 13);
    EXPECT_DOUBLE_EQ(p.y, 0);
    EXPECT_EQ(IntersectLineCircle(13, 1, 0, -14, p, q), 0);
}

TEST(Collision, ALinedefIsHitOnTheNearerOfItsTwoSidesButNotAtItsEnds)
{
    const Segment2f floor(Vec2f(-100, 100), Vec2f(200, 0));
    float t = 0;
    EXPECT_TRUE(SweepAgainstLinedef(DiscSweep(Vec2f(0, 0), Vec2f(0, 200)), 12, floor, t));
    EXPECT_FLOAT_EQ(t, 0.44f);
    EXPECT_TRUE(SweepAgainstLinedef(DiscSweep(Vec2f(0, 200), Vec2f(0, -200)), 12, floor, t));
    EXPECT_FLOAT_EQ(t, 0.44f);
    // Past the end, within one radius of it: that is the end vertex's business.
    EXPECT_FALSE(SweepAgainstLinedef(DiscSweep(Vec2f(105, 0), Vec2f(0, 200)), 12, floor, t));
    EXPECT_EQ(t, FLT_MAX);
}

TEST(Collision, TiesKeepTheEarlierElementAndAnOverlapForTheWholeSweepHitsAtOne)
{
    PlayField field;
    Vertex* first = field.AddVertex(Vec2f(-20, 50), true);
    field.AddVertex(Vec2f(20, 50), true);
    Linedef* lower = field.AddLinedef(field.AddVertex(Vec2f(-100, 80), true), field.AddVertex(Vec2f(100, 80), true));
    field.AddLinedef(field.AddVertex(Vec2f(100, 80), true), field.AddVertex(Vec2f(-100, 80), true));

    float fraction = 0;
    const DiscSweep down(Vec2f(0, 0), Vec2f(0, 100));
    EXPECT_EQ(FindVertexHit(field, down, 12, fraction), nullptr);
    EXPECT_EQ(fraction, FLT_MAX);
    EXPECT_EQ(FindVertexHit(field, down, 25, fraction), first);
    EXPECT_EQ(FindLinedefHit(field, down, 12, fraction), lower);
    EXPECT_FLOAT_EQ(fraction, 0.68f);

    // A disc overlapping a vertex for all of a short sweep finds no contact, and that counts as 1.
    EXPECT_EQ(FindVertexHit(field, DiscSweep(Vec2f(-20, 45), Vec2f(0, 1)), 12, fraction), first);
    EXPECT_EQ(fraction, 1.0f);
}

// Simulations share nothing: the same shot on two threads, each with its own field, flies the
// same path bit for bit.
TEST(Collision, ShotsOnTwoThreadsFlyTheSamePath)
{
    auto fly = [](BallBody& ball) {
        PlayField field;
        Vertex* corners[4] = {field.AddVertex(Vec2f(0, 0), true), field.AddVertex(Vec2f(1024, 0), true),
                              field.AddVertex(Vec2f(1024, 1024), true), field.AddVertex(Vec2f(0, 1024), true)};
        for (int i = 0; i < 4; ++i) field.AddLinedef(corners[i], corners[(i + 1) % 4]);
        field.AddVertex(Vec2f(500, 700), true);
        FlightRecord record;
        FlightListener quiet;
        BallPhysics physics(field, record, quiet);
        ball.position = Vec2f(100, 900);
        ball.velocity = Vec2f(1414.2135f, -1414.2135f);
        for (int frame = 0; frame < 3000; ++frame) physics.StepBall(ball, 0.01, frame);
    };
    BallBody a, b;
    std::thread one(fly, std::ref(a));
    std::thread two(fly, std::ref(b));
    one.join();
    two.join();
    EXPECT_EQ(a.position, b.position);
    EXPECT_EQ(a.velocity, b.velocity);
    EXPECT_EQ(a.spin, b.spin);
    EXPECT_NE(a.position, Vec2f(100, 900));
}

// A tool's way: a field loaded from its file, no window, a shot from the spawn at a fixed
// frame step until every collectible is gone, then the items back for the next shot.
TEST(Collision, AToolFliesShotsOnAFieldLoadedFromItsFile)
{
    TestFolder folder;
    std::filesystem::create_directories(folder.PathOf("data/maps"));
    folder.Write("data/maps/box.map",
                 "Vertexes { (0, 0) (1024, 0) (1024, 1024) (0, 1024) (600, 300) } Linedefs { 0, 1 1, 2 2, 3 3, 0 }\n"
                 "Objects { (100, 100) { \"BALLSPAWN\" \"\" \"COLLECT\" \"0\" } (200, 200) (900, 100) }");
    char previous[4096];
    ASSERT_NE(getcwd(previous, sizeof(previous)), nullptr);
    ASSERT_EQ(chdir(folder.Path().c_str()), 0);
    PlayField field("box");
    EXPECT_EQ(chdir(previous), 0);

    auto fly = [&field](int power, int angle) {
        std::vector<Vec2f> spawns;
        field.MakeItems([&spawns](const Vec2f& at) { spawns.push_back(at); });
        EXPECT_EQ(spawns, std::vector<Vec2f>{Vec2f(100, 924)});
        EXPECT_EQ(field.collectiblesLeft, 2);
        FlightRecord record;
        FlightListener quiet;
        BallPhysics physics(field, record, quiet);
        BallBody ball;
        ball.position = spawns[0];
        ball.velocity = ShotVelocity(power, angle);
        int frames = 0;
        while (field.collectiblesLeft > 0 && frames < 3000) physics.StepBall(ball, 1.0 / 60, frames++);
        return frames;
    };
    EXPECT_EQ(ShotVelocity(50, 315), Vec2f(float(0.7071067811865476 * 1000), float(-0.7071067811865475 * 1000)));
    EXPECT_EQ(ShotVelocity(100, 90), Vec2f(float(6.123233995736766e-17 * 2000), 2000));
    const int first = fly(62, 300);
    EXPECT_LT(first, 3000) << "the shot should win";
    EXPECT_EQ(fly(62, 300), first);
}

// The shot's direction comes from a table, not the C library, so that it is the same on every
// build: each entry is the double nearest the exact value, one ulp at most from any decent libm.
TEST(ShotVelocity, EveryPanelAngleHasItsNearestDoubleDirection)
{
    for (int angle = 0; angle < SHOT_ANGLES; ++angle) {
        const double theta = angle * 0.017453292519943295;
        const double cosine = SHOT_DIRECTIONS[angle][0], sine = SHOT_DIRECTIONS[angle][1];
        EXPECT_LE(std::fabs(cosine - std::cos(theta)), std::nextafter(std::fabs(cosine), 2.0) - std::fabs(cosine))
            << angle;
        EXPECT_LE(std::fabs(sine - std::sin(theta)), std::nextafter(std::fabs(sine), 2.0) - std::fabs(sine)) << angle;
    }
    // Where the exact sine lies nearly halfway between two doubles, the nearer one.
    EXPECT_EQ(SHOT_DIRECTIONS[297][1], -0.89100652418836789880884907688596285879611968994140625);
    EXPECT_EQ(SHOT_DIRECTIONS[351][1], -0.1564344650402310910042302793954149819910526275634765625);
    EXPECT_EQ(ShotVelocity(100, 270), Vec2f(float(-0x1.a79394c9e8a0ap-53 * 2000), -2000));
}
