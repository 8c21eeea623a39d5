#include "framework/main_window.h"

#include <gtest/gtest.h>

#include "app/app_state.h"
#include "platform/sim/sim.h"
#include "platform/sim/sim_user.h"

namespace {

// Windowed: a 640 x 480 client area centred, rounding down, overhanging both edges alike when the screen is small.
TEST(MainWindowTest, WindowedCentresA640x480ClientAndFullScreenCoversTheScreenAndHidesTheCursor) {
    struct Case {
        bool fullScreen;
        int screenWidth, screenHeight;
        std::vector<long> geometry;  // outer left, top, right, bottom; client width, height
        DWORD style;
    } cases[] = {
        {false, 1280, 1024, {317, 259, 317 + 646, 259 + 506, 640, 480}, WS_OVERLAPPED | WS_SYSMENU | WS_VISIBLE},
        {false, 601, 401, {-23, -53, 623, 453, 640, 480}, WS_OVERLAPPED | WS_SYSMENU | WS_VISIBLE},  // odd: down
        {false, 600, 400, {-23, -53, 623, 453, 640, 480}, WS_OVERLAPPED | WS_SYSMENU | WS_VISIBLE},  // even
        {true, 1024, 768, {0, 0, 1024, 768, 1024, 768}, WS_POPUP | WS_VISIBLE},  // whatever size was asked
    };
    HWND window = nullptr;
    for (const Case& c : cases) {
        sim::Reset();
        sim::SetScreenSize(c.screenWidth, c.screenHeight);
        const int asked = c.fullScreen ? 800 : 640;
        ASSERT_EQ(fwOpenWindow(c.fullScreen, "Fontloom", asked, asked * 3 / 4, MainWindowProc, &window), S_OK);
        RECT outer{}, client{};
        GetWindowRect(window, &outer);
        GetClientRect(window, &client);
        EXPECT_EQ((std::vector<long>{outer.left, outer.top, outer.right, outer.bottom, client.right, client.bottom}),
                  c.geometry) << c.screenWidth;
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)), c.style);
        EXPECT_EQ(sim::CursorDisplayCount(), c.fullScreen ? -1 : 0);
        const HANDLE arrow = LoadCursorA(nullptr, IDC_ARROW), black = GetStockObject(BLACK_BRUSH);
        EXPECT_EQ(GetClassLongPtrA(window, GCLP_HCURSOR), reinterpret_cast<ULONG_PTR>(arrow));
        EXPECT_EQ(GetClassLongPtrA(window, GCLP_HBRBACKGROUND), reinterpret_cast<ULONG_PTR>(black));
        fwCloseWindow(&window);
    }
    // Fitting does not depend on where the window stands.
    sim::SetScreenSize(1280, 1024);
    ASSERT_EQ(fwRegisterWindowClass(MainWindowProc), S_OK);
    window = CreateWindowExA(0, "FW Class", "", WS_OVERLAPPED | WS_SYSMENU, 10, 20, 640, 480, nullptr, nullptr,
                             nullptr, nullptr);
    fwFitClientArea(window);
    RECT outer{};
    GetWindowRect(window, &outer);
    EXPECT_EQ((std::vector<long>{outer.left, outer.top, outer.right, outer.bottom}), (std::vector<long>{317, 259, 963, 765}));
    fwCloseWindow(&window);
}

}  // namespace
