// The shot solver: one flight and how it ends, the search over the panel, the solutions file and
// the program's answers, on small maps written for each test.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "Game/MapArea.h"
#include "Game/SlicedSearch.h"
#include "ShotFlight.h"
#include "ShotSearch.h"
#include "Solutions.h"
#include "TestSupport.h"

namespace {

// A data folder of its own with the maps given (name, text), made the working folder.
class SolverMaps {
public:
    explicit SolverMaps(const std::vector<std::pair<std::string, std::string>>& maps)
    {
        std::filesystem::create_directories(_folder.PathOf("data/maps"));
        for (const auto& [name, text] : maps) _folder.Write("data/maps/" + name + ".map", text);
        _back = getcwd(nullptr, 0);
        EXPECT_EQ(chdir(_folder.Path().c_str()), 0);
    }
    ~SolverMaps()
    {
        EXPECT_EQ(chdir(_back), 0);
        free(_back);
    }
    const std::string& Path() const { return _folder.Path(); }

private:
    TestFolder _folder;
    char* _back = nullptr;
};

// Map text in the writer's form, y up as stored (the play field mirrors it to 1024 - y).
std::string MapText(const std::string& vertexes, const std::string& linedefs, const std::string& objects)
{
    return "Vertexes\n{\n" + vertexes + "}\n\nLinedefs\n{\n" + linedefs + "}\n\nObjects\n{\n" + objects + "}\n\n";
}

const std::string SPAWN = "\t{\n\t\t\"BALLSPAWN\" \"1\"\n\t\t\"COLLECT\" \"0\"\n\t}\n";
// A floor from x 0 to 1024 at play y 900; the ball waits at (100, 600), a star at (400, 600).
const std::string FLOOR_MAP =
    MapText("\t(0, 124)\n\t(1024, 124)\n", "\t0, 1\n", "\t(100, 424)\n" + SPAWN + "\t(400, 424)\n");
// Nothing but the ball and a star 300 units to its right: what misses falls away.
const std::string OPEN_MAP = MapText("", "", "\t(100, 424)\n" + SPAWN + "\t(400, 424)\n");

TEST(ShotFlight, EndsAtTheWinAtRestOnceGoneOrAfterThirtySecondsWithEveryItemBackForEachShot)
{
    const std::string far = MapText("\t(100, -600000)\n", "", "\t(100, 424)\n" + SPAWN + "\t(100, -599000)\n");
    SolverMaps maps({{"floor", FLOOR_MAP}, {"open", OPEN_MAP}, {"far", far}, {"empty", MapText("", "", "")}});

    ShotFlight floor("floor");
    EXPECT_TRUE(floor.HasBallSpawn());
    EXPECT_EQ(floor.Collectibles(), 1);
    // 2000 units a second to the right: within 36 units of the star after some 0.13 s.
    const ShotOutcome won = floor.Fly(0, 100, 0.01);
    EXPECT_EQ(won.end, FlightEnd::WON);
    EXPECT_EQ(won.collected, 1);
    EXPECT_GE(won.frames, 12);
    EXPECT_LE(won.frames, 15);
    EXPECT_EQ(won.bounces, 0);
    const ShotOutcome again = floor.Fly(0, 100, 0.01);
    EXPECT_EQ(again.end, FlightEnd::WON);
    EXPECT_EQ(again.frames, won.frames);

    // Dropped onto the floor, the ball bounces lower and lower and settles for two seconds.
    const ShotOutcome rest = floor.Fly(90, 0, 0.01);
    EXPECT_EQ(rest.end, FlightEnd::AT_REST);
    EXPECT_EQ(rest.collected, 0);
    EXPECT_GT(rest.bounces, 10);
    EXPECT_GT(rest.frames, 200);
    EXPECT_LT(rest.frames, 3000);

    ShotFlight open("open");
    const ShotOutcome gone = open.Fly(180, 50, 0.01);
    EXPECT_EQ(gone.end, FlightEnd::GONE);
    EXPECT_LT(gone.frames, 20);  // left of everything and moving away
    EXPECT_EQ(open.Fly(90, 10, 0.005).end, FlightEnd::GONE);

    // A vertex far below keeps the ball in the field for longer than the flight may last.
    ShotFlight fall("far");
    const ShotOutcome falling = fall.Fly(0, 0, 0.005);
    EXPECT_EQ(falling.end, FlightEnd::TIMED_OUT);
    EXPECT_EQ(falling.frames, 6000);
    EXPECT_EQ(fall.Fly(0, 0, 1.0 / 60.0).frames, 1800);
    // The physics clamps the frame time, and so does the 30 s limit.
    EXPECT_EQ(fall.Fly(0, 0, 0.001).frames, 6000);
    EXPECT_EQ(fall.Fly(0, 0, 0.05).frames, 1500);

    ShotFlight empty("empty");
    EXPECT_FALSE(empty.HasBallSpawn());
    EXPECT_NE(empty.Fly(0, 50, 0.01).end, FlightEnd::WON);
}

TEST(ShotSearch, FindsEveryWinNextToTheCoarseWinnersAndTheSameOnAnyNumberOfThreads)
{
    SolverMaps maps({{"open", OPEN_MAP}});
    // Every shot the panel can set, for comparison.
    std::set<std::pair<int32_t, int32_t>> wins;
    int32_t coarseWins = 0, fastestFrames = 1 << 30;
    ShotFlight flight("open");
    for (int32_t angle = 0; angle <= 360; ++angle) {
        for (int32_t power = 0; power <= 100; ++power) {
            const ShotOutcome outcome = flight.Fly(angle, power, 0.01);
            if (outcome.end != FlightEnd::WON) continue;
            wins.insert({angle, power});
            coarseWins += angle % 2 == 0 && power % 2 == 0;
            fastestFrames = std::min(fastestFrames, outcome.frames);
        }
    }
    ASSERT_GT(coarseWins, 10);

    ShotSearch one("open", 1), two("open", 2);
    const StepReport report = one.Solve(0.01);
    EXPECT_EQ(report.coarseShots, 181 * 51);
    EXPECT_EQ(report.coarseWins, coarseWins);
    EXPECT_DOUBLE_EQ(report.WinningShare(), double(coarseWins) / (181 * 51));
    EXPECT_FALSE(report.wholePanel);
    // The wins found are wins, and every win missed lies away from all of them: next to a winner
    // every shot has been flown.
    std::set<std::pair<int32_t, int32_t>> found;
    for (const FlownShot& winner : report.winners) {
        EXPECT_EQ(wins.count({winner.shot.angle, winner.shot.power}), 1u);
        found.insert({winner.shot.angle, winner.shot.power});
    }
    EXPECT_GT(found.size(), wins.size() * 9 / 10);
    for (const auto& [angle, power] : wins) {
        if (found.count({angle, power})) continue;
        for (int32_t da = -1; da <= 1; ++da)
            for (int32_t dp = -1; dp <= 1; ++dp)
                EXPECT_EQ(found.count({(angle + da + 361) % 361, power + dp}), 0u) << angle << " " << power;
    }
    EXPECT_LT(report.shotsFlown, 181 * 51 + 4 * int32_t(wins.size()));
    ASSERT_NE(report.Fastest(), nullptr);
    EXPECT_EQ(report.Fastest()->outcome.frames, fastestFrames);
    EXPECT_EQ(report.FewestBounces(), 0);

    const StepReport twice = two.Solve(0.01);
    EXPECT_EQ(twice.coarseWins, report.coarseWins);
    ASSERT_EQ(twice.winners.size(), report.winners.size());
    for (size_t i = 0; i < report.winners.size(); ++i) {
        EXPECT_EQ(twice.winners[i].shot, report.winners[i].shot);
        EXPECT_EQ(twice.winners[i].outcome.frames, report.winners[i].outcome.frames);
    }
}

TEST(ShotSearch, FliesTheWholePanelWhenTheCoarsePassFindsNothing)
{
    // A star between two walls higher than any shot rises: no shot reaches it, so after the
    // coarse pass every other shot of the panel is flown too.
    const std::string walled = MapText("\t(300, -100)\n\t(300, 5000)\n\t(500, -100)\n\t(500, 5000)\n",
                                       "\t0, 1\n\t2, 3\n", "\t(100, 424)\n" + SPAWN + "\t(400, 424)\n");
    SolverMaps maps({{"walled", walled}});
    const StepReport report = ShotSearch("walled", 2).Solve(1.0 / 60.0);
    EXPECT_TRUE(report.wholePanel);
    EXPECT_EQ(report.coarseWins, 0);
    EXPECT_EQ(report.shotsFlown, 361 * 101);
    EXPECT_TRUE(report.winners.empty());
    EXPECT_EQ(report.Fastest(), nullptr);
    EXPECT_EQ(report.FewestBounces(), -1);
}

TEST(SlicedSearch, FliesTheSolversSearchOnTheMapInMemoryAFewFramesAtATimeWithTheSameAnswer)
{
    SolverMaps maps({{"open", OPEN_MAP}});
    MapArea edited;  // y up, as the editor holds a map
    edited.LoadMapByName("open");
    SlicedSearch sliced(edited, 0.005);
    // No time at all: every slice flies a few frames, so flights are cut and go on.
    int32_t slices = 1;
    while (!sliced.RunSlice(0.0)) ++slices;
    const StepReport& report = sliced.Report();
    const StepReport threaded = ShotSearch("open", 2).Solve(0.005);
    EXPECT_EQ(report.coarseWins, threaded.coarseWins);
    EXPECT_EQ(report.shotsFlown, threaded.shotsFlown);
    EXPECT_EQ(sliced.ShotsFlown(), threaded.shotsFlown);
    ASSERT_EQ(report.winners.size(), threaded.winners.size());
    for (size_t i = 0; i < report.winners.size(); ++i) {
        EXPECT_EQ(report.winners[i].shot, threaded.winners[i].shot);
        EXPECT_EQ(report.winners[i].outcome.frames, threaded.winners[i].outcome.frames);
        EXPECT_EQ(report.winners[i].outcome.bounces, threaded.winners[i].outcome.bounces);
    }
    EXPECT_GT(slices, threaded.shotsFlown);

    // The fastest win's path, on the play field: from the spawn to the star's reach.
    const std::vector<Vec2f>& path = sliced.FastestPath();
    ASSERT_GE(path.size(), size_t(report.Fastest()->outcome.frames));
    EXPECT_EQ(path.front(), Vec2f(100, 600));
    EXPECT_LT(std::hypot(path.back().x - 400.0f, path.back().y - 600.0f), 36.0f);
}

TEST(SlicedSearch, FindsTheSolversRecordedFastestWinOnAShippedMapLoadedAsTheEditorLoadsIt)
{
    std::vector<RecordedSolution> recorded;
    std::string error;
    ASSERT_TRUE(ReadSolutions("data/maps/solutions.txt", recorded, error)) << error;
    const auto map03 = std::find_if(recorded.begin(), recorded.end(), [](const RecordedSolution& s) {
        return s.map == "map03" && s.frameSeconds == 0.005;
    });
    ASSERT_NE(map03, recorded.end());
    MapArea edited;
    edited.LoadMapByName("map03");
    SlicedSearch sliced(edited, 0.005);
    while (!sliced.RunSlice(1.0)) {}
    ASSERT_NE(sliced.Report().Fastest(), nullptr);
    EXPECT_EQ(sliced.Report().Fastest()->shot, map03->shot);
    EXPECT_EQ(ShotFlight("map03").Fly(map03->shot.angle, map03->shot.power, 0.005).frames,
              sliced.Report().Fastest()->outcome.frames);
}

TEST(Solutions, StepsAreWrittenSoTheyReadBackExactly)
{
    EXPECT_EQ(StepText(0.005), "0.005");
    EXPECT_EQ(StepText(0.01), "0.01");
    EXPECT_EQ(StepText(1.0 / 60.0), "0.016666666666666666");
    EXPECT_EQ(strtod(StepText(1.0 / 60.0).c_str(), nullptr), 1.0 / 60.0);
    EXPECT_EQ(StepLabel(1.0 / 60.0), "1/60");
    EXPECT_EQ(StepLabel(0.01), "0.01");
    double seconds = 0.0;
    EXPECT_TRUE(ParseStep("1/60", seconds));
    EXPECT_EQ(seconds, 1.0 / 60.0);
    EXPECT_TRUE(ParseStep("0.005", seconds));
    EXPECT_EQ(seconds, 0.005);
    for (const char* bad : {"", "0", "-0.01", "fast", "1/0", "1/", "0.01s"})
        EXPECT_FALSE(ParseStep(bad, seconds)) << bad;
}

TEST(Solutions, ReadCommentsAndLinesOfTheFormRejectOthersByLineAndMergeByMapAndStep)
{
    TestFolder folder;
    std::vector<RecordedSolution> read;
    std::string error;
    const std::string good = folder.Write("good.txt",
                                          "# shots\n\nmap02 step 0.01 angle 360 power 0\r\n"
                                          "  # indented comment\nmap01 step 0.016666666666666666 angle 5 power 100\n");
    ASSERT_TRUE(ReadSolutions(good, read, error)) << error;
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0].map, "map02");
    EXPECT_EQ(read[0].frameSeconds, 0.01);
    EXPECT_EQ(read[0].shot, (Shot{360, 0}));
    EXPECT_EQ(read[1].frameSeconds, 1.0 / 60.0);
    EXPECT_EQ(read[1].step, "0.016666666666666666");

    for (const char* bad : {"map01 step 0.01 angle 361 power 50", "map01 step 0.01 angle 315 power 101",
                            "map01 step 0.01 angle 315", "map01 step 0.01 angle 315 power 50 extra",
                            "map01 steps 0.01 angle 315 power 50", "map01 step 0 angle 315 power 50",
                            "map01 step 0.01 angle -1 power 50", "map01 step 0.01 angle 3.5 power 50"}) {
        std::vector<RecordedSolution> none;
        EXPECT_FALSE(ReadSolutions(folder.Write("bad.txt", std::string("# one\n") + bad + "\n"), none, error)) << bad;
        EXPECT_NE(error.find("bad.txt:2: not of the form"), std::string::npos) << error;
    }
    EXPECT_FALSE(ReadSolutions(folder.PathOf("missing.txt"), read, error));
    EXPECT_NE(error.find("cannot read"), std::string::npos);

    const std::vector<RecordedSolution> merged =
        MergeSolutions(read, {RecordedSolution{"map02", "0.01", 0.01, Shot{10, 20}},
                              RecordedSolution{"map02", "0.005", 0.005, Shot{30, 40}}});
    const std::string path = folder.PathOf("out.txt");
    ASSERT_TRUE(WriteSolutions(path, merged));
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("\nmap01 step 0.016666666666666666 angle 5 power 100\n"
                              "map02 step 0.005 angle 30 power 40\n"
                              "map02 step 0.01 angle 10 power 20\n"),
              std::string::npos)
        << text.str();
    std::vector<RecordedSolution> back;
    ASSERT_TRUE(ReadSolutions(path, back, error)) << error;
    EXPECT_EQ(back.size(), 3u);
}

