// Random sequences of editor input in every mode, through the engine's input system, keep
// the map's invariants after every frame.
#include <gtest/gtest.h>

#include <windows.h>

#include <random>
#include <set>

#include "EditorTestGame.h"
#include "Engine/TheInputSystem.h"
#include "Game/EditorShell.h"
#include "Game/MapArea.h"
#include "Game/ViewXY.h"
#include "MapInvariants.h"

namespace {

class EditorRandomInput : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        Capture([this] {
            MapArea& map = *theMapArea;
            Vertex* a = map.AddVertex(Vec2f(256, 256), true);
            Vertex* b = map.AddVertex(Vec2f(512, 256), true);
            Vertex* c = map.AddVertex(Vec2f(384, 512), true);
            map.AddLinedef(a, b);
            map.AddLinedef(b, c);
            map.AddLinedef(c, a)->properties.Set("bounce", "1");
            map.AddObject(Vec2f(640, 640))->properties.Set("collect", "1");
            map.AddObject(Vec2f(700, 300));
            initialLoners.insert(map.AddVertex(Vec2f(800, 800), true));
        });
    }

    // The map's own invariants, and every pointer the editor holds reaches a live element.
    void ExpectInvariants(int step)
    {
        SCOPED_TRACE(testing::Message() << "after step " << step);
        const MapArea& map = *theMapArea;
        ExpectMapInvariants(map);
        std::set<const MapElement*> live;
        for (const Vertex* v : map.GetVertexes()) live.insert(v);
        for (const Linedef* l : map.GetLinedefs()) live.insert(l);
        for (const MapObject* o : map.GetObjects()) live.insert(o);

        const ViewXY& view = MapView();
        if (view.dragElement != nullptr) {
            EXPECT_TRUE(live.count(view.dragElement)) << "dragging a destroyed element";
        }
        for (const MapElement* e : view.editList) EXPECT_TRUE(live.count(e)) << "a destroyed element to edit";

        if (EditMode == LINE_CHAIN_CREATION) {
            ASSERT_TRUE(live.count(chainStart) && live.count(chainCursor));
            EXPECT_TRUE(chainCursor->linedefs.empty());
            floating.insert(chainCursor);
        } else {
            EXPECT_EQ(chainStart, nullptr);
            EXPECT_EQ(chainCursor, nullptr);
            for (const Vertex* v : map.GetVertexes()) {
                if (v->linedefs.empty()) {
                    EXPECT_TRUE(initialLoners.count(v)) << "a floating vertex left behind";
                    EXPECT_FALSE(floating.count(v) && !initialLoners.count(v));
                }
            }
        }
    }

    void RandomStep(std::mt19937& random)
    {
        auto pick = [&random](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
        static const uint8_t keys[] = {VK_DELETE, VK_ESCAPE, 'G', 'S', 0xDB, 0xDD, 0xBC, 0xBE, 'U', 'X'};
        switch (pick(16)) {
        case 0:
        case 1:
        case 2:
            MoveMouseBy(pick(81) - 40, pick(81) - 40);
            break;
        case 3:
            // Anywhere in the window, now and then on the split column or in the info view.
            if (theInputSystem.IsCursorVisible()) MoveMouseTo(pick(1280), pick(1024));
            break;
        case 4:
            MoveMouseToWorld(Vec2f(float(pick(17) * 64), float(pick(17) * 64)));
            break;
        case 5:
        case 6:
            ButtonDown(pick(3) == 0 ? 2 : 1);
            break;
        case 7:
        case 8:
            ButtonUp(pick(3) == 0 ? 2 : 1);
            break;
        case 9:
            DoubleClick(pick(3) == 0 ? 2 : 1);
            break;
        case 10: {
            const uint8_t key = keys[pick(sizeof(keys))];
            if (pick(2) == 0) {
                Key(key);
            } else {
                KeyRepeat(key);
            }
            break;
        }
        case 11:
            if (pick(2) == 0) {
                KeyDown(VK_SHIFT);
            } else {
                KeyUp(VK_SHIFT);
            }
            break;
        case 12:
            Wheel(pick(5) - 2);
            break;
        case 13:
            // The one way into the third mode, which nothing in the view enters.
            if (EditMode == EDIT_MAP_ELEMENTS && pick(4) == 0) EditMode = EDIT_ELEMENT_PROPERTIES;
            break;
        case 14:
            Capture([this, &pick] {
                if (pick(3) == 0) {
                    shell->SaveMapByName("RANDOM");
                } else if (pick(2) == 0) {
                    shell->LoadMapByName("RANDOM");
                    initialLoners.clear();
                    for (const Vertex* v : theMapArea->GetVertexes())
                        if (v->linedefs.empty()) initialLoners.insert(v);
                } else {
                    shell->SetHighlightedProperty("key", "value");
                }
            });
            break;
        default:
            break;
        }
    }

    void _RunSequences();

    std::set<const Vertex*> initialLoners;
    std::set<const Vertex*> floating;
};

}  // namespace

TEST_F(EditorRandomInput, EveryFrameKeepsTheMapsInvariants)
{
    // One capture for the whole run: the log is of no interest here, and one per event is slow.
    Capture([this] { _RunSequences(); });
}

void EditorRandomInput::_RunSequences()
{
    for (unsigned seed = 1; seed <= 12; ++seed) {
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        std::mt19937 random(seed);
        MoveMouseTo(480, 512);
        MapView().zoom = 12.0f;
        MapView().centre = Vec2f(512, 512);
        for (int step = 0; step < 150; ++step) {
            RandomStep(random);
            RunFrame();
            // Keep the map in sight: far out or far in, every click lands on one point.
            if (MapView().zoom < 1.0f || MapView().zoom > 100.0f) MapView().zoom = 12.0f;
            ExpectInvariants(step);
            if (HasFatalFailure() || HasNonfatalFailure()) return;
        }
        // Everything let go, and the next seed starts from the same editing state.
        for (int vk : {VK_LBUTTON, VK_RBUTTON, VK_SHIFT})
            if (theInputSystem.IsKeyDown(vk)) KeyUp(uint8_t(vk));
        MoveMouseTo(480, 512);
        RunFrame();
        if (EditMode == LINE_CHAIN_CREATION) Key(VK_ESCAPE);
        EditMode = EDIT_MAP_ELEMENTS;
        ExpectInvariants(-1);
        if (HasFatalFailure() || HasNonfatalFailure()) return;
    }
}
