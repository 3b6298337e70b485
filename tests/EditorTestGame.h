// The editor running inside the real engine for the editor's tests: a 1280 x 1024 window,
// a game interface that hands every frame and input event to the editor shell, and
// helpers that move the mouse and send keys and buttons through the platform's messages,
// the way the user's hardware would.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <string>

#include "Engine/TheGameInterfaceAbstract.h"
#include "Engine/Vector.h"

class EditorShell;
class ViewXY;
class ViewInfo;

class EditorTestGame : public TheGameInterfaceAbstract {
public:
    void PreInit() override;
    void RunFrame() override;
    bool HandleInputEvent(int32_t type, uint8_t code) override;

    int eventsConsumed = 0;
    int eventsOffered = 0;
};

extern EditorTestGame theEditorTestGame;

// Each test gets a fresh shell with default preferences and a built editor, in a folder of
// its own as working directory (so "data/maps/..." lands there).
class EditorTest : public testing::Test {
protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;

    // The editor's views as BuildEditor made them.
    ViewXY& MapView() const;
    ViewInfo& InfoView() const;

    // One whole frame of the application (input update, the editor's frame, swap).
    void RunFrame();
    void RunFrames(int count);
    // Cursor to a client pixel; the next frame measures the movement.
    void MoveMouseTo(int x, int y);
    // Relative movement, also while the cursor is hidden and re-centred.
    void MoveMouseBy(int dx, int dy);
    // The mouse to the pixel at which the map view shows the world point.
    void MoveMouseToWorld(const Vec2f& world);
    Vec2i PixelOfWorld(const Vec2f& world) const;

    void KeyDown(uint8_t vk);
    void KeyUp(uint8_t vk);
    void KeyRepeat(uint8_t vk);  // auto-repeat of a held key
    void Key(uint8_t vk);        // press and release
    // 1 left, 2 right, 4 middle.
    void ButtonDown(int button);
    void ButtonUp(int button);
    void DoubleClick(int button);  // the second click of a double-click: dblclk and release
    void Click(int button);        // down and up without moving
    void Wheel(int notches);

    std::string Capture(const std::function<void()>& fn);
    std::string folder;
    EditorShell* shell = nullptr;

private:
    void _Post(UINT message, WPARAM wParam, LPARAM lParam);
    std::string _previousDirectory;
};
