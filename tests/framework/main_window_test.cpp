#include "framework/main_window.h"

#include <gtest/gtest.h>

#include "app/app_state.h"
#include "platform/sim/sim.h"
#include "platform/sim/sim_user.h"
#include "tests/support/scratch_dir.h"

namespace {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        sim::Reset();
        sim::CaptureDebugOutput(true);
        g_app.quit = false;
    }
    void TearDown() override {
        g_app.quit = false;
        sim::Reset();
    }
    HRESULT open(bool fullScreen, int width = 640, int height = 480) {
        return fwOpenWindow(fullScreen, "Fontloom", width, height, MainWindowProc, &window);
    }
    ScratchDir scratch;
    HWND window = nullptr;
};

RECT windowRect(HWND window) {
    RECT rect{};
    EXPECT_TRUE(GetWindowRect(window, &rect));
    return rect;
}

SIZE clientSize(HWND window) {
    RECT rect{};
    EXPECT_TRUE(GetClientRect(window, &rect));
    return SIZE{rect.right, rect.bottom};
}

TEST_F(MainWindowTest, WindowedTheClientAreaIs640x480CentredWithACloseBoxAndNoSizing) {
    ASSERT_EQ(open(false), S_OK);
    ASSERT_NE(window, nullptr);
    SIZE client = clientSize(window);
    EXPECT_EQ(client.cx, 640);
    EXPECT_EQ(client.cy, 480);
    RECT outer = windowRect(window);  // the worked example: 646 x 506 at 317, 259
    EXPECT_EQ(outer.left, 317);
    EXPECT_EQ(outer.top, 259);
    EXPECT_EQ(outer.right - outer.left, 646);
    EXPECT_EQ(outer.bottom - outer.top, 506);
    EXPECT_TRUE(IsWindowVisible(window));
    const DWORD style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
    EXPECT_TRUE(style & WS_SYSMENU) << "close box";
    EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_POPUP));
    char title[32];
    GetWindowTextA(window, title, sizeof title);
    EXPECT_STREQ(title, "Fontloom");
    EXPECT_EQ(sim::CursorDisplayCount(), 0) << "the cursor stays";
    EXPECT_EQ(sim::CallCount("ShowWindow"), 1);
    EXPECT_EQ(sim::CallCount("MoveWindow"), 1);
    EXPECT_EQ(ReadFileBytes("log.txt"), "");
    fwCloseWindow(&window);
    EXPECT_EQ(window, nullptr);
}

TEST_F(MainWindowTest, OnAScreenSmallerThanTheWindowItOverhangsBothEdgesEqually) {
    sim::SetScreenSize(600, 400);
    ASSERT_EQ(open(false), S_OK);
    RECT outer = windowRect(window);
    EXPECT_EQ(outer.left, -23);
    EXPECT_EQ(outer.top, -53);
    EXPECT_EQ(-outer.left, outer.right - 600) << "same overhang left and right";
    EXPECT_EQ(-outer.top, outer.bottom - 400) << "same overhang top and bottom";
    SIZE client = clientSize(window);
    EXPECT_EQ(client.cx, 640);
    EXPECT_EQ(client.cy, 480);
    fwCloseWindow(&window);

    sim::SetScreenSize(601, 506);  // an odd overhang rounds down; an exact fit sits at the edge
    ASSERT_EQ(open(false), S_OK);
    outer = windowRect(window);
    EXPECT_EQ(outer.left, -23);
    EXPECT_EQ(outer.top, 0);
    fwCloseWindow(&window);
}

TEST_F(MainWindowTest, FullScreenCoversTheScreenAtTheOriginWhateverSizeWasAskedAndHidesTheCursor) {
    ASSERT_EQ(open(true, 800, 600), S_OK);
    RECT outer = windowRect(window);
    EXPECT_EQ(outer.left, 0);
    EXPECT_EQ(outer.top, 0);
    EXPECT_EQ(outer.right, 1280);
    EXPECT_EQ(outer.bottom, 1024);
    SIZE client = clientSize(window);
    EXPECT_EQ(client.cx, 1280) << "no caption, no border";
    EXPECT_EQ(client.cy, 1024);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)), static_cast<DWORD>(WS_POPUP | WS_VISIBLE));
    EXPECT_LT(sim::CursorDisplayCount(), 0) << "hidden";
    EXPECT_EQ(sim::CallCount("ShowCursor"), 1);
    EXPECT_EQ(sim::CallCount("ShowWindow"), 1) << "WS_VISIBLE shows it without a ShowWindow call of the program";
    EXPECT_EQ(sim::CallCount("MoveWindow"), 0) << "nothing to fit";
    fwCloseWindow(&window);

    sim::Reset();
    sim::SetScreenSize(1024, 768);
    ASSERT_EQ(open(true), S_OK);
    outer = windowRect(window);
    EXPECT_EQ(outer.right, 1024);
    EXPECT_EQ(outer.bottom, 768);
    fwCloseWindow(&window);
}

