#include "DialogModel.h"

#include <strings.h>

namespace {

const WORD BUTTON_CLASS = 0x0080;
const WORD STATIC_CLASS = 0x0082;

DialogControl MakeControl(const DialogItemTemplate& item, int baseUnitX, int baseUnitY)
{
    DialogControl control;
    control.id = item.id;
    control.style = item.style;
    control.text = item.text;
    control.rect.left = DialogModel::ToPixelsX(item.x, baseUnitX);
    control.rect.top = DialogModel::ToPixelsY(item.y, baseUnitY);
    control.rect.right = control.rect.left + DialogModel::ToPixelsX(item.cx, baseUnitX);
    control.rect.bottom = control.rect.top + DialogModel::ToPixelsY(item.cy, baseUnitY);
    // A predefined class may be named instead of given by its atom; class names ignore case.
    const bool isButton = item.classAtom == BUTTON_CLASS || strcasecmp(item.className.c_str(), "Button") == 0;
    const bool isStatic = item.classAtom == STATIC_CLASS || strcasecmp(item.className.c_str(), "Static") == 0;
    if (isButton) {
        switch (item.style & BS_TYPEMASK) {
        case BS_PUSHBUTTON:
        case BS_DEFPUSHBUTTON:
            control.kind = DialogControlKind::PUSH_BUTTON;
            break;
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
            control.kind = DialogControlKind::CHECK_BOX;
            control.isAutomatic = (item.style & BS_TYPEMASK) == BS_AUTOCHECKBOX;
            break;
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
            control.kind = DialogControlKind::RADIO_BUTTON;
            control.isAutomatic = (item.style & BS_TYPEMASK) == BS_AUTORADIOBUTTON;
            break;
        case BS_GROUPBOX:
            control.kind = DialogControlKind::GROUP_BOX;
            break;
        }
    } else if (isStatic) {
        control.kind = DialogControlKind::STATIC_TEXT;
    }
    return control;
}

bool Contains(const RECT& rect, POINT point)
{
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top && point.y < rect.bottom;
}

}  // namespace

