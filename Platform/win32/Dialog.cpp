// USER32 dialog boxes: DialogBoxParamA and DialogBoxIndirectParamA run a modal dialog from a
// template in a window of its own with its own message loop; EndDialog ends it; CheckRadioButton,
// CheckDlgButton and IsDlgButtonChecked work its buttons. Headless, or in a scripted run, nobody
// can click: the script's `dialog` lines answer it, and without one it takes Enter at once.
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <optional>

#include "DialogModel.h"
#include "DialogPaint.h"
#include "DialogTemplate.h"
#include "PlatformInternal.h"
#include "PlatformScript.h"

namespace {}  // namespace

struct PlatformDialog {
    DialogTemplate dialogTemplate;
    DialogFont font;
    DialogFont captionFont;
    std::optional<DialogModel> model;  // placed once the font has measured the dialog units
    DLGPROC procedure = nullptr;
    bool ended = false;
    INT_PTR result = 0;
    SDL_Window* sdl = nullptr;
    Uint32 sdlId = 0;
    bool closeBoxHeld = false;  // the mouse went down on the close box
    bool closeBoxPushed = false;
};

namespace {

std::vector<PlatformDialog*>& OpenDialogs()
{
    return Platform().dialogs.open;
}

HWND ToHandle(PlatformDialog* dialog)
{
    return reinterpret_cast<HWND>(dialog);
}

PlatformDialog* FromHandle(HWND hWnd)
{
    for (PlatformDialog* dialog : OpenDialogs())
        if (ToHandle(dialog) == hWnd) return dialog;
    return nullptr;
}

// A control's handle only names it: there are no child windows.
LPARAM ControlHandle(PlatformDialog* dialog, int index)
{
    return index < 0 ? 0 : reinterpret_cast<LPARAM>(&dialog->model->Controls()[size_t(index)]);
}

// What the dialog manager sends for a button: WM_COMMAND with the id and BN_CLICKED.
void SendCommand(PlatformDialog* dialog, int id)
{
    if (id < 0 || dialog->ended) return;
    dialog->procedure(ToHandle(dialog), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                      ControlHandle(dialog, dialog->model->Find(id)));
}

// The close box and Alt+F4: WM_CLOSE, which the dialog manager turns into IDCANCEL unless the
// Cancel button is disabled.
void Close(PlatformDialog* dialog)
{
    const int cancel = dialog->model->Find(IDCANCEL);
    if (cancel >= 0 && (dialog->model->Controls()[size_t(cancel)].style & WS_DISABLED) != 0) return;
    SendCommand(dialog, IDCANCEL);
}

// The answers of a run without anybody at the keyboard.
void AnswerFromScript(PlatformDialog* dialog)
{
    while (!dialog->ended) {
        int controlId = 0, button = IDOK;
        if (!PlatformTakeScriptedDialogAnswer(&controlId, &button)) {
            SendCommand(dialog, dialog->model->KeyDown(VK_RETURN, false));
            if (dialog->ended) return;
            PlatformLog("Platform: the dialog did not end on Enter and nobody can answer it; it ends with -1\n");
            dialog->ended = true;
            dialog->result = -1;
            return;
        }
        // The named control is clicked (a radio button is chosen), then the button pressed.
        const int index = dialog->model->Find(controlId);
        if (index < 0 && controlId != 0) {
            PlatformLog("Pinwhirl: the script's dialog line names control %d, which the dialog does not have\n",
                        controlId);
            exit(1);
        }
        SendCommand(dialog, dialog->model->Click(index));
        SendCommand(dialog, button);
    }
}

POINT WindowToClient(int x, int y)
{
    const POINT origin = DialogFrame::ClientOrigin();
    return POINT{x - origin.x, y - origin.y};
}

bool InCloseBox(PlatformDialog* dialog, int x, int y)
{
    int width = 0, height = 0;
    SDL_GetWindowSize(dialog->sdl, &width, &height);
    const RECT box = DialogFrame::CloseBoxRect(width);
    return x >= box.left && x < box.right && y >= box.top && y < box.bottom;
}

void Paint(PlatformDialog* dialog)
{
    DialogLook look;
    look.font = &dialog->font;
    look.captionFont = &dialog->captionFont;
    look.caption = dialog->dialogTemplate.caption;
    look.hasCloseBox = (dialog->dialogTemplate.style & WS_SYSMENU) != 0;
    look.closeBoxPushed = dialog->closeBoxPushed;
    DialogCanvas canvas;
    PaintDialog(*dialog->model, look, canvas);
    SDL_Surface* surface = SDL_GetWindowSurface(dialog->sdl);
    if (surface == nullptr) return;
    SDL_ConvertPixels(canvas.width, canvas.height, SDL_PIXELFORMAT_RGB888, canvas.pixels.data(), canvas.width * 4,
                      surface->format->format, surface->pixels, surface->pitch);
    SDL_UpdateWindowSurface(dialog->sdl);
}

// The caption moves the window where a window manager can do that; the close box stays a button.
SDL_HitTestResult HitTest(SDL_Window*, const SDL_Point* point, void* data)
{
    auto* dialog = static_cast<PlatformDialog*>(data);
    int width = 0, height = 0;
    SDL_GetWindowSize(dialog->sdl, &width, &height);
    const RECT caption = DialogFrame::CaptionRect(width);
    const bool inCaption =
        point->x >= caption.left && point->x < caption.right && point->y >= caption.top && point->y < caption.bottom;
    return inCaption && !InCloseBox(dialog, point->x, point->y) ? SDL_HITTEST_DRAGGABLE : SDL_HITTEST_NORMAL;
}

void HandleEvent(PlatformDialog* dialog, const SDL_Event& event)
{
    switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        UINT vk = 0, scanCode = 0;
        bool extended = false;
        const bool numLock = (event.key.keysym.mod & KMOD_NUM) != 0;
        if (!PlatformKeyFromScancode(event.key.keysym.scancode, numLock, &vk, &scanCode, &extended)) return;
        if (event.type == SDL_KEYUP) {
            SendCommand(dialog, dialog->model->KeyUp(vk));
        } else if (vk == VK_F4 && (event.key.keysym.mod & KMOD_ALT) != 0) {
            Close(dialog);
        } else {
            SendCommand(dialog, dialog->model->KeyDown(vk, (event.key.keysym.mod & KMOD_SHIFT) != 0));
        }
        return;
    }
    case SDL_MOUSEBUTTONDOWN:
        if (event.button.button != SDL_BUTTON_LEFT) return;
        if (InCloseBox(dialog, event.button.x, event.button.y) && (dialog->dialogTemplate.style & WS_SYSMENU) != 0) {
            dialog->closeBoxHeld = dialog->closeBoxPushed = true;
            return;
        }
        SendCommand(dialog, dialog->model->MouseDown(WindowToClient(event.button.x, event.button.y)));
        return;
    case SDL_MOUSEMOTION:
        if (dialog->closeBoxHeld)
            dialog->closeBoxPushed = InCloseBox(dialog, event.motion.x, event.motion.y);
        else
            dialog->model->MouseMove(WindowToClient(event.motion.x, event.motion.y));
        return;
    case SDL_MOUSEBUTTONUP:
        if (event.button.button != SDL_BUTTON_LEFT) return;
        if (dialog->closeBoxHeld) {
            dialog->closeBoxHeld = dialog->closeBoxPushed = false;
            if (InCloseBox(dialog, event.button.x, event.button.y)) Close(dialog);
            return;
        }
        SendCommand(dialog, dialog->model->MouseUp(WindowToClient(event.button.x, event.button.y)));
        return;
    case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_CLOSE) Close(dialog);
        return;
    default:
        return;
    }
}

