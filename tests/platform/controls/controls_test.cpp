// The controls in a window laid out like the preferences window, played with queued keys and
// clicks and painted. The preferences tests cover picking with the mouse, tests/probe the keys.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "platform/sim/sim.h"
#include "platform/sim/sim_user.h"
#include "platform/user/controls.h"
#include "platform/user/window_table.h"

namespace {

using Ids = std::vector<int>;
Ids g_clicked;  // the ids of the BN_CLICKED the host received, oldest first

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) g_clicked.push_back(LOWORD(wParam));
    return DefWindowProcA(window, message, wParam, lParam);
}

// Client y of the middle of the open list's row `row` (the list starts under the 21 px field).
int listRowY(int row) { return 21 + 1 + row * 13 + 6; }

class ControlsTest : public ::testing::Test {
protected:
    // Group box, radios A (WS_GROUP) and B, group box, radios C (WS_GROUP), D and E, a combo box
    // 60 px high, push buttons Okay (BS_DEFPUSHBUTTON) and Cancel; B and C checked.
    void SetUp() override {
        sim::Reset();
        g_clicked.clear();
        WNDCLASSA hostClass{};
        hostClass.lpfnWndProc = HostProc;
        hostClass.lpszClassName = "ControlsHost";
        ASSERT_NE(RegisterClassA(&hostClass), 0);
        host = CreateWindowExA(WS_EX_DLGMODALFRAME, "ControlsHost", "Host", WS_VISIBLE | WS_CAPTION, 100, 100, 420,
                               300, nullptr, nullptr, nullptr, nullptr);
        const DWORD child = WS_CHILD | WS_VISIBLE, box = child | WS_GROUP | BS_GROUPBOX;
        const DWORD first = child | WS_GROUP | WS_TABSTOP | BS_AUTORADIOBUTTON, radio = child | WS_TABSTOP | BS_AUTORADIOBUTTON;
        const struct {
            HWND* handle;
            const char *className, *text;
            DWORD style;
            int x, y, width, height, id;
        } controls[] = {
            {&groupOne, "button", "One", box, 80, 20, 120, 70, 0},
            {&radioA, "button", "A", first, 90, 40, 100, 15, 11},
            {&radioB, "button", "B", radio, 90, 65, 100, 20, 12},
            {&groupTwo, "button", "Two", box, 220, 20, 120, 70, 0},
            {&radioC, "button", "C", first, 230, 40, 100, 15, 13},
            {&radioD, "button", "D", radio, 230, 65, 100, 20, 14},
            {&radioE, "button", "E", radio, 230, 88, 100, 15, 16},
            {&combo, "COMBOBOX", "", child | WS_VSCROLL | WS_GROUP | WS_TABSTOP | CBS_DROPDOWNLIST, 55, 135, 300, 60, 15},
            {&okButton, "button", "Okay", child | WS_GROUP | WS_TABSTOP | BS_DEFPUSHBUTTON, 80, 240, 100, 25, IDOK},
            {&cancelButton, "button", "Cancel", child | WS_GROUP | WS_TABSTOP | BS_PUSHBUTTON, 240, 240, 100, 25, IDCANCEL},
        };
        for (const auto& c : controls) {
            *c.handle = CreateWindowExA(0, c.className, c.text, c.style, c.x, c.y, c.width, c.height, host,
                                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), nullptr, nullptr);
            ASSERT_NE(*c.handle, nullptr) << c.text;
        }
        SendMessageA(radioB, BM_SETCHECK, BST_CHECKED, 0);
        SendMessageA(radioC, BM_SETCHECK, BST_CHECKED, 0);
        Pump();
        g_clicked.clear();
    }
    void TearDown() override { sim::Reset(); }

    // Takes every queued message the way a dialog's loop does (IsDialogMessageA first).
    void Pump() {
        MSG msg;
        for (int guard = 0; guard < 1000 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++guard)
            if (!IsDialogMessageA(host, &msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
    }
    void Key(int virtualKey) { sim::PressKey(virtualKey); Pump(); }
    void ClickOn(HWND control, int dx = 5, int dy = 5) {  // a point inside `control`, in the host's client area
        const RECT& rect = user::FindWindow(control)->rect;
        sim::Click(rect.left + dx, rect.top + dy);
        Pump();
    }
    bool Checked(HWND radio) { return SendMessageA(radio, BM_GETCHECK, 0, 0) == BST_CHECKED; }
    void AddItems(int count) {
        for (int i = 0; i < count; ++i)
            EXPECT_EQ(SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(("Item " + std::to_string(i)).c_str())), i);
    }
    LRESULT Selection() { return SendMessageA(combo, CB_GETCURSEL, 0, 0); }
    bool IsOpen() { return SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0) != 0; }

    HWND host = nullptr, groupOne = nullptr, radioA = nullptr, radioB = nullptr, groupTwo = nullptr;
    HWND radioC = nullptr, radioD = nullptr, radioE = nullptr, combo = nullptr, okButton = nullptr, cancelButton = nullptr;
};

