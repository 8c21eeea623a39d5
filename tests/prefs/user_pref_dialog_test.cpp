// The preferences window with what needs the sim: the adapters Direct3D lists and failing calls.
// Keys and clicks in the window, where it stands and what Okay and Cancel store are compared with
// the Windows build under Wine in tests/probe.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "platform/sim/sim.h"
#include "platform/sim/sim_gfx.h"
#include "platform/sim/sim_user.h"
#include "platform/user/window_table.h"
#include "prefs/user_pref_dialog.h"
#include "tests/support/reviewed_picture.h"
#include "tests/support/scratch_dir.h"

namespace {

// The window's control `index` in creation order (7: the adapter list, 9: Cancel).
HWND controlOf(HWND window, int index) {
    HWND control = GetWindow(window, GW_CHILD);
    while (index-- > 0) control = GetWindow(control, GW_HWNDNEXT);
    return control;
}

// The window's client area as the platform paints it, as 0xRRGGBB.
struct Picture {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
    uint32_t at(int x, int y) const { return pixels[size_t(y) * width + x] & 0xFFFFFF; }
    std::vector<uint32_t> opaque() const {  // X8R8G8B8 leaves alpha 0: the window is opaque all the same
        std::vector<uint32_t> argb(pixels);
        for (uint32_t& pixel : argb) pixel |= 0xFF000000u;
        return argb;
    }
};

Picture paint(HWND window) {
    Picture picture;
    RECT client;
    GetClientRect(window, &client);
    picture.width = client.right, picture.height = client.bottom;
    picture.pixels.assign(size_t(picture.width) * picture.height, 0x12345678);
    user::GetPaintHook()(window, picture.pixels.data(), picture.width, picture.height, picture.width * 4);
    return picture;
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

// Ten adapters, of which the list holds nine (as the program's window does).
void listTenAdapters() {
    std::vector<sim::Adapter> ten;
    for (int i = 0; i < 10; ++i) ten.push_back({"Card " + std::to_string(i), "\\\\.\\DISPLAY" + std::to_string(i + 1)});
    sim::SetAdapters(ten);
}

// As shown: the defaults checked, Okay framed as the default button until Cancel has the focus,
// the open list marking the selection; every pixel painted, as in the pictures reviewed by eye
// (tests/prefs/reviewed/). The controls' font goes with the sim's reset.
TEST(PrefsTest, TenAdaptersListNineAndThePaintedWindowShowsTheChoices) {
    listTenAdapters();
    {
        UserPrefDialog dialog(nullptr);  // no title: the caption alone
        ASSERT_TRUE(dialog.EnumerateAdapters());
        ASSERT_TRUE(dialog.CreatePrefWindow());
        HWND window = user::ActiveWindow(), list = controlOf(window, 7);
        char text[64] = "";
        GetWindowTextA(window, text, sizeof text);
        EXPECT_STREQ(text, "User Preferences");
        EXPECT_EQ(SendMessageA(list, CB_GETCOUNT, 0, 0), 9);
        SendMessageA(list, CB_GETLBTEXT, 8, reinterpret_cast<LPARAM>(text));
        EXPECT_STREQ(text, "Card 8 (\\\\.\\DISPLAY9)");

        const uint32_t kFace = 0xD4D0C8, kBlack = 0, kWhite = 0xFFFFFF, kHighlight = 0x0A246A;
        Picture picture = paint(window);
        ASSERT_EQ(picture.width, 414);
        EXPECT_TRUE(LooksAsReviewed("tests/prefs/reviewed/prefs_window.png", picture.opaque().data(), picture.width,
                                    picture.height));
        EXPECT_EQ(picture.at(picture.width - 1, picture.height - 1), kFace) << "every pixel painted";
        EXPECT_EQ(picture.at(95, 74), kBlack) << "Windowed is checked: its dot";
        EXPECT_EQ(picture.at(95, 45), kWhite) << "Full Screen is not: a white well";
        int ink = 0;  // the Okay caption's
        for (int y = 245; y < 260; ++y)
            for (int x = 100; x < 160; ++x) ink += picture.at(x, y) == kBlack;
        EXPECT_GT(ink, 10);
        EXPECT_EQ(picture.at(80, 250), kBlack) << "Okay is the default: the heavier frame";
        EXPECT_EQ(picture.at(240, 250), kWhite) << "Cancel has the plain raised edge";
        SetFocus(controlOf(window, 9));
        picture = paint(window);
        EXPECT_EQ(picture.at(240, 250), kBlack) << "the focused push button is the default one";
        EXPECT_NE(picture.at(80, 250), kBlack);
        SendMessageA(list, CB_SHOWDROPDOWN, TRUE, 0);
        picture = paint(window);
        EXPECT_TRUE(LooksAsReviewed("tests/prefs/reviewed/prefs_window_list_open.png", picture.opaque().data(),
                                    picture.width, picture.height));
        EXPECT_EQ(picture.at(305, 135 + 21 + 1 + 6), kHighlight) << "the open list marks the selection";
        EXPECT_EQ(picture.at(305, 135 + 21 + 1 + 13 + 6), kWhite);
        SendMessageA(list, CB_SHOWDROPDOWN, FALSE, 0);
        sim::PressKey(VK_ESCAPE);
        pumpUntilGone(window);
        UnregisterClassA("fwUserPrefWndClass", GetModuleHandleA(nullptr));
    }
    sim::Reset();
    EXPECT_EQ(sim::CallCount("ID3DXFont:free"), 1);
}

TEST(PrefsTest, RunStoresTheChosenAdapterAndNoAdaptersGiveMinusOne) {
    listTenAdapters();
    {
        for (int key : {VK_TAB, VK_TAB, VK_TAB, VK_TAB, VK_TAB, VK_END, VK_RETURN}) sim::PressKey(key);  // the last

        UserPrefDialog dialog("Fontloom");
        EXPECT_TRUE(dialog.Run());
        EXPECT_EQ(dialog.GetAdapter(), 8);
        EXPECT_FALSE(UnregisterClassA("fwUserPrefWndClass", GetModuleHandleA(nullptr))) << "Run unregistered its class";
    }
    sim::SetAdapters({});
    for (bool direct3d : {true, false}) {  // no adapters, or no Direct3D to ask
        if (!direct3d) sim::FailCall("Direct3DCreate9");
        sim::Click(90, 250);  // Okay
        UserPrefDialog dialog("Fontloom");
        EXPECT_TRUE(dialog.Run());
        EXPECT_EQ(dialog.GetAdapter(), -1) << direct3d;
    }
}

}  // namespace
