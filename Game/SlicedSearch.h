// The search of SearchPasses on a map in memory, flown on the caller's own thread a slice of
// real time at a time (the editor runs one slice per frame), and the path of its fastest win.
#pragma once

#include <cstdint>
#include <vector>

#include "Engine/Vector.h"
#include "Game/SearchPasses.h"
#include "Game/ShotFlight.h"

class MapArea;
class Vertex;

class SlicedSearch {
public:
    // The map as the game would load it from its saved file, leaveOut left out (see PlayField).
    SlicedSearch(const MapArea& map, double frameSeconds, const Vertex* leaveOut = nullptr);

    // Flies shots for at most about this much real time; true once the search and the fastest
    // win's path are done. A flight cut short goes on in the next slice.
    bool RunSlice(double seconds);
    bool Done() const { return _done; }

    // Shots flown so far, the current pass's included, and that number with the rest of the
    // current pass: the total as far as it is known.
    int32_t ShotsFlown() const { return _passes.ShotsFlown() + int32_t(_outcomes.size()); }
    int32_t ShotsPlanned() const { return _passes.ShotsFlown() + int32_t(_passes.Pass().size()); }

    const StepReport& Report() const { return _passes.Report(); }
    const ShotFlight& Flight() const { return _flight; }
    // The ball's centre along the fastest win, in play-field units (y down); empty with no win.
    const std::vector<Vec2f>& FastestPath() const { return _path; }

private:
    ShotFlight _flight;
    SearchPasses _passes;
    double _frameSeconds;
    std::vector<ShotOutcome> _outcomes;  // of the current pass so far
    bool _inFlight = false;
    bool _pathBegun = false;
    bool _done = false;
    std::vector<Vec2f> _path;
};
