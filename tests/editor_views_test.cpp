// The editor's views: the info view's text, the 2-D view's coordinates and grid, and what
// the 2-D view draws for the grid and for elements in each state.
#include <gtest/gtest.h>

#include <windows.h>
#include <GL/gl.h>

#include <memory>

#include "EditorTestGame.h"
#include "Engine/TheInputSystem.h"
#include "Engine/TheRenderer.h"
#include "Game/EditorPreferences.h"
#include "Game/EditorShell.h"
#include "Game/Grid.h"
#include "Game/MapArea.h"
#include "Game/Pane.h"
#include "Game/ViewInfo.h"
#include "Game/ViewXY.h"
#include "RenderTestSupport.h"

namespace {

using EditorViews = EditorTest;

std::vector<std::string> Texts(const std::vector<ViewInfo::TextItem>& items)
{
    std::vector<std::string> texts;
    for (const ViewInfo::TextItem& item : items) texts.push_back(item.text);
    return texts;
}

// The map view drawn again within this frame, so that the highlights it just made count.
Frame DrawnAgain()
{
    theEditorShell->Frame();
    return Frame();
}

// Above the status text.
int CountPixels(const Frame& frame, const Color& colour, const ViewXY& view)
{
    return FindPixels(
               frame, [&](const Color& c) { return SameRgb(c, colour, 1); }, view.topLeft.x, view.topLeft.y,
               view.bottomRight.x, view.bottomRight.y - 40)
        .count;
}

// Within reach pixels of the centre.
int CountPixelsAround(const Frame& frame, const Color& colour, const Vec2i& centre, int reach)
{
    return FindPixels(
               frame, [&](const Color& c) { return SameRgb(c, colour, 1); }, centre.x - reach, centre.y - reach,
               centre.x + reach, centre.y + reach)
        .count;
}

}  // namespace

TEST_F(EditorViews, InfoViewDescribesSelectionAndHighlight)
{
    MapArea map;
    const ViewInfo& info = InfoView();
    const float x = float(info.topLeft.x) + 5.0f, y = float(info.topLeft.y) + 14.0f;
    std::vector<ViewInfo::TextItem> items = info.ComposeInfo(&map);
    EXPECT_EQ(Texts(items), (std::vector<std::string>{"Info View", "No selected elements", "No highlighted elements"}));
    EXPECT_EQ(items[0].x, x);
    EXPECT_EQ(items[0].y, y);
    EXPECT_EQ(items[1].y, y + 28) << "an empty line between";
    EXPECT_EQ(items[2].y, y + 56);

    Capture([&map] {
        Vertex* a = map.AddVertex(Vec2f(1.5f, 2), true);
        Vertex* b = map.AddVertex(Vec2f(3, 4), true);
        Vertex* c = map.AddVertex(Vec2f(0.1f, 1000000), true);
        map.Select(map.AddLinedef(a, b));
        Linedef* highlighted = map.AddLinedef(b, c);
        map.Select(highlighted);
        map.Select(a);
        highlighted->properties.Set("b", "2");
        highlighted->properties.Set("a", "1");
        map.Highlight(highlighted);
        map.Highlight(a);  // only the first highlighted element is described
    });
    items = info.ComposeInfo(&map);
    EXPECT_EQ(Texts(items),
              (std::vector<std::string>{"Info View", "3 Selected elements:", "2 Linedef(s)", "1 Vertex(es)",
                                        "Highlighted element:", "Linedef from (3, 4) to (0.1, 1e+06)",
                                        "Properties:", "KEY", "VALUE", "~~~~~", "~~~~~~~", "a", "1", "b", "2"}));
    EXPECT_EQ(items[2].x, x + 25);
    EXPECT_EQ(items[2].y, y + 42);
    EXPECT_EQ(items[6].y, y + 9 * 14) << "an empty line before the table";
    EXPECT_EQ(items[11].x, x + 25);
    EXPECT_EQ(items[12].x, x + 125);
    EXPECT_EQ(items[12].y, items[11].y);

    map.ClearHighlights();
    map.ClearSelection();
    Capture([&map] { map.Highlight(map.AddObject(Vec2f(10.25f, -3))); });
    EXPECT_EQ(Texts(info.ComposeInfo(&map)), (std::vector<std::string>{"Info View", "No selected elements",
                                                                       "Highlighted element:  Object at (10.25, -3)"}));
    map.ClearHighlights();
    map.Highlight(map.GetVertexes().front());
    EXPECT_EQ(Texts(info.ComposeInfo(&map)).back(), "Vertex at (1.5, 2)");
    Capture([&map] { map.Clear(); });
}

