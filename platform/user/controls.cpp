// The built-in control classes and what their procedures and the dialog navigation share.
#include "user/controls.h"

#include <strings.h>

namespace user {

namespace {
bool classIs(const Window& window, const char* name) { return strcasecmp(ClassOf(window).name.c_str(), name) == 0; }
}  // namespace

void RegisterControlClasses() {
    RegisterSystemClass("button", ButtonProc, 0);
    RegisterSystemClass("COMBOBOX", ComboProc, 0);
    SetPaintHook(PaintControls);
}

LRESULT ControlLifecycle(HWND handle, Window& window, ControlKind kind, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCCREATE: {
        ControlState* created = new ControlState{};
        created->kind = kind;
        window.userData = created;
        return DefWindowProcA(handle, message, wParam, lParam);
    }
    case WM_NCDESTROY:
        delete static_cast<ControlState*>(window.userData);
        window.userData = nullptr;
        return 0;
    case WM_CREATE: return 0;  // controls never take the focus as they are made
    default: return DefWindowProcA(handle, message, wParam, lParam);
    }
}

ControlState* StateOf(HWND control) {
    Window* window = FindWindow(control);
    if (!window || !window->userData) return nullptr;
    if (!classIs(*window, "button") && !classIs(*window, "COMBOBOX")) return nullptr;
    return static_cast<ControlState*>(window->userData);
}

UINT ButtonType(HWND control) {
    Window* window = FindWindow(control);
    if (!window || !classIs(*window, "button")) return ~0u;
    return window->style & BS_TYPEMASK;
}

bool IsAutoRadio(HWND control) { return ButtonType(control) == BS_AUTORADIOBUTTON; }

bool IsPushButton(HWND control) {
    const UINT type = ButtonType(control);
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

int ComboRowsFor(int controlHeight) {
    const int rows = (controlHeight - kComboFieldHeight - 2) / kComboRowHeight;  // 1 px frame round the list
    return rows > 1 ? rows : 1;
}

int ComboVisibleRows(const Window& combo) { return ComboRowsFor(combo.rect.bottom - combo.rect.top); }

int GroupOf(HWND control, HWND* members, int max) {
    Window* window = FindWindow(control);
    if (!window || !window->parent) return 0;
    const HWND parent = window->parent;
    int count = 0;
    bool reached = false;
    for (int i = 0; i < WindowCount(); ++i) {
        const Window& sibling = WindowAt(i);
        if (sibling.parent != parent) continue;
        const bool starts = (sibling.style & WS_GROUP) != 0;
        if (starts && reached) break;  // the next group begins
        if (starts) count = 0;         // a group begins before the control: forget the earlier ones
        if (count < max) members[count++] = sibling.handle;
        if (sibling.handle == control) reached = true;
    }
    return count;
}

void CheckRadioInGroup(HWND radio) {
    HWND members[64];
    const int count = GroupOf(radio, members, 64);
    for (int i = 0; i < count; ++i)
        if (IsAutoRadio(members[i]))
            SendMessageA(members[i], BM_SETCHECK, members[i] == radio ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool CanTakeFocus(HWND control) {
    Window* window = FindWindow(control);
    if (!window || !(window->style & WS_VISIBLE) || (window->style & WS_DISABLED)) return false;
    return ButtonType(control) != BS_GROUPBOX;
}

}  // namespace user
