#include "Game/BallPhysics.h"

#include <cmath>
#include <cstdarg>

#include "Game/Linedef.h"
#include "Game/MapItem.h"
#include "Game/PlayField.h"
#include "Game/ShotDirections.h"
#include "Game/Vertex.h"

// The flight's tuning. Each value is used as the float (or double) written here, in the same
// order of operations, so that a shot flies the same path on every build.

// A shot: map units per second for each percent of power; the degrees of the panel's angle in
// radians, in double.
constexpr int32_t SHOT_SPEED_PER_POWER = 20;
constexpr double SHOT_DEGREES_TO_RADIANS = 0.017453292519943295;

// The frame time the physics runs: real time only between 50 and 200 frames per second.
constexpr float MIN_STEP_SECONDS = 0.005f;
constexpr float MAX_STEP_SECONDS = 0.02f;

// A bounce: the ball moves this share of the way to the contact, keeps this much of its speed
// across the wall (restitution) and along it, and its spin goes this share of the way towards
// the kept speed along the wall times the radius times SPIN_PER_SURFACE_SPEED (degrees/s).
constexpr float BOUNCE_BACK_OFF = 0.99f;
constexpr float RESTITUTION = 0.8f;
constexpr float TANGENTIAL_KEPT = 0.97f;
constexpr float SPIN_KEPT = 0.65f;
constexpr float SPIN_TAKEN = 0.35f;
constexpr float SPIN_PER_SURFACE_SPEED = 0.3f;

// The bounce sound is at full volume from this speed on; softer with the square of the speed.
constexpr float BOUNCE_SOUND_FULL_SPEED = 1000.0f;

// Overlaps: each push-out pass slows the ball by this factor; after this many passes the sweep
// runs from wherever the disc is; a pushed-out disc ends this many radii from the point.
constexpr float PUSH_OUT_DAMPING = 0.9f;
constexpr int32_t MAX_PUSH_OUT_PASSES = 9;
constexpr float PUSH_OUT_DISTANCE = 1.01f;

// The debug overlay draws the contact's normal and tangent this long.
constexpr float DEBUG_VECTOR_LENGTH = 100.0f;

Vec2f ShotVelocity(int32_t power, int32_t angle)
{
    const double speed = power * SHOT_SPEED_PER_POWER;
    double cosine, sine;
    if (angle >= 0 && angle < SHOT_ANGLES) {
        // Every angle the panel can set: the same bits on every C library.
        cosine = SHOT_DIRECTIONS[angle][0];
        sine = SHOT_DIRECTIONS[angle][1];
    } else {
        const double theta = angle * SHOT_DEGREES_TO_RADIANS;
        cosine = std::cos(theta);
        sine = std::sin(theta);
    }
    return Vec2f(float(cosine * speed), float(sine * speed));
}

void FlightRecord::ForgetContactsIn(const MapArea& map)
{
    for (Vertex* vertex : map.GetVertexes())
        if (vertex == lastCollisionVertex) lastCollisionVertex = nullptr;
    for (Linedef* linedef : map.GetLinedefs())
        if (linedef == lastCollisionLinedef) lastCollisionLinedef = nullptr;
}

BallPhysics::BallPhysics(PlayField& field, FlightRecord& record, FlightListener& listener)
    : _field(field), _record(record), _listener(listener)
{}

void BallPhysics::_Log(const char* format, ...)
{
    if (!_listener.LogsLines()) return;
    char line[2048];
    va_list args;
    va_start(args, format);
    SafeFormatV(line, sizeof(line), format, args);
    va_end(args);
    _listener.LogLine(line);
}

void BallPhysics::SetFrame(double frameSeconds, int32_t frameNumber)
{
    _frameSeconds = frameSeconds;
    _frameNumber = frameNumber;
}

