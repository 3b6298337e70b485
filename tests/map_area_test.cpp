// The map area's element management, cascades, merging, queries, highlighting and selection.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "Engine/TheApplication.h"
#include "Game/MapArea.h"

namespace {

template <typename List>
std::vector<typename List::value_type> V(const List& list)
{
    return std::vector<typename List::value_type>(list.begin(), list.end());
}

// A map with a chain a - b - c and a vertex and an object on their own.
struct Chain {
    MapArea map;
    Vertex* a = map.AddVertex(Vec2f(0.0f, 0.0f), true);
    Vertex* b = map.AddVertex(Vec2f(1.0f, 0.0f), true);
    Vertex* c = map.AddVertex(Vec2f(2.0f, 0.0f), true);
    Vertex* lone = map.AddVertex(Vec2f(5.0f, 5.0f), true);
    Linedef* ab = map.AddLinedef(a, b);
    Linedef* bc = map.AddLinedef(b, c);
    MapObject* o = map.AddObject(Vec2f(3.0f, 3.0f));
};

}  // namespace

TEST(MapAreaAdd, AVertexWithinHalfAUnitIsReusedUnlessForced)
{
    MapArea map;
    Vertex* a = map.AddVertex(Vec2f(10.0f, 10.0f), false);
    Vertex* b = map.AddVertex(Vec2f(10.3f, 10.0f), true);
    EXPECT_NE(a, b);
    EXPECT_EQ(map.AddVertex(Vec2f(10.2f, 10.1f), false), a);  // first in list order wins
    EXPECT_EQ(map.AddVertex(Vec2f(10.5f, 10.0f), false), b);  // exactly 0.5 from a is not "below"
    Vertex* d = map.AddVertex(Vec2f(11.0f, 10.0f), false);
    EXPECT_EQ(V(map.GetVertexes()), (std::vector<Vertex*>{a, b, d}));
    EXPECT_EQ(map.VertexByIndex(2), d);
    EXPECT_EQ(map.VertexByIndex(3), nullptr);
    EXPECT_EQ(map.VertexByIndex(-1), nullptr);
    EXPECT_EQ(map.IndexOfVertex(d), 2);
    EXPECT_EQ(map.IndexOfVertex(nullptr), -1);
}

TEST(MapAreaAdd, ALinedefJoinsTheListsOfBothItsVertexes)
{
    MapArea map;
    Vertex* a = map.AddVertex(Vec2f(0.0f, 0.0f), true);
    Vertex* b = map.AddVertex(Vec2f(1.0f, 0.0f), true);
    Linedef* ab = map.AddLinedef(a, b);
    Linedef* ba = map.AddLinedef(b, a);  // duplicates are allowed
    Linedef* loop = map.AddLinedef(a, a);
    EXPECT_EQ(V(map.GetLinedefs()), (std::vector<Linedef*>{ab, ba, loop}));
    EXPECT_EQ(V(a->linedefs), (std::vector<Linedef*>{ab, ba, loop, loop}));
    EXPECT_EQ(V(b->linedefs), (std::vector<Linedef*>{ab, ba}));

    // A linedef on a missing or foreign vertex could never be unlinked again.
    EXPECT_EXIT(
        map.AddLinedef(a, nullptr), ::testing::ExitedWithCode(1),
        "Game/MapArea\\.cpp\\([0-9]+\\):  \\(ALL BUILDS\\)\nExpression was: \\( _Owns\\(start\\) && _Owns\\(end\\) "
        "\\)\n\n   MapArea::AddLinedef\\(\\) : both ends must be vertexes of this map");
    MapArea other;
    Vertex* foreign = other.AddVertex(Vec2f(0.0f, 0.0f), true);
    EXPECT_EXIT(map.AddLinedef(foreign, a), ::testing::ExitedWithCode(1), "both ends must be vertexes of this map");
}

