#include <windows.h>

#include "tests/platform/user/window_recorder.h"

namespace {

TEST_F(UserTest, PostedMessagesComeBackInOrderWithFiltersAndNoRemove) {
    HWND one = CreateRecorder(WS_POPUP, 0, 0, 10, 10);
    HWND two = CreateRecorder(WS_POPUP, 0, 0, 10, 10);
    HWND child = CreateRecorder(WS_CHILD, 0, 0, 5, 5, one, 1);
    EXPECT_TRUE(PostMessageA(one, WM_USER + 1, 11, 12));
    EXPECT_TRUE(PostMessageA(two, WM_USER + 2, 21, 22));
    EXPECT_TRUE(PostMessageA(child, WM_USER + 3, 31, 32));
    EXPECT_TRUE(PostMessageA(nullptr, WM_USER + 4, 41, 42));  // a thread message

    MSG msg{};
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 1));
    EXPECT_TRUE(PeekMessageA(&msg, two, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 21u);
    EXPECT_EQ(msg.lParam, 22);
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_USER + 3, WM_USER + 4, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, child);
    EXPECT_TRUE(PeekMessageA(&msg, one, 0, 0, PM_REMOVE)) << "a window's filter takes its children too";
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 1));
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 4));
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_FALSE(PeekMessageA(nullptr, nullptr, 0, 0, PM_REMOVE));
    EXPECT_TRUE(ReceivedOf(one, WM_USER + 1).empty()) << "peeking dispatches nothing";
}

TEST_F(UserTest, QuitComesAfterEverythingPostedAndEndsGetMessage) {
    HWND window = CreateRecorder(WS_POPUP, 0, 0, 10, 10);
    PostQuitMessage(7);
    PostMessageA(window, WM_USER, 0, 0);
    MSG msg{};
    EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), TRUE);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER));
    EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), FALSE);
    EXPECT_EQ(msg.wParam, 7u);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) << "taken once";
    SetLastError(0);
    EXPECT_EQ(GetMessageA(&msg, reinterpret_cast<HWND>(0x4321), 0, 0), -1) << "a bad filter window is an error";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(UserTest, SendAndDispatchReturnTheProceduresResult) {
    HWND window = CreateRecorder(WS_POPUP, 0, 0, 10, 10);
    AnswerNext(WM_USER, 1234);
    EXPECT_EQ(SendMessageA(window, WM_USER, 5, 6), 1234);
    EXPECT_EQ(ReceivedOf(window, WM_USER).size(), 1u) << "delivered before SendMessageA returned";
    MSG posted{window, WM_USER + 1, 0, 0, 0, {0, 0}};
    AnswerNext(WM_USER + 1, 99);
    EXPECT_EQ(DispatchMessageA(&posted), 99);
    MSG threadMessage{nullptr, WM_USER, 0, 0, 0, {0, 0}};
    EXPECT_EQ(DispatchMessageA(&threadMessage), 0);
    EXPECT_EQ(DispatchMessageA(nullptr), 0);
}

TEST_F(UserTest, TranslateMessageMakesCharactersForCharacterKeysOnly) {
    HWND window = CreateRecorder(WS_POPUP | WS_VISIBLE, 0, 0, 10, 10);
    PostMessageA(window, WM_USER, 0, 0);  // already waiting: the character comes before it
    struct Case {
        WPARAM key;
        bool shift;
        int character;  // -1: none
    } cases[] = {{'A', false, 'a'}, {'A', true, 'A'},         {'1', true, '!'},  {VK_RETURN, false, '\r'},
                 {VK_LEFT, false, -1}, {VK_SHIFT, true, -1}};
    for (const Case& c : cases) {
        user::NoteKeyState(VK_SHIFT, c.shift);
        MSG key{window, WM_KEYDOWN, c.key, 1, 0, {0, 0}};
        EXPECT_TRUE(TranslateMessage(&key));
        MSG msg{};
        ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
        if (c.character < 0) {
            EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER)) << "no character for key " << c.key;
            PostMessageA(window, WM_USER, 0, 0);
            continue;
        }
        EXPECT_EQ(msg.message, static_cast<UINT>(WM_CHAR)) << "key " << c.key;
        EXPECT_EQ(msg.wParam, static_cast<WPARAM>(c.character)) << "key " << c.key;
    }
    user::NoteKeyState(VK_SHIFT, false);
    MSG up{window, WM_KEYUP, 'A', 0, 0, {0, 0}};
    EXPECT_TRUE(TranslateMessage(&up));
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) << "a key-up makes no character";
}

TEST_F(UserTest, AFullQueueRefusesMorePostsAndADestroyedWindowsMessagesAreDropped) {
    HWND window = CreateRecorder(WS_POPUP, 0, 0, 10, 10);
    HWND other = CreateRecorder(WS_POPUP, 0, 0, 10, 10);
    int posted = 0;
    while (PostMessageA(window, WM_USER, 0, 0) && posted < 100000) ++posted;
    EXPECT_GE(posted, 1000);
    EXPECT_LT(posted, 100000) << "the queue has a limit";
    EXPECT_FALSE(PostMessageA(other, WM_USER, 0, 0));
    EXPECT_TRUE(DestroyWindow(window));
    EXPECT_TRUE(PostMessageA(other, WM_USER, 0, 0)) << "room again";
    MSG msg{};
    int left = 0;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        EXPECT_EQ(msg.hwnd, other);
        ++left;
    }
    EXPECT_EQ(left, 1);
}

TEST_F(UserTest, DefaultProcedureClosesOnSysCommandAndDestroysOnClose) {
    HWND window = CreateRecorder(WS_OVERLAPPED | WS_SYSMENU | WS_VISIBLE, 0, 0, 640, 480);
    EXPECT_EQ(DefWindowProcA(window, WM_NCHITTEST, 0, 0), HTCLIENT);
    EXPECT_EQ(DefWindowProcA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Other")), TRUE);
    EXPECT_EQ(DefWindowProcA(window, WM_GETTEXTLENGTH, 0, 0), 5);
    ReceivedMessages().clear();
    EXPECT_EQ(DefWindowProcA(window, WM_SYSCOMMAND, SC_CLOSE, 0), 0);
    std::vector<UINT> messages = MessagesOf(window);
    ASSERT_GE(messages.size(), 2u);
    EXPECT_EQ(messages[0], static_cast<UINT>(WM_CLOSE)) << "SC_CLOSE asks the window with WM_CLOSE";
    EXPECT_FALSE(IsWindow(window)) << "and the default for WM_CLOSE destroys";
}

TEST_F(UserTest, HeadlessWaitingOnAnEmptyQueueEndsTheRunWithAClearMessage) {
    ::testing::FLAGS_gtest_death_test_style = "threadsafe";
    EXPECT_EXIT(
        {
            MSG msg;
            GetMessageA(&msg, nullptr, 0, 0);
        },
        ::testing::ExitedWithCode(3), "GetMessageA: headless and the message queue is empty");
}

}  // namespace
