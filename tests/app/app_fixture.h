// The program's global state wired to recording fakes, in a scratch working directory.
#pragma once

#include <gtest/gtest.h>

#include <cstring>

#include "app/app_state.h"
#include "platform/sim/sim.h"
#include "tests/support/fake_d3d.h"
#include "tests/support/scratch_dir.h"

class AppFixture : public ::testing::Test {
protected:
    void SetUp() override {
        sim::Reset();
        sim::CaptureDebugOutput(true);
        sim::SetManualClock(1000);
        resetAppState();
        g_app.device = &device;
        g_app.font = &font;
    }
    void TearDown() override {
        resetAppState();
        sim::Reset();
    }
    static void resetAppState() {
        g_app.quit = false;
        g_app.d3d = nullptr;
        g_app.device = nullptr;
        g_app.font = nullptr;
        g_app.fontLost = false;
        std::memset(g_app.TextBuffer, 0, sizeof(g_app.TextBuffer));
        g_app.frameRateCounter.Restart();
    }

    ScratchDir scratch;
    CallLog calls;
    FakeDevice device{&calls};
    FakeFont font{&calls};
};
