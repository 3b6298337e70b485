// SOLVE in the editor of the real game: the search flown a slice per frame on the map in memory,
// its progress and answer in the log and the info view, the path of the fastest win, what stops
// it, and PLAY aimed at the answer. Also the map's revision, by which a change is told.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "Game/GameInterface.h"
#include "Game/MapArea.h"
#include "Game/MapSolver.h"
#include "Game/SearchPasses.h"
#include "Game/ShotFlight.h"
#include "Game/ViewInfo.h"
#include "EditorGameTest.h"

static TheGameInterface theGameInterface;

namespace {

const std::string SPAWN = " { \"BALLSPAWN\" \"1\" \"COLLECT\" \"0\" }\n";
// The ball at play (100, 600) and a star 300 units to its right; two pegs far below and far
// to the sides keep every miss in play until it has fallen past them, so the search takes
// dozens of frames' slices, not one.
const std::string OPEN =
    "Vertexes { (-4000, -5976) (4000, -5976) } Linedefs { } Objects {\n (100, 424)" + SPAWN + " (400, 424)\n}\n";

class EditorSolveTest : public EditorGameTest {
protected:
    void WriteData() override { game_test_data::WriteMap(folder.Path(), "open", OPEN); }
    // Frames until the search has ended (at most a minute of slices).
    void SolveToTheEnd()
    {
        for (int frame = 0; frame < 7500 && theEditorShell->solver.IsRunning(); ++frame) Frames(1);
        ASSERT_FALSE(theEditorShell->solver.IsRunning());
    }
    std::string InfoText() const
    {
        std::string text;
        for (const ViewInfo::TextItem& item : InfoView().ComposeInfo(theMapArea)) text += item.text + "\n";
        return text;
    }
    // The search as the solver tool runs it, on the map's file.
    static StepReport Reference(const std::string& name)
    {
        ShotFlight flight(name);
        SearchPasses passes(MapSolver::FRAME_SECONDS);
        while (!passes.Done()) {
            std::vector<ShotOutcome> outcomes;
            for (const Shot& shot : passes.Pass())
                outcomes.push_back(flight.Fly(shot.angle, shot.power, MapSolver::FRAME_SECONDS));
            passes.Finish(outcomes);
        }
        return passes.Report();
    }
};

TEST_F(EditorSolveTest, SolvesInSlicesShowsProgressThenTheFastestWinItsPathAndPlayAimsAtIt)
{
    Command("LOAD OPEN");
    Command("SOLVE");
    EXPECT_TRUE(Logged("Solving \"OPEN\" at 0.005 s per frame")) << log;
    Frames(1);
    // One frame flies a slice of the coarse pass, not all of it.
    ASSERT_TRUE(theEditorShell->solver.IsRunning());
    int flown = 0, total = 0;
    const std::string progress = InfoText();
    const size_t at = progress.find("Solving \"OPEN\": ");
    ASSERT_NE(at, std::string::npos) << progress;
    ASSERT_EQ(sscanf(progress.c_str() + at, "Solving \"OPEN\": %d of %d shots flown", &flown, &total), 2);
    EXPECT_GT(flown, 0);
    EXPECT_EQ(total, 181 * 51);
    EXPECT_LT(progress.find("No highlighted elements"), at);  // below the rest

    SolveToTheEnd();
    const StepReport reference = Reference("open");
    const FlownShot* fastest = reference.Fastest();
    ASSERT_NE(fastest, nullptr);
    char line[256];
    snprintf(line, sizeof(line), "Solved \"OPEN\": %d of %d shots win; fastest: angle %d power %d, %.2f s",
             int(reference.winners.size()), reference.shotsFlown, fastest->shot.angle, fastest->shot.power,
             fastest->outcome.frames * ShotFlight::PhysicsSeconds(0.005));
    EXPECT_TRUE(Logged(line)) << log;
    const std::string answer = std::string(line);
    const size_t split = answer.find("; ");
    EXPECT_NE(InfoText().find(answer.substr(0, split + 1) + "\n" + answer.substr(split + 2) + "\n"), std::string::npos)
        << InfoText();

    // The path runs in map units, y up, from the ball spawn to within reach of the star.
    const std::vector<Vec2f>* path = theEditorShell->solver.PathFor(theMapArea);
    ASSERT_NE(path, nullptr);
    ASSERT_GT(path->size(), 2u);
    EXPECT_EQ(path->front(), Vec2f(100, 424));
    EXPECT_LT(std::hypot(path->back().x - 400.0f, path->back().y - 424.0f), 36.0f);

    theGame->angle = 10;
    theGame->power = 5;
    Command("PLAY");
    ASSERT_EQ(theGame->mode, MODE_AIM);
    EXPECT_EQ(theGame->angle, fastest->shot.angle);
    EXPECT_EQ(theGame->power, fastest->shot.power);
    // Without a SOLVE of the map as it is, PLAY leaves the player's aim.
    Command("EDIT");
    theGame->angle = 10;
    Command("PLAY");
    EXPECT_EQ(theGame->angle, 10);
}

TEST_F(EditorSolveTest, AChangeToTheMapLoadOrLeavingStopsItAndSolveAgainStartsAfresh)
{
    Command("LOAD OPEN");
    Command("SOLVE");
    Frames(1);
    int flown = 0, total = 0;
    const std::string before = InfoText();
    ASSERT_EQ(sscanf(before.c_str() + before.find("Solving"), "Solving \"OPEN\": %d of %d", &flown, &total), 2);
    EXPECT_GT(flown, 0);
    // Started again from nothing.
    Command("SOLVE");
    EXPECT_NE(InfoText().find("Solving \"OPEN\": 0 of 9231 shots flown"), std::string::npos) << InfoText();

    // Moving the star.
    MoveMouseToWorld(Vec2f(400, 424));
    Frames(2);
    ASSERT_EQ(theMapArea->GetHighlighted().size(), 1u);
    theMapArea->Select(theMapArea->GetHighlighted().front());
    theMapArea->MoveSelection(Vec2f(64, 0));
    Frames(1);
    EXPECT_FALSE(theEditorShell->solver.IsRunning());
    EXPECT_TRUE(Logged("SOLVE of \"OPEN\" stopped: the map changed")) << log;
    EXPECT_EQ(InfoText().find("Solv"), std::string::npos);
    Command("SAVE");  // nothing unsaved: LOAD and PLAY go on at once

    Command("SOLVE");
    Command("LOAD OPEN");
    EXPECT_FALSE(theEditorShell->solver.IsRunning());
    Command("SOLVE");
    Command("PLAY");
    EXPECT_FALSE(theEditorShell->solver.IsRunning());
    Command("EDIT");
    // An answer lasts only while the map is as it was solved.
    Command("SOLVE");
    SolveToTheEnd();
    ASSERT_NE(theEditorShell->solver.PathFor(theMapArea), nullptr);
    MoveMouseToWorld(Vec2f(464, 424));
    Frames(2);
    Command("SET SPRITE GEM");
    EXPECT_EQ(theEditorShell->solver.PathFor(theMapArea), nullptr);
    EXPECT_EQ(InfoText().find("Solved"), std::string::npos);
    int32_t angle = 0, power = 0;
    EXPECT_FALSE(theEditorShell->solver.SolutionFor(theMapArea, angle, power));

    // Solved with unsaved changes, the map PLAY plays (its file) is not the one solved: the aim
    // stays the player's.
    Command("SOLVE");
    SolveToTheEnd();
    EXPECT_TRUE(theEditorShell->solver.SolutionFor(theMapArea, angle, power));
    theGame->angle = 3;
    Command("PLAY");
    Command("PLAY");  // the second time the changes are dropped
    ASSERT_EQ(theGame->mode, MODE_AIM);
    EXPECT_EQ(theGame->angle, 3);
}

TEST_F(EditorSolveTest, AMapWithoutSpawnOrCollectiblesSaysSoAtOnceAndABoxedSpawnHasNoWin)
{
    game_test_data::WriteMap(folder.Path(), "nospawn", "Vertexes { } Linedefs { } Objects { (400, 424) }\n");
    game_test_data::WriteMap(folder.Path(), "nostar", "Vertexes { } Linedefs { } Objects { (100, 424)" + SPAWN + "}\n");
    // Four walls around the ball with a unit to spare on each side, the star outside them: every
    // shot soon comes to rest.
    game_test_data::WriteMap(folder.Path(), "boxed",
                             "Vertexes { (87, 411) (113, 411) (113, 437) (87, 437) }\n"
                             "Linedefs { 0, 1 1, 2 2, 3 3, 0 }\n"
                             "Objects {\n (100, 424)" +
                                 SPAWN + " (400, 424)\n}\n");
    Command("SOLVE");  // the editor's empty new map
    EXPECT_TRUE(Logged("Cannot solve \"\": the map has no ball spawn")) << log;
    Command("LOAD NOSPAWN");
    Command("SOLVE");
    EXPECT_TRUE(Logged("Cannot solve \"NOSPAWN\": the map has no ball spawn")) << log;
    EXPECT_FALSE(theEditorShell->solver.IsRunning());
    Command("LOAD NOSTAR");
    Command("SOLVE");
    EXPECT_TRUE(Logged("Cannot solve \"NOSTAR\": the map has no collectibles")) << log;
    EXPECT_NE(InfoText().find("Cannot solve \"NOSTAR\": the map has no collectibles"), std::string::npos);

    Command("LOAD BOXED");
    Command("SOLVE");
    // The frames' drawing adds nothing to this answer: the slices alone, back to back.
    log += Capture([] {
        while (theEditorShell->solver.IsRunning()) theEditorShell->solver.RunFrame(theMapArea);
    });
    // No coarse winner, so the whole panel is flown.
    EXPECT_TRUE(Logged("No winning shot for \"BOXED\": 36461 shots flown")) << log;
    EXPECT_EQ(theEditorShell->solver.PathFor(theMapArea), nullptr);
    theGame->angle = 7;
    Command("PLAY");
    EXPECT_EQ(theGame->angle, 7);
}

TEST(MapRevision, GoesUpWithEveryChangeToTheFileNotWithSelectionOrHighlight)
{
    TestFolder folder;
    MapArea map;
    uint64_t last = map.GetRevision();
    auto changed = [&] {
        const bool up = map.GetRevision() > last;
        last = map.GetRevision();
        return up;
    };
    Vertex* a = map.AddVertex(Vec2f(0, 0), false);
    EXPECT_TRUE(changed());
    EXPECT_EQ(map.AddVertex(Vec2f(0.1f, 0), false), a);  // the same point: nothing new
    EXPECT_FALSE(changed());
    Vertex* b = map.AddVertex(Vec2f(10, 0), true);
    Linedef* linedef = map.AddLinedef(a, b);
    EXPECT_TRUE(changed());
    MapObject* object = map.AddObject(Vec2f(5, 5));
    EXPECT_TRUE(changed());
    map.Highlight(object);
    map.Select(object);
    map.Deselect(object);
    map.ToggleHighlightedSelection();
    EXPECT_FALSE(changed());
    map.MoveSelection(Vec2f(1, 0));
    EXPECT_TRUE(changed());
    map.SetHighlightedProperty("K", "V");
    EXPECT_TRUE(changed());
    map.RemoveHighlightedProperty("K");
    EXPECT_TRUE(changed());
    Vertex* c = map.AddVertex(Vec2f(10.2f, 0), true);
    EXPECT_TRUE(changed());
    EXPECT_EQ(map.MergeVertex(c), b);
    EXPECT_TRUE(changed());
    map.RemoveLinedef(linedef);
    EXPECT_TRUE(changed());
    map.RemoveObject(object);
    EXPECT_TRUE(changed());
    map.AddObject(Vec2f(1, 1));
    changed();
    map.Clear();
    EXPECT_TRUE(changed());
    map.Load(folder.Write("m.map", "Vertexes { } Linedefs { } Objects { }\n"));
    EXPECT_TRUE(changed());
    EXPECT_TRUE(map.Save(folder.PathOf("n.map")));
    EXPECT_FALSE(changed());
}

}  // namespace
