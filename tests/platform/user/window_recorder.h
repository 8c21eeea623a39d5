// A window procedure that writes down what it receives, for the user room's tests.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "platform/sim/sim.h"
#include "platform/sim/sim_user.h"
#include "platform/user/window_table.h"

struct Received {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// What the recording procedure saw, oldest first.
inline std::vector<Received> g_received;

inline std::vector<Received> ReceivedOf(HWND window, UINT message) {
    std::vector<Received> found;
    for (const Received& r : g_received)
        if (r.window == window && r.message == message) found.push_back(r);
    return found;
}

inline LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    g_received.push_back({window, message, wParam, lParam});
    return DefWindowProcA(window, message, wParam, lParam);
}

inline HWND CreateRecorder(DWORD style, int x, int y, int width, int height, HWND parent = nullptr, int id = 0,
                           DWORD exStyle = 0) {
    return CreateWindowExA(exStyle, "Recorder", "recorder", style, x, y, width, height, parent,
                           reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), GetModuleHandleA(nullptr), nullptr);
}

// Fixture: the sim reset, "Recorder" registered, the record empty.
class UserTest : public ::testing::Test {
protected:
    void SetUp() override {
        sim::Reset();
        g_received.clear();
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = RecordingProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "Recorder";
        ASSERT_NE(RegisterClassA(&windowClass), 0);
    }
};
