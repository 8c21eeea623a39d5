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
    EXPECT_EQ(RegisterClassExA(&windowClass), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_ALREADY_EXISTS));
    WNDCLASSA plain{};
    plain.lpfnWndProc = RecordingProc;
    plain.lpszClassName = "RECORDER";
    EXPECT_EQ(RegisterClassA(&plain), 0) << "class names ignore case";

    HWND window = CreateWindowExA(0, "FWUSERPREFWNDCLASS", "x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                                  nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(UnregisterClassA("fwUserPrefWndClass", nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_HAS_WINDOWS));
    EXPECT_TRUE(DestroyWindow(window));
    EXPECT_TRUE(UnregisterClassA("fwUserPrefWndClass", nullptr));
    EXPECT_FALSE(UnregisterClassA("fwUserPrefWndClass", nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_DOES_NOT_EXIST));
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
    WNDCLASSEXA wrongSize = extendedClass("Sized");
    wrongSize.cbSize = 48;
    EXPECT_EQ(RegisterClassExA(&wrongSize), 0);
    WNDCLASSEXA noProc = extendedClass("NoProc");
    noProc.lpfnWndProc = nullptr;
    EXPECT_EQ(RegisterClassExA(&noProc), 0);
    WNDCLASSEXA noName = extendedClass(nullptr);
    EXPECT_EQ(RegisterClassExA(&noName), 0);
}

TEST_F(UserTest, TheSimFailsClassCallsOnDemandAndCountsThem) {
    WNDCLASSEXA windowClass = extendedClass("Failing");
    sim::FailCall("RegisterClassExA");
    EXPECT_EQ(RegisterClassExA(&windowClass), 0);
    EXPECT_NE(RegisterClassExA(&windowClass), 0) << "once by default";
    EXPECT_EQ(sim::CallCount("RegisterClassExA"), 2);

    sim::FailCall("UnregisterClassA", -1);
    EXPECT_FALSE(UnregisterClassA("Failing", nullptr));
    EXPECT_FALSE(UnregisterClassA("Failing", nullptr));
    sim::FailCall("UnregisterClassA", 0);
    EXPECT_TRUE(UnregisterClassA("Failing", nullptr));

    WNDCLASSA plain{};
    plain.lpfnWndProc = RecordingProc;
    plain.lpszClassName = "FW Class";
    sim::FailCall("RegisterClassA", 1, 1);  // the second call fails
    EXPECT_NE(RegisterClassA(&plain), 0);
    EXPECT_TRUE(UnregisterClassA("FW Class", nullptr));
    EXPECT_EQ(RegisterClassA(&plain), 0);
    EXPECT_NE(RegisterClassA(&plain), 0);
}

TEST_F(UserTest, ResetForgetsTheProgramsClasses) {
    sim::Reset();
    WNDCLASSA plain{};
    plain.lpfnWndProc = RecordingProc;
    plain.lpszClassName = "Recorder";
    EXPECT_NE(RegisterClassA(&plain), 0);
}

TEST_F(UserTest, StockResourcesExistAndOthersDoNot) {
    EXPECT_NE(LoadIconA(nullptr, IDI_APPLICATION), nullptr);
    EXPECT_NE(LoadCursorA(nullptr, IDC_ARROW), nullptr);
    EXPECT_EQ(LoadIconA(GetModuleHandleA(nullptr), "MYICON"), nullptr) << "the program has no resources";
    EXPECT_EQ(LoadCursorA(nullptr, MAKEINTRESOURCEA(1)), nullptr);
    EXPECT_NE(GetStockObject(BLACK_BRUSH), nullptr);
    EXPECT_NE(GetStockObject(BLACK_BRUSH), GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(GetStockObject(-1), nullptr);
    EXPECT_EQ(GetStockObject(1000), nullptr);
}

}  // namespace
