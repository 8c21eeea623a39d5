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

TEST_F(UserTest, TheFrameFollowsTheStyles) {
    struct Case {
        DWORD style, exStyle;
        LONG clientWidth, clientHeight;
    } cases[] = {
        {WS_OVERLAPPED | WS_SYSMENU, 0, 634, 454},              // caption 20, fixed border 3
        {WS_OVERLAPPED, 0, 634, 454},                           // overlapped always has both
        {WS_VISIBLE | WS_CAPTION, WS_EX_DLGMODALFRAME, 634, 454},  // caption and dialog frame
        {WS_OVERLAPPEDWINDOW, 0, 632, 452},                     // sizing border 4
        {WS_POPUP, 0, 640, 480},                                // none at all
        {WS_POPUP | WS_VISIBLE, 0, 640, 480},
        {WS_POPUP | WS_BORDER, 0, 638, 478},
        {WS_POPUP, WS_EX_DLGMODALFRAME, 634, 474},              // a dialog frame, no caption
        {WS_POPUP | WS_CAPTION, 0, 634, 454},
    };
    for (const Case& c : cases) {
        HWND window = CreateRecorder(c.style, 0, 0, 640, 480, nullptr, 0, c.exStyle);
        ASSERT_NE(window, nullptr);
        SIZE size = clientSize(window);
        EXPECT_EQ(size.cx, c.clientWidth) << std::hex << c.style << " " << c.exStyle;
        EXPECT_EQ(size.cy, c.clientHeight) << std::hex << c.style << " " << c.exStyle;
        RECT outer = windowRect(window);
        EXPECT_EQ(outer.right - outer.left, 640);
        EXPECT_EQ(outer.bottom - outer.top, 480);

        RECT adjusted{0, 0, size.cx, size.cy};
        EXPECT_TRUE(AdjustWindowRectEx(&adjusted, c.style, FALSE, c.exStyle));
        EXPECT_EQ(adjusted.right - adjusted.left, 640) << "AdjustWindowRectEx undoes the frame";
        EXPECT_EQ(adjusted.bottom - adjusted.top, 480);
        DestroyWindow(window);
    }
    EXPECT_EQ(GetSystemMetrics(SM_CYCAPTION), 20);
    EXPECT_EQ(GetSystemMetrics(SM_CXFIXEDFRAME), 3);
    EXPECT_EQ(GetSystemMetrics(SM_CYDLGFRAME), 3);
    EXPECT_EQ(GetSystemMetrics(SM_CXSIZEFRAME), 4);
    EXPECT_EQ(GetSystemMetrics(SM_CXBORDER), 1);
    EXPECT_EQ(GetSystemMetrics(12345), 0);
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

TEST_F(UserTest, ChildRectanglesAreInTheParentsClientAreaAndOnScreenFromGetWindowRect) {
    HWND parent = CreateRecorder(WS_VISIBLE | WS_CAPTION, 430, 362, 420, 300, nullptr, 0, WS_EX_DLGMODALFRAME);
    HWND child = CreateRecorder(WS_CHILD | WS_VISIBLE, 80, 240, 100, 25, parent, 1);
    HWND bordered = CreateRecorder(WS_CHILD | WS_BORDER, 10, 10, 50, 20, parent, 2);
    RECT rect = windowRect(child);
    EXPECT_EQ(rect.left, 430 + 3 + 80);
    EXPECT_EQ(rect.top, 362 + 23 + 240);
    EXPECT_EQ(rect.right - rect.left, 100);
    SIZE size = clientSize(child);
    EXPECT_EQ(size.cx, 100);
    EXPECT_EQ(size.cy, 25);
    size = clientSize(bordered);
    EXPECT_EQ(size.cx, 48);
    EXPECT_EQ(size.cy, 18);
    MoveWindow(parent, 0, 0, 420, 300, TRUE);
    rect = windowRect(child);
    EXPECT_EQ(rect.left, 83) << "children move with their parent";
    EXPECT_EQ(rect.top, 263);
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