Uint32 EventWindowId(const SDL_Event& event)
{
    switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        return event.key.windowID;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        return event.button.windowID;
    case SDL_MOUSEMOTION:
        return event.motion.windowID;
    case SDL_MOUSEWHEEL:
        return event.wheel.windowID;
    case SDL_TEXTINPUT:
        return event.text.windowID;
    case SDL_WINDOWEVENT:
        return event.window.windowID;
    default:
        return 0;
    }
}

// The dialog's own message loop, in a window centred on the screen. The window holds the frame
// and the caption too, which the layer draws: the window manager, if any, adds nothing.
// False when the window could not be made.
bool RunWindow(PlatformDialog* dialog)
{
    const int width = DialogFrame::WindowWidth(dialog->model->ClientWidth());
    const int height = DialogFrame::WindowHeight(dialog->model->ClientHeight());
    SDL_Rect screen = {0, 0, width, height};
    SDL_GetDisplayBounds(0, &screen);
    dialog->sdl =
        SDL_CreateWindow(dialog->dialogTemplate.caption.c_str(), screen.x + (screen.w - width) / 2,
                         screen.y + (screen.h - height) / 2, width, height, SDL_WINDOW_BORDERLESS | SDL_WINDOW_HIDDEN);
    if (dialog->sdl == nullptr) {
        PlatformLog("Platform: the dialog's window could not be made: %s\n", SDL_GetError());
        return false;
    }
    dialog->sdlId = SDL_GetWindowID(dialog->sdl);
    SDL_SetWindowHitTest(dialog->sdl, HitTest, dialog);
    SDL_ShowWindow(dialog->sdl);
    SDL_RaiseWindow(dialog->sdl);
    SDL_SetWindowInputFocus(dialog->sdl);  // without a window manager nobody else gives it
    Paint(dialog);

    // Other windows' input is dropped, as a disabled owner's is; their window events wait for
    // the program's own loop.
    std::vector<SDL_Event> later;
    while (!dialog->ended) {
        SDL_Event event;
        if (SDL_WaitEventTimeout(&event, 100) == 0) continue;
        if (EventWindowId(event) == dialog->sdlId) {
            HandleEvent(dialog, event);
            if (!dialog->ended) Paint(dialog);
        } else if (event.type == SDL_WINDOWEVENT) {
            later.push_back(event);
        }
    }
    SDL_DestroyWindow(dialog->sdl);
    dialog->sdl = nullptr;
    // What is still queued for the dialog's window goes with it.
    SDL_PumpEvents();
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0)
        if (EventWindowId(event) != dialog->sdlId) later.push_back(event);
    for (SDL_Event& kept : later) SDL_PushEvent(&kept);
    return true;
}

