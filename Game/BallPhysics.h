// The ball's flight: gravity, sweeps against every vertex and linedef of the map, bounces with
// fixed restitution and friction, spin, push-out of overlaps and the collection of items, each
// stage with its log lines. It works on a ball's physical state, a play field, a flight record and
// a listener, and touches no window, picture, clock or global: a tool can fly many shots headless,
// on as many threads as it likes, one BallPhysics with its own field and record each.
#pragma once

#include <cstdint>
#include <vector>

#include "Engine/AssertionFailure.h"
#include "Engine/Vector.h"
#include "Game/Collision.h"

class Linedef;
class MapArea;
class MapItem;
class PlayField;
class Vertex;

// Map units per second², +y down the screen.
inline constexpr Vec2f GRAVITY(0.0f, 1000.0f);
inline constexpr Vec2f DEFAULT_BALL_POSITION(512.0f, 560.0f);
inline constexpr Vec2f DEFAULT_BALL_VELOCITY(500.0f, -40.0f);

// The velocity a shot of the panel's power (percent) and angle (degrees, 0 to the right, 90
// down) gives: 20 map units per second per percent, worked out in double with each component
// rounded to float once, so that a shot starts alike on every build.
Vec2f ShotVelocity(int32_t power, int32_t angle);

// The ball as the physics sees it.
struct BallBody {
    Vec2f position = DEFAULT_BALL_POSITION;  // the disc's centre, map units
    Vec2f velocity = DEFAULT_BALL_VELOCITY;  // map units per second
    float rotation = 0.0f;                   // degrees
    float spin = 0.0f;                       // degrees per second
    float radius = 12.0f;
};

// What a flight leaves besides the ball: the trail since the shot and the last contact, which the
// debug overlay draws.
struct FlightRecord {
    std::vector<Vec2f> trail;
    double trailTimeLeft = 0.0;  // positions are recorded while this is above 0
    bool collisionPending = false;
    bool interpenetrationMark = false;
    bool debugVectorsValid = false;
    Vertex* lastCollisionVertex = nullptr;
    Linedef* lastCollisionLinedef = nullptr;
    Vec2f debugVelocityBefore;
    Vec2f debugVelocityAfter;
    Vec2f debugTangent;
    Vec2f debugNormal;

    // The map is about to go: a contact with one of its elements must not outlive it.
    void ForgetContactsIn(const MapArea& map);
};

// How the physics reports: log lines (formatted only when wanted) and the two sounds.
class FlightListener {
public:
    virtual ~FlightListener() = default;
    virtual bool LogsLines() const { return false; }
    virtual void LogLine(const char* line) { (void)line; }
    virtual void PlayBounceSound(float volume) { (void)volume; }
    virtual void PlayCollectSound() {}
};

class BallPhysics {
public:
    // A frame stops sweeping after this many sub-steps: a disc wedged where every sweep hits at
    // fraction 0 would otherwise keep one frame going for a very long time.
    static constexpr int32_t MAX_SUB_STEPS = 1000;

    BallPhysics(PlayField& field, FlightRecord& record, FlightListener& listener);

    // The cap of this physics; tests lower it to see it act.
    int32_t maxSubSteps = MAX_SUB_STEPS;

    // One frame of one ball. frameSeconds is the application's clamped frame time; the physics
    // clamps it again to 0.005 ... 0.02. frameNumber goes into the log lines.
    void StepBall(BallBody& ball, double frameSeconds, int32_t frameNumber);

    // The stages, for StepBall and the tests; they use the frame of the last StepBall or SetFrame.
    void SetFrame(double frameSeconds, int32_t frameNumber);
    void SubStep(BallBody& ball, float& timeLeft);
    void MoveWithoutCollision(BallBody& ball, const DiscSweep& sweep, float& timeLeft);
    void OnVertexCollision(BallBody& ball, const DiscSweep& sweep, Vertex* vertex, float fraction, float& timeLeft);
    void OnLinedefCollision(BallBody& ball, const DiscSweep& sweep, Linedef* linedef, float fraction, float& timeLeft);
    void Bounce(BallBody& ball, const DiscSweep& sweep, const ContactLine& contact, float fraction, float& timeLeft);
    bool ResolveInterpenetrations(BallBody& ball);
    bool ResolveVertexOverlaps(BallBody& ball);
    bool ResolveLinedefOverlaps(BallBody& ball);
    void PushOutOfPoint(BallBody& ball, const Vec2f& point);
    // Takes the item out of play (destroying it); a collectible lowers the count and sounds.
    void RemoveItem(MapItem* item);

private:
    void _Log(const char* format, ...) PW_PRINTF(2, 3);

    PlayField& _field;
    FlightRecord& _record;
    FlightListener& _listener;
    double _frameSeconds = 0.0;
    int32_t _frameNumber = 0;
    std::vector<MapItem*> _touched;  // kept so that a sub-step allocates nothing
};
