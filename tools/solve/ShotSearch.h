// The search of SearchPasses with its shots flown on as many threads as asked, each with its own
// field.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Game/SearchPasses.h"
#include "Game/ShotFlight.h"

// Shots flown so far of those asked for in the current pass, for a progress line.
struct SearchProgress {
    const char* pass = "";
    int32_t done = 0;
    int32_t total = 0;
    int32_t winners = 0;
};

class ShotSearch {
public:
    static constexpr int32_t MAX_ANGLE = SearchPasses::MAX_ANGLE;
    static constexpr int32_t MAX_POWER = SearchPasses::MAX_POWER;
    static constexpr int32_t COARSE = SearchPasses::COARSE;

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
