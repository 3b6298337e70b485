// Proves maps completable: flies the shots the panel can set (angle 0-360, power 0-100) with the
// game's own physics at the frame times players have, and reports per frame time the winning
// shots, the share of the coarse pass that wins and the fastest win.
//
//   solve [--threads N] [--step SECONDS]... [--root DIR] [--solutions FILE] [--shot ANGLE POWER] [MAP...]
//
// Without MAP, every map in data/maps/. Exit 0 when every map has a winning shot at every step.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "Game/MapElement.h"
#include "ShotSearch.h"
#include "Solutions.h"

namespace {

const char* USAGE =
    "usage: solve [--threads N] [--step SECONDS]... [--root DIR] [--solutions FILE] [--shot ANGLE POWER] [MAP...]\n"
    "  Flies every shot the panel can set on each map (every map in DIR/data/maps without MAP)\n"
    "  at the frame times 0.005, 0.01 and 1/60 s (or those given with --step, e.g. 1/60) and\n"
    "  reports the winning shots. --solutions records each step's fastest win in FILE.\n"
    "  --shot flies that one shot only. Exit 0 when every step of every map has a winning shot.\n";

struct Options {
    int32_t threads = int32_t(std::max(1u, std::thread::hardware_concurrency()));
    std::vector<double> steps;
    std::string root = ".";
    std::string solutions;
    bool oneShot = false;
    Shot shot;
    std::vector<std::string> maps;
};

bool ParseWhole(const char* text, int32_t low, int32_t high, int32_t& value)
{
    char* end = nullptr;
    const long number = strtol(text, &end, 10);
    if (end == text || *end != '\0' || number < low || number > high) return false;
    value = int32_t(number);
    return true;
}

bool ParseOptions(int argc, char** argv, Options& options)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--threads" && hasValue) {
            if (!ParseWhole(argv[++i], 1, 256, options.threads)) return false;
        } else if (arg == "--step" && hasValue) {
            double seconds = 0.0;
            if (!ParseStep(argv[++i], seconds)) return false;
            options.steps.push_back(seconds);
        } else if (arg == "--root" && hasValue) {
            options.root = argv[++i];
        } else if (arg == "--solutions" && hasValue) {
            options.solutions = std::filesystem::absolute(argv[++i]).string();
        } else if (arg == "--shot" && i + 2 < argc) {
            options.oneShot = true;
            if (!ParseWhole(argv[i + 1], 0, ShotSearch::MAX_ANGLE, options.shot.angle) ||
                !ParseWhole(argv[i + 2], 0, ShotSearch::MAX_POWER, options.shot.power))
                return false;
            i += 2;
        } else if (arg.empty() || arg[0] == '-') {
            return false;
        } else {
            options.maps.push_back(arg);
        }
    }
    if (options.steps.empty()) options.steps = {0.005, 0.01, 1.0 / 60.0};
    return true;
}

const char* EndName(FlightEnd end)
{
    switch (end) {
    case FlightEnd::WON:
        return "won";
    case FlightEnd::AT_REST:
        return "came to rest";
    case FlightEnd::GONE:
        return "left the field";
    case FlightEnd::TIMED_OUT:
        return "still flying after 30 s";
    }
    return "";
}

// A progress line once a pass has run for two seconds: rewritten in place on a terminal, a
// line every ten seconds elsewhere.
class ProgressLine {
public:
    ProgressLine(const std::string& what) : _what(what), _start(Clock::now()), _last(_start) {}
    ~ProgressLine() { Clear(); }

    void Show(const SearchProgress& progress)
    {
        const auto now = Clock::now();
        const double seconds = std::chrono::duration<double>(now - _start).count();
        if (seconds < 2.0) return;
        if (!_terminal && now - _last < std::chrono::seconds(10)) return;
        _last = now;
        char text[160];
        snprintf(text, sizeof(text), "%s: %s %d/%d shots, %d winning, %.0f s", _what.c_str(), progress.pass,
                 progress.done, progress.total, progress.winners, seconds);
        if (_terminal) {
            fprintf(stderr, "\r%-79.79s", text);
            _shown = true;
        } else {
            fprintf(stderr, "%s\n", text);
        }
        fflush(stderr);
    }
    void Clear()
    {
        if (_shown) fprintf(stderr, "\r%79s\r", "");
        _shown = false;
    }

private:
    using Clock = std::chrono::steady_clock;
    std::string _what;
    Clock::time_point _start, _last;
    bool _terminal = isatty(fileno(stderr));
    bool _shown = false;
};

std::vector<std::string> EveryMap()
{
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("data/maps", error))
        if (entry.path().extension() == ".map") names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

// One shot at every step; true when it wins at every one.
bool FlyOneShot(const std::string& name, const Options& options)
{
    ShotFlight flight(name);
    bool wonEverywhere = true;
    for (double step : options.steps) {
        const ShotOutcome outcome = flight.Fly(options.shot.angle, options.shot.power, step);
        const double seconds = outcome.frames * ShotFlight::PhysicsSeconds(step);
        printf("%s step %s angle %d power %d: %s after %d frames (%.3f s), %d bounces, %d of %d collected\n",
               name.c_str(), StepLabel(step).c_str(), options.shot.angle, options.shot.power, EndName(outcome.end),
               outcome.frames, seconds, outcome.bounces, outcome.collected, flight.Collectibles());
        wonEverywhere = wonEverywhere && outcome.end == FlightEnd::WON;
    }
    return wonEverywhere;
}

