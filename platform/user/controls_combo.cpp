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

}  // namespace

LRESULT CALLBACK ComboProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* window = FindWindow(handle);
    if (!window) return 0;
    if (message == WM_NCCREATE) {
        ControlState* created = new ControlState{};
        created->kind = ControlKind::Combo;
        window->userData = created;
        return DefWindowProcA(handle, message, wParam, lParam);
    }
    ControlState* state = static_cast<ControlState*>(window->userData);
    if (!state) return DefWindowProcA(handle, message, wParam, lParam);
    switch (message) {
    case WM_CREATE: return 0;  // controls never take the focus as they are made
    case WM_NCDESTROY:
        delete state;
        window->userData = nullptr;
        return 0;
    case WM_NCHITTEST: {
        // Closed, the part below the field is not there: clicks go to what lies under it.
        const RECT client = ClientRectOnScreen(*window);
        if (!state->open && GET_Y_LPARAM(lParam) - client.top >= kComboFieldHeight) return HTTRANSPARENT;
        return HTCLIENT;
    }
    case WM_GETDLGCODE: {  // the open list keeps Enter and Escape from the dialog; Tab still moves on
        const MSG* msg = reinterpret_cast<const MSG*>(lParam);
        const bool closing = msg && msg->message == WM_KEYDOWN && (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE);
        return DLGC_WANTARROWS | DLGC_WANTCHARS | (state->open && closing ? DLGC_WANTMESSAGE : 0);
    }
    case CB_ADDSTRING:
        if (!lParam) return CB_ERR;
        state->items.emplace_back(reinterpret_cast<const char*>(lParam));
        InvalidateRect(handle, nullptr, TRUE);
        return static_cast<LRESULT>(state->items.size() - 1);
    case CB_GETCOUNT: return static_cast<LRESULT>(state->items.size());
    case CB_RESETCONTENT:
        state->items.clear();
        state->selection = state->highlight = -1;
        state->firstVisible = 0;
        InvalidateRect(handle, nullptr, TRUE);
        return CB_OKAY;
    case CB_SETCURSEL:
        InvalidateRect(handle, nullptr, TRUE);
        if (wParam >= state->items.size()) {  // -1 or past the end: no selection
            state->selection = -1;
            return CB_ERR;
        }
        state->selection = static_cast<int>(wParam);
        return state->selection;
    case CB_GETCURSEL: return state->selection;
    case CB_GETLBTEXT: return textOf(*state, wParam, reinterpret_cast<char*>(lParam), false);
    case CB_GETLBTEXTLEN: return textOf(*state, wParam, nullptr, true);
    case CB_GETDROPPEDSTATE: return state->open ? TRUE : FALSE;
    case CB_SHOWDROPDOWN:
        if (wParam)
            openList(handle, *state);
        else
            closeList(handle, *state, false);
        return TRUE;
    case WM_LBUTTONDOWN: {
        const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
        const int width = window->rect.right - window->rect.left, height = window->rect.bottom - window->rect.top;
        if (x < 0 || y < 0 || x >= width || y >= height) {  // a press outside, while the list held the mouse
            closeList(handle, *state, false);
            return 0;
        }
        SetFocus(handle);
        state = StateOf(handle);  // the focus change may have run any code
        if (!state) return 0;
        if (y < kComboFieldHeight)
            toggleList(handle, *state);
        else if (state->open)
            clickList(handle, *state, x, y);
        return 0;
    }
    case WM_KEYDOWN:
        switch (wParam) {
        case VK_F4: toggleList(handle, *state); return 0;
        case VK_UP:
        case VK_LEFT:
        case VK_DOWN:
        case VK_RIGHT:
        case VK_PRIOR:
        case VK_NEXT:
        case VK_HOME:
        case VK_END: step(handle, *state, wParam); return 0;
        case VK_RETURN: closeList(handle, *state, true); return 0;
        case VK_ESCAPE: closeList(handle, *state, false); return 0;
        default: break;
        }
        break;
    case WM_SYSKEYDOWN:
        if (wParam == VK_DOWN || wParam == VK_UP) {  // Alt+Down / Alt+Up
            toggleList(handle, *state);
            return 0;
        }
        break;
    case WM_SETFOCUS: InvalidateRect(handle, nullptr, TRUE); return 0;
    case WM_KILLFOCUS:
        closeList(handle, *state, false);
        InvalidateRect(handle, nullptr, TRUE);
        return 0;
    default: break;
    }
    return DefWindowProcA(handle, message, wParam, lParam);
}

}  // namespace user
