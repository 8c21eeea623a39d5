#include <SDL.h>
#include <windows.h>

#include "platform/backend/backend.h"
#include "platform/backend/sdl_backend.h"
#include "tests/platform/user/window_recorder.h"

namespace {

// Every queued message, taken off without dispatching.
std::vector<MSG> drainQueue() {
    std::vector<MSG> messages;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) messages.push_back(msg);
    return messages;
}

void pushSdlKey(SDL_Keycode key, bool down, Uint32 windowId) {
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.windowID = windowId;
    event.key.keysym.sym = key;
    ASSERT_EQ(SDL_PushEvent(&event), 1);
}

TEST_F(UserTest, SimKeysArriveAsKeyDownAndUpAtTheActiveWindowOrItsFocus) {
    HWND window = CreateRecorder(WS_OVERLAPPED | WS_SYSMENU | WS_VISIBLE, 0, 0, 640, 480);
    CreateRecorder(WS_POPUP, 0, 0, 10, 10);  // hidden: never active
    sim::PressKey(VK_ESCAPE);
    std::vector<MSG> messages = drainQueue();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].hwnd, window);
    EXPECT_EQ(messages[0].message, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_EQ(messages[0].wParam, static_cast<WPARAM>(VK_ESCAPE));
    EXPECT_EQ(messages[0].lParam & 0xFFFF, 1) << "repeat count";
    EXPECT_EQ(messages[1].message, static_cast<UINT>(WM_KEYUP));
    EXPECT_EQ(static_cast<uint32_t>(messages[1].lParam) >> 30, 3u) << "was down, is released";

    HWND child = CreateRecorder(WS_CHILD | WS_VISIBLE, 10, 10, 50, 20, window, 5);
    SetFocus(child);
    sim::PressKey('Q');
    messages = drainQueue();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].hwnd, child) << "keys go to the focus";
}

TEST_F(UserTest, InputScriptedBeforeAnyWindowGoesToTheWindowActiveWhenItIsRead) {
    std::string error;
    ASSERT_TRUE(sim::RunScript("key RETURN", &error)) << error;  // as main() runs it, before WinMain
    HWND window = CreateRecorder(WS_VISIBLE | WS_CAPTION, 0, 0, 420, 300, nullptr, 0, WS_EX_DLGMODALFRAME);
    MSG msg{};
    ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), TRUE) << "GetMessageA finds it without waiting";
    EXPECT_EQ(msg.hwnd, window);
    EXPECT_EQ(msg.wParam, static_cast<WPARAM>(VK_RETURN));
}

TEST_F(UserTest, RealSdlKeyEventsTranslateTheSameWayAndShiftMakesCapitals) {
    HWND window = CreateRecorder(WS_OVERLAPPED | WS_VISIBLE, 0, 0, 640, 480);
    Uint32 id = backend::sdl::SdlIdOf(window);
    ASSERT_NE(id, 0u);
    pushSdlKey(SDLK_LSHIFT, true, id);
    pushSdlKey(SDLK_a, true, id);
    pushSdlKey(SDLK_a, false, id);
    pushSdlKey(SDLK_LSHIFT, false, id);
    pushSdlKey(SDLK_b, true, id);
    pushSdlKey(SDLK_KP_ENTER, true, id);
    pushSdlKey(SDLK_F13, true, id);  // no virtual key of ours: dropped
    std::vector<WPARAM> characters;
    std::vector<WPARAM> keys;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        EXPECT_EQ(msg.hwnd, window);
        TranslateMessage(&msg);
        if (msg.message == WM_CHAR) characters.push_back(msg.wParam);
        if (msg.message == WM_KEYDOWN) keys.push_back(msg.wParam);
    }
    EXPECT_EQ(keys, (std::vector<WPARAM>{VK_SHIFT, 'A', 'B', VK_RETURN}));
    EXPECT_EQ(characters, (std::vector<WPARAM>{'A', 'b', '\r'}));

    for (int key = 1; key < 256; ++key) {
        SDL_Keycode code = backend::sdl::KeycodeOf(key);
        if (code == SDLK_UNKNOWN) continue;
        EXPECT_EQ(backend::sdl::VirtualKeyOf(code), key) << "both ways for " << key;
    }
}

LRESULT CALLBACK TransparentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCHITTEST) return HTTRANSPARENT;  // like a group box
    return RecordingProc(window, message, wParam, lParam);
}

