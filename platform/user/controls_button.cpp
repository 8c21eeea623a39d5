// The "button" class: group boxes, automatic radio buttons, push buttons.
#include "user/controls.h"

namespace user {

namespace {

// Radio buttons check themselves, then every kind tells its parent. The parent may destroy
// the button on the spot, so nothing is touched after the notice.
void click(HWND button) {
    if (IsAutoRadio(button)) CheckRadioInGroup(button);
    Window* window = FindWindow(button);
    if (!window) return;
    SendMessageA(window->parent, WM_COMMAND, MAKEWPARAM(window->id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

bool pointInClient(HWND handle, LPARAM lParam) {
    RECT client;
    GetClientRect(handle, &client);
    const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
    return x >= 0 && y >= 0 && x < client.right && y < client.bottom;
}

// What the mouse routing and the dialog ask: a group box is transparent to clicks, so that they
// reach the controls inside it; the dialog code names the kind of button.
LRESULT query(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
    const UINT type = ButtonType(button);
    if (message == WM_NCHITTEST)
        return type == BS_GROUPBOX ? HTTRANSPARENT : DefWindowProcA(button, message, wParam, lParam);
    switch (type) {  // WM_GETDLGCODE
    case BS_GROUPBOX: return DLGC_STATIC;
    case BS_AUTORADIOBUTTON: return DLGC_BUTTON | DLGC_RADIOBUTTON;
    case BS_DEFPUSHBUTTON: return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
    case BS_PUSHBUTTON: return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    default: return DLGC_BUTTON;
    }
}

// The mouse: a press pushes the button and takes the focus; letting go over it clicks it,
// letting go outside does not.
LRESULT mouse(HWND button, ControlState* state, UINT message, LPARAM lParam) {
    if (message == WM_LBUTTONDOWN) {
        if (ButtonType(button) == BS_GROUPBOX || !state) return 0;
        state->pushed = true;
        InvalidateRect(button, nullptr, TRUE);
        SetFocus(button);
        return 0;
    }
    if (!state || !state->pushed) return 0;  // WM_LBUTTONUP
    state->pushed = false;
    InvalidateRect(button, nullptr, TRUE);
    if (pointInClient(button, lParam)) click(button);
    return 0;
}

// Keys: Space clicks every kind but the group box; the rest are the default's.
LRESULT keyDown(HWND button, WPARAM wParam, LPARAM lParam) {
    if (wParam != VK_SPACE || ButtonType(button) == BS_GROUPBOX)
        return DefWindowProcA(button, WM_KEYDOWN, wParam, lParam);
    click(button);
    return 0;
}

// The focus: gaining or losing it shows; losing it also lets go of a press.
LRESULT focusChange(HWND button, ControlState* state, UINT message) {
    if (message == WM_KILLFOCUS && state) state->pushed = false;
    InvalidateRect(button, nullptr, TRUE);
    return 0;
}

// The BM_* messages: the check, the state, a click made by the program.
LRESULT buttonMessage(HWND button, Window& window, ControlState* state, UINT message, WPARAM wParam,
                      LPARAM lParam) {
    const UINT type = ButtonType(button);
    switch (message) {
    case BM_GETCHECK: return state && state->checked ? BST_CHECKED : BST_UNCHECKED;
    case BM_SETCHECK:
        // A radio button is a tab stop while it is checked, so Tab reaches its group there.
        if (type == BS_AUTORADIOBUTTON || type == BS_RADIOBUTTON) {
            if (wParam == BST_CHECKED)
                window.style |= WS_TABSTOP;
            else
                window.style &= ~static_cast<DWORD>(WS_TABSTOP);
        }
        if (state && state->checked != (wParam == BST_CHECKED)) {
            state->checked = wParam == BST_CHECKED;
            InvalidateRect(button, nullptr, TRUE);
        }
        return 0;
    case BM_GETSTATE:
        if (!state) return 0;
        return (state->checked ? BST_CHECKED : 0) | (state->pushed ? BST_PUSHED : 0) |
               (GetFocus() == button ? BST_FOCUS : 0);
    case BM_CLICK:
        if (type != BS_GROUPBOX) click(button);
        return 0;
    default: return DefWindowProcA(button, message, wParam, lParam);
    }
}

}  // namespace

LRESULT CALLBACK ButtonProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* window = FindWindow(handle);
    if (!window) return 0;
    ControlState* state = static_cast<ControlState*>(window->userData);
    switch (message) {
    case WM_NCCREATE:
    case WM_CREATE:
    case WM_NCDESTROY: return ControlLifecycle(handle, *window, ControlKind::Button, message, wParam, lParam);
    case WM_NCHITTEST:
    case WM_GETDLGCODE: return query(handle, message, wParam, lParam);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP: return mouse(handle, state, message, lParam);
    case WM_KEYDOWN: return keyDown(handle, wParam, lParam);
    case WM_SETFOCUS:
    case WM_KILLFOCUS: return focusChange(handle, state, message);
    default: return buttonMessage(handle, *window, state, message, wParam, lParam);  // BM_*, the rest to the default
    }
}

}  // namespace user