TEST(MapAreaRemove, VertexesTakeTheirLinedefsAndLinedefsTheirIsolatedEnds)
{
    {
        MapArea map;
        Vertex* a = map.AddVertex(Vec2f(0.0f, 0.0f), true);
        map.AddLinedef(a, map.AddVertex(Vec2f(1.0f, 0.0f), true));
        map.RemoveVertex(a);
        EXPECT_TRUE(map.GetVertexes().empty());
        EXPECT_TRUE(map.GetLinedefs().empty());
    }
    {
        Chain s;  // the middle of a chain takes the whole chain, not the lone vertex
        s.map.RemoveVertex(s.b);
        EXPECT_EQ(V(s.map.GetVertexes()), std::vector<Vertex*>{s.lone});
        EXPECT_TRUE(s.map.GetLinedefs().empty());
    }
    {
        Chain s;
        s.map.RemoveLinedef(s.ab);
        EXPECT_EQ(V(s.map.GetVertexes()), (std::vector<Vertex*>{s.b, s.c, s.lone}));
        EXPECT_EQ(V(s.b->linedefs), std::vector<Linedef*>{s.bc});
        s.map.RemoveElement(s.bc);
        s.map.RemoveElement(s.o);
        EXPECT_EQ(V(s.map.GetVertexes()), std::vector<Vertex*>{s.lone});
        EXPECT_TRUE(s.map.GetObjects().empty());
    }
}

TEST(MapAreaRemove, LinedefsFromAVertexToItself)
{
    MapArea map;
    Vertex* a = map.AddVertex(Vec2f(0.0f, 0.0f), true);
    map.RemoveLinedef(map.AddLinedef(a, a));  // the vertex had no other linedef
    EXPECT_TRUE(map.GetVertexes().empty());

    Vertex* b = map.AddVertex(Vec2f(0.0f, 0.0f), true);
    Vertex* c = map.AddVertex(Vec2f(1.0f, 0.0f), true);
    Linedef* bc = map.AddLinedef(b, c);
    map.RemoveLinedef(map.AddLinedef(b, b));
    EXPECT_EQ(V(b->linedefs), std::vector<Linedef*>{bc});

    map.AddLinedef(b, b);
    Linedef* loopAtC = map.AddLinedef(c, c);
    map.RemoveVertex(b);  // its loop is listed twice but removed once; c keeps its own loop
    EXPECT_EQ(V(map.GetVertexes()), std::vector<Vertex*>{c});
    EXPECT_EQ(V(map.GetLinedefs()), std::vector<Linedef*>{loopAtC});
    EXPECT_EQ(V(c->linedefs), (std::vector<Linedef*>{loopAtC, loopAtC}));
}

TEST(MapAreaRemove, EachLoopGoesOnceWhereverItsTwoEntriesStand)
{
    // Loops added directly stand in pairs; a loop made by merging has its entries apart.
    MapArea map;
    Vertex* v = map.AddVertex(Vec2f(0.0f, 0.0f), true);
    Vertex* w = map.AddVertex(Vec2f(0.2f, 0.0f), true);
    Vertex* x = map.AddVertex(Vec2f(5.0f, 0.0f), true);
    Linedef* vw = map.AddLinedef(v, w);
    Linedef* vx = map.AddLinedef(v, x);
    for (int i = 0; i < 1000; ++i) map.AddLinedef(v, v);
    Linedef* wx = map.AddLinedef(w, x);
    ASSERT_EQ(map.MergeVertex(w), v);
    std::vector<Linedef*> entries = V(v->linedefs);
    ASSERT_EQ(entries.size(), 2004u);
    EXPECT_TRUE(entries[0] == vw && entries[1] == vx && entries[2002] == vw && entries[2003] == wx);

    Linedef* xx = map.AddLinedef(x, x);
    map.RemoveVertex(v);  // x keeps its own loop
    EXPECT_EQ(V(map.GetVertexes()), std::vector<Vertex*>{x});
    EXPECT_EQ(V(map.GetLinedefs()), std::vector<Linedef*>{xx});
    EXPECT_EQ(V(x->linedefs), (std::vector<Linedef*>{xx, xx}));
    map.Clear();
    EXPECT_TRUE(map.GetVertexes().empty() && map.GetLinedefs().empty());
}

