// What tests/probe cannot ask of Wine: the focus and activation (which X moves on its own time
// there), records and handles that are not valid at all, handles never handed out twice, the
// keys held with another, and the headless end of waiting. Creation, destruction, classes and
// their errors, the queue and the default procedure are compared with Wine's answers there.
#include <windows.h>
#include <mmsystem.h>

#include <string>
#include <utility>

#include "tests/platform/user/window_recorder.h"
#include "tests/support/reviewed_picture.h"

namespace {

TEST_F(UserTest, TheFocusActivatesItsTopLevelWindowAndADisabledWindowLosesIt) {
    HWND window = CreateRecorder(WS_OVERLAPPED | WS_VISIBLE, 0, 0, 100, 100);
    HWND child = CreateRecorder(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, window, 1);
    HWND other = CreateRecorder(WS_POPUP | WS_VISIBLE, 0, 0, 10, 10);
    ASSERT_EQ(GetActiveWindow(), other) << "a visible top-level window is activated";
    EXPECT_EQ(SetFocus(child), other);
    EXPECT_EQ(GetActiveWindow(), window) << "children never become the active window";
    EXPECT_EQ(CountReceived(other, WM_KILLFOCUS), 1);
    EXPECT_EQ(CountReceived(child, WM_SETFOCUS), 1);
    EXPECT_FALSE(EnableWindow(child, FALSE)) << "was enabled";
    EXPECT_EQ(GetFocus(), nullptr);
    SetFocus(other);
    EXPECT_TRUE(DestroyWindow(other));
    EXPECT_EQ(GetActiveWindow(), window) << "the newest visible window left takes over";
    SetLastError(0);
    EXPECT_EQ(SetFocus(other), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    EXPECT_NE(CreateRecorder(WS_POPUP, 0, 0, 10, 10), other) << "handles are not handed out again";
}

TEST_F(UserTest, RecordsWithoutAProcedureOrANameAndMissingRecordsAreRefused) {
    WNDCLASSEXA noProc{}, noName{};
    noProc.cbSize = noName.cbSize = sizeof(WNDCLASSEXA);
    noProc.lpszClassName = "No Procedure";
    noName.lpfnWndProc = RecordingProc;
    for (WNDCLASSEXA* bad : {&noProc, &noName}) EXPECT_EQ(RegisterClassExA(bad), 0);
    EXPECT_EQ(RegisterClassA(nullptr) + RegisterClassExA(nullptr), 0);
    EXPECT_EQ(DispatchMessageA(nullptr), 0);
    for (HWND bad : {HWND(nullptr), reinterpret_cast<HWND>(0x1234)}) EXPECT_FALSE(IsWindow(bad) || SetFocus(bad));
}

// Which character a key makes with Shift or Control held.
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

// The stock application icon the program's classes name, as reviewed by eye; no other is stock.
TEST_F(UserTest, TheStockApplicationIconLooksAsReviewed) {
    const uint32_t* icon = user::IconPixels(LoadIconA(nullptr, IDI_APPLICATION));
    ASSERT_NE(icon, nullptr);
    EXPECT_TRUE(LooksAsReviewed("tests/platform/user/reviewed/application_icon.png", icon, user::kIconSize, user::kIconSize));
}

// The script's numbers are decimal, or hex after 0x, as platform/README.md says: a leading zero
// does not make octal.
TEST_F(UserTest, ScriptNumbersAreDecimalOrHex) {
    std::string error;
    for (const auto& [word, milliseconds] : {std::pair<const char*, DWORD>{"010", 10}, {"0x10", 16}, {"09", 9}}) {
        ASSERT_TRUE(sim::RunScript(std::string("clock ") + word, &error)) << error;
        EXPECT_EQ(timeGetTime(), milliseconds) << word;
    }
    for (const char* word : {"1e3", "0x", "+5"}) EXPECT_FALSE(sim::RunScript(std::string("clock ") + word, &error)) << word;
    EXPECT_FALSE(sim::RunScript("key A after 99999999999999999999 frames", &error)) << "too large for any count";
}

TEST_F(UserTest, HeadlessWaitingOnAnEmptyQueueEndsTheRunWithAClearMessage) {
    ::testing::FLAGS_gtest_death_test_style = "threadsafe";
    MSG msg;
    EXPECT_EXIT(GetMessageA(&msg, nullptr, 0, 0), ::testing::ExitedWithCode(3),
                "GetMessageA: headless and the message queue is empty");
}

}  // namespace
