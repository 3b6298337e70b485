#include "EditorDriver.h"

#include <cmath>

#include "Engine/TheApplication.h"
#include "Engine/TheInputSystem.h"
#include "Engine/TheVideoSystem.h"
#include "Game/EditorShell.h"
#include "Game/Pane.h"
#include "Game/ViewInfo.h"
#include "Game/ViewXY.h"
#include "TestSupport.h"

ViewXY& EditorDriver::MapView() const
{
    return *static_cast<ViewXY*>(theEditorShell->root->first->view);
}

ViewInfo& EditorDriver::InfoView() const
{
    return *static_cast<ViewInfo*>(theEditorShell->root->second->view);
}

std::string EditorDriver::Capture(const std::function<void()>& fn)
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

void EditorDriver::RunFrame()
{
    Capture([] { theApplication.RunFrame(); });
}

void EditorDriver::RunFrames(int count)
{
    for (int i = 0; i < count; ++i) RunFrame();
}

void EditorDriver::MoveMouseTo(int x, int y)
{
    const Vec2i origin = theVideoSystem.GetClientOrigin();
    SetCursorPos(origin.x + x, origin.y + y);
}

void EditorDriver::MoveMouseBy(int dx, int dy)
{
    POINT p;
    GetCursorPos(&p);
    SetCursorPos(p.x + dx, p.y + dy);
}

Vec2i EditorDriver::PixelOfWorld(const Vec2f& world) const
{
    const ViewXY& view = MapView();
    const float tx = (world.x - view.visibleMin.x) / (view.visibleMax.x - view.visibleMin.x);
    const float ty = (view.visibleMax.y - world.y) / (view.visibleMax.y - view.visibleMin.y);
    return Vec2i(view.topLeft.x + int(std::lround(tx * float(view.bottomRight.x - view.topLeft.x))),
                 view.topLeft.y + int(std::lround(ty * float(view.bottomRight.y - view.topLeft.y))));
}

void EditorDriver::MoveMouseToWorld(const Vec2f& world)
{
    const Vec2i pixel = PixelOfWorld(world);
    MoveMouseTo(pixel.x, pixel.y);
}

void EditorDriver::_Post(UINT message, WPARAM wParam, LPARAM lParam)
{
    PostMessageA(TheVideoSystem::GetHWnd(), message, wParam, lParam);
    Capture(PumpMessages);
}

void EditorDriver::KeyDown(uint8_t vk)
{
    _Post(WM_KEYDOWN, vk, 1);
}

void EditorDriver::KeyUp(uint8_t vk)
{
    _Post(WM_KEYUP, vk, LPARAM(1 | (1u << 30) | (1u << 31)));
}

void EditorDriver::KeyRepeat(uint8_t vk)
{
    _Post(WM_KEYDOWN, vk, LPARAM(1 | (1 << 30)));
}

void EditorDriver::Key(uint8_t vk)
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

void EditorDriver::ButtonDown(int button)
{
    _Post(ButtonMessage(button, 0), 0, 0);
}

void EditorDriver::ButtonUp(int button)
{
    _Post(ButtonMessage(button, 1), 0, 0);
}

void EditorDriver::DoubleClick(int button)
{
    _Post(ButtonMessage(button, 2), 0, 0);
    ButtonUp(button);
}

void EditorDriver::Click(int button)
{
    ButtonDown(button);
    ButtonUp(button);
}

void EditorDriver::ReleaseAll()
{
    for (int vk : {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON, VK_SHIFT})
        if (theInputSystem.IsKeyDown(vk)) KeyUp(uint8_t(vk));
    theInputSystem.SetCursorVisible(true);
}

void EditorDriver::Wheel(int notches)
{
    _Post(WM_MOUSEWHEEL, WPARAM(uint32_t(uint16_t(int16_t(notches * WHEEL_DELTA))) << 16), 0);
}