TEST(MapAreaRemove, ElementsOfAnotherMapAreLeftAlone)
{
    Chain s;
    MapArea other;
    Vertex* v = other.AddVertex(Vec2f(0.0f, 0.0f), true);
    MapObject* o = other.AddObject(Vec2f(0.0f, 0.0f));
    s.map.RemoveVertex(v);
    s.map.RemoveElement(o);
    s.map.RemoveElement(nullptr);
    EXPECT_EQ(s.map.MergeVertex(v), v);
    EXPECT_EQ(other.GetVertexes().size(), 1u);
    EXPECT_EQ(other.GetObjects().size(), 1u);
    EXPECT_EQ(s.map.GetVertexes().size(), 4u);
}

TEST(MapAreaRemove, DestroyingAMapDestroysWhatItStillHolds)
{
    MapElement::traceLines = true;  // the destructions are counted by their trace
    testing::internal::CaptureStderr();
    {
        Chain s;
    }
    std::string output = testing::internal::GetCapturedStderr();
    MapElement::traceLines = false;
    size_t destroyed = 0;
    for (size_t at = output.find("~MapElement"); at != std::string::npos; at = output.find("~MapElement", at + 1))
        ++destroyed;
    EXPECT_EQ(destroyed, 7u);
}

TEST(MapAreaMerge, MovesTheLinedefsOntoTheFirstCloseVertex)
{
    Chain s;
    EXPECT_EQ(s.map.MergeVertex(s.b), s.b);  // nothing within 0.5

    Vertex* d = s.map.AddVertex(Vec2f(2.3f, 0.0f), true);
    Vertex* e = s.map.AddVertex(Vec2f(20.0f, 0.0f), true);
    Linedef* de = s.map.AddLinedef(d, e);
    Linedef* ed = s.map.AddLinedef(e, d);
    EXPECT_EQ(s.map.MergeVertex(d), s.c);
    EXPECT_EQ(V(s.map.GetVertexes()), (std::vector<Vertex*>{s.a, s.b, s.c, s.lone, e}));
    EXPECT_TRUE(de->start == s.c && de->end == e && ed->start == e && ed->end == s.c);
    EXPECT_EQ(V(s.c->linedefs), (std::vector<Linedef*>{s.bc, de, ed}));
    EXPECT_EQ(s.c->position, Vec2f(2.0f, 0.0f));

    // The moved links stay removable: taking e away takes de and ed from c's list too.
    s.map.RemoveVertex(e);
    EXPECT_EQ(V(s.c->linedefs), std::vector<Linedef*>{s.bc});

    // Merging the two ends of a linedef makes a loop.
    Vertex* f = s.map.AddVertex(Vec2f(0.2f, 5.0f), true);
    Vertex* g = s.map.AddVertex(Vec2f(0.0f, 5.0f), true);
    Linedef* fg = s.map.AddLinedef(f, g);
    EXPECT_EQ(s.map.MergeVertex(g), f);
    EXPECT_EQ(V(f->linedefs), (std::vector<Linedef*>{fg, fg}));
    s.map.RemoveLinedef(fg);
    EXPECT_EQ(s.map.IndexOfVertex(f), -1);
}

