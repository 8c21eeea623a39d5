// The preferences window played as a user would: keys and clicks queued before Run, which
// takes them as they come.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "platform/sim/sim.h"
#include "platform/sim/sim_gfx.h"
#include "platform/sim/sim_user.h"
#include "platform/user/window_table.h"
#include "prefs/user_pref_dialog.h"
#include "tests/support/scratch_dir.h"

namespace {

// Client coordinates inside the controls of the window.
const POINT kFullScreen{95, 47}, kWindowed{95, 75}, kHal{235, 47}, kReference{235, 75};
const POINT kAdapterField{60, 145}, kOkay{90, 250}, kCancel{250, 250};
const int kListTop = 135 + 21 + 1;  // the open list under the adapter field, 13 px rows
POINT listRow(int row) { return POINT{70, kListTop + row * 13 + 6}; }
const POINT kListScrollDown{55 + 296, 135 + 58};

void click(POINT point) { sim::Click(point.x, point.y); }

void threeAdapters() {
    sim::SetAdapters({{"First card", "\\\\.\\DISPLAY1"}, {"Second card", "\\\\.\\DISPLAY2"}, {"Third card", "\\\\.\\DISPLAY3"}});
}

// The window's adapter list (its eighth control), found in the window table.
HWND adapterListOf(HWND window) {
    for (int i = 0, n = 0; i < user::WindowCount(); ++i)
        if (user::WindowAt(i).parent == window && n++ == 7) return user::WindowAt(i).handle;
    return nullptr;
}

std::string comboText(HWND combo, int index) {
    char text[600] = "";
    if (SendMessageA(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text)) == CB_ERR) return "<none>";
    return text;
}

