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
        int held, character;  // held: VK_SHIFT, VK_CONTROL or 0; character 0: none
    } cases[] = {{'A', 0, 'a'}, {'A', VK_SHIFT, 'A'}, {'1', VK_SHIFT, '!'}, {' ', VK_SHIFT, ' '}, {'C', VK_CONTROL, 0}, {0x7FFF, 0, 0}};
    for (const auto& c : cases) {
        user::NoteKeyState(VK_SHIFT, c.held == VK_SHIFT);
        user::NoteKeyState(VK_CONTROL, c.held == VK_CONTROL);
        MSG key{window, WM_KEYDOWN, c.key, 1, 0, {0, 0}}, msg{};
        EXPECT_TRUE(TranslateMessage(&key));
        EXPECT_EQ(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) ? int(msg.wParam) : 0, c.character) << "key " << c.key;
    }
}

TEST_F(UserTest, HeadlessWaitingOnAnEmptyQueueEndsTheRunWithAClearMessage) {
    ::testing::FLAGS_gtest_death_test_style = "threadsafe";
    MSG msg;
    EXPECT_EXIT(GetMessageA(&msg, nullptr, 0, 0), ::testing::ExitedWithCode(3),
                "GetMessageA: headless and the message queue is empty");
}

}  // namespace
