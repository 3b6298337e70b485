#include "EditorTestGame.h"

#include <PlatformTesting.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "Engine/TheApplication.h"
#include "Engine/TheConsole.h"
#include "Engine/TheInputSystem.h"
#include "Engine/TheVideoSystem.h"
#include "Game/EditorPreferences.h"
#include "Game/EditorShell.h"
#include "Game/Pane.h"
#include "Game/ViewInfo.h"
#include "Game/ViewXY.h"
#include "TestSupport.h"

EditorTestGame theEditorTestGame;

void EditorTestGame::PreInit()
{
    TheApplication::SetName("Editor Test");
    theVideoSystem.SetDesiredDisplayMode(1280, 1024, 32, 60, 0);
}

void EditorTestGame::RunFrame()
{
    if (theEditorShell != nullptr) theEditorShell->Frame();
}

bool EditorTestGame::HandleInputEvent(int32_t type, uint8_t code)
{
    ++eventsOffered;
    const bool consumed = theEditorShell != nullptr && theEditorShell->HandleEditorInput(type, code);
    eventsConsumed += consumed ? 1 : 0;
    return consumed;
}

namespace {

class EngineShutdown : public testing::Environment {
public:
    void TearDown() override
    {
        if (!TheApplication::IsInitialized()) return;
        theApplication.RequestShutdown();
        CaptureDebugOutput([] { theApplication.RunFrame(); });
    }
};
testing::Environment* const kEngineShutdown = testing::AddGlobalTestEnvironment(new EngineShutdown);

}  // namespace

void EditorTest::SetUpTestSuite()
{
    if (TheApplication::IsInitialized()) return;
    PlatformSetFixedStepForTesting(0.01);
    CaptureDebugOutput([] { theApplication.Startup(); });
    PumpMessages();
}

void EditorTest::SetUp()
{
    // Death tests start a fresh process rather than fork one with a GL driver's threads.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    char pattern[] = "/tmp/pinwhirl_editor_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder = pattern;
    std::filesystem::create_directories(folder + "/data/maps");
    _previousDirectory = std::filesystem::current_path().string();
    std::filesystem::current_path(folder);

    Capture([this] {
        shell = new EditorShell();
        theEditorShell = shell;
        shell->preferences = new EditorPreferences("data/Pinwhirl.ini");
        shell->active = true;
        shell->BuildEditor();
    });
    MoveMouseTo(480, 512);
    RunFrames(2);
}

void EditorTest::TearDown()
{
    Capture([this] {
        delete shell;
        shell = nullptr;
        theEditorShell = nullptr;
    });
    // Nothing may stay pressed into the next test.
    for (int vk : {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON, VK_SHIFT})
        if (theInputSystem.IsKeyDown(vk)) KeyUp(uint8_t(vk));
    theInputSystem.SetCursorVisible(true);
    std::filesystem::current_path(_previousDirectory);
    std::error_code error;
    std::filesystem::remove_all(folder, error);
}

ViewXY& EditorTest::MapView() const
{
    return *static_cast<ViewXY*>(shell->root->first->view);
}

ViewInfo& EditorTest::InfoView() const
{
    return *static_cast<ViewInfo*>(shell->root->second->view);
}

std::string EditorTest::Capture(const std::function<void()>& fn)
{
    // Only one capture can run at a time: an inner one leaves its output to the outer.
    static bool capturing = false;
    if (capturing) {
        fn();
        return std::string();
    }
    capturing = true;
    std::string output = CaptureDebugOutput(fn);
    capturing = false;
    return output;
}

void EditorTest::RunFrame()
{
    Capture([] { theApplication.RunFrame(); });
}

void EditorTest::RunFrames(int count)
{
    for (int i = 0; i < count; ++i) RunFrame();
}

void EditorTest::MoveMouseTo(int x, int y)
{
    const Vec2i origin = theVideoSystem.GetClientOrigin();
    SetCursorPos(origin.x + x, origin.y + y);
}

void EditorTest::MoveMouseBy(int dx, int dy)
{
    POINT p;
    GetCursorPos(&p);
    SetCursorPos(p.x + dx, p.y + dy);
}

Vec2i EditorTest::PixelOfWorld(const Vec2f& world) const
{
    const ViewXY& view = MapView();
    const float tx = (world.x - view.visibleMin.x) / (view.visibleMax.x - view.visibleMin.x);
    const float ty = (view.visibleMax.y - world.y) / (view.visibleMax.y - view.visibleMin.y);
    return Vec2i(view.topLeft.x + int(std::lround(tx * float(view.bottomRight.x - view.topLeft.x))),
                 view.topLeft.y + int(std::lround(ty * float(view.bottomRight.y - view.topLeft.y))));
}

void EditorTest::MoveMouseToWorld(const Vec2f& world)
{
    const Vec2i pixel = PixelOfWorld(world);
    MoveMouseTo(pixel.x, pixel.y);
}

void EditorTest::_Post(UINT message, WPARAM wParam, LPARAM lParam)
{
    PostMessageA(TheVideoSystem::GetHWnd(), message, wParam, lParam);
    Capture(PumpMessages);
}

void EditorTest::KeyDown(uint8_t vk)
{
    _Post(WM_KEYDOWN, vk, 1);
}

void EditorTest::KeyUp(uint8_t vk)
{
    _Post(WM_KEYUP, vk, LPARAM(1 | (1u << 30) | (1u << 31)));
}

void EditorTest::KeyRepeat(uint8_t vk)
{
    _Post(WM_KEYDOWN, vk, LPARAM(1 | (1 << 30)));
}

void EditorTest::Key(uint8_t vk)
{
    KeyDown(vk);
    KeyUp(vk);
}

static UINT ButtonMessage(int button, int which)
{
    static const UINT messages[3][3] = {{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK},
                                        {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDBLCLK},
                                        {WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MBUTTONDBLCLK}};
    return messages[button == 1 ? 0 : button == 2 ? 1 : 2][which];
}

void EditorTest::ButtonDown(int button)
{
    _Post(ButtonMessage(button, 0), 0, 0);
}

void EditorTest::ButtonUp(int button)
{
    _Post(ButtonMessage(button, 1), 0, 0);
}

void EditorTest::DoubleClick(int button)
{
    _Post(ButtonMessage(button, 2), 0, 0);
    ButtonUp(button);
}

void EditorTest::Click(int button)
{
    ButtonDown(button);
    ButtonUp(button);
}

void EditorTest::Wheel(int notches)
{
    _Post(WM_MOUSEWHEEL, WPARAM(uint32_t(uint16_t(int16_t(notches * WHEEL_DELTA))) << 16), 0);
}
