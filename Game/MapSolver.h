// SOLVE in the editor: the search for winning shots on the map being edited, flown a slice of
// every frame on the program's one thread; its progress and answer for the log and the info
// view, the fastest win's path for the 2-D view, and its shot for PLAY. Everything it shows
// holds only while the map is as it was when SOLVE started.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Engine/Vector.h"

class MapArea;
class SlicedSearch;
class Vertex;

class MapSolver {
public:
    // The frame time of the game at 200 frames per second or more.
    static constexpr double FRAME_SECONDS = 0.005;
    // Real time the search takes of each frame.
    static constexpr double SLICE_SECONDS = 0.008;

    MapSolver();
    ~MapSolver();

    MapSolver(const MapSolver&) = delete;
    MapSolver& operator=(const MapSolver&) = delete;

    // Starts the search on the map as it is now (again, if one runs), leaving out leaveOut (the
    // floating end of a line chain). A map without a ball spawn or collectibles is refused at once.
    void Start(const MapArea& map, const Vertex* leaveOut);
    // Forgets the search and its answer.
    void Cancel();
    // One frame's slice of the search. A change to the map since the start stops it.
    void RunFrame(const MapArea* map);
    bool IsRunning() const { return _search != nullptr; }

    // The info view's lines; none once the map has changed.
    std::vector<std::string> InfoLines(const MapArea* map) const;
    // The fastest win's path in map units (y up), or null with none for this map as it is.
    const std::vector<Vec2f>* PathFor(const MapArea* map) const;
    // The fastest win's shot, when there is one for this map as it is.
    bool SolutionFor(const MapArea* map, int32_t& angle, int32_t& power) const;

private:
    bool _IsFor(const MapArea* map) const;
    void _Finish();
    void _Say(const std::string& line);

    std::unique_ptr<SlicedSearch> _search;
    const MapArea* _map = nullptr;
    uint64_t _revision = 0;
    std::string _name;
    std::vector<std::string> _lines;  // the answer or the refusal
    std::vector<Vec2f> _path;
    bool _solved = false;
    int32_t _angle = 0;
    int32_t _power = 0;
};