struct MapSummary {
    std::string name;
    std::vector<StepReport> steps;
};

// Every step of one map; the winners go into found.
bool SolveMap(const std::string& name, const Options& options, std::vector<RecordedSolution>& found,
              MapSummary& summary)
{
    ShotSearch search(name, options.threads);
    const ShotFlight& flight = search.Flight();
    printf("%s: %d collectibles, %zu vertexes, %zu linedefs\n", name.c_str(), flight.Collectibles(),
           flight.Field().GetVertexes().size(), flight.Field().GetLinedefs().size());
    if (!flight.HasBallSpawn()) printf("  no ball spawn: no shot can win\n");
    fflush(stdout);
    summary.name = name;
    bool solved = true;
    for (double step : options.steps) {
        const auto start = std::chrono::steady_clock::now();
        StepReport report;
        {
            ProgressLine progress(name + " step " + StepLabel(step));
            search.SetProgress([&](const SearchProgress& p) { progress.Show(p); });
            report = search.Solve(step);
        }
        const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        printf("  step %-5s %6.3f %% of the coarse pass wins (%d of %d)%s; %zu winning shots in all",
               StepLabel(step).c_str(), 100.0 * report.WinningShare(), report.coarseWins, report.coarseShots,
               report.wholePanel ? ", so every shot was flown" : "", report.winners.size());
        if (const FlownShot* fastest = report.Fastest()) {
            printf("; fastest %.3f s: angle %d power %d; fewest bounces %d",
                   fastest->outcome.frames * ShotFlight::PhysicsSeconds(step), fastest->shot.angle, fastest->shot.power,
                   report.FewestBounces());
            found.push_back(RecordedSolution{name, StepText(step), step, fastest->shot});
        } else {
            printf("; NO WINNING SHOT");
            solved = false;
        }
        printf(" [%d shots in %.1f s]\n", report.shotsFlown, elapsed);
        fflush(stdout);
        summary.steps.push_back(std::move(report));
    }
    return solved;
}

void PrintSummary(const std::vector<MapSummary>& maps, const std::vector<double>& steps)
{
    printf("\nshare of the coarse pass that wins, and the fastest win (s):\n%-8s", "map");
    for (double step : steps) printf("  %-18s", ("step " + StepLabel(step)).c_str());
    printf("\n");
    for (const MapSummary& map : maps) {
        printf("%-8s", map.name.c_str());
        for (const StepReport& report : map.steps) {
            const FlownShot* fastest = report.Fastest();
            printf("  %7.3f %%  %7.3f", 100.0 * report.WinningShare(),
                   fastest ? fastest->outcome.frames * ShotFlight::PhysicsSeconds(report.frameSeconds) : 0.0);
        }
        printf("\n");
    }
}

}  // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        fputs(USAGE, stderr);
        return 2;
    }
    if (chdir(options.root.c_str()) != 0) {
        fprintf(stderr, "solve: cannot enter \"%s\"\n", options.root.c_str());
        return 2;
    }
    if (options.maps.empty()) options.maps = EveryMap();
    if (options.maps.empty()) {
        fprintf(stderr, "solve: no maps in \"%s/data/maps\"\n", options.root.c_str());
        return 2;
    }
    for (const std::string& name : options.maps) {
        if (!std::filesystem::is_regular_file("data/maps/" + name + ".map")) {
            fprintf(stderr, "solve: there is no map \"data/maps/%s.map\" in \"%s\"\n", name.c_str(),
                    options.root.c_str());
            return 2;
        }
    }
    // Every flight loads its map's elements, each of which would trace its birth and death.
    MapElement::traceLines = false;

    bool solved = true;
    std::vector<RecordedSolution> found;
    std::vector<MapSummary> summaries;
    for (const std::string& name : options.maps) {
        if (options.oneShot) {
            solved = FlyOneShot(name, options) && solved;
        } else {
            summaries.emplace_back();
            solved = SolveMap(name, options, found, summaries.back()) && solved;
        }
    }
    if (summaries.size() > 1) PrintSummary(summaries, options.steps);

    if (!options.solutions.empty() && !found.empty()) {
        std::vector<RecordedSolution> recorded;
        std::string error;
        if (std::filesystem::exists(options.solutions) && !ReadSolutions(options.solutions, recorded, error)) {
            fprintf(stderr, "solve: %s; not written\n", error.c_str());
            solved = false;
        } else if (!WriteSolutions(options.solutions, MergeSolutions(recorded, found))) {
            fprintf(stderr, "solve: cannot write \"%s\"\n", options.solutions.c_str());
            solved = false;
        } else {
            printf("recorded %zu solutions in %s\n", found.size(), options.solutions.c_str());
        }
    }
    if (!solved) fprintf(stderr, "solve: not every step of every map has a winning shot\n");
    fflush(stdout);
    return solved ? 0 : 1;
}
