#include "Game/SearchPasses.h"

#include <algorithm>

namespace {

const int32_t ANGLES = SearchPasses::MAX_ANGLE + 1;
const int32_t POWERS = SearchPasses::MAX_POWER + 1;

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
    for (int32_t angle = 0; angle <= SearchPasses::MAX_ANGLE; angle += SearchPasses::COARSE)
        for (int32_t power = 0; power <= SearchPasses::MAX_POWER; power += SearchPasses::COARSE)
            shots.push_back(Shot{angle, power});
    return shots;
}

SearchPasses::SearchPasses(double frameSeconds) : _queued(size_t(ANGLES * POWERS), false)
{
    _report.frameSeconds = frameSeconds;
    _pass = CoarseShots();
    _passName = "coarse";
    for (const Shot& shot : _pass) _queued[size_t(IndexOf(shot))] = true;
}

void SearchPasses::Finish(const std::vector<ShotOutcome>& outcomes)
{
    std::vector<Shot> found;
    for (size_t i = 0; i < _pass.size() && i < outcomes.size(); ++i) {
        if (outcomes[i].end != FlightEnd::WON) continue;
        _report.winners.push_back(FlownShot{_pass[i], outcomes[i]});
        found.push_back(_pass[i]);
    }
    _report.shotsFlown += int32_t(_pass.size());

    const bool coarse = _report.coarseShots == 0;
    std::vector<Shot> next;
    if (coarse) {
        _report.coarseShots = int32_t(_pass.size());
        _report.coarseWins = int32_t(found.size());
    }
    if (coarse && found.empty()) {
        _report.wholePanel = true;
        for (int32_t angle = 0; angle < ANGLES; ++angle)
            for (int32_t power = 0; power < POWERS; ++power)
                if (!_queued[size_t(IndexOf(Shot{angle, power}))]) next.push_back(Shot{angle, power});
        _passName = "whole panel";
    } else if (!_report.wholePanel) {
        // Grow every winning region shot by shot until its edge is all misses. The whole panel
        // is the last pass, whatever it finds.
        for (const Shot& shot : found) AddNeighbours(shot, _queued, next);
        _passName = "refining";
    }
    _pass.swap(next);
    if (Done())
        std::sort(_report.winners.begin(), _report.winners.end(),
                  [](const FlownShot& a, const FlownShot& b) { return IndexOf(a.shot) < IndexOf(b.shot); });
}