// The controls go in place in the units of the dialog's font; without a font, those of the classic
// 8-point system font, and no text.
void OpenFontsAndPlaceControls(PlatformDialog* dialog)
{
    const DialogTemplate& source = dialog->dialogTemplate;
    const std::string face = source.hasFont ? source.face : "MS Sans Serif";
    const int points = source.hasFont ? source.pointSize : 8;
    int baseUnitX = 6, baseUnitY = 13;
    if (dialog->font.Open(face, points, false) && dialog->captionFont.Open(face, points, true))
        dialog->font.BaseUnits(&baseUnitX, &baseUnitY);
    else
        PlatformLog("Platform: no font for the dialog's \"%s\"; it shows no text\n", face.c_str());
    dialog->model.emplace(source, baseUnitX, baseUnitY);
}

// The template's size is known for a resource, not for DialogBoxIndirectParamA.
INT_PTR RunDialog(const void* dialogTemplate, size_t size, DLGPROC dialogProc, LPARAM initParam)
{
    if (dialogProc == nullptr) return -1;
    std::unique_ptr<PlatformDialog> dialog(new PlatformDialog);
    std::string error;
    if (!ReadDialogTemplate(dialogTemplate, size, &dialog->dialogTemplate, &error)) {
        PlatformLog("Platform: DialogBox: %s\n", error.c_str());
        return -1;
    }
    OpenFontsAndPlaceControls(dialog.get());
    dialog->procedure = dialogProc;
    OpenDialogs().push_back(dialog.get());
    HWND hDlg = ToHandle(dialog.get());

    // The control that would take the focus; a procedure that returns TRUE asks for it.
    const int first = dialog->model->NextTabItem(-1, false);
    if (dialogProc(hDlg, WM_INITDIALOG, WPARAM(ControlHandle(dialog.get(), first)), initParam) != 0)
        dialog->model->SetFocus(dialog->model->NextTabItem(-1, false));
    const bool nobodyToAsk = PlatformIsScriptRunning() || PlatformIsHeadless();
    if (!dialog->ended && nobodyToAsk)
        AnswerFromScript(dialog.get());
    else if (!dialog->ended && !RunWindow(dialog.get()))
        EndDialog(hDlg, -1);
    OpenDialogs().erase(std::find(OpenDialogs().begin(), OpenDialogs().end(), dialog.get()));
    return dialog->result;
}

}  // namespace

// The owner would be disabled while the dialog runs; the layer drops other windows' input anyway.
INT_PTR WINAPI DialogBoxIndirectParamA(HINSTANCE, LPCDLGTEMPLATEA dialogTemplate, HWND, DLGPROC dialogProc,
                                       LPARAM initParam)
{
    return RunDialog(dialogTemplate, SIZE_MAX, dialogProc, initParam);
}

INT_PTR WINAPI DialogBoxParamA(HINSTANCE instance, LPCSTR templateName, HWND, DLGPROC dialogProc, LPARAM initParam)
{
    HRSRC resource = FindResourceA(instance, templateName, RT_DIALOG);
    if (resource == nullptr) {
        if (IS_INTRESOURCE(templateName))
            PlatformLog("Platform: DialogBox: no dialog resource %u\n", unsigned(uintptr_t(templateName)));
        else
            PlatformLog("Platform: DialogBox: no dialog resource \"%s\"\n", templateName);
        return -1;
    }
    return RunDialog(LockResource(LoadResource(instance, resource)), SizeofResource(instance, resource), dialogProc,
                     initParam);
}

BOOL WINAPI EndDialog(HWND hDlg, INT_PTR result)
{
    PlatformDialog* dialog = FromHandle(hDlg);
    if (dialog == nullptr) return FALSE;
    dialog->ended = true;
    dialog->result = result;
    return TRUE;
}

BOOL WINAPI CheckRadioButton(HWND hDlg, int firstId, int lastId, int checkId)
{
    PlatformDialog* dialog = FromHandle(hDlg);
    if (dialog == nullptr) return FALSE;
    for (int id = firstId; id <= lastId; ++id)
        dialog->model->SetCheck(dialog->model->Find(id), id == checkId ? BST_CHECKED : BST_UNCHECKED);
    return TRUE;
}

BOOL WINAPI CheckDlgButton(HWND hDlg, int id, UINT check)
{
    PlatformDialog* dialog = FromHandle(hDlg);
    if (dialog == nullptr || dialog->model->Find(id) < 0) return FALSE;
    dialog->model->SetCheck(dialog->model->Find(id), check);
    return TRUE;
}

UINT WINAPI IsDlgButtonChecked(HWND hDlg, int id)
{
    PlatformDialog* dialog = FromHandle(hDlg);
    if (dialog == nullptr) return BST_UNCHECKED;
    return dialog->model->GetCheck(dialog->model->Find(id));
}
