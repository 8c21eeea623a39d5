#include <windows.h>

#include "tests/platform/user/window_recorder.h"

namespace {

CREATESTRUCTA g_createCopy{};

LRESULT CALLBACK KeepCreateStruct(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) {
        g_createCopy = *reinterpret_cast<const CREATESTRUCTA*>(lParam);
        EXPECT_FALSE(IsWindowVisible(window)) << "WS_VISIBLE takes effect after WM_CREATE";
    }
    return RecordingProc(window, message, wParam, lParam);
}

TEST_F(UserTest, CreationSendsNcCreateThenCreateWithTheArgumentsAndShowsVisibleWindowsAfterwards) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = KeepCreateStruct;
    windowClass.lpszClassName = "KeepCreate";
    ASSERT_NE(RegisterClassA(&windowClass), 0);
    int parameter = 0;
    HWND window = CreateWindowExA(WS_EX_DLGMODALFRAME, "KeepCreate", "Fontloom", WS_VISIBLE | WS_CAPTION, 10, 20,
                                  420, 300, nullptr, nullptr, GetModuleHandleA(nullptr), &parameter);
    ASSERT_NE(window, nullptr);
    std::vector<UINT> messages = MessagesOf(window);
    ASSERT_GE(messages.size(), 3u);
    EXPECT_EQ(messages[0], static_cast<UINT>(WM_NCCREATE));
    EXPECT_EQ(messages[1], static_cast<UINT>(WM_CREATE));
    EXPECT_EQ(messages[2], static_cast<UINT>(WM_SHOWWINDOW));
    EXPECT_EQ(g_createCopy.lpCreateParams, &parameter);
    EXPECT_EQ(g_createCopy.cy, 300);
    EXPECT_EQ(g_createCopy.dwExStyle, static_cast<DWORD>(WS_EX_DLGMODALFRAME));
    EXPECT_EQ(GetActiveWindow(), window) << "a visible top-level window is activated";
    char text[32];
    EXPECT_EQ(GetWindowTextA(window, text, 4), 3) << "cut to the buffer, NUL included";
    EXPECT_STREQ(text, "Fon");

    HWND hidden = CreateRecorder(WS_OVERLAPPED | WS_SYSMENU, 0, 0, 640, 480);
    ASSERT_NE(hidden, nullptr);
    EXPECT_TRUE(ReceivedOf(hidden, WM_SHOWWINDOW).empty());
    EXPECT_EQ(GetActiveWindow(), window) << "a hidden window does not take the activation";
}

TEST_F(UserTest, AProcedureCanRefuseCreationAtEitherStep) {
    AnswerNext(WM_NCCREATE, FALSE);
    EXPECT_EQ(CreateRecorder(WS_POPUP, 0, 0, 10, 10), nullptr);
    AnswerNext(WM_CREATE, -1);
    sim::FailCall("DestroyWindow", -1);  // steers the program's calls, not the platform's own
    EXPECT_EQ(CreateRecorder(WS_POPUP | WS_VISIBLE, 0, 0, 10, 10), nullptr);
    ASSERT_FALSE(ReceivedMessages().empty());
    HWND attempt = ReceivedMessages().back().window;
    EXPECT_FALSE(IsWindow(attempt));
    EXPECT_EQ(ReceivedOf(attempt, WM_DESTROY).size(), 1u) << "a window refused in WM_CREATE is destroyed";
    EXPECT_EQ(sim::CallCount("ShowWindow"), 0);
    EXPECT_TRUE(UnregisterClassA("Recorder", nullptr)) << "no window of the class is left behind";
}

TEST_F(UserTest, ChildrenGetTheirParentAndIdAndNeedAParent) {
    HWND parent = CreateRecorder(WS_POPUP | WS_VISIBLE, 100, 100, 300, 200);
    HWND okay = CreateRecorder(WS_CHILD | WS_VISIBLE, 80, 240, 100, 25, parent, IDOK);
    HWND cancel = CreateRecorder(WS_CHILD | WS_VISIBLE, 240, 240, 100, 25, parent, IDCANCEL);
    EXPECT_EQ(GetParent(okay), parent);
    EXPECT_EQ(GetDlgItem(parent, IDCANCEL), cancel);
    EXPECT_EQ(GetDlgItem(parent, 99), nullptr);
    EXPECT_EQ(GetActiveWindow(), parent) << "children never become the active window";
    EXPECT_EQ(CreateRecorder(WS_CHILD, 0, 0, 10, 10, nullptr, 1), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_TLW_WITH_WSCHILD));
    EXPECT_EQ(CreateRecorder(WS_CHILD, 0, 0, 10, 10, reinterpret_cast<HWND>(0x1234), 1), nullptr);
}

