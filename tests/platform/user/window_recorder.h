// A window procedure that writes down what it receives, for the user room's tests.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "platform/sim/sim.h"
#include "platform/sim/sim_user.h"
#include "platform/user/window_table.h"

// What the recording procedure saw, oldest first.
inline std::vector<std::pair<HWND, UINT>> g_received;

inline int CountReceived(HWND window, UINT message) {
    return static_cast<int>(std::count(g_received.begin(), g_received.end(), std::make_pair(window, message)));
}

inline LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    g_received.emplace_back(window, message);
    return DefWindowProcA(window, message, wParam, lParam);
}

inline HWND CreateRecorder(DWORD style, int x, int y, int width, int height, HWND parent = nullptr, int id = 0,
                           DWORD exStyle = 0) {
    return CreateWindowExA(exStyle, "Recorder", "recorder", style, x, y, width, height, parent,
                           reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), GetModuleHandleA(nullptr), nullptr);
}

// Fixture: "Recorder" registered, the record empty.
class UserTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_received.clear();
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = RecordingProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "Recorder";
        ASSERT_NE(RegisterClassA(&windowClass), 0);
    }
};
