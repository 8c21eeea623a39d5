#include "tests/platform/controls/controls_fixture.h"

namespace {

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) HostCommands().push_back(Command{LOWORD(wParam), HIWORD(wParam)});
    return DefWindowProcA(window, message, wParam, lParam);
}

const DWORD kGroupBox = WS_CHILD | WS_VISIBLE | WS_GROUP | BS_GROUPBOX;
const DWORD kFirstRadio = WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | BS_AUTORADIOBUTTON;
const DWORD kRadio = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTORADIOBUTTON;

}  // namespace

std::vector<Command>& HostCommands() {
    static std::vector<Command> commands;
    return commands;
}

void ControlsTest::SetUp() {
    sim::Reset();
    HostCommands().clear();
    WNDCLASSA hostClass{};
    hostClass.lpfnWndProc = HostProc;
    hostClass.lpszClassName = "ControlsHost";
    ASSERT_NE(RegisterClassA(&hostClass), 0);
}

void ControlsTest::TearDown() { sim::Reset(); }

HWND ControlsTest::Child(const char* className, const char* text, DWORD style, int x, int y, int width, int height,
                         int id) {
    HWND child = CreateWindowExA(0, className, text, style, x, y, width, height, host,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    EXPECT_NE(child, nullptr) << className << " " << text;
    return child;
}

void ControlsTest::BuildDialog() {
    host = CreateWindowExA(WS_EX_DLGMODALFRAME, "ControlsHost", "Host", WS_VISIBLE | WS_CAPTION, 100, 100, 420, 300,
                           nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(host, nullptr);
    groupOne = Child("button", "One", kGroupBox, 80, 20, 120, 70, 0);
    radioA = Child("button", "A", kFirstRadio, 90, 40, 100, 15, 11);
    radioB = Child("button", "B", kRadio, 90, 65, 100, 20, 12);
    groupTwo = Child("button", "Two", kGroupBox, 220, 20, 120, 70, 0);
    radioC = Child("button", "C", kFirstRadio, 230, 40, 100, 15, 13);
    radioD = Child("button", "D", kRadio, 230, 65, 100, 20, 14);
    combo = Child("COMBOBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_GROUP | WS_TABSTOP | CBS_DROPDOWNLIST, 55,
                  135, 300, 60, 15);
    okButton = Child("button", "Okay", WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | BS_DEFPUSHBUTTON, 80, 240,
                     100, 25, kOkId);
    cancelButton = Child("button", "Cancel", WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | BS_PUSHBUTTON, 240,
                         240, 100, 25, kCancelId);
    SendMessageA(radioB, BM_SETCHECK, BST_CHECKED, 0);
    SendMessageA(radioC, BM_SETCHECK, BST_CHECKED, 0);
    Pump();
    HostCommands().clear();
}

void ControlsTest::Pump() {
    MSG msg;
    for (int guard = 0; guard < 1000 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++guard) {
        if (!IsDialogMessageA(host, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

void ControlsTest::ClickOn(HWND control, int dx, int dy) {
    user::Window* window = user::FindWindow(control);
    ASSERT_NE(window, nullptr);
    ClickAt(window->rect.left + dx, window->rect.top + dy);
}

std::vector<int> ControlsTest::CommandIds() {
    std::vector<int> ids;
    for (const Command& command : HostCommands())
        if (command.code == BN_CLICKED) ids.push_back(command.id);
    return ids;
}
