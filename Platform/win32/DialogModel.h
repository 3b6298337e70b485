// The controls of a dialog box and what the dialog manager and the button controls do with
// keys and clicks: tab stops and groups, the default push button, automatic radio buttons and
// check boxes. Controls are not windows of their own here; a control's handle only names it.
#pragma once

#include <string>
#include <vector>

#include "DialogTemplate.h"
#include "windows.h"

enum class DialogControlKind { PUSH_BUTTON, CHECK_BOX, RADIO_BUTTON, GROUP_BOX, STATIC_TEXT, OTHER };

struct DialogControl {
    WORD id = 0;
    DWORD style = 0;
    DialogControlKind kind = DialogControlKind::OTHER;
    bool isAutomatic = false;  // BS_AUTORADIOBUTTON, BS_AUTOCHECKBOX
    std::string text;
    RECT rect = {0, 0, 0, 0};  // client pixels
    UINT check = BST_UNCHECKED;
    bool pushed = false;  // held down by the mouse or the space bar
};

class DialogModel {
public:
    // The controls of the template, placed with the dialog font's base units.
    DialogModel(const DialogTemplate& dialog, int baseUnitX, int baseUnitY);

    // MapDialogRect: a horizontal unit is a quarter of the base width, a vertical one an eighth of
    // the base height, rounded as MulDiv rounds.
    static int ToPixelsX(int dialogUnits, int baseUnitX) { return MulDivRounded(dialogUnits, baseUnitX, 4); }
    static int ToPixelsY(int dialogUnits, int baseUnitY) { return MulDivRounded(dialogUnits, baseUnitY, 8); }
    static int MulDivRounded(int value, int numerator, int denominator)
    {
        const long long product = (long long)value * numerator;
        const long long half = denominator / 2;
        return int(product >= 0 ? (product + half) / denominator : -((-product + half) / denominator));
    }

    const std::vector<DialogControl>& Controls() const { return _controls; }
    int ClientWidth() const { return _clientWidth; }
    int ClientHeight() const { return _clientHeight; }
    // The index of the control with the id, or -1.
    int Find(int id) const;
    int Focus() const { return _focus; }
    void SetFocus(int index);
    // The push button drawn with the default frame: the focused one, else the dialog's default.
    bool LooksDefault(int index) const;
    // BM_SETCHECK: a radio button is a tab stop while it is checked, so Tab enters its group there.
    void SetCheck(int index, UINT check);
    UINT GetCheck(int index) const { return index < 0 ? BST_UNCHECKED : _controls[size_t(index)].check; }

    // What the dialog manager sends for input: the id of a WM_COMMAND with BN_CLICKED, or -1.
    // A click as the control makes one: automatic buttons change their check first.
    int Click(int index);
    int KeyDown(UINT vk, bool shift);
    int KeyUp(UINT vk);
    int MouseDown(POINT client);
    void MouseMove(POINT client);
    int MouseUp(POINT client);

    // GetNextDlgTabItem and GetNextDlgGroupItem; from -1 the first (or last) one.
    int NextTabItem(int from, bool previous) const;
    int NextGroupItem(int from, bool previous) const;

private:
    bool CanFocus(int index) const;
    bool IsButton(int index) const;
    int GroupStart(int index) const;
    int GroupEnd(int index) const;
    int HitTest(POINT client) const;

    std::vector<DialogControl> _controls;
    int _clientWidth = 0;
    int _clientHeight = 0;
    int _focus = -1;
    int _capture = -1;  // the control the mouse went down on
    int _defaultId = IDOK;
};