TEST(MapAreaLookup, NearestElements)
{
    MapArea map;
    float d = 0.0f;
    EXPECT_EQ(map.NearestVertex(1.0f, 2.0f, d), nullptr);
    EXPECT_EQ(d, 3.4028235e38f);
    d = 0.0f;
    EXPECT_EQ(map.NearestLinedef(1.0f, 2.0f, d), nullptr);
    EXPECT_EQ(d, FLT_MAX);
    d = 0.0f;
    EXPECT_EQ(map.NearestObject(1.0f, 2.0f, d), nullptr);
    EXPECT_EQ(d, FLT_MAX);

    // Ties go to the first in list order, also after removals reshuffle the storage.
    Vertex* gone = map.AddVertex(Vec2f(-1.0f, 0.0f), true);
    Vertex* a = map.AddVertex(Vec2f(0.0f, 0.0f), true);
    Vertex* b = map.AddVertex(Vec2f(10.0f, 0.0f), true);
    Vertex* c = map.AddVertex(Vec2f(20.0f, 10.0f), true);
    Linedef* ab = map.AddLinedef(a, b);
    Linedef* point = map.AddLinedef(c, c);  // no length: the distance is to its vertex
    map.AddLinedef(b, a);
    map.RemoveVertex(gone);
    Vertex* twin = map.AddVertex(Vec2f(0.0f, 0.0f), true);
    EXPECT_EQ(map.NearestVertex(0.0f, 1.0f, d), a);
    EXPECT_EQ(d, 1.0f);
    EXPECT_EQ(map.NearestLinedef(4.0f, 3.0f, d), ab);  // perpendicular foot inside
    EXPECT_FLOAT_EQ(d, 9.0f);
    EXPECT_EQ(map.NearestLinedef(-3.0f, 4.0f, d), ab);  // clamped to the start
    EXPECT_FLOAT_EQ(d, 25.0f);
    EXPECT_EQ(map.NearestLinedef(13.0f, 4.0f, d), ab);  // clamped to the end
    EXPECT_FLOAT_EQ(d, 25.0f);
    EXPECT_EQ(map.NearestLinedef(20.0f, 12.0f, d), point);
    EXPECT_FLOAT_EQ(d, 4.0f);
    MapObject* o1 = map.AddObject(Vec2f(0.0f, 3.0f));
    map.AddObject(Vec2f(0.0f, -3.0f));
    EXPECT_EQ(map.NearestObject(0.0f, 0.0f, d), o1);
    EXPECT_EQ(d, 9.0f);
    (void)twin;

    // Coordinates so far apart that the squared distance overflows still give an element.
    MapArea far;
    Vertex* v = far.AddVertex(Vec2f(FLT_MAX, FLT_MAX), true);
    EXPECT_EQ(far.NearestVertex(-FLT_MAX, -FLT_MAX, d), v);
}

TEST(MapAreaLookup, NearestLinedefTiesAtAVertexGoByListOrderAndNonNumbersNeverWin)
{
    // Two linedefs meeting at v, with coordinates whose arithmetic rounds: at v, and past it
    // along the first, both are exactly as near (the nearest point is v), so list order decides.
    const Vec2f p(-591.09552f, -113.094238f), v(756.234863f, -540.845581f), q(10.0f, 20.0f);
    const Vec2f p2(-534.051453f, 434.783203f), v2(614.210327f, 225.89624f), q2(-224.278687f, -146.180359f);
    const Vec2f past(625.692932f, 223.807373f);
    for (bool intoFirst : {true, false}) {
        MapArea map;
        Vertex* pv[2] = {map.AddVertex(p, true), map.AddVertex(p2, true)};
        Vertex* vv[2] = {map.AddVertex(v, true), map.AddVertex(v2, true)};
        Vertex* qv[2] = {map.AddVertex(q, true), map.AddVertex(q2, true)};
        Linedef* first[2];
        for (int i = 0; i < 2; ++i) {
            first[i] = intoFirst ? map.AddLinedef(pv[i], vv[i]) : map.AddLinedef(vv[i], qv[i]);
            if (intoFirst) map.AddLinedef(vv[i], qv[i]);
            if (!intoFirst) map.AddLinedef(pv[i], vv[i]);
        }
        float d = -1.0f;
        EXPECT_EQ(map.NearestLinedef(v.x, v.y, d), first[0]) << intoFirst;
        EXPECT_EQ(d, 0.0f);
        EXPECT_EQ(map.NearestLinedef(past.x, past.y, d), first[1]) << intoFirst;
        EXPECT_EQ(d, (past.x - v2.x) * (past.x - v2.x) + (past.y - v2.y) * (past.y - v2.y));
    }

    // A linedef across the whole float range has no number for its distance: it never hides
    // the others, and alone it is infinitely far.
    MapArea map;
    Linedef* huge =
        map.AddLinedef(map.AddVertex(Vec2f(-FLT_MAX, 0.0f), true), map.AddVertex(Vec2f(FLT_MAX, 0.0f), true));
    float d = -1.0f;
    EXPECT_EQ(map.NearestLinedef(5.0f, 10.0f, d), huge);
    EXPECT_EQ(d, INFINITY);
    Linedef* plain = map.AddLinedef(map.AddVertex(Vec2f(0.0f, 10.0f), true), map.AddVertex(Vec2f(10.0f, 10.0f), true));
    EXPECT_EQ(map.NearestLinedef(5.0f, 10.0f, d), plain);
    EXPECT_EQ(d, 0.0f);
}