TEST_F(ControlsTest, RadioButtonsCheckOneOfTheirGroupByClickOrSpace) {
    ClickOn(radioA);
    EXPECT_TRUE(Checked(radioA));
    EXPECT_FALSE(Checked(radioB)) << "the other one of its group";
    EXPECT_TRUE(Checked(radioC)) << "another group is left alone";
    EXPECT_EQ(GetFocus(), radioA) << "a click focuses";
    ClickOn(radioD);
    EXPECT_TRUE(Checked(radioD));
    EXPECT_FALSE(Checked(radioC));
    EXPECT_TRUE(Checked(radioA));
    SetFocus(radioB);
    Key(VK_SPACE);
    EXPECT_TRUE(Checked(radioB));
    EXPECT_FALSE(Checked(radioA));
    EXPECT_EQ(g_clicked, (Ids{11, 14, 12})) << "each check tells the parent";

    SendMessageA(radioA, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_TRUE(Checked(radioA));
    EXPECT_TRUE(Checked(radioB)) << "BM_SETCHECK sets only its own button";
}

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
    EXPECT_TRUE(Checked(radioB)) << "the other group is left alone";
}

TEST_F(ControlsTest, GroupBoxesLetClicksThroughAndNeverTakeTheFocus) {
    EXPECT_EQ(SendMessageA(groupOne, WM_NCHITTEST, 0, 0), HTTRANSPARENT);
    SetFocus(radioC);
    ClickOn(groupOne, 3, 3);  // its caption, outside every radio
    EXPECT_EQ(GetFocus(), radioC);
    EXPECT_TRUE(g_clicked.empty());
    ClickOn(radioA, 20, 7);  // inside the box's rectangle too
    EXPECT_TRUE(Checked(radioA));
}