TEST_F(UserTest, ClicksGoToTheChildUnderThePointerInItsOwnCoordinatesAndTheUpFollowsTheDown) {
    WNDCLASSA groupClass{};
    groupClass.lpfnWndProc = TransparentProc;
    groupClass.lpszClassName = "SeeThrough";
    ASSERT_NE(RegisterClassA(&groupClass), 0);
    HWND window = CreateRecorder(WS_VISIBLE | WS_CAPTION, 100, 100, 420, 300, nullptr, 0, WS_EX_DLGMODALFRAME);
    ASSERT_NE(CreateWindowExA(0, "SeeThrough", "Group", WS_CHILD | WS_VISIBLE, 80, 20, 120, 70, window, nullptr,
                              nullptr, nullptr),
              nullptr);
    HWND radio = CreateRecorder(WS_CHILD | WS_VISIBLE, 90, 40, 100, 15, window, 3);
    CreateRecorder(WS_CHILD, 0, 0, 420, 300, window, 4);                         // hidden
    CreateRecorder(WS_CHILD | WS_VISIBLE | WS_DISABLED, 300, 200, 50, 50, window, 5);

    struct Case {
        int x, y;
        HWND target;
        int clientX, clientY;
    } cases[] = {
        {95, 47, radio, 5, 7},       // inside the radio, which lies inside the group box
        {85, 25, window, 85, 25},    // the group box alone lets the click through
        {310, 210, window, 310, 210},  // a disabled child takes no clicks
    };
    for (const Case& c : cases) {
        sim::Click(c.x, c.y);
        std::vector<MSG> messages = drainQueue();
        ASSERT_EQ(messages.size(), 2u);
        EXPECT_EQ(messages[0].hwnd, c.target) << c.x << "," << c.y;
        EXPECT_EQ(messages[0].message, static_cast<UINT>(WM_LBUTTONDOWN));
        EXPECT_EQ(GET_X_LPARAM(messages[0].lParam), c.clientX);
        EXPECT_EQ(GET_Y_LPARAM(messages[0].lParam), c.clientY);
        EXPECT_EQ(messages[1].hwnd, c.target);
    }

    // Pressed on the radio, released elsewhere: the release still goes to the radio.
    backend::InjectClick(95, 47, true);
    backend::InjectClick(300, 5, false);
    std::vector<MSG> messages = drainQueue();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1].hwnd, radio);
    EXPECT_EQ(messages[1].message, static_cast<UINT>(WM_LBUTTONUP));
    EXPECT_EQ(GET_Y_LPARAM(messages[1].lParam), 5 - 40) << "outside the radio: negative";
}

TEST_F(UserTest, HeldInputWaitsForItsFrameAndBadScriptsAreRefused) {
    HWND window = CreateRecorder(WS_OVERLAPPED | WS_VISIBLE, 0, 0, 640, 480);
    std::string error;
    ASSERT_TRUE(sim::RunScript("key VK_RETURN; key 0x41 after 1 frames; click 10 20 after 1; close after 3 frames", &error))
        << error;
    std::vector<MSG> messages = drainQueue();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].wParam, static_cast<WPARAM>(VK_RETURN));
    sim::detail::NotePresent();
    messages = drainQueue();
    ASSERT_EQ(messages.size(), 4u);
    EXPECT_EQ(messages[0].wParam, static_cast<WPARAM>('A'));
    EXPECT_EQ(messages[2].lParam, MAKELPARAM(10, 20));
    sim::detail::NotePresent();
    EXPECT_TRUE(drainQueue().empty()) << "three frames after the script, not yet";
    sim::detail::NotePresent();
    messages = drainQueue();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].message, static_cast<UINT>(WM_SYSCOMMAND));
    EXPECT_EQ(messages[0].wParam, static_cast<WPARAM>(SC_CLOSE));
    EXPECT_EQ(messages[0].hwnd, window);
    sim::detail::NotePresent();
    EXPECT_TRUE(drainQueue().empty()) << "delivered once";

    ASSERT_TRUE(sim::RunScript("key 7; key 27", &error)) << error;
    messages = drainQueue();
    ASSERT_EQ(messages.size(), 4u);
    EXPECT_EQ(messages[0].wParam, static_cast<WPARAM>('7')) << "one character is that key";
    EXPECT_EQ(messages[2].wParam, static_cast<WPARAM>(VK_ESCAPE)) << "longer numbers are key codes";
    for (const char* bad : {"key", "key VK_NOSUCH", "key 00", "key 300", "key ?", "key A after", "key A after two",
                            "key A before 2", "click 10", "click x y", "close now", "focus away", "focus"}) {
        EXPECT_FALSE(sim::RunScript(bad, &error)) << bad;
        EXPECT_FALSE(error.empty()) << bad;
    }
    sim::PressKey(VK_ESCAPE, 1);
    sim::Reset();
    sim::detail::NotePresent();
    EXPECT_TRUE(drainQueue().empty()) << "a reset forgets held input";
}

TEST_F(UserTest, FocusLossDeactivatesAndFocusReturnActivatesAgain) {
    HWND window = CreateRecorder(WS_POPUP | WS_VISIBLE, 0, 0, 1280, 1024);
    HWND child = CreateRecorder(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, window, 1);
    EXPECT_TRUE(backend::HasFocus(child)) << "a child is asked about its top-level window";
    sim::SetFocusLost(true);
    drainQueue();
    EXPECT_FALSE(backend::HasFocus(window));
    EXPECT_EQ(GetFocus(), nullptr);
    auto activations = ReceivedOf(window, WM_ACTIVATE);
    ASSERT_FALSE(activations.empty());
    EXPECT_EQ(LOWORD(activations.back().wParam), WA_INACTIVE);

    sim::SetFocusLost(false, 1);
    drainQueue();
    EXPECT_FALSE(backend::HasFocus(window));
    sim::detail::NotePresent();
    drainQueue();
    EXPECT_TRUE(backend::HasFocus(window));
    EXPECT_EQ(GetFocus(), window);
    EXPECT_FALSE(backend::HasFocus(reinterpret_cast<HWND>(0x777)));
}

}  // namespace
