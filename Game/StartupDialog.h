// The modal dialog that asks, before the window opens, how to start: editor or game, full screen
// or in a window, at 1280 x 1024. Shown once, from the editor shell's PreInit.
#pragma once

#include <windows.h>

#include "Game/Resource.h"

// The four choices, by the radio button that stands for each.
enum StartupMode : int {
    STARTUP_FULLSCREEN_EDITOR = IDC_FULLSCREEN_EDITOR,
    STARTUP_WINDOWED_EDITOR = IDC_WINDOWED_EDITOR,
    STARTUP_FULLSCREEN_GAME = IDC_FULLSCREEN_GAME,
    STARTUP_WINDOWED_GAME = IDC_WINDOWED_GAME,
};

class StartupDialog {
public:
    // What the dialog ends with.
    static constexpr INT_PTR RESULT_OK = 2;
    static constexpr INT_PTR RESULT_CANCEL = 1;

    // Runs the dialog and hands its result on: the choice, or the shutdown after Quit.
    static void ShowStartupDialog();

    // Handles nothing as far as the dialog manager is concerned: returns 0 for every message.
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    static void OnOkay(HWND dialog);
    static void OnCancel(HWND dialog);
    static void OnHelp(HWND dialog);
    // The first checked radio button sets the game's mode and the editor's flag; the display
    // mode is requested in any case.
    static void ApplyStartupChoice(HWND dialog);
};
