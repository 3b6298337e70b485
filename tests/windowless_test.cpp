// The map model in a program without a window, as the shot solver uses it: it links the engine's
// core and nothing of the window, pictures or sound. A fatal failure there writes its report to
// stderr and exits with code 1; the frame number it highlights with is the core's.
#include <gtest/gtest.h>

#include "Engine/FrameNumber.h"
#include "Engine/ParseBuffer.h"
#include "Game/MapArea.h"
#include "Game/MapFile.h"

namespace {

TEST(Windowless, AFailureWritesItsReportToStderrAndExitsWithOne)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            MapElement::traceLines = false;
            MapArea map;
            char text[] = "Vertexes { (1, 2) } Linedefs { 0 } Objects { }";
            ParseBuffer buffer(text, -1, "broken");
            MapFile::Read(buffer, map);
        },
        testing::ExitedWithCode(1),
        "^ASSERTION FAILURE:\nEngine/ParseBuffer.cpp\\([0-9]+\\):  \\(ALL BUILDS\\)\nExpression was: \\(  \\)\n\n   "
        "Syntax error on line 1 of buffer \"broken\":");
}

TEST(Windowless, TheMapHighlightsWithTheCoresFrameNumber)
{
    MapArea map;
    Vertex* vertex = map.AddVertex(Vec2f(1, 2), true);
    SetCurrentFrameNumber(41);
    map.Highlight(vertex);
    EXPECT_EQ(vertex->highlightFrame, 41);
    map.Clear();
}

}  // namespace
