#include "tests/platform/controls/controls_fixture.h"

namespace {

using Ids = std::vector<int>;

TEST_F(ControlsTest, RadioButtonsCheckOneOfTheirGroupByClickOrSpace) {
    BuildDialog();
    EXPECT_FALSE(Checked(radioA));
    EXPECT_TRUE(Checked(radioB));
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
    EXPECT_EQ(CommandIds(), (Ids{11, 14, 12})) << "each check tells the parent";

    SendMessageA(radioA, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_TRUE(Checked(radioA));
    EXPECT_TRUE(Checked(radioB)) << "BM_SETCHECK sets only its own button";
}

TEST_F(ControlsTest, GroupBoxesLetClicksThroughAndNeverTakeTheFocus) {
    BuildDialog();
    EXPECT_EQ(SendMessageA(groupOne, WM_NCHITTEST, 0, 0), HTTRANSPARENT);
    SetFocus(radioC);
    ClickOn(groupOne, 3, 3);  // its caption, outside every radio
    EXPECT_EQ(GetFocus(), radioC);
    EXPECT_TRUE(HostCommands().empty());
    ClickOn(radioA, 20, 7);  // inside the box's rectangle too
    EXPECT_TRUE(Checked(radioA));
}

TEST_F(ControlsTest, PushButtonsSendTheirIdOnClickOrSpaceButNotWhenReleasedOutside) {
    BuildDialog();
    ClickOn(cancelButton);
    EXPECT_EQ(CommandIds(), (Ids{kCancelId}));
    EXPECT_EQ(GetFocus(), cancelButton);
    Key(VK_SPACE);
    EXPECT_EQ(CommandIds(), (Ids{kCancelId, kCancelId}));
    HostCommands().clear();
    // pressed on the button, let go elsewhere: the up goes to the button, outside its client area
    user::QueueMessage(okButton, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    user::QueueMessage(okButton, WM_LBUTTONUP, 0, MAKELPARAM(150, 5));
    Pump();
    EXPECT_TRUE(HostCommands().empty());
    EXPECT_EQ(GetFocus(), okButton);
    EXPECT_EQ(SendMessageA(okButton, BM_GETSTATE, 0, 0) & BST_PUSHED, 0) << "released";
}

TEST_F(ControlsTest, DialogMessagesForOtherWindowsOrBadArgumentsAreNotTaken) {
    BuildDialog();
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

}  // namespace
