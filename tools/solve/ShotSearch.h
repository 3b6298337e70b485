// The search for winning shots on one map at one frame time: a coarse pass over the panel
// (every 2 degrees, every 2 percent), then every whole-numbered shot next to a winner, growing
// out from each new winner until no new one turns up. When the coarse pass finds nothing, the
// whole panel is flown. The shots fly on as many threads as asked, each with its own field.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ShotFlight.h"

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

// Shots flown so far of those asked for in the current pass, for a progress line.
struct SearchProgress {
    const char* pass = "";
    int32_t done = 0;
    int32_t total = 0;
    int32_t winners = 0;
};

class ShotSearch {
public:
    static constexpr int32_t MAX_ANGLE = 360;
    static constexpr int32_t MAX_POWER = 100;
    static constexpr int32_t COARSE = 2;

    // Loads the map once per thread.
    ShotSearch(const std::string& mapName, int32_t threads);
    ~ShotSearch();

    using ProgressFunction = std::function<void(const SearchProgress&)>;
    // Called about every quarter second while shots fly.
    void SetProgress(ProgressFunction progress) { _progress = std::move(progress); }

    StepReport Solve(double frameSeconds);

    // Flies the shots on every thread; the outcomes come back in the shots' order.
    std::vector<ShotOutcome> FlyAll(const std::vector<Shot>& shots, double frameSeconds, const char* pass = "",
                                    int32_t winnersSoFar = 0);

    const ShotFlight& Flight() const { return *_flights.front(); }

private:
    std::vector<std::unique_ptr<ShotFlight>> _flights;
    ProgressFunction _progress;
};

// The coarse pass's shots: angles 0, 2, ... 360 and powers 0, 2, ... 100.
std::vector<Shot> CoarseShots();
