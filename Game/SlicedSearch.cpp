#include "Game/SlicedSearch.h"

SlicedSearch::SlicedSearch(const MapArea& map, double frameSeconds, const Vertex* leaveOut)
    : _flight(map, leaveOut), _passes(frameSeconds), _frameSeconds(frameSeconds)
{}

bool SlicedSearch::RunSlice(double seconds)
{
    const auto deadline = ShotFlight::Clock::now() + std::chrono::duration_cast<ShotFlight::Clock::duration>(
                                                         std::chrono::duration<double>(seconds));
    while (!_passes.Done()) {
        if (!_inFlight) {
            const Shot& shot = _passes.Pass()[_outcomes.size()];
            _flight.Begin(shot.angle, shot.power, _frameSeconds);
            _inFlight = true;
        }
        if (!_flight.Continue(deadline)) return false;
        _inFlight = false;
        _outcomes.push_back(_flight.Outcome());
        if (_outcomes.size() == _passes.Pass().size()) {
            _passes.Finish(_outcomes);
            _outcomes.clear();
        }
    }
    if (_done) return true;
    const FlownShot* fastest = _passes.Report().Fastest();
    if (fastest == nullptr) {
        _done = true;
        return true;
    }
    // The winner once more, keeping its path.
    if (!_pathBegun) {
        _flight.Begin(fastest->shot.angle, fastest->shot.power, _frameSeconds, &_path);
        _pathBegun = true;
    }
    _done = _flight.Continue(deadline);
    return _done;
}
