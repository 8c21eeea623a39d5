#include <windows.h>

#include "tests/platform/user/window_recorder.h"

namespace {

TEST_F(UserTest, AClassNameIsTakenOnceWhateverItsCaseFreedOnlyWithoutWindowsAndBadRecordsAreRefused) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(WNDCLASSEXA);
    windowClass.lpfnWndProc = RecordingProc;
    windowClass.lpszClassName = "fwUserPrefWndClass";
    EXPECT_NE(RegisterClassExA(&windowClass), 0);
    WNDCLASSEXA upper = windowClass, wrongSize = windowClass, noProc = windowClass, noName = windowClass;
    upper.lpszClassName = "FWUSERPREFWNDCLASS";
    EXPECT_EQ(RegisterClassExA(&upper), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_ALREADY_EXISTS));
    HWND window = CreateWindowExA(0, "FWUSERPREFWNDCLASS", "x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                                  nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(UnregisterClassA("fwUserPrefWndClass", nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_HAS_WINDOWS));
    EXPECT_TRUE(DestroyWindow(window));
    EXPECT_TRUE(UnregisterClassA("fwUserPrefWndClass", nullptr));
    EXPECT_EQ(CreateWindowExA(0, "fwUserPrefWndClass", "x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr),
              nullptr) << "an unregistered class makes no window";
    wrongSize.cbSize = 48;
    noProc.lpfnWndProc = nullptr;
    noName.lpszClassName = nullptr;
    for (WNDCLASSEXA* bad : {&wrongSize, &noProc, &noName}) EXPECT_EQ(RegisterClassExA(bad), 0);
    EXPECT_EQ(RegisterClassA(nullptr) + RegisterClassExA(nullptr), 0);
    EXPECT_NE(RegisterClassExA(&windowClass), 0) << "free again after unregistering";
}

}  // namespace
