#include "ShotSearch.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

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
    SearchPasses passes(frameSeconds);
    while (!passes.Done()) passes.Finish(FlyAll(passes.Pass(), frameSeconds, passes.PassName(), passes.WinnersSoFar()));
    return passes.Report();
}