TEST_F(ControlsTest, PushButtonsSendTheirIdOnClickOrSpaceButNotWhenReleasedOutside) {
    ClickOn(cancelButton);
    EXPECT_EQ(g_clicked, (Ids{IDCANCEL}));
    EXPECT_EQ(GetFocus(), cancelButton);
    Key(VK_SPACE);
    EXPECT_EQ(g_clicked, (Ids{IDCANCEL, IDCANCEL}));
    g_clicked.clear();
    // pressed on the button, let go elsewhere: the up goes to the button, outside its client area
    user::QueueMessage(okButton, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    user::QueueMessage(okButton, WM_LBUTTONUP, 0, MAKELPARAM(150, 5));
    Pump();
    EXPECT_TRUE(g_clicked.empty());
    EXPECT_EQ(GetFocus(), okButton);
    EXPECT_EQ(SendMessageA(okButton, BM_GETSTATE, 0, 0) & BST_PUSHED, 0) << "released";
}

TEST_F(ControlsTest, DialogMessagesForOtherWindowsOrBadArgumentsAreNotTaken) {
    HWND other = CreateWindowExA(0, "ControlsHost", "Other", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    MSG msg{other, WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
    EXPECT_FALSE(IsDialogMessageA(host, &msg));
    EXPECT_FALSE(IsDialogMessageA(host, nullptr));
    msg.hwnd = radioA;
    EXPECT_FALSE(IsDialogMessageA(nullptr, &msg));
    EXPECT_FALSE(IsDialogMessageA(reinterpret_cast<HWND>(0x1234), &msg));
    DestroyWindow(host);
    EXPECT_FALSE(IsDialogMessageA(host, &msg)) << "a destroyed dialog";
    EXPECT_EQ(SendMessageA(radioA, BM_GETCHECK, 0, 0), 0) << "its controls went with it";
}

// What the list answers, and its keys: tests/probe, against Wine.
TEST_F(ControlsTest, TheListFitsTheControlsHeightScrollsAndRefusesNullTexts) {
    AddItems(6);
    EXPECT_EQ(SendMessageA(combo, CB_GETLBTEXT, 0, 0), CB_ERR) << "no buffer";
    EXPECT_EQ(SendMessageA(combo, CB_ADDSTRING, 0, 0), CB_ERR) << "no text";
    EXPECT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 6);
    SendMessageA(combo, CB_SETCURSEL, 0, 0);
    const int rows = user::ComboRowsFor(60);
    ASSERT_GE(rows, 1);
    ASSERT_LT(rows, 6);
    ClickOn(combo);
    for (int i = 0; i < 4; ++i) Key(VK_DOWN);
    ClickOn(combo, 10, listRowY(rows - 1));  // the lowest row shown now holds the fifth entry
    EXPECT_EQ(Selection(), 4);

    ClickOn(combo);
    ClickOn(combo, 296, 58);  // the scroll bar's lower half
    ClickOn(combo, 10, listRowY(rows - 1));
    EXPECT_EQ(Selection(), 5) << "scrolled down by one row";
    ClickOn(combo);
    ClickOn(combo, 296, 21 + 1 + rows * 13 / 2 - 1);  // just above the middle: the upper half
    ClickOn(combo, 10, listRowY(rows - 1));
    EXPECT_EQ(Selection(), 4) << "scrolled up by one row";

    SendMessageA(combo, CB_RESETCONTENT, 0, 0);  // emptied while scrolled down: a new list starts at its top
    AddItems(3);
    SendMessageA(combo, CB_SETCURSEL, 1, 0);  // in view at the top: the list does not move to it
    ClickOn(combo);
    ClickOn(combo, 10, listRowY(0));
    EXPECT_EQ(Selection(), 0);
}

TEST_F(ControlsTest, BelowTheClosedFieldClicksReachWhatLiesUnderIt) {
    AddItems(3);
    SetFocus(okButton);
    ClickOn(combo, 10, 45);  // inside the control's 60 px, under its field
    EXPECT_FALSE(IsOpen());
    EXPECT_EQ(GetFocus(), okButton);
    ClickOn(combo, 10, 5);
    EXPECT_TRUE(IsOpen());
    ClickOn(radioA);
    EXPECT_FALSE(IsOpen()) << "a press outside the open list closes it";
    EXPECT_FALSE(Checked(radioA)) << "and is the list's, not the radio button's";
    EXPECT_EQ(Selection(), CB_ERR);
    Key(VK_F4);
    SetFocus(radioA);
    EXPECT_FALSE(IsOpen()) << "losing the focus closes it";
}

const uint32_t kFace = 0xD4D0C8;  // COLOR_BTNFACE
const uint32_t kBlack = 0x000000, kWhite = 0xFFFFFF, kHighlight = 0x0A246A;

struct Picture {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
    uint32_t at(int x, int y) const { return pixels[size_t(y) * width + x] & 0xFFFFFF; }
};

Picture paint(HWND host) {
    Picture picture;
    RECT client;
    GetClientRect(host, &client);
    picture.width = client.right, picture.height = client.bottom;
    picture.pixels.assign(size_t(picture.width) * picture.height, 0x12345678);
    user::PaintHook hook = user::GetPaintHook();
    EXPECT_NE(hook, nullptr);
    if (hook) hook(host, picture.pixels.data(), picture.width, picture.height, picture.width * 4);
    return picture;
}

TEST_F(ControlsTest, ControlsArePaintedWithChecksTheDefaultFrameAndTheOpenList) {
    Picture picture = paint(host);
    ASSERT_GE(picture.width, 400);
    ASSERT_GE(picture.height, 270);
    EXPECT_EQ(picture.at(picture.width - 1, picture.height - 1), kFace) << "every pixel painted";
    EXPECT_EQ(picture.at(95, 74), kBlack) << "B is checked: its dot";
    EXPECT_EQ(picture.at(95, 45), kWhite) << "A is not: a white well";
    int ink = 0;  // the Okay caption's
    for (int y = 245; y < 260; ++y)
        for (int x = 100; x < 160; ++x) ink += picture.at(x, y) == kBlack;
    EXPECT_GT(ink, 10);
    EXPECT_EQ(picture.at(80, 250), kBlack) << "Okay is the default: the heavier frame";
    EXPECT_EQ(picture.at(240, 250), kWhite) << "Cancel has the plain raised edge";

    SetFocus(cancelButton);
    picture = paint(host);
    EXPECT_EQ(picture.at(240, 250), kBlack) << "the focused push button is the default one";
    EXPECT_NE(picture.at(80, 250), kBlack);

    AddItems(2);
    SendMessageA(combo, CB_SETCURSEL, 0, 0);
    ClickOn(combo);
    picture = paint(host);
    EXPECT_EQ(picture.at(305, 135 + listRowY(0)), kHighlight) << "the open list marks the selection";
    EXPECT_EQ(picture.at(305, 135 + listRowY(1)), kWhite);
}

}  // namespace