// Takes what is queued the way Run does, until the window has gone.
void pumpUntilGone(HWND window) {
    MSG msg;
    for (int guard = 0; guard < 1000 && IsWindow(window) && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++guard)
        if (!IsDialogMessageA(window, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
}

class PrefsTest : public ::testing::Test {
protected:
    void SetUp() override {
        sim::Reset();
        threeAdapters();
    }
    // The choices are class-wide: put the defaults back the way a user would, for the next test.
    void TearDown() override {
        sim::Reset();
        threeAdapters();
        click(kWindowed);
        click(kHal);
        click(kAdapterField);
        click(listRow(0));
        click(kOkay);
        UserPrefDialog dialog("Fontloom");
        EXPECT_TRUE(dialog.Run());
        EXPECT_FALSE(dialog.IsFullScreen());
        EXPECT_EQ(dialog.GetAdapter(), 0);
        sim::Reset();
    }
    ScratchDir scratch;  // log.txt lands here
};

TEST_F(PrefsTest, OkayWithTheDefaultsGivesWindowedHalAndTheFirstAdapter) {
    click(POINT{340, 250});  // the first pixel right of Cancel (240 + 100): nothing
    click(kOkay);
    UserPrefDialog dialog("Fontloom");
    EXPECT_TRUE(dialog.Run());
    EXPECT_FALSE(dialog.IsFullScreen());
    EXPECT_EQ(dialog.GetDeviceType(), D3DDEVTYPE_HAL);
    EXPECT_EQ(dialog.GetAdapter(), 0);
    EXPECT_EQ(user::ActiveWindow(), nullptr) << "the window is gone";
    EXPECT_TRUE(UnregisterClassA("fwUserPrefWndClass", GetModuleHandleA(nullptr)) == FALSE)
        << "Run unregistered its class";
}

TEST_F(PrefsTest, FullScreenReferenceAndTheThirdAdapterChosenWithTheMouse) {
    click(kFullScreen);
    click(kReference);
    click(kAdapterField);
    click(kListScrollDown);  // two rows fit: the third needs a scroll
    click(listRow(1));
    click(kOkay);
    UserPrefDialog dialog("Fontloom");
    EXPECT_TRUE(dialog.Run());
    EXPECT_TRUE(dialog.IsFullScreen());
    EXPECT_EQ(dialog.GetDeviceType(), D3DDEVTYPE_REF);
    EXPECT_EQ(dialog.GetAdapter(), 2);
}

TEST_F(PrefsTest, CancelKeepsTheChoices) {
    click(kFullScreen);
    click(kCancel);
    UserPrefDialog dialog("Fontloom");
    EXPECT_FALSE(dialog.Run());
    EXPECT_FALSE(dialog.IsFullScreen()) << "a cancelled choice is not stored";
}

TEST_F(PrefsTest, TenAdaptersListNineAndNoAdaptersGiveAnEmptyListAndMinusOne) {
    std::vector<sim::Adapter> ten;
    for (int i = 0; i < 10; ++i) ten.push_back({"Card " + std::to_string(i), "\\\\.\\DISPLAY" + std::to_string(i + 1)});
    sim::SetAdapters(ten);
    {
        UserPrefDialog dialog("Fontloom");
        ASSERT_TRUE(dialog.EnumerateAdapters());
        ASSERT_TRUE(dialog.CreatePrefWindow());
        HWND window = user::ActiveWindow();
        RECT frame;
        GetWindowRect(window, &frame);
        EXPECT_EQ(frame.left, (1280 - 420) / 2) << "420 wide, centred";
        EXPECT_EQ(frame.bottom, (1024 + 300) / 2) << "300 high, centred";
        HWND list = adapterListOf(window);
        EXPECT_EQ(SendMessageA(list, CB_GETCOUNT, 0, 0), 9);
        EXPECT_EQ(comboText(list, 8), "Card 8 (\\\\.\\DISPLAY9)");
        sim::PressKey(VK_ESCAPE);
        pumpUntilGone(window);
        UnregisterClassA("fwUserPrefWndClass", GetModuleHandleA(nullptr));
    }
    {
        for (int key : {VK_TAB, VK_TAB, VK_TAB, VK_TAB, VK_TAB, VK_END, VK_RETURN}) sim::PressKey(key);  // the last

        UserPrefDialog dialog("Fontloom");
        EXPECT_TRUE(dialog.Run());
        EXPECT_EQ(dialog.GetAdapter(), 8);
    }
    sim::SetAdapters({});
    {
        UserPrefDialog dialog(nullptr);
        ASSERT_TRUE(dialog.EnumerateAdapters());
        ASSERT_TRUE(dialog.CreatePrefWindow());
        HWND window = user::ActiveWindow();
        char caption[64] = "";
        GetWindowTextA(window, caption, sizeof caption);
        EXPECT_STREQ(caption, "User Preferences") << "no title";
        HWND list = adapterListOf(window);
        EXPECT_EQ(SendMessageA(list, CB_GETCOUNT, 0, 0), 0);
        EXPECT_EQ(SendMessageA(list, CB_GETCURSEL, 0, 0), CB_ERR);
        sim::PressKey(VK_ESCAPE);
        pumpUntilGone(window);
        UnregisterClassA("fwUserPrefWndClass", GetModuleHandleA(nullptr));
    }
    for (bool direct3d : {true, false}) {  // no adapters, or no Direct3D to ask
        if (!direct3d) sim::FailCall("Direct3DCreate9");
        click(kOkay);
        UserPrefDialog dialog("Fontloom");
        EXPECT_TRUE(dialog.Run());
        EXPECT_EQ(dialog.GetAdapter(), -1) << direct3d;
    }
}

TEST_F(PrefsTest, FailingClassRegistrationOrWindowCreationReturnsFalseWithoutWaiting) {
    sim::FailCall("RegisterClassExA");
    UserPrefDialog dialog("Fontloom");
    EXPECT_FALSE(dialog.Run());
    EXPECT_NE(ReadFileBytes("log.txt").find("Error registering window class"), std::string::npos)
        << ReadFileBytes("log.txt");

    sim::FailCall("CreateWindowExA");
    EXPECT_FALSE(dialog.Run()) << "no window: no wait for a WM_QUIT that never comes";
    EXPECT_FALSE(UnregisterClassA("fwUserPrefWndClass", GetModuleHandleA(nullptr))) << "already unregistered";
    click(kOkay);
    EXPECT_TRUE(dialog.Run()) << "and the next time works";
}

}  // namespace
