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

LRESULT dialogCode(HWND handle) {
    switch (ButtonType(handle)) {
    case BS_GROUPBOX: return DLGC_STATIC;
    case BS_AUTORADIOBUTTON: return DLGC_BUTTON | DLGC_RADIOBUTTON;
    case BS_DEFPUSHBUTTON: return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
    case BS_PUSHBUTTON: return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    default: return DLGC_BUTTON;
    }
}

}  // namespace

LRESULT CALLBACK ButtonProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* window = FindWindow(handle);
    if (!window) return 0;
    ControlState* state = static_cast<ControlState*>(window->userData);
    const bool groupBox = ButtonType(handle) == BS_GROUPBOX;
    switch (message) {
    case WM_NCCREATE:
        window->userData = new ControlState{};
        break;
    case WM_CREATE: return 0;  // controls never take the focus as they are made
    case WM_NCDESTROY:
        delete state;
        window->userData = nullptr;
        return 0;
    case WM_NCHITTEST:
        if (groupBox) return HTTRANSPARENT;  // clicks reach the controls inside
        break;
    case WM_GETDLGCODE: return dialogCode(handle);
    case BM_GETCHECK: return state && state->checked ? BST_CHECKED : BST_UNCHECKED;
    case BM_SETCHECK:
        // A radio button is a tab stop while it is checked, so Tab reaches its group there.
        if (ButtonType(handle) == BS_AUTORADIOBUTTON || ButtonType(handle) == BS_RADIOBUTTON) {
            if (wParam == BST_CHECKED)
                window->style |= WS_TABSTOP;
            else
                window->style &= ~static_cast<DWORD>(WS_TABSTOP);
        }
        if (state && state->checked != (wParam == BST_CHECKED)) {
            state->checked = wParam == BST_CHECKED;
            InvalidateRect(handle, nullptr, TRUE);
        }
        return 0;
    case BM_GETSTATE:
        if (!state) return 0;
        return (state->checked ? BST_CHECKED : 0) | (state->pushed ? BST_PUSHED : 0) |
               (GetFocus() == handle ? BST_FOCUS : 0);
    case BM_CLICK:
        if (!groupBox) click(handle);
        return 0;
    case WM_LBUTTONDOWN:
        if (groupBox || !state) return 0;
        state->pushed = true;
        InvalidateRect(handle, nullptr, TRUE);
        SetFocus(handle);
        return 0;
    case WM_LBUTTONUP:
        if (!state || !state->pushed) return 0;
        state->pushed = false;
        InvalidateRect(handle, nullptr, TRUE);
        if (pointInClient(handle, lParam)) click(handle);  // let go outside: no click
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_SPACE && !groupBox) {
            click(handle);
            return 0;
        }
        break;
    case WM_KILLFOCUS:
        if (state) state->pushed = false;
        InvalidateRect(handle, nullptr, TRUE);
        return 0;
    case WM_SETFOCUS:
        InvalidateRect(handle, nullptr, TRUE);
        return 0;
    default: break;
    }
    return DefWindowProcA(handle, message, wParam, lParam);
}

}  // namespace user
