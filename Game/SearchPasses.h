// The search for winning shots on one map at one frame time, apart from who flies the shots: a
// coarse pass over the panel (every 2 degrees, every 2 percent), then every whole-numbered shot
// next to a winner, growing out from each new winner until no new one turns up. When the coarse
// pass finds nothing, the whole panel is flown. The solver flies each pass on many threads, the
// editor a few shots per frame; both follow this one order and get the one answer.
#pragma once

#include <cstdint>
#include <vector>

#include "Game/ShotFlight.h"

struct Shot {
    int32_t angle = 0;
    int32_t power = 0;
};

inline bool operator==(const Shot& a, const Shot& b)
{
    return a.angle == b.angle && a.power == b.power;
}

struct FlownShot {
    Shot shot;
    ShotOutcome outcome;
};

struct StepReport {
    double frameSeconds = 0.0;
    int32_t coarseShots = 0;
    int32_t coarseWins = 0;
    int32_t shotsFlown = 0;
    bool wholePanel = false;         // the coarse pass found nothing, so every shot was flown
    std::vector<FlownShot> winners;  // every winning shot found, by angle then power

    // The share of the coarse pass that wins: a fair sample of the whole panel.
    double WinningShare() const { return coarseShots ? double(coarseWins) / coarseShots : 0.0; }
    // The win that completes the map soonest (earliest angle, then power, on a tie); null if none.
    const FlownShot* Fastest() const;
    // The fewest bounces any win needs; -1 with no win.
    int32_t FewestBounces() const;
};

class SearchPasses {
public:
    static constexpr int32_t MAX_ANGLE = 360;
    static constexpr int32_t MAX_POWER = 100;
    static constexpr int32_t COARSE = 2;

    // Starts with the coarse pass.
    explicit SearchPasses(double frameSeconds);

    // No pass is left: the report is complete.
    bool Done() const { return _pass.empty(); }
    // The shots of the pass to fly now, and its name for a progress line.
    const std::vector<Shot>& Pass() const { return _pass; }
    const char* PassName() const { return _passName; }
    // The outcomes of the pass's shots, in the pass's order; sets up the next pass.
    void Finish(const std::vector<ShotOutcome>& outcomes);

    // Shots flown in the passes finished, and the winners they found.
    int32_t ShotsFlown() const { return _report.shotsFlown; }
    int32_t WinnersSoFar() const { return int32_t(_report.winners.size()); }
    const StepReport& Report() const { return _report; }

private:
    StepReport _report;
    std::vector<bool> _queued;  // by angle and power: flown or in the pass
    std::vector<Shot> _pass;
    const char* _passName = "";
};

// The coarse pass's shots: angles 0, 2, ... 360 and powers 0, 2, ... 100.
std::vector<Shot> CoarseShots();
