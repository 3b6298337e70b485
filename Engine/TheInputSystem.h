// The key table, the per-frame mouse delta, the cursor, and input events for the game.
#pragma once

#include <windows.h>

#include <cstdint>

#include "Engine/Vector.h"

class TheInputSystem {
public:
    TheInputSystem() = default;
    ~TheInputSystem();

    void Startup();
    void Shutdown();
    static bool IsInitialized() { return _isInitialized; }

    bool HandleWindowMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void Update();

    bool IsKeyDown(uint32_t code) const { return _keyDown[code & 0xFF]; }
    Vec2i GetMouseDelta() const { return Vec2i(_mouseDeltaX, _mouseDeltaY); }
    int GetMouseDeltaX() const { return _mouseDeltaX; }
    int GetMouseDeltaY() const { return _mouseDeltaY; }
    Vec2i GetMousePosition() const;

    void SetCursorPosition(int x, int y);
    void SetCursorVisible(bool visible);
    bool IsCursorVisible() const { return _isCursorVisible; }
    void StartMouseTracking();
    void StopMouseTracking();

private:
    bool _keyDown[256] = {};
    int32_t _mouseDeltaX = 0;
    int32_t _mouseDeltaY = 0;
    int32_t _anchorX = 0;
    int32_t _anchorY = 0;
    int32_t _lastCursorX = 0;
    int32_t _lastCursorY = 0;
    bool _isCursorVisible = true;
    bool _isMouseTracking = true;

    static bool _isInitialized;
};

extern TheInputSystem theInputSystem;
