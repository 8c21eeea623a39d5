// A window laid out like a small dialog, played with queued keys and clicks.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "platform/sim/sim.h"
#include "platform/sim/sim_user.h"
#include "platform/user/controls.h"
#include "platform/user/window_table.h"

// WM_COMMAND ids (low word) and notification codes (high word) the host received, oldest first.
struct Command {
    int id;
    int code;
};
std::vector<Command>& HostCommands();

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Children in this order: group box, radios A (WS_GROUP) and B, group box, radios C (WS_GROUP)
    // and D, combo box (60 px high), push buttons OK (BS_DEFPUSHBUTTON) and Cancel.
    void BuildDialog();
    HWND Child(const char* className, const char* text, DWORD style, int x, int y, int width, int height, int id);
    // Takes every queued message the way a dialog's loop does (IsDialogMessageA first).
    void Pump();
    void Key(int virtualKey) { sim::PressKey(virtualKey); Pump(); }
    void ClickAt(int x, int y) { sim::Click(x, y); Pump(); }
    void ClickOn(HWND control, int dx = 5, int dy = 5);  // a point inside `control`
    bool Checked(HWND radio) { return SendMessageA(radio, BM_GETCHECK, 0, 0) == BST_CHECKED; }
    std::vector<int> CommandIds();

    HWND host = nullptr;
    HWND groupOne = nullptr, radioA = nullptr, radioB = nullptr;
    HWND groupTwo = nullptr, radioC = nullptr, radioD = nullptr;
    HWND combo = nullptr, okButton = nullptr, cancelButton = nullptr;
};

// Client y of the middle of the open list's row `row` (the list starts under the 21 px field).
inline int kListRowY(int row) { return 21 + 1 + row * 13 + 6; }

const int kOkId = IDOK;
const int kCancelId = IDCANCEL;
