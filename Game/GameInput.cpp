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
    bool handled = false;
    if (type == KEY_PRESSED && code == 'P') {
        debugOverlay = !debugOverlay;
        handled = true;
    } else if (type == KEY_PRESSED && code == 'F') {
        freezeOnCollision = !freezeOnCollision;
        handled = true;
    } else if (type == KEY_PRESSED && code == 'S') {
        // A tester's key: sound off (or on) and a fixed shot on map02, in the mode we are in.
        soundOn = !soundOn;
        SetMap("map02");
        power = 71;
        angle = 102;
    } else if (type == KEY_RELEASED && IsAngleKey(code)) {
        angleKeyRepeating = false;
        angleDirection = 0;
        handled = true;
    } else if (type == KEY_RELEASED && IsPowerKey(code)) {
        powerDirection = 0;
        handled = true;
    }

    if (mode == MODE_AIM && type == KEY_PRESSED) {
        if (IsAngleKey(code)) {
            angleKeyJustPressed = true;
            angleKeyRepeating = false;
            angleDirection = code == VK_LEFT ? -1 : +1;
            handled = true;
        } else if (IsPowerKey(code)) {
            powerKeyJustPressed = true;
            powerKeyRepeating = false;
            powerDirection = code == VK_UP ? +1 : -1;
            handled = true;
        } else if (code == VK_SPACE) {
            // Without a map there is nothing to shoot; the sound plays all the same.
            if (GetCurrentMap()) {
                Shoot(power, angle);
                SetMode(MODE_FLIGHT);
            }
            PlayEffect(SOUND_BALL_SHOT, 1.0f);
            collisionPending = false;
            handled = true;
        } else if (code == VK_ESCAPE) {
            theApplication.RequestShutdown();
            handled = true;
        } else if (code == KEY_NUMPAD_MINUS) {
            SetMode(MODE_MAP_COMPLETE);
        }
    } else if (mode == MODE_AIM && type == KEY_REPEATED) {
        if (IsAngleKey(code)) {
            angleKeyJustPressed = false;
            angleKeyRepeating = true;
            handled = true;
        } else if (IsPowerKey(code)) {
            powerKeyJustPressed = false;
            powerKeyRepeating = true;
            handled = true;
        }
    } else if (mode == MODE_FLIGHT && type == KEY_PRESSED) {
        if (code == VK_ESCAPE) {
            theApplication.RequestShutdown();
            handled = true;
        } else if (code == 'R') {
            SetMap(currentMapName);
            SetMode(MODE_AIM);
            collisionPending = false;
            handled = true;
        } else if (code == 'G') {
            collisionPending = false;
            handled = true;
        }
    }
    return handled;
}
