// Editing in the 2-D view, driven by mouse and key messages through the engine's input
// system: hover picking, clicks, drags, panning and zooming, line chains, the keys.
#include <gtest/gtest.h>

#include <windows.h>

#include <cmath>

#include "EditorTestGame.h"
#include "Engine/TheInputSystem.h"
#include "Game/EditorShell.h"
#include "Game/Grid.h"
#include "Game/MapArea.h"
#include "Game/ViewXY.h"

namespace {

class EditorEditing : public EditorTest {
protected:
    Vertex* AddVertex(float x, float y)
    {
        Vertex* vertex = nullptr;
        Capture([&] { vertex = theMapArea->AddVertex(Vec2f(x, y), true); });
        return vertex;
    }
    Linedef* AddLinedef(Vertex* a, Vertex* b)
    {
        Linedef* linedef = nullptr;
        Capture([&] { linedef = theMapArea->AddLinedef(a, b); });
        return linedef;
    }
    MapObject* AddObject(float x, float y)
    {
        MapObject* object = nullptr;
        Capture([&] { object = theMapArea->AddObject(Vec2f(x, y)); });
        return object;
    }
    const MapElement* Hovered() const
    {
        return theMapArea->GetHighlighted().empty() ? nullptr : theMapArea->GetHighlighted().front();
    }
    // The mouse to the world point, and a frame to see it there.
    void HoverAt(float x, float y)
    {
        MoveMouseToWorld(Vec2f(x, y));
        RunFrame();
    }
    // What the user's double-click sends: a click, then the second click as a double-click.
    void UserDoubleClick(int button)
    {
        Click(button);
        DoubleClick(button);
    }
    size_t Vertexes() const { return theMapArea->GetVertexes().size(); }
    size_t Linedefs() const { return theMapArea->GetLinedefs().size(); }
};

}  // namespace

TEST_F(EditorEditing, CloseObjectsBeatLinedefsAndTheFarRadiusGrowsWithZoom)
{
    ASSERT_EQ(MapView().zoom, 12.0f);
    MapObject* object = AddObject(500, 500);
    Linedef* under = AddLinedef(AddVertex(495, 300), AddVertex(495, 700));
    HoverAt(495, 500);
    EXPECT_EQ(Hovered(), object) << "5 units from the object, right on the linedef";

    Capture([&] { theMapArea->RemoveObject(object); });
    HoverAt(495 + 30, 500);
    EXPECT_EQ(Hovered(), under) << "30 units away, inside 3 pixels x zoom 12 = 36";
    HoverAt(495 + 40, 500);
    EXPECT_EQ(Hovered(), nullptr);

    // Beyond the close radius the nearest kind wins: here the linedef over an object further off.
    MapObject* further = AddObject(495 + 40, 520);
    HoverAt(495 + 20, 500);
    EXPECT_EQ(Hovered(), under);
    HoverAt(495 + 32, 512);
    EXPECT_EQ(Hovered(), further);
    EXPECT_EQ(theMapArea->GetHighlighted().size(), 1u);
}

TEST_F(EditorEditing, ClicksToggleLinedefsAndObjectsButNeverVertexes)
{
    Vertex* a = AddVertex(256, 256);
    Linedef* line = AddLinedef(a, AddVertex(512, 256));
    HoverAt(384, 258);
    ASSERT_EQ(Hovered(), line);
    Click(1);
    EXPECT_TRUE(line->selected);
    RunFrame();
    Click(1);
    EXPECT_FALSE(line->selected);

    HoverAt(256, 256);
    ASSERT_EQ(Hovered(), a);
    Click(1);
    EXPECT_FALSE(a->selected);
    EXPECT_EQ(theMapArea->SelectedCount(), 0);

    // A press, a movement, a release: no click.
    HoverAt(384, 258);
    ButtonDown(1);
    MoveMouseBy(0, 1);
    RunFrame();
    ButtonUp(1);
    EXPECT_FALSE(line->selected);
}

