#include <windows.h>

#include "tests/platform/user/window_recorder.h"

namespace {

TEST_F(UserTest, FiltersTakeTheirMessagesInOrderAndQuitComesLastAndOnce) {
    HWND one = CreateRecorder(WS_POPUP, 0, 0, 10, 10);
    HWND two = CreateRecorder(WS_POPUP, 0, 0, 10, 10);
    HWND child = CreateRecorder(WS_CHILD, 0, 0, 5, 5, one, 1);
    PostQuitMessage(7);
    const HWND targets[] = {one, two, child, nullptr};
    for (UINT i : {3, 0, 1, 2}) EXPECT_TRUE(PostMessageA(targets[i], WM_USER + i, i, 0));
    struct Take {
        HWND filter;
        UINT low, high, flags, message;
    } takes[] = {
        {nullptr, 0, WM_USER + 2, PM_NOREMOVE, WM_USER},  // only looks
        {two, 0, 0, PM_REMOVE, WM_USER + 1},
        {reinterpret_cast<HWND>(-1), 0, 0, PM_REMOVE, WM_USER + 3},  // thread messages alone
        {nullptr, WM_USER, WM_USER, PM_REMOVE, WM_USER},
        {one, 0, 0, PM_REMOVE, WM_USER + 2},  // a window's filter takes its children's too
        {nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE, WM_QUIT},
    };
    MSG msg{};
    for (const Take& t : takes) {
        ASSERT_TRUE(PeekMessageA(&msg, t.filter, t.low, t.high, t.flags)) << t.message;
        EXPECT_EQ(msg.message, t.message);
    }
    EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), FALSE);
    EXPECT_EQ(msg.wParam, 7u);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) << "taken once";
    EXPECT_EQ(GetMessageA(&msg, reinterpret_cast<HWND>(0x4321), 0, 0), -1) << "a bad filter window";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(UserTest, TranslateMakesCharactersAheadOfWhatWaitsAndTheDefaultProcedureKeepsTheText) {
    HWND window = CreateRecorder(WS_OVERLAPPED | WS_SYSMENU | WS_VISIBLE, 0, 0, 640, 480);
    struct Case {
        WPARAM key;
        bool shift, control;
        int character;  // 0: none
    } cases[] = {{'A', 0, 0, 'a'}, {'A', 1, 0, 'A'}, {'1', 1, 0, '!'}, {VK_RETURN, 0, 0, '\r'}, {VK_LEFT, 0, 0, 0},
                 {'C', 0, 1, 0}};
    for (const Case& c : cases) {
        if (&c != cases) user::NoteKeyState(VK_SHIFT, c.shift);  // the first: no key is down after a reset
        if (&c != cases) user::NoteKeyState(VK_CONTROL, c.control);
        PostMessageA(window, WM_USER, 0, 0);
        MSG key{window, WM_KEYDOWN, c.key, 1, 0, {0, 0}}, msg{};
        EXPECT_TRUE(TranslateMessage(&key));
        ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
        EXPECT_EQ(msg.message, static_cast<UINT>(c.character ? WM_CHAR : WM_USER)) << "key " << c.key;
        EXPECT_EQ(msg.wParam, static_cast<WPARAM>(c.character)) << "key " << c.key;
        if (c.character) {
            EXPECT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) && msg.message == WM_USER) << "then what waited";
        }
        EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    }
    // Nonzero for every key message, translated or not; zero for any other (none is made).
    MSG up{window, WM_KEYUP, 'A', 0, 0, {0, 0}}, other{window, WM_USER, 'A', 0, 0, {0, 0}}, msg{};
    EXPECT_TRUE(TranslateMessage(&up));
    EXPECT_FALSE(TranslateMessage(&other) || PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    PostMessageA(window, WM_KEYDOWN, 0x7FFFFFFF, 0);  // a made-up key is taken without harm
    MSG madeUp{};
    EXPECT_TRUE(PeekMessageA(&madeUp, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(DefWindowProcA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Other")), TRUE);
    char text[8];
    EXPECT_EQ(GetWindowTextA(window, text, 5), 4) << "cut to the buffer, NUL included";
    EXPECT_STREQ(text, "Othe");
    EXPECT_EQ(DefWindowProcA(window, WM_SYSCOMMAND, SC_CLOSE, 0), 0);
    EXPECT_EQ(ReceivedOf(window, WM_CLOSE).size(), 1u) << "SC_CLOSE asks the window with WM_CLOSE";
    EXPECT_FALSE(IsWindow(window)) << "and the default for WM_CLOSE destroys";
}

TEST_F(UserTest, HeadlessWaitingOnAnEmptyQueueEndsTheRunWithAClearMessage) {
    ::testing::FLAGS_gtest_death_test_style = "threadsafe";
    MSG msg;
    EXPECT_EXIT(GetMessageA(&msg, nullptr, 0, 0), ::testing::ExitedWithCode(3),
                "GetMessageA: headless and the message queue is empty");
}

}  // namespace
