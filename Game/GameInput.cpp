// The game's keys, by mode.
#include <windows.h>

#include "Engine/TheApplication.h"
#include "Engine/TheGameInterfaceAbstract.h"
#include "Engine/TheRenderer.h"
#include "Game/EditorShell.h"
#include "Game/FlightGlobals.h"
#include "Game/Game.h"

namespace {

const uint8_t KEY_NUMPAD_MINUS = VK_SUBTRACT;

bool IsAngleKey(uint8_t code)
{
    return code == VK_LEFT || code == VK_RIGHT;
}

bool IsPowerKey(uint8_t code)
{
    return code == VK_UP || code == VK_DOWN;
}

}  // namespace

bool Game::HandleInputEvent(int32_t type, uint8_t code)
{
    if (type == KEY_PRESSED) {
        // The frame rate can be switched in every mode, even while the command line is open.
        if (code == VK_F11) {
            theRenderer.ToggleFpsDisplay();
            return true;
        }
        if (HandleCommandLineKey(code)) return true;
    }
    switch (mode) {
    case MODE_EDIT:
        return theEditorShell->HandleEditorInput(type, code);
    case MODE_AIM:
    case MODE_FLIGHT:
        return HandlePlayKey(type, code);
    case MODE_TITLE:
        // Any event at all, once the title has been up for half a second.
        if (GetTimeInMode() > 0.5) {
            SetMode(MODE_AIM);
            return true;
        }
        return false;
    case MODE_MAP_COMPLETE:
        if (type != KEY_PRESSED) return false;
        SetMode(MODE_AIM);
        AdvanceToNextMap();
        return true;
    }
    return false;
}

bool Game::HandlePlayKey(int32_t type, uint8_t code)
{
    // The debug keys and the release of the aim keys act in both play modes.
    const bool handled = HandleDebugKey(type, code) || HandleAimKeyRelease(type, code);
    bool modeHandled = false;
    if (mode == MODE_AIM) {
        modeHandled = HandleAimKey(type, code);
    } else if (mode == MODE_FLIGHT) {
        modeHandled = HandleFlightKey(type, code);
    }
    return handled || modeHandled;
}

bool Game::HandleDebugKey(int32_t type, uint8_t code)
{
    if (type != KEY_PRESSED) return false;
    switch (code) {
    case 'P':
        debugOverlay = !debugOverlay;
        return true;
    case 'F':
        freezeOnCollision = !freezeOnCollision;
        return true;
    case 'S':
        // A tester's key: sound off (or on) and a fixed shot on map02, in the mode we are in.
        // It leaves the key unhandled.
        soundOn = !soundOn;
        SetMap("map02");
        power = 71;
        angle = 102;
        return false;
    }
    return false;
}

bool Game::HandleAimKeyRelease(int32_t type, uint8_t code)
{
    if (type != KEY_RELEASED) return false;
    if (IsAngleKey(code)) {
        angleKeyRepeating = false;
        angleDirection = 0;
        return true;
    }
    if (IsPowerKey(code)) {
        powerDirection = 0;
        return true;
    }
    return false;
}

bool Game::HandleAimKey(int32_t type, uint8_t code)
{
    if (type == KEY_REPEATED) {
        // Held past the keyboard's delay: the steps speed up until the key is released.
        if (IsAngleKey(code)) {
            angleKeyJustPressed = false;
            angleKeyRepeating = true;
            return true;
        }
        if (IsPowerKey(code)) {
            powerKeyJustPressed = false;
            powerKeyRepeating = true;
            return true;
        }
        return false;
    }
    if (type != KEY_PRESSED) return false;
    if (IsAngleKey(code)) {
        angleKeyJustPressed = true;
        angleKeyRepeating = false;
        angleDirection = code == VK_LEFT ? -1 : +1;
        return true;
    }
    if (IsPowerKey(code)) {
        powerKeyJustPressed = true;
        powerKeyRepeating = false;
        powerDirection = code == VK_UP ? +1 : -1;
        return true;
    }
    switch (code) {
    case VK_SPACE:
        // Without a map there is nothing to shoot; the sound plays all the same.
        if (GetCurrentMap()) {
            Shoot(power, angle);
            SetMode(MODE_FLIGHT);
        }
        PlayEffect(SOUND_BALL_SHOT, 1.0f);
        collisionPending = false;
        return true;
    case VK_ESCAPE:
        theApplication.RequestShutdown();
        return true;
    case KEY_NUMPAD_MINUS:
        // Skips the map; the key stays unhandled.
        SetMode(MODE_MAP_COMPLETE);
        return false;
    }
    return false;
}

bool Game::HandleFlightKey(int32_t type, uint8_t code)
{
    if (type != KEY_PRESSED) return false;
    switch (code) {
    case VK_ESCAPE:
        theApplication.RequestShutdown();
        return true;
    case 'R':
        SetMap(currentMapName);
        SetMode(MODE_AIM);
        collisionPending = false;
        return true;
    case 'G':
        collisionPending = false;
        return true;
    }
    return false;
}
