#include "Game/MapSolver.h"

#include <cstdarg>

#include "Engine/AssertionFailure.h"
#include "Engine/TheConsole.h"
#include "Game/MapArea.h"
#include "Game/MapFile.h"
#include "Game/SlicedSearch.h"

namespace {

std::string Format(const char* format, ...) PW_PRINTF(1, 2);
std::string Format(const char* format, ...)
{
    char text[FORMAT_BUFFER_SIZE];
    va_list args;
    va_start(args, format);
    SafeFormatV(text, sizeof(text), format, args);
    va_end(args);
    return text;
}

}  // namespace

MapSolver::MapSolver() = default;

MapSolver::~MapSolver() = default;

void MapSolver::Cancel()
{
    _search.reset();
    _map = nullptr;
    _lines.clear();
    _path.clear();
    _solved = false;
}

void MapSolver::_Say(const std::string& line)
{
    theConsole.Printf("%s\n", line.c_str());
    _lines.push_back(line);
}

void MapSolver::Start(const MapArea& map, const Vertex* leaveOut)
{
    Cancel();
    _map = &map;
    _revision = map.GetRevision();
    _name = map.GetName();
    auto search = std::make_unique<SlicedSearch>(map, FRAME_SECONDS, leaveOut);
    if (!search->Flight().HasBallSpawn()) {
        _Say(Format("Cannot solve \"%s\": the map has no ball spawn", _name.c_str()));
        return;
    }
    if (search->Flight().Collectibles() == 0) {
        _Say(Format("Cannot solve \"%s\": the map has no collectibles", _name.c_str()));
        return;
    }
    theConsole.Printf("Solving \"%s\" at %g s per frame\n", _name.c_str(), FRAME_SECONDS);
    _search = std::move(search);
}

bool MapSolver::_IsFor(const MapArea* map) const
{
    return map != nullptr && map == _map && map->GetRevision() == _revision;
}

void MapSolver::RunFrame(const MapArea* map)
{
    if (!_search) return;
    if (!_IsFor(map)) {
        theConsole.Printf("SOLVE of \"%s\" stopped: the map changed\n", _name.c_str());
        Cancel();
        return;
    }
    if (_search->RunSlice(SLICE_SECONDS)) _Finish();
}

void MapSolver::_Finish()
{
    const StepReport& report = _search->Report();
    const FlownShot* fastest = report.Fastest();
    if (fastest == nullptr) {
        _Say(Format("No winning shot for \"%s\": %d shots flown", _name.c_str(), report.shotsFlown));
    } else {
        _solved = true;
        _angle = fastest->shot.angle;
        _power = fastest->shot.power;
        _Say(Format("Solved \"%s\": %d of %d shots win; fastest: angle %d power %d, %.2f s", _name.c_str(),
                    int32_t(report.winners.size()), report.shotsFlown, _angle, _power,
                    fastest->outcome.frames * ShotFlight::PhysicsSeconds(FRAME_SECONDS)));
        // Back from the play field to the map's own y up, as the file stores it.
        for (const Vec2f& p : _search->FastestPath()) _path.push_back(Vec2f(p.x, MapFile::FLIP_Y_HEIGHT - p.y));
    }
    _search.reset();
}

std::vector<std::string> MapSolver::InfoLines(const MapArea* map) const
{
    if (!_IsFor(map)) return {};
    if (_search) {
        return {Format("Solving \"%s\": %d of %d shots flown", _name.c_str(), _search->ShotsFlown(),
                       _search->ShotsPlanned())};
    }
    // The answer's one long line as two, split after its semicolon.
    std::vector<std::string> lines;
    for (const std::string& line : _lines) {
        const size_t split = line.find("; ");
        if (split == std::string::npos) {
            lines.push_back(line);
        } else {
            lines.push_back(line.substr(0, split + 1));
            lines.push_back(line.substr(split + 2));
        }
    }
    return lines;
}

const std::vector<Vec2f>* MapSolver::PathFor(const MapArea* map) const
{
    return _IsFor(map) && !_path.empty() ? &_path : nullptr;
}

bool MapSolver::SolutionFor(const MapArea* map, int32_t& angle, int32_t& power) const
{
    if (!_solved || !_IsFor(map)) return false;
    angle = _angle;
    power = _power;
    return true;
}