TEST_F(UserTest, DestroyingSendsDestroyParentFirstAndNcDestroyChildrenFirstThenTheHandlesAreDead) {
    HWND parent = CreateRecorder(WS_POPUP | WS_VISIBLE, 0, 0, 300, 200);
    HWND first = CreateRecorder(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, parent, 1);
    HWND grandchild = CreateRecorder(WS_CHILD | WS_VISIBLE, 0, 0, 5, 5, first, 3);
    HWND second = CreateRecorder(WS_CHILD | WS_VISIBLE, 20, 0, 10, 10, parent, 2);
    HWND bystander = CreateRecorder(WS_POPUP, 0, 0, 10, 10);
    ReceivedMessages().clear();

    ASSERT_TRUE(DestroyWindow(parent));
    std::vector<std::pair<HWND, UINT>> order;
    for (const Received& r : ReceivedMessages())
        if (r.message == WM_DESTROY || r.message == WM_NCDESTROY) order.push_back({r.window, r.message});
    std::vector<std::pair<HWND, UINT>> expected = {
        {parent, WM_DESTROY},     {first, WM_DESTROY},  {grandchild, WM_DESTROY}, {grandchild, WM_NCDESTROY},
        {first, WM_NCDESTROY},    {second, WM_DESTROY}, {second, WM_NCDESTROY},   {parent, WM_NCDESTROY},
    };
    EXPECT_EQ(order, expected);
    for (HWND gone : {parent, first, grandchild, second}) {
        EXPECT_FALSE(IsWindow(gone));
        EXPECT_FALSE(DestroyWindow(gone)) << "a second destroy fails";
    }
    EXPECT_TRUE(IsWindow(bystander));
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_NE(CreateRecorder(WS_POPUP, 0, 0, 10, 10), parent) << "handles are not handed out again";
}

TEST_F(UserTest, AHandledCloseKeepsTheWindow) {
    HWND window = CreateRecorder(WS_POPUP | WS_VISIBLE, 0, 0, 300, 200);
    AnswerNext(WM_CLOSE, 0);
    EXPECT_EQ(SendMessageA(window, WM_CLOSE, 0, 0), 0);
    EXPECT_TRUE(IsWindow(window));
}

TEST_F(UserTest, MadeUpAndNullHandlesFailCleanly) {
    const HWND bogus[] = {nullptr, reinterpret_cast<HWND>(1), reinterpret_cast<HWND>(0xDEADBEEF),
                          reinterpret_cast<HWND>(~uintptr_t(0)), reinterpret_cast<HWND>(&g_createCopy)};
    for (HWND window : bogus) {
        RECT rect{1, 2, 3, 4};
        EXPECT_FALSE(DestroyWindow(window));
        EXPECT_FALSE(ShowWindow(window, SW_SHOW));
        EXPECT_FALSE(MoveWindow(window, 0, 0, 10, 10, TRUE));
        EXPECT_FALSE(GetWindowRect(window, &rect));
        EXPECT_EQ(rect.left, 1) << "left alone";
        EXPECT_EQ(SendMessageA(window, WM_CLOSE, 0, 0), 0);
        EXPECT_EQ(DefWindowProcA(window, WM_CLOSE, 0, 0), 0);
        EXPECT_EQ(GetWindowTextA(window, nullptr, 0), 0);
        if (window) {
            EXPECT_FALSE(PostMessageA(window, WM_USER, 0, 0));
            EXPECT_EQ(SetFocus(window), nullptr);
        }
        MSG msg{window, WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
        EXPECT_EQ(DispatchMessageA(&msg), 0);
    }
    EXPECT_FALSE(DestroyWindow(nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(UserTest, ShowHideAndDisableMoveTheActivationAndFocus) {
    HWND window = CreateRecorder(WS_OVERLAPPED, 0, 0, 100, 100);
    HWND child = CreateRecorder(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, window, 1);
    EXPECT_FALSE(ShowWindow(window, SW_SHOW));
    EXPECT_TRUE(ShowWindow(window, SW_SHOW)) << "reports the previous state";
    EXPECT_EQ(ReceivedOf(window, WM_SHOWWINDOW).size(), 1u) << "sent on a change only";
    ReceivedMessages().clear();
    EXPECT_EQ(SetFocus(child), window);
    ASSERT_EQ(ReceivedMessages().size(), 2u);
    EXPECT_EQ(ReceivedMessages()[0].message, static_cast<UINT>(WM_KILLFOCUS));
    EXPECT_EQ(ReceivedMessages()[1].window, child);
    EXPECT_FALSE(EnableWindow(child, FALSE)) << "was enabled";
    EXPECT_EQ(GetFocus(), nullptr) << "a disabled window gives up the focus";
    EXPECT_TRUE(EnableWindow(child, TRUE)) << "was disabled";
    EXPECT_TRUE(ShowWindow(window, SW_HIDE));
    EXPECT_EQ(GetActiveWindow(), nullptr);
}

}  // namespace