TEST(MapAreaSelection, HighlightSelectToggleAndCounts)
{
    Chain s;
    s.map.Highlight(s.o);
    EXPECT_EQ(s.o->highlightFrame, theApplication.GetFrameNumber());
    s.o->highlightFrame = 77;
    s.map.ClearHighlights();
    EXPECT_TRUE(s.map.GetHighlighted().empty());
    EXPECT_EQ(s.o->highlightFrame, 77);  // clearing leaves the stamp

    s.map.Select(s.o);
    s.map.Select(s.a);
    s.map.Select(s.o);  // already selected: no second entry
    s.map.Highlight(s.a);
    s.map.Highlight(s.ab);
    s.map.Highlight(s.o);
    s.map.ToggleHighlightedSelection();  // vertexes are never toggled
    EXPECT_EQ(V(s.map.GetSelection()), (std::vector<MapElement*>{s.a, s.ab}));
    EXPECT_TRUE(s.a->selected && s.ab->selected && !s.o->selected);
    EXPECT_EQ(s.map.SelectedCount(), 2);
    EXPECT_EQ(s.map.SelectedCountOfType(MAP_ELEMENT_VERTEX), 1);
    EXPECT_EQ(s.map.SelectedCountOfType(MAP_ELEMENT_LINEDEF), 1);
    EXPECT_EQ(s.map.SelectedCountOfType(MAP_ELEMENT_OBJECT), 0);
    s.map.ClearSelection();
    EXPECT_TRUE(s.map.GetSelection().empty());
    EXPECT_FALSE(s.a->selected || s.ab->selected);
}

TEST(MapAreaSelection, DeselectOfAFlagWithoutAnEntryIsAnAssertionFailure)
{
    std::ifstream source("Game/MapArea.cpp");
    std::string text;
    int line = 0;
    for (int n = 1; std::getline(source, text); ++n) {
        if (text.find("\"iter != end\"") != std::string::npos) line = n;
    }
    ASSERT_GT(line, 0);
    EXPECT_EXIT(
        {
            Chain s;
            s.o->selected = true;
            s.map.Deselect(s.o);
        },
        ::testing::ExitedWithCode(1),
        "ASSERTION FAILURE:\nGame/MapArea\\.cpp\\(" + std::to_string(line) +
            "\\):  \\(ALL BUILDS\\)\nExpression was: \\( iter != end \\)\n");
}

TEST(MapAreaSelection, DeletingAndCascadesTakeDestroyedElementsOutOfBothLists)
{
    Chain s;
    s.map.DeleteSelection();  // nothing selected, nothing highlighted: no change
    EXPECT_EQ(s.map.GetVertexes().size() + s.map.GetLinedefs().size() + s.map.GetObjects().size(), 7u);

    s.map.Select(s.ab);
    s.map.Highlight(s.o);  // the first highlighted element goes too
    s.map.DeleteSelection();
    EXPECT_EQ(V(s.map.GetVertexes()), (std::vector<Vertex*>{s.b, s.c, s.lone}));
    EXPECT_TRUE(s.map.GetObjects().empty());
    EXPECT_TRUE(s.map.GetSelection().empty());
    EXPECT_TRUE(s.map.GetHighlighted().empty());

    Chain t;
    t.map.Select(t.o);
    t.map.Select(t.bc);
    t.map.Select(t.c);
    t.map.Highlight(t.c);
    t.map.Highlight(t.ab);
    t.map.Highlight(t.c);
    t.map.Highlight(t.o);
    t.map.RemoveVertex(t.b);  // takes ab, bc and, with them, a and c
    EXPECT_EQ(V(t.map.GetSelection()), std::vector<MapElement*>{t.o});
    EXPECT_EQ(V(t.map.GetHighlighted()), std::vector<MapElement*>{t.o});
    t.map.Clear();
    EXPECT_TRUE(t.map.GetSelection().empty() && t.map.GetHighlighted().empty());
}

