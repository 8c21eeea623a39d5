// The controls in a window laid out like the preferences window: what the probe cannot ask of
// the preferences window (a group of three, bad arguments) and how they are painted. Keys and
// clicks in the preferences window itself are compared with Wine's answers in tests/probe.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "platform/sim/sim.h"
#include "platform/sim/sim_user.h"
#include "platform/user/controls.h"
#include "platform/user/window_table.h"

namespace {

// Client y of the middle of the open list's row `row` (the list starts under the 21 px field).
int listRowY(int row) { return 21 + 1 + row * 13 + 6; }

class ControlsTest : public ::testing::Test {
protected:
    // Group box, radios A (WS_GROUP) and B, group box, radios C (WS_GROUP), D and E, a combo box
    // 60 px high, push buttons Okay (BS_DEFPUSHBUTTON) and Cancel; B and C checked.
    void SetUp() override {
        sim::Reset();
        WNDCLASSA hostClass{};
        hostClass.lpfnWndProc = DefWindowProcA;
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
    bool Checked(HWND radio) { return SendMessageA(radio, BM_GETCHECK, 0, 0) == BST_CHECKED; }

    HWND host = nullptr, groupOne = nullptr, radioA = nullptr, radioB = nullptr, groupTwo = nullptr;
    HWND radioC = nullptr, radioD = nullptr, radioE = nullptr, combo = nullptr, okButton = nullptr, cancelButton = nullptr;
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
    EXPECT_TRUE(Checked(radioB)) << "the other group is left alone";
}

TEST_F(ControlsTest, DialogMessagesForOtherWindowsOrBadArgumentsAreNotTaken) {
    HWND other = CreateWindowExA(0, "ControlsHost", "Other", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    MSG msg{other, WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
    EXPECT_FALSE(IsDialogMessageA(host, &msg));
    EXPECT_FALSE(IsDialogMessageA(host, nullptr));
    msg.hwnd = radioA;
    EXPECT_FALSE(IsDialogMessageA(nullptr, &msg));
    EXPECT_FALSE(IsDialogMessageA(reinterpret_cast<HWND>(0x1234), &msg));
    EXPECT_EQ(SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("One")), 0);
    EXPECT_EQ(SendMessageA(combo, CB_ADDSTRING, 0, 0), CB_ERR) << "no text";
    EXPECT_EQ(SendMessageA(combo, CB_GETLBTEXT, 0, 0), CB_ERR) << "no buffer";
    DestroyWindow(host);
    EXPECT_FALSE(IsDialogMessageA(host, &msg)) << "a destroyed dialog";
    EXPECT_EQ(SendMessageA(radioA, BM_GETCHECK, 0, 0), 0) << "its controls went with it";
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

    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("One"));
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Two"));
    SendMessageA(combo, CB_SETCURSEL, 0, 0);
    SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
    picture = paint(host);
    EXPECT_EQ(picture.at(305, 135 + listRowY(0)), kHighlight) << "the open list marks the selection";
    EXPECT_EQ(picture.at(305, 135 + listRowY(1)), kWhite);
}

}  // namespace