TEST_F(EditorEditing, DraggingMovesTheSelectionInGridSteps)
{
    MapObject* loose = AddObject(128, 128);
    MapObject* chosen = AddObject(512, 512);
    MapObject* alsoChosen = AddObject(640, 512);

    // The drag starts at the first movement and moves by whole cells of the snapped mouse.
    HoverAt(128, 128);
    ButtonDown(1);
    MoveMouseBy(1, 0);
    RunFrame();
    MoveMouseToWorld(Vec2f(128 + 64, 128 + 64));
    RunFrames(2);
    ButtonUp(1);
    EXPECT_EQ(loose->position, Vec2f(192, 192));
    EXPECT_FALSE(loose->selected) << "an unselected object dragged alone stays unselected";
    EXPECT_EQ(chosen->position, Vec2f(512, 512));

    Capture([&] {
        theMapArea->Select(chosen);
        theMapArea->Select(alsoChosen);
    });
    HoverAt(512, 512);
    ButtonDown(1);
    MoveMouseBy(1, 0);
    RunFrame();
    MoveMouseToWorld(Vec2f(512 - 128 + 5, 512 + 7));
    RunFrames(2);
    ButtonUp(1);
    EXPECT_EQ(chosen->position, Vec2f(384, 512));
    EXPECT_EQ(alsoChosen->position, Vec2f(512, 512)) << "moved with the selection";
    EXPECT_TRUE(alsoChosen->selected);
    EXPECT_TRUE(chosen->selected);
    EXPECT_EQ(loose->position, Vec2f(192, 192));
}

TEST_F(EditorEditing, ADraggedVertexLandsOnTheGridAtOnce)
{
    Vertex* vertex = AddVertex(100.5f, 90.25f);
    HoverAt(100.5f, 90.25f);
    ASSERT_EQ(Hovered(), vertex);
    ButtonDown(1);
    MoveMouseBy(3, 0);
    RunFrame();
    EXPECT_EQ(vertex->position, Vec2f(128, 64)) << "the snapped mouse position";
    ButtonUp(1);
    EXPECT_FALSE(vertex->selected);
}

TEST_F(EditorEditing, ChainOfTwoSegmentsEndedWithEscape)
{
    HoverAt(128, 128);
    UserDoubleClick(1);
    EXPECT_EQ(EditMode, LINE_CHAIN_CREATION);
    EXPECT_EQ(Vertexes(), 2u) << "the start and the floating cursor";
    HoverAt(384, 128);
    Click(1);
    HoverAt(384, 384);
    Click(1);
    Key(VK_ESCAPE);
    EXPECT_EQ(EditMode, EDIT_MAP_ELEMENTS);
    EXPECT_EQ(chainCursor, nullptr);
    EXPECT_EQ(Linedefs(), 2u);
    ASSERT_EQ(Vertexes(), 3u);
    EXPECT_EQ(theMapArea->GetVertexes().back()->position, Vec2f(384, 384));
    for (const Vertex* vertex : theMapArea->GetVertexes()) EXPECT_FALSE(vertex->linedefs.empty());
}

TEST_F(EditorEditing, ChainsThatMakeNoSegmentLeaveTheMapAsItWas)
{
    HoverAt(640, 640);
    UserDoubleClick(1);
    Key(VK_ESCAPE);
    EXPECT_EQ(Vertexes(), 0u) << "a double-click on empty space, then Escape";

    Vertex* joined = AddVertex(256, 256);
    AddLinedef(joined, AddVertex(512, 256));
    HoverAt(256, 256);
    UserDoubleClick(1);
    EXPECT_EQ(chainStart, joined);
    Click(1);  // on the chain's own start point: nothing
    EXPECT_EQ(Linedefs(), 1u);
    Key(VK_ESCAPE);
    EXPECT_EQ(Vertexes(), 2u);
    EXPECT_EQ(Linedefs(), 1u);

    // A lone vertex the chain started on stays, whether Escape or a right click ends it:
    // nothing else in the editor can make one.
    Vertex* alone = AddVertex(768, 768);
    for (bool escape : {true, false}) {
        HoverAt(768, 768);
        UserDoubleClick(1);
        EXPECT_EQ(chainStart, alone);
        if (escape) {
            Key(VK_ESCAPE);
        } else {
            Click(2);
        }
        EXPECT_EQ(EditMode, EDIT_MAP_ELEMENTS);
        EXPECT_EQ(Vertexes(), 3u);
        EXPECT_EQ(theMapArea->GetVertexes().back(), alone);
    }
}

