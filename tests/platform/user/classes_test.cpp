#include <windows.h>

#include "tests/platform/user/window_recorder.h"

namespace {

WNDCLASSEXA extendedClass(const char* name) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(WNDCLASSEXA);
    windowClass.lpfnWndProc = RecordingProc;
    windowClass.lpszClassName = name;
    return windowClass;
}

TEST_F(UserTest, AClassNameIsTakenOnceWhateverItsCaseAndFreedOnlyWithoutWindows) {
    WNDCLASSEXA windowClass = extendedClass("fwUserPrefWndClass");
    EXPECT_NE(RegisterClassExA(&windowClass), 0);
    WNDCLASSEXA upper = extendedClass("FWUSERPREFWNDCLASS");
    EXPECT_EQ(RegisterClassExA(&upper), 0) << "class names ignore case";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_ALREADY_EXISTS));

    HWND window = CreateWindowExA(0, "FWUSERPREFWNDCLASS", "x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                                  nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(UnregisterClassA("fwUserPrefWndClass", nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_HAS_WINDOWS));
    EXPECT_TRUE(DestroyWindow(window));
    EXPECT_TRUE(UnregisterClassA("fwUserPrefWndClass", nullptr));
    EXPECT_FALSE(UnregisterClassA(nullptr, nullptr));
    EXPECT_EQ(CreateWindowExA(0, "fwUserPrefWndClass", "x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                              nullptr),
              nullptr)
        << "an unregistered class makes no window";
    EXPECT_NE(RegisterClassExA(&windowClass), 0) << "free again after unregistering";
}

TEST_F(UserTest, BadClassRecordsAreRefused) {
    EXPECT_EQ(RegisterClassA(nullptr), 0);
    EXPECT_EQ(RegisterClassExA(nullptr), 0);
    WNDCLASSEXA wrongSize = extendedClass("Sized"), noProc = extendedClass("NoProc"), noName = extendedClass(nullptr);
    wrongSize.cbSize = 48;
    noProc.lpfnWndProc = nullptr;
    for (WNDCLASSEXA* bad : {&wrongSize, &noProc, &noName}) EXPECT_EQ(RegisterClassExA(bad), 0);
}

}  // namespace
