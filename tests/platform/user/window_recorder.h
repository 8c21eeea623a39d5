// A window procedure that writes down what it receives, for the user room's tests.
#pragma once

#include <windows.h>

#include <string>
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

// Everything the recording procedure saw, oldest first; cleared by every fixture.
std::vector<Received>& ReceivedMessages();
// The messages (only their numbers) that one window got, optionally only one kind.
std::vector<UINT> MessagesOf(HWND window);
std::vector<Received> ReceivedOf(HWND window, UINT message);

// Records, then behaves like DefWindowProcA unless a test told it otherwise.
LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The next message of this kind gets this answer instead of DefWindowProcA's (once).
void AnswerNext(UINT message, LRESULT answer);

// Registers "Recorder" with RecordingProc; creates windows of it.
void RegisterRecorderClass();
HWND CreateRecorder(DWORD style, int x, int y, int width, int height, HWND parent = nullptr, int id = 0,
                    DWORD exStyle = 0);

// Fixture: the sim reset, the class registered, the record empty.
#include <gtest/gtest.h>
class UserTest : public ::testing::Test {
protected:
    void SetUp() override {
        sim::Reset();
        RegisterRecorderClass();
        ReceivedMessages().clear();
    }
    void TearDown() override { sim::Reset(); }
};
