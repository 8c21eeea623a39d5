// What the probe cannot ask of the preferences window, whose groups hold two radio buttons: the
// arrows round a group of three, and arguments that are not valid. How the controls are painted
// is seen in the preferences window (tests/prefs); its keys and clicks are compared with Wine's
// answers in tests/probe.
#include <gtest/gtest.h>
#include <windows.h>

#include "platform/sim/sim.h"
#include "platform/sim/sim_user.h"

namespace {

class ControlsTest : public ::testing::Test {
protected:
    // Radio A alone in its group, radios C (WS_GROUP, checked), D and E, 20 px high and 30 px
    // apart from the top, and last a drop-down list 60 px high at y 90, whose open rows E covers.
    void SetUp() override {
        WNDCLASSA hostClass{};
        hostClass.lpfnWndProc = DefWindowProcA;
        hostClass.lpszClassName = "ControlsHost";
        ASSERT_NE(RegisterClassA(&hostClass), 0);
        host = CreateWindowExA(0, "ControlsHost", "Host", WS_VISIBLE | WS_CAPTION, 100, 100, 420, 300, nullptr,
                               nullptr, nullptr, nullptr);
        const DWORD radio = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTORADIOBUTTON;
        HWND* handles[] = {&radioA, &radioC, &radioD, &radioE, &combo};
        const DWORD styles[] = {radio | WS_GROUP, radio | WS_GROUP, radio, radio, WS_CHILD | WS_VISIBLE | WS_GROUP | CBS_DROPDOWNLIST};
        for (int i = 0; i < 5; ++i) {
            *handles[i] = CreateWindowExA(0, i == 4 ? "COMBOBOX" : "button", "", styles[i], 20, i == 4 ? 90 : 20 + 30 * i,
                                          100, i == 4 ? 60 : 20, host, nullptr, nullptr, nullptr);
            ASSERT_NE(*handles[i], nullptr);
        }
        SendMessageA(radioA, BM_SETCHECK, BST_CHECKED, 0);
        SendMessageA(radioC, BM_SETCHECK, BST_CHECKED, 0);
    }
    void TearDown() override {  // the controls free what they hold on WM_NCDESTROY
        DestroyWindow(host);
    }

    void Key(int virtualKey) {  // taken the way a dialog's loop takes it (0: only what waits)
        if (virtualKey) sim::PressKey(virtualKey);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            if (!IsDialogMessageA(host, &msg)) DispatchMessageA(&msg);
    }
    bool Checked(HWND radio) { return SendMessageA(radio, BM_GETCHECK, 0, 0) == BST_CHECKED; }

    HWND host = nullptr, radioA = nullptr, radioC = nullptr, radioD = nullptr, radioE = nullptr, combo = nullptr;
};

// As GetNextDlgGroupItem: Right and Down to the next of the group, Left and Up to the previous,
// round its ends; an automatic radio button moved to is checked.
TEST_F(ControlsTest, ArrowsMoveTheFocusAndTheCheckRoundTheGroup) {
    SetFocus(radioC);
    const struct {
        int key;
        HWND* to;
    } steps[] = {{VK_DOWN, &radioD}, {VK_RIGHT, &radioE}, {VK_DOWN, &radioC}, {VK_UP, &radioE}, {VK_LEFT, &radioD}};
    for (const auto& step : steps) {
        Key(step.key);
        EXPECT_EQ(GetFocus(), *step.to) << step.key;
        EXPECT_TRUE(Checked(*step.to)) << step.key;
    }
    EXPECT_FALSE(Checked(radioC) || Checked(radioE));
    EXPECT_TRUE(Checked(radioA)) << "the other group is left alone";
}

// The open list is on top, as a pop-up is: a press on a row that an earlier sibling lies under
// is the list's. Escape closes it as it was; a list emptied while scrolled starts at its top.
TEST_F(ControlsTest, TheOpenListTakesPressesOverItsSiblingsAndStartsAtItsTopWhenEmptied) {
    auto fill = [&] {
        for (const char* item : {"One", "Two", "Three", "Four"}) SendMessageA(combo, CB_ADDSTRING, 0, LPARAM(item));
    };
    fill();
    SetFocus(combo);
    for (int key : {VK_F4, VK_ESCAPE}) Key(key);
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), CB_ERR) << "opened and closed: still nothing selected";
    for (int key : {VK_F4, VK_END, VK_ESCAPE}) Key(key);  // scrolled to the last row
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    fill();
    SendMessageA(combo, CB_SETCURSEL, 1, 0);  // in view at the top: the list does not move to it
    Key(VK_F4);
    sim::Click(30, 90 + 21 + 1 + 6);  // the first row, over E
    Key(0);
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 0);
    EXPECT_FALSE(Checked(radioE));
}

// Arguments that are not valid are refused, not followed; a destroyed dialog takes nothing.
TEST_F(ControlsTest, BadArgumentsAreRefused) {
    MSG msg{radioA, WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
    EXPECT_FALSE(IsDialogMessageA(host, nullptr) || IsDialogMessageA(nullptr, &msg) ||
                 IsDialogMessageA(reinterpret_cast<HWND>(0x1234), &msg));
    EXPECT_EQ(SendMessageA(combo, CB_ADDSTRING, 0, 0), CB_ERR) << "no text";
    EXPECT_EQ(SendMessageA(combo, CB_GETLBTEXT, 0, 0), CB_ERR) << "no buffer";
    DestroyWindow(host);
    EXPECT_FALSE(IsDialogMessageA(host, &msg)) << "a destroyed dialog";
}

}  // namespace
