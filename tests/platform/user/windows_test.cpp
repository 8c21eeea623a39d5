#include <windows.h>

#include "tests/platform/user/window_recorder.h"

namespace {

TEST_F(UserTest, CreationSendsNcCreateCreateThenShowsAndAProcedureMayRefuseEitherStep) {
    HWND window = CreateRecorder(WS_VISIBLE | WS_CAPTION, 10, 20, 420, 300);
    ASSERT_GE(g_received.size(), 3u);
    EXPECT_EQ(g_received[0].message, static_cast<UINT>(WM_NCCREATE));
    EXPECT_EQ(g_received[1].message, static_cast<UINT>(WM_CREATE));
    EXPECT_EQ(g_received[2].message, static_cast<UINT>(WM_SHOWWINDOW)) << "WS_VISIBLE takes effect after WM_CREATE";
    EXPECT_EQ(g_received[2].lParam, 0) << "shown by ShowWindow";
    EXPECT_EQ(GetActiveWindow(), window) << "a visible top-level window is activated";
    EXPECT_EQ(GetWindowLongA(window, GWL_ID), 0) << "no menu, no id";

    g_answers[WM_NCCREATE] = FALSE;
    EXPECT_EQ(CreateRecorder(WS_POPUP, 0, 0, 10, 10), nullptr);
    g_answers[WM_CREATE] = -1;
    EXPECT_EQ(CreateRecorder(WS_POPUP | WS_VISIBLE, 0, 0, 10, 10), nullptr);
    HWND attempt = g_received.back().window;
    EXPECT_FALSE(IsWindow(attempt));
    EXPECT_EQ(ReceivedOf(attempt, WM_DESTROY).size(), 1u) << "a window refused in WM_CREATE is destroyed";
}

TEST_F(UserTest, ChildrenNeedAParentAndDieWithItDestroyParentFirstNcDestroyChildrenFirst) {
    HWND parent = CreateRecorder(WS_POPUP | WS_VISIBLE, 0, 0, 300, 200);
    HWND first = CreateRecorder(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, parent, IDOK);
    HWND grandchild = CreateRecorder(WS_CHILD | WS_VISIBLE, 0, 0, 5, 5, first, 3);
    HWND second = CreateRecorder(WS_CHILD | WS_VISIBLE, 20, 0, 10, 10, parent, IDCANCEL);
    EXPECT_EQ(GetDlgItem(parent, IDCANCEL), second);
    EXPECT_EQ(GetWindow(first, GW_HWNDNEXT), second) << "siblings in creation order";
    EXPECT_EQ(GetActiveWindow(), parent) << "children never become the active window";
    EXPECT_EQ(CreateRecorder(WS_CHILD, 0, 0, 10, 10, nullptr, 1), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_TLW_WITH_WSCHILD));
    g_received.clear();
    ASSERT_TRUE(DestroyWindow(parent));
    std::vector<std::pair<HWND, UINT>> order, expected = {
        {parent, WM_DESTROY},  {first, WM_DESTROY},  {grandchild, WM_DESTROY}, {grandchild, WM_NCDESTROY},
        {first, WM_NCDESTROY}, {second, WM_DESTROY}, {second, WM_NCDESTROY},   {parent, WM_NCDESTROY}};
    for (const Received& r : g_received)
        if (r.message == WM_DESTROY || r.message == WM_NCDESTROY) order.push_back({r.window, r.message});
    EXPECT_EQ(order, expected);
    EXPECT_NE(CreateRecorder(WS_POPUP, 0, 0, 10, 10), parent) << "handles are not handed out again";
    for (HWND gone : {parent, first, grandchild, second, HWND(nullptr), reinterpret_cast<HWND>(&order)}) {
        RECT rect{};
        SetLastError(0);
        EXPECT_FALSE(IsWindow(gone) || DestroyWindow(gone) || GetWindowRect(gone, &rect) || SetFocus(gone));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    }
}

TEST_F(UserTest, TheFocusActivatesItsTopLevelWindowAndADisabledWindowLosesIt) {
    HWND window = CreateRecorder(WS_OVERLAPPED | WS_VISIBLE, 0, 0, 100, 100);
    HWND child = CreateRecorder(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, window, 1);
    HWND other = CreateRecorder(WS_POPUP | WS_VISIBLE, 0, 0, 10, 10);
    ASSERT_EQ(GetActiveWindow(), other);
    EXPECT_EQ(SetFocus(child), other);
    EXPECT_EQ(GetActiveWindow(), window);
    EXPECT_EQ(ReceivedOf(other, WM_KILLFOCUS).size(), 1u);
    EXPECT_EQ(ReceivedOf(child, WM_SETFOCUS).size(), 1u);
    EXPECT_FALSE(EnableWindow(child, FALSE)) << "was enabled";
    EXPECT_EQ(GetFocus(), nullptr);
    SetFocus(other);
    EXPECT_TRUE(DestroyWindow(other));
    EXPECT_EQ(GetActiveWindow(), window) << "the newest visible window left takes over";
}

}  // namespace