TEST_F(MainWindowTest, EscapeAClickAndACloseRequestSetTheQuitFlagAndTheWindowStays) {
    ASSERT_EQ(open(false), S_OK);
    sim::PressKey(VK_ESCAPE);
    fwPumpMessages();
    EXPECT_TRUE(g_app.quit);
    EXPECT_TRUE(IsWindow(window));

    g_app.quit = false;
    sim::Click(320, 240);
    fwPumpMessages();
    EXPECT_TRUE(g_app.quit);
    EXPECT_TRUE(IsWindow(window));

    g_app.quit = false;
    sim::RequestClose();  // the close box
    fwPumpMessages();
    EXPECT_TRUE(g_app.quit);
    EXPECT_TRUE(IsWindow(window)) << "only fwCloseWindow destroys it";

    g_app.quit = false;
    EXPECT_EQ(SendMessageA(window, WM_CLOSE, 0, 0), 0);
    EXPECT_TRUE(g_app.quit);
    g_app.quit = false;
    EXPECT_EQ(MainWindowProc(window, WM_KEYDOWN, VK_ESCAPE, 1), 0);
    EXPECT_TRUE(g_app.quit);
    g_app.quit = false;
    EXPECT_EQ(MainWindowProc(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1)), 0);
    EXPECT_TRUE(g_app.quit);
    EXPECT_TRUE(IsWindow(window));
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) << "no WM_QUIT was posted";
    fwCloseWindow(&window);
}

TEST_F(MainWindowTest, AnyOtherKeySetsNothingAndDoesNotReachTheDefaultProcedure) {
    ASSERT_EQ(open(false), S_OK);
    for (int key : {int('A'), VK_RETURN, VK_SPACE, VK_LEFT, VK_F1, VK_TAB}) {
        const int before = sim::CallCount("DefWindowProcA");
        EXPECT_EQ(MainWindowProc(window, WM_KEYDOWN, key, 1), 0);
        EXPECT_EQ(sim::CallCount("DefWindowProcA"), before) << key;
        sim::PressKey(key);
        fwPumpMessages();
        EXPECT_FALSE(g_app.quit) << key;
    }
    const int before = sim::CallCount("DefWindowProcA");
    EXPECT_EQ(MainWindowProc(window, WM_KEYUP, 'A', 0), 0);
    EXPECT_EQ(sim::CallCount("DefWindowProcA"), before + 1) << "other messages do reach it";
    EXPECT_TRUE(IsWindow(window));
    fwCloseWindow(&window);
}

TEST_F(MainWindowTest, ClosingWithoutAWindowStillUnregistersAndWithoutAClassLogsIt) {
    ASSERT_EQ(fwRegisterWindowClass(MainWindowProc), S_OK);
    fwCloseWindow(&window);
    EXPECT_EQ(window, nullptr);
    EXPECT_EQ(sim::CallCount("DestroyWindow"), 0);
    EXPECT_EQ(sim::CallCount("UnregisterClassA"), 1);
    EXPECT_EQ(ReadFileBytes("log.txt"), "");
    EXPECT_EQ(fwRegisterWindowClass(MainWindowProc), S_OK) << "the class was unregistered";

    fwCloseWindow(&window);
    fwCloseWindow(&window);  // now there is no class
    EXPECT_EQ(ReadFileBytes("log.txt"), "Error unregistering window class\r\n");
    EXPECT_EQ(sim::TakeDebugOutput(), "Error unregistering window class\n");
}

TEST_F(MainWindowTest, AFailingDestroyIsLoggedAndTheUnregistrationThenFailsToo) {
    ASSERT_EQ(open(false), S_OK);
    HWND kept = window;
    sim::FailCall("DestroyWindow");
    fwCloseWindow(&window);
    EXPECT_EQ(window, nullptr) << "null even after a failed destroy";
    EXPECT_EQ(ReadFileBytes("log.txt"), "Destroy Window Failed\r\nError unregistering window class\r\n");
    EXPECT_TRUE(IsWindow(kept));
    EXPECT_TRUE(DestroyWindow(kept));
    EXPECT_TRUE(UnregisterClassA("FW Class", GetModuleHandleA(nullptr)));
}

TEST_F(MainWindowTest, OpenFailuresLogAndLeaveNothingBehind) {
    sim::FailCall("RegisterClassA");
    EXPECT_EQ(open(false), E_FAIL);
    EXPECT_EQ(window, nullptr);
    EXPECT_EQ(sim::CallCount("CreateWindowExA"), 0);
    EXPECT_EQ(ReadFileBytes("log.txt"), "Error registering window class\r\n");

    WriteFileBytes("log.txt", "");
    sim::FailCall("CreateWindowExA");
    EXPECT_EQ(open(true), E_FAIL);
    EXPECT_EQ(window, nullptr);
    EXPECT_EQ(ReadFileBytes("log.txt"), "Error opening window\r\n");
    EXPECT_EQ(sim::CursorDisplayCount(), 0) << "no window, no hidden cursor";
    EXPECT_EQ(fwRegisterWindowClass(MainWindowProc), S_OK) << "the class was taken back";
}

TEST_F(MainWindowTest, ClosingDispatchesWhatIsLeftAndPumpingNeverWaits) {
    fwPumpMessages();  // an empty queue: returns at once (headless, waiting would end the run)
    ASSERT_EQ(open(false), S_OK);
    sim::PressKey('A');
    PostMessageA(nullptr, WM_USER, 0, 0);
    fwCloseWindow(&window);
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) << "the queue was drained";
    EXPECT_EQ(ReadFileBytes("log.txt"), "");
}

}  // namespace
