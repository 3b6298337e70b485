#include "Game/StartupDialog.h"

#include "Engine/TheApplication.h"
#include "Engine/TheConsole.h"
#include "Engine/TheVideoSystem.h"
#include "Game/EditorShell.h"
#include "Game/Game.h"

namespace {

struct StartupChoice {
    StartupMode radio;
    bool fullscreen;
    GameMode mode;
    bool editor;
};

// In the order the radio buttons are tested.
const StartupChoice CHOICES[] = {
    {STARTUP_FULLSCREEN_EDITOR, true, MODE_EDIT, true},
    {STARTUP_WINDOWED_EDITOR, false, MODE_EDIT, true},
    {STARTUP_FULLSCREEN_GAME, true, MODE_TITLE, false},
    {STARTUP_WINDOWED_GAME, false, MODE_TITLE, false},
};

}  // namespace

void StartupDialog::ShowStartupDialog()
{
    // There is no window yet to own the dialog.
    const INT_PTR result = DialogBoxParamA(theApplication.GetInstanceHandle(), MAKEINTRESOURCEA(IDD_STARTUP),
                                           TheVideoSystem::GetHWnd(), DialogProc, 0);
    theConsole.Printf("Dialog returned; return-value was %d\n", int(result));
    if (result == RESULT_CANCEL) {
        theConsole.Printf("Dialog returned : CANCEL\n");
        theApplication.RequestShutdown();
    } else if (result == RESULT_OK) {
        theConsole.Printf("Dialog returned : OK\n");
    }
    // Any other result: no dialog could be made, and the start-up goes on with the defaults.
}

INT_PTR CALLBACK StartupDialog::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG) {
        CheckRadioButton(dialog, STARTUP_FULLSCREEN_EDITOR, STARTUP_WINDOWED_GAME, STARTUP_WINDOWED_GAME);
    } else if (message == WM_COMMAND) {
        switch (LOWORD(wParam)) {
        case IDOK:
            OnOkay(dialog);
            break;
        case IDCANCEL:
            OnCancel(dialog);
            break;
        case IDHELP:
            OnHelp(dialog);
            break;
        }
    }
    return 0;
}

void StartupDialog::OnOkay(HWND dialog)
{
    theConsole.Printf("ON OKAY\n");
    ApplyStartupChoice(dialog);
    EndDialog(dialog, RESULT_OK);
}

void StartupDialog::OnCancel(HWND dialog)
{
    theConsole.Printf("ON CANCEL\n");
    EndDialog(dialog, RESULT_CANCEL);
}

void StartupDialog::OnHelp(HWND)
{
    theConsole.Printf("ON HELP\n");
}

void StartupDialog::ApplyStartupChoice(HWND dialog)
{
    const StartupChoice* chosen = nullptr;
    for (const StartupChoice& choice : CHOICES) {
        if (IsDlgButtonChecked(dialog, choice.radio) != BST_CHECKED) continue;
        chosen = &choice;
        break;
    }
    if (chosen != nullptr) {
        theGame->SetMode(chosen->mode);
        theEditorShell->active = chosen->editor;
    }
    const bool fullscreen = chosen != nullptr && chosen->fullscreen;
    theVideoSystem.SetDesiredDisplayMode(1280, 1024, 32, 85, fullscreen ? int(DisplayModeRecord::FLAG_FULLSCREEN) : 0);
}