TEST_F(EditorViews, ViewsClearAndWriteOnlyInsideTheirRectangle)
{
    EXPECT_EQ(Color(64, 64, 64, 255) * 0.5f, Color(32, 32, 32, 127));
    ViewBase* base = nullptr;
    ViewInfo* info = nullptr;
    std::unique_ptr<Pane> pane;
    Capture([&] {
        base = new ViewBase();
        info = new ViewInfo();
        pane.reset(new Pane(base, Vec2i(100, 100), Vec2i(299, 299)));
        pane->Split(info, 0.5f, true, false);
        theMapArea->Highlight(theMapArea->AddObject(Vec2f(1, 2)));
        theMapArea->SetHighlightedProperty("a long key that runs far past the value column", std::string(200, 'W'));
    });
    theRenderer.ResetViewportAndScissor();
    theRenderer.Clear(Color(0, 255, 0, 255));
    pane->Draw();
    const Frame frame;
    theRenderer.ResetViewportAndScissor();
    EXPECT_TRUE(SameRgb(frame.At(150, 150), Color(32, 32, 32), 1));
    EXPECT_TRUE(SameRgb(frame.At(250, 295), Color(0, 0, 64), 1));
    const PixelBox white = FindPixels(frame, [](const Color& c) { return c.r > 200 && c.b > 200; });
    EXPECT_GT(white.count, 100);
    EXPECT_GE(white.minX, info->topLeft.x);
    EXPECT_LE(white.maxX, info->bottomRight.x) << "the long text stops at the view's edge";
    EXPECT_TRUE(SameRgb(frame.At(302, 120), Color(0, 255, 0), 0)) << "outside the pane nothing changed";
}

TEST_F(EditorViews, VisibleRectangleAndPixelMapping)
{
    ViewXY* made = nullptr;
    Capture([&made] { made = new ViewXY(); });
    std::unique_ptr<ViewXY> view(made);
    view->topLeft = Vec2i(0, 0);
    view->bottomRight = Vec2i(799, 599);
    view->UpdateVisibleRect();
    EXPECT_EQ(view->visibleMin, Vec2f(-256, -64));
    EXPECT_EQ(view->visibleMax, Vec2f(1280, 1088));
    EXPECT_EQ(view->ScreenToWorld(Vec2i(0, 0)), Vec2f(-256, 1088)) << "y points up";
    EXPECT_EQ(view->ScreenToWorld(Vec2i(799, 599)), Vec2f(1280, -64));
    EXPECT_FLOAT_EQ(view->CellPixels(), 800.0f * 64.0f / 1536.0f);

    const Vec2f world = view->ScreenToWorld(Vec2i(100, 200));
    view->zoom = 3.0f;
    view->UpdateVisibleRect();
    view->KeepWorldPointUnderPixel(world, Vec2i(100, 200));
    const Vec2f back = view->ScreenToWorld(Vec2i(100, 200));
    EXPECT_NEAR(back.x, world.x, 1e-3);
    EXPECT_NEAR(back.y, world.y, 1e-3);

    view->bottomRight = Vec2i(0, 599);  // one pixel wide: a square world, nothing divides by zero
    view->UpdateVisibleRect();
    EXPECT_EQ(view->visibleMax.y - view->visibleMin.y, 128 * 3.0f * 600);
    EXPECT_EQ(view->ScreenToWorld(Vec2i(0, 10)).x, view->visibleMin.x);
}

TEST_F(EditorViews, GridSnapsHalvesAndDoubles)
{
    Grid grid;
    EXPECT_EQ(grid.Snap(Vec2f(95.9f, -31.9f)), Vec2f(64, 0));
    EXPECT_EQ(grid.Snap(Vec2f(96, 32)), Vec2f(128, 64));
    EXPECT_EQ(grid.Snap(Vec2f(-32, -33)), Vec2f(0, -64));
    grid.Halve();
    EXPECT_EQ(grid.size, 32.0f);
    grid.Halve();
    EXPECT_EQ(grid.size, 16.0f);
    for (int i = 0; i < 8; ++i) grid.Halve();
    EXPECT_EQ(grid.size, 1.0f);
    for (int i = 0; i < 12; ++i) grid.Double();
    EXPECT_EQ(grid.size, 1024.0f);
    grid.snap = false;
    EXPECT_EQ(grid.Snap(Vec2f(95.9f, -31.9f)), Vec2f(95.9f, -31.9f));
    grid.snap = true;
    grid.size = 0.0f;
    EXPECT_EQ(grid.Snap(Vec2f(95.9f, -31.9f)), Vec2f(0, 0));
}