TEST_F(EditorEditing, ADragThatLeavesTheViewEndsAsAReleaseDoes)
{
    Vertex* vertex = AddVertex(256, 256);
    AddLinedef(vertex, AddVertex(512, 256));
    HoverAt(256, 256);
    ButtonDown(1);
    MoveMouseBy(1, 0);
    RunFrame();
    ASSERT_TRUE(vertex->selected) << "selected to move with the selection";
    MoveMouseTo(1100, 500);  // over the info view
    RunFrame();
    EXPECT_FALSE(MapView().leftDragActive);
    EXPECT_FALSE(vertex->selected) << "a Delete later would take it and its linedef";
    ButtonUp(1);
    EXPECT_EQ(theMapArea->SelectedCount(), 0);
}

TEST_F(EditorEditing, ABoxFromEmptySpaceSelectsWhatIsInside)
{
    Linedef* inside = AddLinedef(AddVertex(256, 256), AddVertex(384, 320));
    Linedef* across = AddLinedef(AddVertex(320, 384), AddVertex(768, 384));
    MapObject* object = AddObject(448, 448);
    MapObject* outside = AddObject(640, 640);
    auto selected = [&] {
        return std::vector<bool>{inside->selected, across->selected, object->selected, outside->selected};
    };
    // Whether the drag drew a box.
    auto drag = [this](float x0, float y0, float x1, float y1) {
        HoverAt(x0, y0);
        ButtonDown(1);
        MoveMouseBy(1, 0);
        RunFrame();
        HoverAt(x1, y1);
        const bool box = MapView().boxActive;
        ButtonUp(1);
        return box;
    };
    EXPECT_TRUE(drag(480, 200, 200, 480));  // from any corner; the vertexes inside stay unselected
    EXPECT_EQ(selected(), (std::vector<bool>{true, false, true, false}));
    EXPECT_EQ(theMapArea->SelectedCount(), 2);
    EXPECT_EQ(inside->start->position, Vec2f(256, 256));

    // With a selection, a drag from empty space moves it, as it always did; with Ctrl it boxes
    // and adds to it.
    EXPECT_FALSE(drag(200, 200, 264, 200));
    EXPECT_EQ(object->position, Vec2f(512, 448));
    KeyDown(VK_CONTROL);
    EXPECT_TRUE(drag(600, 600, 700, 700));
    KeyUp(VK_CONTROL);
    EXPECT_EQ(selected(), (std::vector<bool>{true, false, true, true}));
    EXPECT_EQ(outside->position, Vec2f(640, 640));
}

TEST_F(EditorEditing, RightDragPansAndShiftRightDragZoomsAboutTheMouse)
{
    ViewXY& view = MapView();
    HoverAt(512, 512);
    const Vec2f centre = view.centre;
    ButtonDown(2);
    EXPECT_FALSE(theInputSystem.IsCursorVisible());
    MoveMouseBy(10, 4);
    RunFrame();
    EXPECT_EQ(view.interaction, ViewXY::INTERACTION_PANNING);
    EXPECT_EQ(view.centre, centre + Vec2f(-10 * 0.5f * 12, 4 * 0.5f * 12)) << "the map follows the mouse";
    ButtonUp(2);
    EXPECT_TRUE(theInputSystem.IsCursorVisible());

    HoverAt(300, 700);
    const Vec2i pixel = theInputSystem.GetMousePosition();
    const Vec2f world = view.ScreenToWorld(pixel);
    KeyDown(VK_SHIFT);
    ButtonDown(2);
    MoveMouseBy(0, 20);
    RunFrame();
    EXPECT_EQ(view.interaction, ViewXY::INTERACTION_ZOOMING);
    EXPECT_NEAR(view.zoom, 12.0f * std::pow(1.01f, 20), 1e-3);
    EXPECT_EQ(theInputSystem.GetMousePosition(), pixel);
    EXPECT_NEAR(view.ScreenToWorld(pixel).x, world.x, 1e-2);
    EXPECT_NEAR(view.ScreenToWorld(pixel).y, world.y, 1e-2);
    MoveMouseBy(0, -40);
    RunFrame();
    EXPECT_NEAR(view.zoom, 12.0f * std::pow(1.01f, -20), 1e-3);
    ButtonUp(2);
    KeyUp(VK_SHIFT);
    RunFrame();
    EXPECT_EQ(view.interaction, ViewXY::INTERACTION_NONE);
}

