#include "ShotFlight.h"

#include <algorithm>
#include <cmath>

#include "Game/MapItem.h"
#include "Game/Vertex.h"

namespace {

// Beyond the outermost vertex or item by more than this, the ball touches and collects nothing.
const float REACH = 12.0f + 24.0f + 1.0f;

}  // namespace

ShotFlight::ShotFlight(const std::string& mapName) : _field(mapName)
{
    _field.MakeItems([this](const Vec2f& position) {
        // The game aims and shoots its first ball only.
        if (_hasSpawn) return;
        _hasSpawn = true;
        _spawn = position;
    });
    _collectibles = _field.collectiblesLeft;

    bool any = false;
    auto include = [&](const Vec2f& p) {
        _minX = any ? std::min(_minX, p.x) : p.x;
        _maxX = any ? std::max(_maxX, p.x) : p.x;
        _maxY = any ? std::max(_maxY, p.y) : p.y;
        any = true;
    };
    for (const Vertex* vertex : _field.GetVertexes()) include(vertex->position);
    for (const MapItem* item : _field.items) include(item->position);
    _minX -= REACH;
    _maxX += REACH;
    _maxY += REACH;
}

ShotFlight::~ShotFlight()
{
    _field.Clear();
}

double ShotFlight::PhysicsSeconds(double frameSeconds)
{
    float dt = float(frameSeconds);
    if (dt > 0.02f) {
        dt = 0.02f;
    } else if (dt < 0.005f) {
        dt = 0.005f;
    }
    return double(dt);
}

bool ShotFlight::_IsGone(const BallBody& ball) const
{
    // Gravity pulls down and nothing out here turns the ball: below everything and falling, or
    // beside everything and moving away, it never comes back.
    const Vec2f& p = ball.position;
    const Vec2f& v = ball.velocity;
    return (p.y > _maxY && v.y >= 0.0f) || (p.x < _minX && v.x <= 0.0f) || (p.x > _maxX && v.x >= 0.0f);
}

ShotOutcome ShotFlight::Fly(int32_t angle, int32_t power, double frameSeconds)
{
    ShotOutcome outcome;
    if (!_hasSpawn) return outcome;
    _field.MakeItems([](const Vec2f&) {});
    _record = FlightRecord();
    _listener.bounces = 0;
    BallPhysics physics(_field, _record, _listener);
    BallBody ball;
    ball.position = _spawn;
    ball.velocity = ShotVelocity(power, angle);

    const double dt = PhysicsSeconds(frameSeconds);
    // The frame time is a float: 0.005 s is 0.004999999888 s, and 30 s of them are 6000 frames.
    const int32_t maxFrames = int32_t(std::ceil(MAX_FLIGHT_SECONDS / dt - 0.01));
    const int32_t restFrames = int32_t(std::ceil(REST_SECONDS / dt - 0.01));
    Vec2f anchor = ball.position;
    int32_t anchorFrame = 0;
    outcome.end = FlightEnd::TIMED_OUT;
    for (int32_t frame = 1; frame <= maxFrames; ++frame) {
        physics.StepBall(ball, frameSeconds, frame);
        outcome.frames = frame;
        if (_field.collectiblesLeft == 0) {
            outcome.end = FlightEnd::WON;
            break;
        }
        if (std::fabs(ball.position.x - anchor.x) > REST_DISTANCE ||
            std::fabs(ball.position.y - anchor.y) > REST_DISTANCE) {
            anchor = ball.position;
            anchorFrame = frame;
        } else if (frame - anchorFrame >= restFrames) {
            outcome.end = FlightEnd::AT_REST;
            break;
        }
        if (_IsGone(ball)) {
            outcome.end = FlightEnd::GONE;
            break;
        }
    }
    outcome.collected = _collectibles - _field.collectiblesLeft;
    outcome.bounces = _listener.bounces;
    return outcome;
}
