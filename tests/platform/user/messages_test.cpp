#include <windows.h>

#include "tests/platform/user/window_recorder.h"

namespace {

// Which character a key makes with Shift or Control held: the probe cannot hold them under Wine
// without real keys. The rest of TranslateMessage, the queue and the default procedure are
// compared with Wine's answers in tests/probe.
TEST_F(UserTest, ShiftChangesTheCharacterAndControlMakesNone) {
    HWND window = CreateRecorder(WS_POPUP, 0, 0, 64, 48);
    const struct {
        WPARAM key;
        bool shift, control;
        int character;  // 0: none
    } cases[] = {{'A', 0, 0, 'a'}, {'A', 1, 0, 'A'}, {'1', 1, 0, '!'}, {' ', 1, 0, ' '}, {'C', 0, 1, 0}, {0x7FFF, 0, 0, 0}};
    for (const auto& c : cases) {
        user::NoteKeyState(VK_SHIFT, c.shift);
        user::NoteKeyState(VK_CONTROL, c.control);
        MSG key{window, WM_KEYDOWN, c.key, 1, 0, {0, 0}}, msg{};
        EXPECT_TRUE(TranslateMessage(&key));
        const bool made = PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);
        EXPECT_EQ(made ? static_cast<int>(msg.wParam) : 0, c.character) << "key " << c.key;
    }
}

TEST_F(UserTest, HeadlessWaitingOnAnEmptyQueueEndsTheRunWithAClearMessage) {
    ::testing::FLAGS_gtest_death_test_style = "threadsafe";
    MSG msg;
    EXPECT_EXIT(GetMessageA(&msg, nullptr, 0, 0), ::testing::ExitedWithCode(3),
                "GetMessageA: headless and the message queue is empty");
}

}  // namespace
