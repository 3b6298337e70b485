#include "Game/ShotFlight.h"

#include <algorithm>
#include <cmath>

#include "Game/MapItem.h"
#include "Game/Vertex.h"

namespace {

// Beyond the outermost vertex or item by more than this, the ball touches and collects nothing.
const float REACH = 12.0f + 24.0f + 1.0f;
// Frames flown between two looks at the clock: a frame takes microseconds, a look tens of
// nanoseconds.
const int32_t FRAMES_PER_CLOCK_LOOK = 8;
// A path is kept for the whole flight, however many sub-steps its frames take.
const double PATH_SECONDS = 1e30;

}  // namespace

ShotFlight::ShotFlight(const std::string& mapName) : _field(mapName)
{
    _Prepare();
}

ShotFlight::ShotFlight(const MapArea& map, const Vertex* leaveOut) : _field(map, leaveOut)
{
    _Prepare();
}

void ShotFlight::_Prepare()
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
        _minX = any ? (std::min)(_minX, p.x) : p.x;
        _maxX = any ? (std::max)(_maxX, p.x) : p.x;
        _maxY = any ? (std::max)(_maxY, p.y) : p.y;
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
    Begin(angle, power, frameSeconds);
    Continue();
    return _outcome;
}

void ShotFlight::Begin(int32_t angle, int32_t power, double frameSeconds, std::vector<Vec2f>* path)
{
    _outcome = ShotOutcome();
    _path = path;
    if (_path) _path->clear();
    _flying = _hasSpawn;
    if (!_flying) return;
    _field.MakeItems([](const Vec2f&) {});
    _record = FlightRecord();
    if (_path) _record.trailTimeLeft = PATH_SECONDS;
    _listener.bounces = 0;
    _ball = BallBody();
    _ball.position = _spawn;
    _ball.velocity = ShotVelocity(power, angle);

    _frameSeconds = frameSeconds;
    const double dt = PhysicsSeconds(frameSeconds);
    // The frame time is a float: 0.005 s is 0.004999999888 s, and 30 s of them are 6000 frames.
    _maxFrames = int32_t(std::ceil(MAX_FLIGHT_SECONDS / dt - 0.01));
    _restFrames = int32_t(std::ceil(REST_SECONDS / dt - 0.01));
    _anchor = _ball.position;
    _anchorFrame = 0;
    _frame = 0;
}

void ShotFlight::_End(FlightEnd end)
{
    _flying = false;
    _outcome.end = end;
    _outcome.frames = _frame;
    _outcome.collected = _collectibles - _field.collectiblesLeft;
    _outcome.bounces = _listener.bounces;
    if (_path) {
        _path->swap(_record.trail);
        _path->push_back(_ball.position);
        _record.trail.clear();
    }
}

bool ShotFlight::Continue(Clock::time_point deadline)
{
    const bool timed = deadline != (Clock::time_point::max)();
    while (_flying) {
        if (_frame == _maxFrames) {
            _End(FlightEnd::TIMED_OUT);
            break;
        }
        ++_frame;
        _physics.StepBall(_ball, _frameSeconds, _frame);
        if (_field.collectiblesLeft == 0) {
            _End(FlightEnd::WON);
            break;
        }
        if (std::fabs(_ball.position.x - _anchor.x) > REST_DISTANCE ||
            std::fabs(_ball.position.y - _anchor.y) > REST_DISTANCE) {
            _anchor = _ball.position;
            _anchorFrame = _frame;
        } else if (_frame - _anchorFrame >= _restFrames) {
            _End(FlightEnd::AT_REST);
            break;
        }
        if (_IsGone(_ball)) {
            _End(FlightEnd::GONE);
            break;
        }
        // After a frame, so that every call flies at least one.
        if (timed && _frame % FRAMES_PER_CLOCK_LOOK == 0 && Clock::now() >= deadline) return false;
    }
    return true;
}
