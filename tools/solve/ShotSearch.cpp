#include "ShotSearch.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

const int32_t ANGLES = ShotSearch::MAX_ANGLE + 1;
const int32_t POWERS = ShotSearch::MAX_POWER + 1;

int32_t IndexOf(const Shot& shot)
{
    return shot.angle * POWERS + shot.power;
}

// The whole-numbered shots around one, angles wrapping round the panel's 0 ... 360.
void AddNeighbours(const Shot& shot, std::vector<bool>& queued, std::vector<Shot>& out)
{
    for (int32_t da = -1; da <= 1; ++da) {
        for (int32_t dp = -1; dp <= 1; ++dp) {
            const Shot next{(shot.angle + da + ANGLES) % ANGLES, shot.power + dp};
            if (next.power < 0 || next.power >= POWERS || queued[size_t(IndexOf(next))]) continue;
            queued[size_t(IndexOf(next))] = true;
            out.push_back(next);
        }
    }
}

}  // namespace

const FlownShot* StepReport::Fastest() const
{
    const FlownShot* fastest = nullptr;
    for (const FlownShot& flown : winners)
        if (!fastest || flown.outcome.frames < fastest->outcome.frames) fastest = &flown;
    return fastest;
}

int32_t StepReport::FewestBounces() const
{
    int32_t fewest = -1;
    for (const FlownShot& flown : winners)
        if (fewest < 0 || flown.outcome.bounces < fewest) fewest = flown.outcome.bounces;
    return fewest;
}

std::vector<Shot> CoarseShots()
{
    std::vector<Shot> shots;
    for (int32_t angle = 0; angle <= ShotSearch::MAX_ANGLE; angle += ShotSearch::COARSE)
        for (int32_t power = 0; power <= ShotSearch::MAX_POWER; power += ShotSearch::COARSE)
            shots.push_back(Shot{angle, power});
    return shots;
}

ShotSearch::ShotSearch(const std::string& mapName, int32_t threads)
{
    for (int32_t i = 0; i < std::max(1, threads); ++i) _flights.push_back(std::make_unique<ShotFlight>(mapName));
}

ShotSearch::~ShotSearch() = default;

std::vector<ShotOutcome> ShotSearch::FlyAll(const std::vector<Shot>& shots, double frameSeconds, const char* pass,
                                            int32_t winnersSoFar)
{
    std::vector<ShotOutcome> outcomes(shots.size());
    std::atomic<size_t> next{0};
    std::atomic<int32_t> done{0}, won{0};
    std::mutex mutex;
    std::condition_variable finished;
    size_t running = _flights.size();
    std::vector<std::thread> workers;
    for (const std::unique_ptr<ShotFlight>& flight : _flights) {
        workers.emplace_back([&, raw = flight.get()] {
            for (size_t i = next++; i < shots.size(); i = next++) {
                outcomes[i] = raw->Fly(shots[i].angle, shots[i].power, frameSeconds);
                if (outcomes[i].end == FlightEnd::WON) ++won;
                ++done;
            }
            const std::lock_guard<std::mutex> lock(mutex);
            if (--running == 0) finished.notify_one();
        });
    }
    {
        std::unique_lock<std::mutex> lock(mutex);
        while (!finished.wait_for(lock, std::chrono::milliseconds(250), [&] { return running == 0; }))
            if (_progress) _progress(SearchProgress{pass, done, int32_t(shots.size()), winnersSoFar + won});
    }
    for (std::thread& worker : workers) worker.join();
    return outcomes;
}

StepReport ShotSearch::Solve(double frameSeconds)
{
    StepReport report;
    report.frameSeconds = frameSeconds;
    std::vector<bool> queued(size_t(ANGLES * POWERS), false);
    auto keepWinners = [&](const std::vector<Shot>& shots, const std::vector<ShotOutcome>& outcomes) {
        std::vector<Shot> found;
        for (size_t i = 0; i < shots.size(); ++i) {
            if (outcomes[i].end != FlightEnd::WON) continue;
            report.winners.push_back(FlownShot{shots[i], outcomes[i]});
            found.push_back(shots[i]);
        }
        report.shotsFlown += int32_t(shots.size());
        return found;
    };

    const std::vector<Shot> coarse = CoarseShots();
    for (const Shot& shot : coarse) queued[size_t(IndexOf(shot))] = true;
    std::vector<Shot> found = keepWinners(coarse, FlyAll(coarse, frameSeconds, "coarse"));
    report.coarseShots = int32_t(coarse.size());
    report.coarseWins = int32_t(found.size());

    if (found.empty()) {
        report.wholePanel = true;
        std::vector<Shot> rest;
        for (int32_t angle = 0; angle < ANGLES; ++angle)
            for (int32_t power = 0; power < POWERS; ++power)
                if (!queued[size_t(IndexOf(Shot{angle, power}))]) rest.push_back(Shot{angle, power});
        keepWinners(rest, FlyAll(rest, frameSeconds, "whole panel"));
    } else {
        // Grow every winning region shot by shot until its edge is all misses.
        while (!found.empty()) {
            std::vector<Shot> around;
            for (const Shot& shot : found) AddNeighbours(shot, queued, around);
            found = keepWinners(around, FlyAll(around, frameSeconds, "refining", int32_t(report.winners.size())));
        }
    }
    std::sort(report.winners.begin(), report.winners.end(),
              [](const FlownShot& a, const FlownShot& b) { return IndexOf(a.shot) < IndexOf(b.shot); });
    return report;
}