TEST_F(EditorEditing, ZoomStopsWhereTheViewsArithmeticWouldBreak)
{
    ViewXY& view = MapView();
    HoverAt(512, 512);
    KeyDown(VK_SHIFT);
    ButtonDown(2);
    for (int i = 0; i < 80; ++i) {
        MoveMouseBy(0, 200);
        RunFrame();
    }
    EXPECT_LE(view.zoom, ViewXY::MAX_ZOOM);
    EXPECT_TRUE(std::isfinite(view.MouseWorld().x));
    ButtonUp(2);
    KeyUp(VK_SHIFT);
    DoubleClick(2);  // an object where the mouse is: still a real point
    ASSERT_EQ(theMapArea->GetObjects().size(), 1u);
    EXPECT_TRUE(std::isfinite(theMapArea->GetObjects().front()->position.x));
}

TEST_F(EditorEditing, KeysOfTheEditMode)
{
    MapObject* object = AddObject(512, 512);
    HoverAt(512, 512);
    Click(1);
    ASSERT_TRUE(object->selected);
    Key(VK_ESCAPE);
    EXPECT_FALSE(object->selected);

    HoverAt(200, 300);
    DoubleClick(2);
    ASSERT_EQ(theMapArea->GetObjects().size(), 2u);
    MapObject* placed = theMapArea->GetObjects().back();
    EXPECT_EQ(placed->position, Vec2f(192, 320));
    EXPECT_EQ(MapView().editList, std::list<MapElement*>{placed});

    RunFrame();
    Key(VK_DELETE);  // the highlighted element goes even when not selected
    EXPECT_EQ(theMapArea->GetObjects().size(), 1u);
    EXPECT_TRUE(MapView().editList.empty()) << "nothing kept of a deleted object";

    shell->underlayAlpha = 0.95f;
    Key(0xBE);
    EXPECT_EQ(shell->underlayAlpha, 1.0f);
    shell->underlayAlpha = 0.05f;
    Key(0xBC);
    EXPECT_EQ(shell->underlayAlpha, 0.0f);

    const std::string log = Capture([this] { Key('U'); });
    EXPECT_NE(log.find("WARNING: no underlay picture \"data/UnderlayTest.tga\""), std::string::npos);
    EXPECT_EQ(shell->underlay, nullptr);

    Key('G');
    Key('G');
    Key('G');
    EXPECT_EQ(MapView().gridDisplay, ViewXY::GRID_LINES);
    Key(0xDD);
    EXPECT_EQ(MapView().grid->size, 128.0f);
    KeyDown(0xDD);
    KeyRepeat(0xDD);
    EXPECT_EQ(MapView().grid->size, 256.0f) << "only presses count";
}

TEST_F(EditorEditing, WheelAndDeleteDuringADrag)
{
    MapObject* object = AddObject(512, 512);
    HoverAt(512, 512);
    ButtonDown(1);
    MoveMouseBy(5, 0);
    RunFrame();
    ASSERT_TRUE(MapView().leftDragActive);
    Wheel(1);  // one notch is code 1, as the left button
    EXPECT_FALSE(MapView().leftDragActive);
    EXPECT_TRUE(object->selected) << "not deselected by the wheel";
    ButtonUp(1);
    EXPECT_TRUE(object->selected);

    Key(VK_ESCAPE);
    HoverAt(512, 512);
    ButtonDown(1);
    MoveMouseBy(5, 0);
    RunFrame();
    ASSERT_EQ(MapView().dragElement, object);
    Key(VK_DELETE);
    EXPECT_EQ(MapView().dragElement, nullptr) << "the deleted element is no longer dragged";
    MoveMouseBy(64, 0);
    RunFrames(2);
    ButtonUp(1);
    EXPECT_TRUE(theMapArea->GetObjects().empty());
}