void BallPhysics::StepBall(BallBody& ball, double frameSeconds, int32_t frameNumber)
{
    SetFrame(frameSeconds, frameNumber);
    // Slower frames run the game slower, faster ones faster.
    float dt = float(frameSeconds);
    if (dt > MAX_STEP_SECONDS) {
        dt = MAX_STEP_SECONDS;
    } else if (dt < MIN_STEP_SECONDS) {
        dt = MIN_STEP_SECONDS;
    }
    // Gravity once per frame, never inside the sweeps.
    ball.velocity += GRAVITY * dt;
    float timeLeft = dt;
    ball.rotation += dt * ball.spin;
    for (int32_t subSteps = 0; timeLeft > 0.0f; ++subSteps) {
        if (subSteps == maxSubSteps) {
            _Log("WARNING: sub-step limit reached; the rest of this frame is dropped\n");
            break;
        }
        SubStep(ball, timeLeft);
    }
}

void BallPhysics::SubStep(BallBody& ball, float& timeLeft)
{
    if (_record.trailTimeLeft > 0.0) {
        _record.trailTimeLeft -= _frameSeconds;
        _record.trail.push_back(ball.position);
    }
    const Vec2f startPosition = ball.position;
    if (ResolveInterpenetrations(ball)) {
        _Log("...resolved interpenetration!\n");
        _record.interpenetrationMark = true;
    }

    const Vec2f displacement = ball.velocity * timeLeft;
    const DiscSweep sweep(ball.position, displacement);
    float vertexFraction = 0.0f;
    float linedefFraction = 0.0f;
    Vertex* hitVertex = FindVertexHit(_field, sweep, ball.radius, vertexFraction);
    Linedef* hitLinedef = FindLinedefHit(_field, sweep, ball.radius, linedefFraction);
    // A vertex and a linedef at exactly the same fraction bounce off neither; the next sub-step's
    // push-out repairs the overlap.
    if (vertexFraction < linedefFraction) {
        OnVertexCollision(ball, sweep, hitVertex, vertexFraction, timeLeft);
    } else if (linedefFraction < vertexFraction) {
        OnLinedefCollision(ball, sweep, hitLinedef, linedefFraction, timeLeft);
    } else {
        MoveWithoutCollision(ball, sweep, timeLeft);
    }

    // Collection covers the sub-step's whole motion from before any push-out, even past a contact.
    FindTouchedItems(_field, startPosition, ball.radius, displacement, _touched);
    for (MapItem* item : _touched)
        if (IsCollectible(item)) RemoveItem(item);
}

void BallPhysics::MoveWithoutCollision(BallBody& ball, const DiscSweep& sweep, float& timeLeft)
{
    ball.position += sweep.displacement;
    timeLeft = 0.0f;
}

void BallPhysics::OnVertexCollision(BallBody& ball, const DiscSweep& sweep, Vertex* vertex, float fraction,
                                    float& timeLeft)
{
    _Log(
        "VERTEX Collision occurred; discSweep = (%g,%g),(%g,%g); vertex = (%g,%g); timeFraction = %g; timeLeft = %g "
        "seconds\n",
        double(sweep.start.x), double(sweep.start.y), double(sweep.displacement.x), double(sweep.displacement.y),
        double(vertex->position.x), double(vertex->position.y), double(fraction), double(timeLeft));
    _record.lastCollisionVertex = vertex;
    _record.lastCollisionLinedef = nullptr;
    // The vertex acts as a wall through it, square to the line from it to the disc's centre at the
    // start of the sweep.
    const Vec2f d = sweep.start - vertex->position;
    const Vec2f p(-d.y, d.x);
    Bounce(ball, sweep, ContactLine{vertex->position - p, p * 2.0f}, fraction, timeLeft);
}

void BallPhysics::OnLinedefCollision(BallBody& ball, const DiscSweep& sweep, Linedef* linedef, float fraction,
                                     float& timeLeft)
{
    const Vec2f& start = linedef->start->position;
    const Vec2f& end = linedef->end->position;
    _Log(
        "LINEDEF Collision occurred; discSweep = (%g,%g),(%g,%g); linedef = (%g,%g)->(%g,%g); timeFraction = %g; "
        "timeLeft = %g seconds\n",
        double(sweep.start.x), double(sweep.start.y), double(sweep.displacement.x), double(sweep.displacement.y),
        double(start.x), double(start.y), double(end.x), double(end.y), double(fraction), double(timeLeft));
    _record.lastCollisionVertex = nullptr;
    _record.lastCollisionLinedef = linedef;
    Bounce(ball, sweep, ContactLine{start, end - start}, fraction, timeLeft);
}

