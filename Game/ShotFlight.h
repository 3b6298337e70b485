// One shot of the panel flown on a map with the game's own physics, frame by frame at a fixed
// frame time, as the game flies it from the frame after Space: until the last collectible is
// taken, the ball has come to rest, it has left the field for good, or 30 s of game time pass.
// A flight can be flown whole, or a part at a time until a deadline, so that a program with one
// thread can fly shots between its frames.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "Game/BallPhysics.h"
#include "Game/PlayField.h"

// How a flight ended.
enum class FlightEnd { WON, AT_REST, GONE, TIMED_OUT };

struct ShotOutcome {
    FlightEnd end = FlightEnd::TIMED_OUT;
    int32_t frames = 0;     // frames flown; a win is complete at the end of the last one
    int32_t collected = 0;  // collectibles taken
    int32_t bounces = 0;    // off vertexes and linedefs, the last frame's included
};

class ShotFlight {
public:
    using Clock = std::chrono::steady_clock;

    // Longest flight, in seconds of game time.
    static constexpr double MAX_FLIGHT_SECONDS = 30.0;
    // A ball that stays within this many map units of one point for REST_SECONDS is at rest: the
    // flight is memoryless (spin only turns the picture), so it would stay there.
    static constexpr float REST_DISTANCE = 0.5f;
    static constexpr double REST_SECONDS = 2.0;

    // Loads "data/maps/" + name + ".map" from the working folder, as the game does.
    explicit ShotFlight(const std::string& mapName);
    // The map in memory, as the game would load it from its saved file (see PlayField).
    explicit ShotFlight(const MapArea& map, const Vertex* leaveOut = nullptr);
    ~ShotFlight();

    ShotFlight(const ShotFlight&) = delete;
    ShotFlight& operator=(const ShotFlight&) = delete;

    // Flies the panel's shot (angle in degrees, power in percent) with every item back in play.
    ShotOutcome Fly(int32_t angle, int32_t power, double frameSeconds);

    // The same flight in parts: Begin puts the ball and the items back; Continue flies frames
    // until the flight ends (true) or the deadline has passed (false, to be continued; at least
    // one frame is flown in every call, so a flight goes on however short the time). With a
    // path, the ball's centre at every sub-step and at the end is kept in it (play-field units).
    void Begin(int32_t angle, int32_t power, double frameSeconds, std::vector<Vec2f>* path = nullptr);
    bool Continue(Clock::time_point deadline = (Clock::time_point::max)());
    const ShotOutcome& Outcome() const { return _outcome; }

    bool HasBallSpawn() const { return _hasSpawn; }
    int32_t Collectibles() const { return _collectibles; }
    const PlayField& Field() const { return _field; }

    // The game time a frame runs for: the physics clamps the frame time to 0.005 ... 0.02 s.
    static double PhysicsSeconds(double frameSeconds);

private:
    void _Prepare();
    bool _IsGone(const BallBody& ball) const;
    void _End(FlightEnd end);

    // Counts the bounces through their sound.
    class BounceCounter : public FlightListener {
    public:
        void PlayBounceSound(float) override { ++bounces; }
        int32_t bounces = 0;
    };

    PlayField _field;
    FlightRecord _record;
    BounceCounter _listener;
    BallPhysics _physics{_field, _record, _listener};
    bool _hasSpawn = false;
    Vec2f _spawn;
    int32_t _collectibles = 0;
    // Everything the ball can touch or collect lies inside this box (grown by the reach).
    float _minX = 0.0f, _maxX = 0.0f, _maxY = 0.0f;

    // The flight under way.
    BallBody _ball;
    double _frameSeconds = 0.0;
    int32_t _frame = 0;
    int32_t _maxFrames = 0;
    int32_t _restFrames = 0;
    Vec2f _anchor;
    int32_t _anchorFrame = 0;
    bool _flying = false;
    std::vector<Vec2f>* _path = nullptr;
    ShotOutcome _outcome;
};
