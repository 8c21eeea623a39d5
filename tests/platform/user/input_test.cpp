#include <windows.h>

#include "platform/backend/backend.h"
#include "tests/platform/user/window_recorder.h"

namespace {

// Every queued message, taken off without dispatching.
std::vector<MSG> drainQueue() {
    std::vector<MSG> messages;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) messages.push_back(msg);
    return messages;
}

TEST_F(UserTest, ScriptedInputWaitsForItsFrameAndGoesToTheActiveWindowOrItsFocus) {
    std::string error;
    ASSERT_TRUE(sim::RunScript("key RETURN; key 0x41 after 1 frames; click 10 20 after 1; close after 2 frames; key 7; click 5 5",
                               &error)) << error;  // as main() runs it, before any window
    HWND window = CreateRecorder(WS_OVERLAPPED | WS_SYSMENU | WS_VISIBLE, 0, 0, 640, 480);
    CreateRecorder(WS_POPUP, 0, 0, 10, 10);  // hidden: never active
    using Messages = std::vector<std::pair<UINT, WPARAM>>;
    const Messages frames[] = {
        {{WM_KEYDOWN, VK_RETURN}, {WM_KEYUP, VK_RETURN}, {WM_KEYDOWN, '7'}, {WM_KEYUP, '7'},  // "7": that key
         {WM_LBUTTONDOWN, MK_LBUTTON}, {WM_LBUTTONUP, 0}},
        {{WM_KEYDOWN, 'A'}, {WM_KEYUP, 'A'}, {WM_LBUTTONDOWN, MK_LBUTTON}, {WM_LBUTTONUP, 0}},
        {{WM_SYSCOMMAND, SC_CLOSE}},  // once
        {}};
    for (const Messages& frame : frames) {
        Messages got;
        for (const MSG& m : drainQueue()) {
            got.push_back({m.message, m.wParam});
            EXPECT_EQ(m.hwnd, window);
        }
        EXPECT_EQ(got, frame);
        sim::detail::NotePresent();
    }
    HWND child = CreateRecorder(WS_CHILD | WS_VISIBLE, 10, 10, 50, 20, window, 5);
    SetFocus(child);
    sim::PressKey(VK_ESCAPE);
    EXPECT_EQ(drainQueue().at(0).hwnd, child) << "keys go to the focus";
    sim::PressKey(VK_ESCAPE, 1);
    sim::Reset();
    sim::detail::NotePresent();
    EXPECT_TRUE(drainQueue().empty()) << "a reset forgets held input";
    for (const char* bad : {"key", "key VK_NOSUCH", "key 00", "key 300", "key A after", "key A after two",
                            "key A before 2", "click 10", "click x y", "close now", "focus away", "clock soon",
                            "explode now", "fail Present times", "present", "coop SOMETIMES", "adapters lots",
                            "screen 640", "fail CreateWindowExA class \"FW Class; counts x"}) {
        EXPECT_FALSE(sim::RunScript(bad, &error)) << bad;
        EXPECT_FALSE(error.empty()) << bad;
    }
}

TEST_F(UserTest, FocusLossDeactivatesAndFocusReturnActivatesAgain) {
    HWND window = CreateRecorder(WS_POPUP | WS_VISIBLE, 0, 0, 1280, 1024);
    std::string error;
    ASSERT_TRUE(sim::RunScript("focus lost; focus gained after 1 frames", &error)) << error;
    drainQueue();
    EXPECT_FALSE(backend::HasFocus(window));
    EXPECT_EQ(GetFocus(), nullptr);
    ASSERT_FALSE(ReceivedOf(window, WM_ACTIVATE).empty());
    EXPECT_EQ(LOWORD(ReceivedOf(window, WM_ACTIVATE).back().wParam), WA_INACTIVE);
    sim::detail::NotePresent();
    drainQueue();
    EXPECT_TRUE(backend::HasFocus(window));
    EXPECT_EQ(GetFocus(), window);
}

}  // namespace
