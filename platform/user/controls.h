// What the child controls, their painting and the dialog navigation share.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "window_table.h"

namespace user {

enum class ControlKind { Button, Combo };

// One record for every control kind; Window::userData points at it.
struct ControlState {
    ControlKind kind = ControlKind::Button;
    bool checked = false;  // radio buttons
    bool pushed = false;   // mouse held down on a button
    std::vector<std::string> items;  // combo box entries
    int selection = -1;
    int highlight = -1;  // the row the open list marks
    int firstVisible = 0;
    bool open = false;
};

// Layout of the drop-down list box; fixed so that clicks land where the painting shows them.
constexpr int kComboFieldHeight = 21;
constexpr int kComboRowHeight = 13;
constexpr int kScrollBarWidth = 17;

// Creation and destruction, alike for every control: WM_NCCREATE makes the state of the given
// kind, WM_NCDESTROY frees it, WM_CREATE answers 0.
LRESULT ControlLifecycle(HWND handle, Window& window, ControlKind kind, UINT message, WPARAM wParam, LPARAM lParam);
ControlState* StateOf(HWND control);  // null for windows that are not our controls
UINT ButtonType(HWND control);        // BS_* type, or ~0u when not a button
bool IsAutoRadio(HWND control);
bool IsPushButton(HWND control);
int ComboRowsFor(int controlHeight);  // rows the open list shows
int ComboVisibleRows(const Window& combo);

// Siblings of `control` in its WS_GROUP group, in creation order. Returns how many (at most max).
int GroupOf(HWND control, HWND* members, int max);
// Checks `radio` and unchecks the other automatic radio buttons of its group.
void CheckRadioInGroup(HWND radio);
// Can take the focus: visible, enabled, not a group box.
bool CanTakeFocus(HWND control);

LRESULT CALLBACK ButtonProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ComboProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);
void PaintControls(HWND topLevel, uint32_t* pixels, int width, int height, int pitch);
// The controls' UI font goes (sim::Reset, and the end of the run); the next paint makes it again.
void ReleaseUiFont();

}  // namespace user