TEST(SolveProgram, AnswersWithItsExitCode)
{
    SolverMaps maps({{"floor", FLOOR_MAP}});
    const std::string solve = std::string(SOLVE_EXE) + " --root " + maps.Path();
    auto run = [&](const std::string& args) {
        const int status = std::system((solve + " " + args + " > out.txt 2> err.txt").c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    EXPECT_EQ(run("--shot 0 100 floor"), 0);
    EXPECT_EQ(run("--step 1/60 --shot 180 50 floor"), 1);
    EXPECT_EQ(run("--threads 2 --step 0.01 --solutions found.txt floor"), 0);
    std::vector<RecordedSolution> found;
    std::string error;
    ASSERT_TRUE(ReadSolutions("found.txt", found, error)) << error;
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].map, "floor");
    EXPECT_EQ(ShotFlight("floor").Fly(found[0].shot.angle, found[0].shot.power, 0.01).end, FlightEnd::WON);

    EXPECT_EQ(run("nosuchmap"), 2);
    std::ifstream err("err.txt");
    std::stringstream text;
    text << err.rdbuf();
    EXPECT_NE(text.str().find("there is no map \"data/maps/nosuchmap.map\""), std::string::npos) << text.str();
    EXPECT_EQ(run("--threads 0 floor"), 2);
    EXPECT_EQ(run("--step x floor"), 2);
}

}  // namespace