TEST_F(EditorViews, GridFadesInAndDisplayNoneKeepsOnlyTheCursorPoint)
{
    ViewXY& view = MapView();
    const EditorPreferences& preferences = *thePreferences;
    MoveMouseToWorld(Vec2f(200, 200));
    RunFrame();
    // 7 pixels per cell: the lines at alpha 127 over the black background.
    view.grid->size = 7.0f * 128.0f * view.zoom / float(view.GetSize().x);
    Frame frame = DrawnAgain();
    EXPECT_FLOAT_EQ(view.CellPixels(), 7.0f);
    const Color faded(16, 16, 32);
    const Vec2i origin = PixelOfWorld(Vec2f(0, 0));
    EXPECT_GT(CountPixels(frame, faded, view), 10000);
    EXPECT_EQ(CountPixels(frame, preferences.gridColour1, view),
              CountPixelsAround(frame, preferences.gridColour1, origin, 12))
        << "only the origin circle at full strength";

    view.grid->size = 1.5f * 128.0f * view.zoom / float(view.GetSize().x);
    frame = DrawnAgain();
    EXPECT_EQ(CountPixels(frame, faded, view), 0) << "no lines under 2 pixels per cell";
    EXPECT_GT(CountPixelsAround(frame, preferences.gridColour1, origin, 12), 20) << "the origin circle";
    EXPECT_GT(CountPixels(frame, Color::TEAL, view), 100) << "the dashed border";

    view.grid->size = 64.0f;
    view.gridDisplay = ViewXY::GRID_DOTS;
    frame = DrawnAgain();
    EXPECT_GT(CountPixels(frame, preferences.gridColour2, view), 100);
    EXPECT_EQ(CountPixelsAround(frame, preferences.gridColour1, origin, 12), 0) << "no circle with dots";

    view.gridDisplay = ViewXY::GRID_NONE;
    frame = DrawnAgain();
    EXPECT_EQ(CountPixels(frame, preferences.gridColour1, view), 0);
    EXPECT_EQ(CountPixels(frame, preferences.gridColour2, view), 0);
    EXPECT_EQ(CountPixels(frame, Color::TEAL, view), 0);
    EXPECT_EQ(CountPixelsAround(frame, preferences.cursorColour, PixelOfWorld(view.MouseSnappedWorld()), 4), 9)
        << "the 3-pixel grid cursor point";
}

TEST_F(EditorViews, EachStateHasItsOwnColours)
{
    const EditorPreferences& preferences = *thePreferences;
    MapObject* hovered = nullptr;
    MapObject* selected = nullptr;
    Linedef* line = nullptr;
    Vertex* alone = nullptr;
    Capture([&] {
        alone = theMapArea->AddVertex(Vec2f(768, 768), true);
        hovered = theMapArea->AddObject(Vec2f(256, 512));
        selected = theMapArea->AddObject(Vec2f(512, 512));
        line = theMapArea->AddLinedef(theMapArea->AddVertex(Vec2f(256, 256), true),
                                      theMapArea->AddVertex(Vec2f(768, 256), true));
        theMapArea->Select(selected);
    });
    MapView().gridDisplay = ViewXY::GRID_NONE;
    MoveMouseToWorld(hovered->position);
    RunFrame();
    Click(1);  // selected and highlighted
    Frame frame = DrawnAgain();
    ASSERT_TRUE(hovered->selected);
    const Vec2i both = PixelOfWorld(hovered->position);
    const Vec2i only = PixelOfWorld(selected->position);
    EXPECT_TRUE(SameRgb(frame.At(both.x, both.y), preferences.objectBothInner));
    EXPECT_EQ(CountPixelsAround(frame, preferences.objectBothOuter, both, 14), 22 * 22 - 20 * 20);
    EXPECT_EQ(CountPixelsAround(frame, preferences.objectSelectedOuter, only, 14), 22 * 22 - 20 * 20);
    EXPECT_EQ(CountPixelsAround(frame, preferences.objectSelectedInner, only, 14), 20 * 20);

    MoveMouseToWorld(Vec2f(512, 257));
    RunFrame();
    Click(1);
    frame = DrawnAgain();
    ASSERT_TRUE(line->selected);
    const Vec2i middle = PixelOfWorld(Vec2f(512, 256));
    EXPECT_TRUE(SameRgb(frame.At(middle.x, middle.y - 2), Color(255, 128, 0) * (192.0f / 255.0f), 2))
        << "the 5-pixel line in the both colour at alpha 192";
    EXPECT_TRUE(SameRgb(frame.At(middle.x, middle.y), preferences.linedefBothInner, 2));
    EXPECT_EQ(CountPixelsAround(frame, preferences.vertexColour, PixelOfWorld(alone->position), 6), 9)
        << "a plain 3-pixel vertex";
    Capture([] { theMapArea->Clear(); });
}

TEST_F(EditorViews, StatusLineNamesGridSnapAndMode)
{
    ViewXY& view = MapView();
    EXPECT_EQ(view.StatusText(), "Grid = 64, Mode = Edit Map Elements");
    MoveMouseTo(300, 301);
    Key('S');
    RunFrame();
    EXPECT_EQ(view.StatusText(), "Grid = 64(off), Mode = Edit Map Elements");
    EXPECT_EQ(view.MouseSnappedWorld(), view.MouseWorld());
    Key(0xDB);
    EditMode = EDIT_ELEMENT_PROPERTIES;
    EXPECT_EQ(view.StatusText(), "Grid = 32(off), Mode = Edit Element Properties");
    EditMode = 7;
    EXPECT_EQ(view.StatusText(), "Grid = 32(off), Mode = UNKNOWN!");
    Key(VK_ESCAPE);  // an unknown mode takes no keys but the common ones
    EXPECT_EQ(EditMode, 7);
    EditMode = EDIT_ELEMENT_PROPERTIES;
    Key(VK_ESCAPE);
    EXPECT_EQ(EditMode, EDIT_MAP_ELEMENTS);
}
