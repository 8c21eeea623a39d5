#include <windows.h>

#include "tests/platform/user/window_recorder.h"

namespace {

SIZE clientSize(HWND window) {
    RECT rect{-1, -1, -1, -1};
    EXPECT_TRUE(GetClientRect(window, &rect));
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    return SIZE{rect.right, rect.bottom};
}

RECT windowRect(HWND window) {
    RECT rect{};
    EXPECT_TRUE(GetWindowRect(window, &rect));
    return rect;
}

TEST_F(UserTest, MovingToTheFittedSizeGivesTheAskedClientAreaAndTellsTheWindow) {
    HWND window = CreateRecorder(WS_OVERLAPPED | WS_SYSMENU, 0, 0, 640, 480);
    ReceivedMessages().clear();
    EXPECT_TRUE(MoveWindow(window, 317, 259, 646, 506, TRUE));
    SIZE size = clientSize(window);
    EXPECT_EQ(size.cx, 640);
    EXPECT_EQ(size.cy, 480);
    RECT outer = windowRect(window);
    EXPECT_EQ(outer.left, 317);
    EXPECT_EQ(outer.top, 259);
    EXPECT_EQ(outer.right, 963);
    EXPECT_EQ(outer.bottom, 765);
    auto moves = ReceivedOf(window, WM_MOVE);
    auto sizes = ReceivedOf(window, WM_SIZE);
    ASSERT_EQ(moves.size(), 1u);
    ASSERT_EQ(sizes.size(), 1u);
    EXPECT_EQ(sizes[0].lParam, MAKELPARAM(640, 480));
    ReceivedMessages().clear();
    EXPECT_TRUE(MoveWindow(window, 317, 259, 646, 506, FALSE));
    EXPECT_TRUE(ReceivedMessages().empty()) << "nothing changed, nothing said";

    EXPECT_TRUE(MoveWindow(window, -3, -13, 646, 506, TRUE));
    outer = windowRect(window);
    EXPECT_EQ(outer.left, -3) << "off-screen positions are kept as they are";
    EXPECT_EQ(outer.top, -13);
    EXPECT_TRUE(MoveWindow(window, 0, 0, 2, 2, TRUE));
    size = clientSize(window);
    EXPECT_EQ(size.cx, 0) << "a window smaller than its frame has an empty client area";
    EXPECT_EQ(size.cy, 0);
    EXPECT_EQ(sim::CallCount("MoveWindow"), 4);
}

TEST_F(UserTest, ScreenMetricsComeFromTheSimAndTheCursorCountsItsShowsAndHides) {
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1280);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 1024);
    sim::SetScreenSize(640, 400);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 640);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 400);
    std::string error;
    ASSERT_TRUE(sim::RunScript("screen 800 600", &error)) << error;
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 800);
    EXPECT_FALSE(sim::RunScript("screen 800", &error));
    EXPECT_FALSE(sim::RunScript("screen 0 600", &error));
    EXPECT_FALSE(sim::RunScript("screen wide tall", &error));
    EXPECT_NE(error.find("screen"), std::string::npos);

    EXPECT_EQ(sim::CursorDisplayCount(), 0);
    EXPECT_EQ(ShowCursor(FALSE), -1);
    EXPECT_EQ(ShowCursor(FALSE), -2);
    EXPECT_EQ(ShowCursor(TRUE), -1);
    EXPECT_EQ(sim::CursorDisplayCount(), -1);
    EXPECT_EQ(sim::CallCount("ShowCursor"), 3);
    sim::Reset();
    EXPECT_EQ(sim::CursorDisplayCount(), 0);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1280);
}

TEST_F(UserTest, RectangleHelpersIncludeTheTopLeftEdgeOnly) {
    RECT rect;
    EXPECT_TRUE(SetRect(&rect, 0, 30, 640, 480));
    EXPECT_EQ(rect.top, 30);
    EXPECT_EQ(rect.right, 640);
    EXPECT_TRUE(PtInRect(&rect, POINT{0, 30}));
    EXPECT_FALSE(PtInRect(&rect, POINT{640, 30}));
    EXPECT_FALSE(PtInRect(&rect, POINT{0, 480}));
    EXPECT_FALSE(PtInRect(nullptr, POINT{0, 0}));
    EXPECT_TRUE(OffsetRect(&rect, -10, 5));
    EXPECT_EQ(rect.left, -10);
    EXPECT_EQ(rect.bottom, 485);
    EXPECT_TRUE(SetRectEmpty(&rect));
    EXPECT_EQ(rect.right, 0);
    EXPECT_FALSE(SetRect(nullptr, 0, 0, 1, 1));
}

}  // namespace
