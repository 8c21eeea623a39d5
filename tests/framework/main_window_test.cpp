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
    // Outer left, top, right, bottom and client width, height of the open window.
    std::vector<long> geometry() {
        RECT outer{}, client{};
        EXPECT_TRUE(GetWindowRect(window, &outer));
        EXPECT_TRUE(GetClientRect(window, &client));
        return {outer.left, outer.top, outer.right, outer.bottom, client.right, client.bottom};
    }
    ScratchDir scratch;
    HWND window = nullptr;
};

TEST_F(MainWindowTest, WindowedKeepsA640x480ClientCentredEvenWhenItOverhangsTheScreen) {
    struct Case {
        int screenWidth, screenHeight;
        std::vector<long> geometry;
    };
    const Case cases[] = {
        {1280, 1024, {317, 259, 317 + 646, 259 + 506, 640, 480}},  // the worked example
        {600, 400, {-23, -53, 623, 453, 640, 480}},                 // same overhang on both edges
        {601, 506, {-23, 0, 623, 506, 640, 480}},                   // odd overhang rounds down; exact fit
    };
    for (const Case& c : cases) {
        sim::SetScreenSize(c.screenWidth, c.screenHeight);
        ASSERT_EQ(open(false), S_OK);
        EXPECT_EQ(geometry(), c.geometry) << c.screenWidth;
        EXPECT_TRUE(IsWindowVisible(window));
        const DWORD style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
        EXPECT_TRUE(style & WS_SYSMENU) << "close box";
        EXPECT_FALSE(style & (WS_THICKFRAME | WS_MAXIMIZEBOX | WS_POPUP));
        EXPECT_EQ(sim::CursorDisplayCount(), 0) << "the cursor stays";
        fwCloseWindow(&window);
        EXPECT_EQ(window, nullptr);
    }
    EXPECT_EQ(ReadFileBytes("log.txt"), "");
}

TEST_F(MainWindowTest, FullScreenCoversTheScreenWhateverSizeWasAskedAndHidesTheCursor) {
    for (SIZE screen : {SIZE{1280, 1024}, SIZE{1024, 768}}) {
        sim::Reset();
        sim::SetScreenSize(screen.cx, screen.cy);
        ASSERT_EQ(open(true, 800, 600), S_OK);
        EXPECT_EQ(geometry(), (std::vector<long>{0, 0, screen.cx, screen.cy, screen.cx, screen.cy}));
        EXPECT_TRUE(IsWindowVisible(window));
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)), static_cast<DWORD>(WS_POPUP | WS_VISIBLE));
        EXPECT_LT(sim::CursorDisplayCount(), 0) << "hidden";
        fwCloseWindow(&window);
    }
}

TEST_F(MainWindowTest, EscapeAClickAndTheCloseBoxSetTheQuitFlagAndTheWindowStays) {
    ASSERT_EQ(open(false), S_OK);
    for (void (*input)() : {+[] { sim::PressKey(VK_ESCAPE); }, +[] { sim::Click(320, 240); }, +[] { sim::RequestClose(); }}) {
        g_app.quit = false;
        input();
        fwPumpMessages();
        EXPECT_TRUE(g_app.quit);
        EXPECT_TRUE(IsWindow(window)) << "only fwCloseWindow destroys it";
    }
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
    fwCloseWindow(&window);
}

TEST_F(MainWindowTest, ClosingWithoutAWindowStillUnregistersAndWithoutAClassLogsIt) {
    ASSERT_EQ(fwRegisterWindowClass(MainWindowProc), S_OK);
    fwCloseWindow(&window);
    EXPECT_EQ(sim::CallCount("DestroyWindow"), 0);
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
}

}  // namespace
