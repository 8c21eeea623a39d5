// IsDialogMessageA: the keyboard of a window full of controls (Tab, arrows, Enter, Escape).
#include <windows.h>

#include "user/controls.h"

namespace user {
namespace {

// Tab and Shift+Tab: the next or previous tab stop among the dialog's children, round the end.
HWND nextTabStop(HWND dialog, HWND from, bool backwards) {
    const int count = WindowCount();
    int start = -1;
    for (int i = 0; i < count; ++i)
        if (WindowAt(i).handle == from) start = i;
    for (int step = 1; step <= count; ++step) {
        int index = start < 0 ? (backwards ? count - step : step - 1)
                              : (start + (backwards ? count - step : step)) % count;
        const Window& window = WindowAt(index);
        if (window.parent == dialog && (window.style & WS_TABSTOP) && CanTakeFocus(window.handle))
            return window.handle;
    }
    return nullptr;
}

// Arrows: the next visible, enabled control of the focused one's group, round the end. Only a
// radio button is moved to (and clicked, when automatic and unchecked): in a window that is not
// a dialog box, the platform's step to any other control is a message nobody answers.
void moveInGroup(HWND focus, bool backwards) {
    HWND members[64];
    const int count = GroupOf(focus, members, 64);
    int at = -1;
    for (int i = 0; i < count; ++i)
        if (members[i] == focus) at = i;
    if (at < 0) return;
    for (int step = 1; step <= count; ++step) {
        HWND candidate = members[(at + (backwards ? count - step : step)) % count];
        const Window* window = FindWindow(candidate);
        if (!window || !(window->style & WS_VISIBLE) || (window->style & WS_DISABLED)) continue;
        const UINT type = ButtonType(candidate);
        if (type != BS_AUTORADIOBUTTON && type != BS_RADIOBUTTON) return;
        SetFocus(candidate);
        if (type == BS_AUTORADIOBUTTON && SendMessageA(candidate, BM_GETCHECK, 0, 0) != BST_CHECKED)
            SendMessageA(candidate, BM_CLICK, 0, 0);
        return;
    }
}

HWND openComboIn(HWND dialog) {
    for (int i = 0; i < WindowCount(); ++i) {
        const Window& window = WindowAt(i);
        const ControlState* state = StateOf(window.handle);
        if (state && state->kind == ControlKind::Combo && state->open && IsInside(dialog, window.handle))
            return window.handle;
    }
    return nullptr;
}

// An open drop-down list holds the mouse, as a pop-up would: a press anywhere is its own (one
// outside just closes it). Decided as the press is taken, when the list's state is known.
void sendPressesToOpenList(HWND dialog, MSG& msg) {
    if (msg.message != WM_LBUTTONDOWN) return;
    HWND combo = openComboIn(dialog);
    if (!combo || combo == msg.hwnd) return;
    const RECT from = ClientRectOnScreen(*FindWindow(msg.hwnd)), to = ClientRectOnScreen(*FindWindow(combo));
    const int x = GET_X_LPARAM(msg.lParam) + from.left - to.left, y = GET_Y_LPARAM(msg.lParam) + from.top - to.top;
    msg.hwnd = combo;
    msg.lParam = MAKELPARAM(x, y);
}

void command(HWND dialog, int id, HWND control) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control));
}

// True when the key was the dialog's to handle. While the window itself holds the focus (as it
// does when shown: no control takes it), Tab goes to the first tab stop; Shift+Tab and the arrows
// do nothing.
bool handleDialogKey(HWND dialog, const MSG& msg) {
    HWND focus = GetFocus();
    if (!IsInside(dialog, focus) || focus == dialog) focus = nullptr;
    const LRESULT code = focus ? SendMessageA(focus, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg)) : 0;
    if (code & DLGC_WANTALLKEYS) return false;  // an open drop-down list takes Enter and Escape itself
    const bool shift = IsKeyDown(VK_SHIFT);
    switch (msg.wParam) {
    case VK_TAB:
        if (code & DLGC_WANTTAB) return false;
        if (!focus && shift) return true;  // no way back from no control at all
        if (HWND next = nextTabStop(dialog, focus, shift)) SetFocus(next);
        return true;
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
        if (code & DLGC_WANTARROWS) return false;
        if (focus) moveInGroup(focus, msg.wParam == VK_LEFT || msg.wParam == VK_UP);
        return true;
    case VK_RETURN:
        if (code & DLGC_DEFPUSHBUTTON)
            command(dialog, GetDlgCtrlID(focus), focus);
        else
            command(dialog, IDOK, nullptr);
        return true;
    case VK_ESCAPE: command(dialog, IDCANCEL, nullptr); return true;
    default: return false;
    }
}

}  // namespace
}  // namespace user

BOOL WINAPI IsDialogMessageA(HWND dialog, LPMSG msg) {
    if (!msg || !user::FindWindow(dialog) || !user::IsInside(dialog, msg->hwnd)) return FALSE;
    const bool key = msg->message >= WM_KEYDOWN && msg->message <= WM_SYSKEYUP;
    HWND focus = GetFocus();
    // Keys are for the control that has the focus as they are taken, whoever they were queued to
    // (a burst of input is queued before the first of it moved the focus).
    if (key && msg->hwnd != focus && user::IsInside(dialog, focus)) msg->hwnd = focus;
    user::sendPressesToOpenList(dialog, *msg);
    if (msg->message == WM_KEYDOWN && user::handleDialogKey(dialog, *msg)) return TRUE;
    // Everything else for the dialog goes its ordinary way.
    TranslateMessage(msg);
    DispatchMessageA(msg);
    return TRUE;
}
