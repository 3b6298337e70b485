// Drives the editor as the user's hardware would: mouse movement and keys and buttons go in
// through the platform's messages and the engine's input system, frames run as the engine
// runs them. The editor is whatever theEditorShell has built.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "Engine/Vector.h"

class ViewXY;
class ViewInfo;

class EditorDriver {
public:
    // The editor's views as the shell builds them.
    ViewXY& MapView() const;
    ViewInfo& InfoView() const;

    // One whole frame of the application (input update, the game's frame, swap).
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
    // Lets go of the buttons and Shift, so that nothing stays pressed into the next test.
    void ReleaseAll();

    // What fn writes to stderr; an inner capture leaves its output to the outer one.
    static std::string Capture(const std::function<void()>& fn);

private:
    void _Post(UINT message, WPARAM wParam, LPARAM lParam);
};
