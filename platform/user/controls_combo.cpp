// The "COMBOBOX" class as a drop-down list: a field that shows the selection, and a list that
// opens below it inside the control's own rectangle.
#include "user/controls.h"

#include <cstring>

namespace user {

namespace {

void notifyParent(HWND combo, WORD code) {
    Window* window = FindWindow(combo);
    if (window) SendMessageA(window->parent, WM_COMMAND, MAKEWPARAM(window->id, code), reinterpret_cast<LPARAM>(combo));
}

void keepHighlightVisible(const Window& window, ControlState& state) {
    const int rows = ComboVisibleRows(window);
    if (state.highlight < state.firstVisible) state.firstVisible = state.highlight;
    if (state.highlight >= state.firstVisible + rows) state.firstVisible = state.highlight - rows + 1;
    if (state.firstVisible < 0) state.firstVisible = 0;
}

void openList(HWND combo, ControlState& state) {
    if (state.open) return;
    state.open = true;
    state.highlight = state.selection >= 0 ? state.selection : (state.items.empty() ? -1 : 0);
    keepHighlightVisible(*FindWindow(combo), state);
    InvalidateRect(combo, nullptr, TRUE);
    notifyParent(combo, CBN_DROPDOWN);
}

// Closes the list; `pick` makes the marked row the selection.
void closeList(HWND combo, ControlState& state, bool pick) {
    if (!state.open) return;
    state.open = false;
    const bool changed = pick && state.highlight >= 0 && state.highlight != state.selection;
    if (changed) state.selection = state.highlight;
    InvalidateRect(combo, nullptr, TRUE);
    notifyParent(combo, CBN_CLOSEUP);
    if (changed) notifyParent(combo, CBN_SELCHANGE);
}

void toggleList(HWND combo, ControlState& state) {
    if (state.open)
        closeList(combo, state, true);
    else
        openList(combo, state);
}

// The keys that move the selection, open or closed (closing the list keeps where they left it):
// a row up or down, a page (the rows the list shows, less one kept in sight), the first, the last.
void step(HWND combo, ControlState& state, WPARAM key) {
    const int last = static_cast<int>(state.items.size()) - 1;
    if (last < 0) return;
    int& row = state.selection;
    const int page = ComboVisibleRows(*FindWindow(combo)) - 1;
    int next = row;
    switch (key) {
    case VK_UP:
    case VK_LEFT: next = row - 1; break;
    case VK_DOWN:
    case VK_RIGHT: next = row + 1; break;
    case VK_PRIOR: next = row - (page > 1 ? page : 1); break;
    case VK_NEXT: next = row + (page > 1 ? page : 1); break;
    case VK_HOME: next = 0; break;
    case VK_END: next = last; break;
    default: return;
    }
    if (row < 0) next = key == VK_END ? last : 0;  // no selection yet: the keys start from the top
    if (next < 0) next = 0;
    if (next > last) next = last;
    if (next == row) return;
    row = next;
    InvalidateRect(combo, nullptr, TRUE);
    if (state.open) {
        state.highlight = next;
        keepHighlightVisible(*FindWindow(combo), state);
    }
    notifyParent(combo, CBN_SELCHANGE);
}

void clickList(HWND combo, ControlState& state, int x, int y) {
    const Window& window = *FindWindow(combo);
    const int rows = ComboVisibleRows(window);
    const int count = static_cast<int>(state.items.size());
    const int width = window.rect.right - window.rect.left;
    const int listTop = kComboFieldHeight + 1;
    if (count > rows && x >= width - 1 - kScrollBarWidth) {  // the scroll bar: upper half up, lower half down
        const int middle = listTop + rows * kComboRowHeight / 2;
        int first = state.firstVisible + (y < middle ? -1 : 1);
        if (first < 0) first = 0;
        if (first > count - rows) first = count - rows;
        state.firstVisible = first;
        InvalidateRect(combo, nullptr, TRUE);
        return;
    }
    const int row = state.firstVisible + (y - listTop) / kComboRowHeight;
    if (y < listTop || row >= count || row >= state.firstVisible + rows) return;
    state.highlight = row;
    closeList(combo, state, true);
}

LRESULT textOf(const ControlState& state, WPARAM index, char* buffer, bool lengthOnly) {
    if (index >= state.items.size()) return CB_ERR;
    const std::string& item = state.items[index];
    if (!lengthOnly) {
        if (!buffer) return CB_ERR;
        std::memcpy(buffer, item.c_str(), item.size() + 1);
    }
    return static_cast<LRESULT>(item.size());
}

// Where a click lands: closed, the part below the field is not there, so clicks go to what
// lies under it.
LRESULT hitTest(const Window& window, const ControlState& state, LPARAM lParam) {
    const RECT client = ClientRectOnScreen(window);
    if (!state.open && GET_Y_LPARAM(lParam) - client.top >= kComboFieldHeight) return HTTRANSPARENT;
    return HTCLIENT;
}

// The keys the control keeps from the dialog: the open list keeps Enter and Escape; Tab still
// moves on.
LRESULT dialogCode(const ControlState& state, LPARAM lParam) {
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    const bool closing = msg && msg->message == WM_KEYDOWN && (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE);
    return DLGC_WANTARROWS | DLGC_WANTCHARS | (state.open && closing ? DLGC_WANTMESSAGE : 0);
}

// A press on the field opens or closes the list, one on a row picks it, and one outside (while
// the open list held the mouse) closes it.
LRESULT buttonDown(HWND combo, const Window& window, ControlState& state, LPARAM lParam) {
    const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
    const int width = window.rect.right - window.rect.left, height = window.rect.bottom - window.rect.top;
    if (x < 0 || y < 0 || x >= width || y >= height) {
        closeList(combo, state, false);
        return 0;
    }
    SetFocus(combo);
    ControlState* focused = StateOf(combo);  // the focus change may have run any code
    if (!focused) return 0;
    if (y < kComboFieldHeight)
        toggleList(combo, *focused);
    else if (focused->open)
        clickList(combo, *focused, x, y);
    return 0;
}

// Keys: F4 and Alt+Down / Alt+Up open or close the list, the moving keys step through it,
// Enter picks the marked row and Escape closes without it. Other keys are the default's.
LRESULT keyDown(HWND combo, ControlState& state, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SYSKEYDOWN) {
        if (wParam != VK_DOWN && wParam != VK_UP) return DefWindowProcA(combo, message, wParam, lParam);
        toggleList(combo, state);
        return 0;
    }
    switch (wParam) {
    case VK_F4: toggleList(combo, state); return 0;
    case VK_UP:
    case VK_LEFT:
    case VK_DOWN:
    case VK_RIGHT:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_HOME:
    case VK_END: step(combo, state, wParam); return 0;
    case VK_RETURN: closeList(combo, state, true); return 0;
    case VK_ESCAPE: closeList(combo, state, false); return 0;
    default: return DefWindowProcA(combo, message, wParam, lParam);
    }
}

// Gaining the focus shows it; losing it also closes the list.
LRESULT focusChange(HWND combo, ControlState& state, UINT message) {
    if (message == WM_KILLFOCUS) closeList(combo, state, false);
    InvalidateRect(combo, nullptr, TRUE);
    return 0;
}

// The CB_* messages: the entries, the selection and the list's state. Anything else is the
// default's.
LRESULT comboMessage(HWND combo, ControlState& state, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case CB_ADDSTRING:
        if (!lParam) return CB_ERR;
        state.items.emplace_back(reinterpret_cast<const char*>(lParam));
        InvalidateRect(combo, nullptr, TRUE);
        return static_cast<LRESULT>(state.items.size() - 1);
    case CB_GETCOUNT: return static_cast<LRESULT>(state.items.size());
    case CB_RESETCONTENT:
        state.items.clear();
        state.selection = state.highlight = -1;
        state.firstVisible = 0;
        InvalidateRect(combo, nullptr, TRUE);
        return CB_OKAY;
    case CB_SETCURSEL:
        InvalidateRect(combo, nullptr, TRUE);
        if (wParam >= state.items.size()) {  // -1 or past the end: no selection
            state.selection = -1;
            return CB_ERR;
        }
        state.selection = static_cast<int>(wParam);
        return state.selection;
    case CB_GETCURSEL: return state.selection;
    case CB_GETLBTEXT: return textOf(state, wParam, reinterpret_cast<char*>(lParam), false);
    case CB_GETLBTEXTLEN: return textOf(state, wParam, nullptr, true);
    case CB_GETDROPPEDSTATE: return state.open ? TRUE : FALSE;
    case CB_SHOWDROPDOWN:
        if (wParam)
            openList(combo, state);
        else
            closeList(combo, state, false);
        return TRUE;
    default: return DefWindowProcA(combo, message, wParam, lParam);
    }
}

}  // namespace

LRESULT CALLBACK ComboProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* window = FindWindow(handle);
    if (!window) return 0;
    if (message == WM_NCCREATE || message == WM_CREATE || message == WM_NCDESTROY)
        return ControlLifecycle(handle, *window, ControlKind::Combo, message, wParam, lParam);
    ControlState* state = static_cast<ControlState*>(window->userData);
    if (!state) return DefWindowProcA(handle, message, wParam, lParam);
    switch (message) {
    case WM_NCHITTEST: return hitTest(*window, *state, lParam);
    case WM_GETDLGCODE: return dialogCode(*state, lParam);
    case WM_LBUTTONDOWN: return buttonDown(handle, *window, *state, lParam);
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: return keyDown(handle, *state, message, wParam, lParam);
    case WM_SETFOCUS:
    case WM_KILLFOCUS: return focusChange(handle, *state, message);
    default: return comboMessage(handle, *state, message, wParam, lParam);  // CB_*, and the rest to the default
    }
}

}  // namespace user
