#include <windows.h>

#include "tests/platform/user/window_recorder.h"

namespace {

// Frames, rectangles and moves: tests/probe, against Wine.
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