TEST(MapAreaSelection, MoveSelectionMovesEachVertexOnce)
{
    Chain s;
    Vertex* d = s.map.AddVertex(Vec2f(3.0f, 0.0f), true);
    s.map.AddLinedef(s.c, d);
    Linedef* loop = s.map.AddLinedef(s.a, s.a);
    MapObject* still = s.map.AddObject(Vec2f(6.0f, 6.0f));
    s.map.Select(s.ab);
    s.map.Select(s.o);
    s.map.Select(s.b);  // also an end of a selected linedef
    s.map.Select(s.bc);
    s.map.Select(loop);
    s.map.MoveSelection(Vec2f(1.0f, 2.0f));
    EXPECT_EQ(s.a->position, Vec2f(1.0f, 2.0f));
    EXPECT_EQ(s.b->position, Vec2f(2.0f, 2.0f));
    EXPECT_EQ(s.c->position, Vec2f(3.0f, 2.0f));
    EXPECT_EQ(d->position, Vec2f(3.0f, 0.0f));
    EXPECT_EQ(s.o->position, Vec2f(4.0f, 5.0f));
    EXPECT_EQ(still->position, Vec2f(6.0f, 6.0f));
    s.map.MoveSelection(Vec2f(-1.0f, -2.0f));  // the marks are cleared again first
    EXPECT_EQ(s.c->position, Vec2f(2.0f, 0.0f));
}

TEST(MapAreaSelection, PropertiesGoToTheFirstHighlightedLinedefOrObject)
{
    Chain s;
    s.map.SetHighlightedProperty("k", "v");  // nothing highlighted: no harm
    s.map.Highlight(s.a);
    s.map.Highlight(s.o);
    s.map.SetHighlightedProperty("k", "v");  // a vertex first: nothing
    EXPECT_EQ(s.o->properties.Count(), 0);

    s.map.ClearHighlights();
    s.map.Highlight(s.o);
    s.map.Highlight(s.ab);
    s.map.SetHighlightedProperty("COLLECT", "1");
    s.map.SetHighlightedProperty("collect", "0");
    std::string value;
    EXPECT_TRUE(s.o->properties.Get("Collect", value));
    EXPECT_EQ(value, "0");
    EXPECT_EQ(s.ab->properties.Count(), 0);

    s.map.ClearHighlights();
    s.map.Highlight(s.ab);
    s.map.SetHighlightedProperty("bounce", "2");
    EXPECT_EQ(s.ab->properties.Count(), 1);
    s.map.RemoveHighlightedProperty("BOUNCE");
    EXPECT_EQ(s.ab->properties.Count(), 0);
}

TEST(MapAreaRevision, GrowsWithWhatTheFileWouldHoldAndWithNothingElse)
{
    Chain s;
    MapArea& map = s.map;
    const uint64_t start = map.GetRevision();
    map.AddVertex(Vec2f(0.2f, 0.0f), false);  // a itself: nothing made
    map.Highlight(s.o);
    map.Select(s.ab);
    map.SetName("other");
    map.MoveSelection(Vec2f::ZERO);
    EXPECT_EQ(map.MergeVertex(s.lone), s.lone);  // nothing near it
    EXPECT_EQ(map.GetRevision(), start);
    for (auto change : std::vector<std::function<void()>>{
             [&] { map.MoveSelection(Vec2f(1.0f, 0.0f)); }, [&] { map.SetHighlightedProperty("k", "v"); },
             [&] { map.RemoveHighlightedProperty("k"); }, [&] { map.RemoveElement(s.o); }, [&] { map.Clear(); }}) {
        const uint64_t before = map.GetRevision();
        change();
        EXPECT_GT(map.GetRevision(), before);
    }
}