void BallPhysics::Bounce(BallBody& ball, const DiscSweep& sweep, const ContactLine& contact, float fraction,
                         float& timeLeft)
{
    ball.position += sweep.displacement * fraction * BOUNCE_BACK_OFF;

    // t along the contact, n its unit normal on the side the sweep came from.
    const Vec2f d = sweep.start - contact.point;
    Vec2f t = Normalised(contact.direction);
    if (d.x * t.y - d.y * t.x < 0.0f) t = Vec2f(-t.x, -t.y);
    const Vec2f n(t.y, -t.x);

    const Vec2f v = ball.velocity;
    const float vn = n.x * v.x + n.y * v.y;
    const float vt = t.x * v.x + t.y * v.y;
    ball.velocity = t * (TANGENTIAL_KEPT * vt) + n * (-RESTITUTION * vn);
    timeLeft = timeLeft * (1.0f - fraction);

    float volume = (ball.velocity.x * ball.velocity.x + ball.velocity.y * ball.velocity.y) /
                   (BOUNCE_SOUND_FULL_SPEED * BOUNCE_SOUND_FULL_SPEED);
    if (volume < 0.0f) volume = 0.0f;
    if (volume > 1.0f) volume = 1.0f;
    _listener.PlayBounceSound(volume);

    ball.spin = SPIN_KEPT * ball.spin + SPIN_TAKEN * (TANGENTIAL_KEPT * vt * ball.radius * SPIN_PER_SURFACE_SPEED);

    _record.collisionPending = true;
    _record.debugVectorsValid = true;
    _record.debugNormal = n * DEBUG_VECTOR_LENGTH;
    _record.debugTangent = t * DEBUG_VECTOR_LENGTH;
    _record.debugVelocityBefore = v;
    _record.debugVelocityAfter = ball.velocity;
}

bool BallPhysics::ResolveInterpenetrations(BallBody& ball)
{
    const bool found = ResolveVertexOverlaps(ball) || ResolveLinedefOverlaps(ball);
    if (!found) return false;
    int32_t passes = 0;
    bool clean = false;
    do {
        ball.velocity *= PUSH_OUT_DAMPING;
        clean = !(ResolveVertexOverlaps(ball) || ResolveLinedefOverlaps(ball));
        ++passes;
    } while (!clean && passes < MAX_PUSH_OUT_PASSES);
    _Log("WARNING: required %d passes to resolve interpenetrations this frame!\n", passes);
    return true;
}

bool BallPhysics::ResolveVertexOverlaps(BallBody& ball)
{
    bool found = false;
    const float reach = ball.radius * ball.radius;
    for (Vertex* vertex : _field.GetVertexes()) {
        const Vec2f d = vertex->position - ball.position;
        if (d.x * d.x + d.y * d.y <= reach) {
            PushOutOfPoint(ball, vertex->position);
            found = true;
        }
    }
    return found;
}

bool BallPhysics::ResolveLinedefOverlaps(BallBody& ball)
{
    bool found = false;
    const float reach = ball.radius * ball.radius;
    for (Linedef* linedef : _field.GetLinedefs()) {
        const Vec2f& start = linedef->start->position;
        const Vec2f closest = ClosestPointOnSegment(Segment2f(start, linedef->end->position - start), ball.position);
        const Vec2f d = ball.position - closest;
        if (d.x * d.x + d.y * d.y <= reach) {
            _Log("Resolving linedef interpenetration on frame #%d\n", _frameNumber);
            PushOutOfPoint(ball, closest);
            found = true;
        }
    }
    return found;
}

void BallPhysics::PushOutOfPoint(BallBody& ball, const Vec2f& point)
{
    _Log("Resolving vertex interpenetration on frame #%d\n", _frameNumber);
    // A centre exactly on the point has no way out and stays.
    const Vec2f dir = Normalised(ball.position - point);
    ball.position = point + dir * (ball.radius * PUSH_OUT_DISTANCE);
}

void BallPhysics::RemoveItem(MapItem* item)
{
    const bool collectible = IsCollectible(item);
    _field.EraseItem(item);
    if (collectible) {
        _listener.PlayCollectSound();
        --_field.collectiblesLeft;
    }
}