DialogModel::DialogModel(const DialogTemplate& dialog, int baseUnitX, int baseUnitY)
{
    _clientWidth = ToPixelsX(dialog.cx, baseUnitX);
    _clientHeight = ToPixelsY(dialog.cy, baseUnitY);
    bool hasDefault = false;
    for (const DialogItemTemplate& item : dialog.items) {
        _controls.push_back(MakeControl(item, baseUnitX, baseUnitY));
        // DM_GETDEFID: the push button made as the default one, else IDOK.
        if (!hasDefault && _controls.back().kind == DialogControlKind::PUSH_BUTTON &&
            (item.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
            _defaultId = item.id;
            hasDefault = true;
        }
    }
}

int DialogModel::Find(int id) const
{
    for (size_t i = 0; i < _controls.size(); ++i)
        if (_controls[i].id == WORD(id)) return int(i);
    return -1;
}

bool DialogModel::IsButton(int index) const
{
    const DialogControlKind kind = _controls[size_t(index)].kind;
    return kind == DialogControlKind::PUSH_BUTTON || kind == DialogControlKind::CHECK_BOX ||
           kind == DialogControlKind::RADIO_BUTTON;
}

// Group boxes and static texts let clicks and the focus pass by.
bool DialogModel::CanFocus(int index) const
{
    const DWORD style = _controls[size_t(index)].style;
    return IsButton(index) && (style & WS_VISIBLE) != 0 && (style & WS_DISABLED) == 0;
}

void DialogModel::SetFocus(int index)
{
    if (index >= 0 && !CanFocus(index)) return;
    _focus = index;
}

bool DialogModel::LooksDefault(int index) const
{
    if (_controls[size_t(index)].kind != DialogControlKind::PUSH_BUTTON) return false;
    if (_focus >= 0 && _controls[size_t(_focus)].kind == DialogControlKind::PUSH_BUTTON) return index == _focus;
    return _controls[size_t(index)].id == _defaultId;
}

void DialogModel::SetCheck(int index, UINT check)
{
    if (index < 0) return;
    DialogControl& control = _controls[size_t(index)];
    if (control.kind != DialogControlKind::RADIO_BUTTON && control.kind != DialogControlKind::CHECK_BOX) return;
    control.check = check;
    if (control.kind == DialogControlKind::RADIO_BUTTON)
        control.style = check == BST_CHECKED ? control.style | WS_TABSTOP : control.style & ~DWORD(WS_TABSTOP);
}

int DialogModel::GroupStart(int index) const
{
    while (index > 0 && (_controls[size_t(index)].style & WS_GROUP) == 0) --index;
    return index;
}

int DialogModel::GroupEnd(int index) const
{
    int end = index + 1;
    while (end < int(_controls.size()) && (_controls[size_t(end)].style & WS_GROUP) == 0) ++end;
    return end;
}

int DialogModel::NextTabItem(int from, bool previous) const
{
    const int count = int(_controls.size());
    if (count == 0) return -1;
    int index = from;
    for (int step = 0; step < count; ++step) {
        if (index < 0)
            index = previous ? count - 1 : 0;
        else
            index = (index + (previous ? count - 1 : 1)) % count;
        if (CanFocus(index) && (_controls[size_t(index)].style & WS_TABSTOP) != 0) return index;
    }
    return from;
}

int DialogModel::NextGroupItem(int from, bool previous) const
{
    if (from < 0) return NextTabItem(-1, previous);
    const int start = GroupStart(from);
    const int size = GroupEnd(from) - start;
    int index = from;
    for (int step = 0; step < size; ++step) {
        index = start + (index - start + (previous ? size - 1 : 1)) % size;
        if (CanFocus(index)) return index;
    }
    return from;
}

int DialogModel::Click(int index)
{
    if (index < 0) return -1;
    DialogControl& control = _controls[size_t(index)];
    if (control.isAutomatic && control.kind == DialogControlKind::CHECK_BOX) {
        SetCheck(index, control.check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
    } else if (control.isAutomatic && control.kind == DialogControlKind::RADIO_BUTTON) {
        // The other automatic radio buttons of its group go out.
        for (int other = GroupStart(index); other < GroupEnd(index); ++other) {
            const DialogControl& peer = _controls[size_t(other)];
            if (peer.kind == DialogControlKind::RADIO_BUTTON && peer.isAutomatic)
                SetCheck(other, other == index ? BST_CHECKED : BST_UNCHECKED);
        }
    }
    return control.id;
}

int DialogModel::KeyDown(UINT vk, bool shift)
{
    switch (vk) {
    case VK_TAB:
        SetFocus(NextTabItem(_focus, shift));
        return -1;
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN: {
        const int next = NextGroupItem(_focus, vk == VK_LEFT || vk == VK_UP);
        SetFocus(next);
        // An automatic radio button reached by the keyboard is chosen as well.
        if (next >= 0 && _controls[size_t(next)].kind == DialogControlKind::RADIO_BUTTON &&
            _controls[size_t(next)].isAutomatic && _controls[size_t(next)].check != BST_CHECKED)
            return Click(next);
        return -1;
    }
    case VK_SPACE:
        if (_focus >= 0) _controls[size_t(_focus)].pushed = true;
        return -1;
    case VK_RETURN:
        if (_focus >= 0 && _controls[size_t(_focus)].kind == DialogControlKind::PUSH_BUTTON)
            return _controls[size_t(_focus)].id;
        return _defaultId;
    case VK_ESCAPE:
        return IDCANCEL;
    default:
        return -1;
    }
}

int DialogModel::KeyUp(UINT vk)
{
    if (vk != VK_SPACE || _focus < 0 || !_controls[size_t(_focus)].pushed) return -1;
    _controls[size_t(_focus)].pushed = false;
    return Click(_focus);
}

int DialogModel::HitTest(POINT client) const
{
    for (size_t i = 0; i < _controls.size(); ++i)
        if (CanFocus(int(i)) && Contains(_controls[i].rect, client)) return int(i);
    return -1;
}

int DialogModel::MouseDown(POINT client)
{
    const int index = HitTest(client);
    if (index < 0) return -1;
    SetFocus(index);
    _capture = index;
    _controls[size_t(index)].pushed = true;
    return -1;
}

void DialogModel::MouseMove(POINT client)
{
    if (_capture >= 0) _controls[size_t(_capture)].pushed = Contains(_controls[size_t(_capture)].rect, client);
}

int DialogModel::MouseUp(POINT client)
{
    const int index = _capture;
    if (index < 0) return -1;
    _capture = -1;
    _controls[size_t(index)].pushed = false;
    return Contains(_controls[size_t(index)].rect, client) ? Click(index) : -1;
}
