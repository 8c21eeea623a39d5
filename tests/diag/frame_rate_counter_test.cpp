// The windows of just over a second and their smallest and largest counts. The report's bytes,
// the average and the timer wrap are watched on the real program (headless_e2e_test).
#include "diag/frame_rate_counter.h"

#include <gtest/gtest.h>

#include "platform/sim/sim.h"

namespace {

TEST(FrameRateCounterTest, RestartForgetsAndAWindowClosesOnlyMoreThanOneSecondAfterItOpened) {
    sim::SetManualClock(100000);
    FrameRateCounter counter("Fontloom");
    counter.Tick();
    counter.Tick();
    counter.Restart();
    const uint32_t none = 2147483647u;
    const struct {
        uint32_t stepMs, frames, min, max;  // the clock moves by stepMs, then a tick
    } kTicks[] = {
        {1000, 1, none, 0},  // exactly 1000 ms: still open
        {1, 0, 2, 2},        // 1001 ms: closes with both frames
        {5000, 0, 1, 2},     // one five-second frame is a window of 1
        {1000, 1, 1, 2},     // the next window opened at that tick, not where the last should have ended
        {0, 2, 1, 2},
        {0, 3, 1, 2},
        {1, 0, 1, 4},
    };
    for (const auto& t : kTicks) {
        sim::AdvanceClock(t.stepMs);
        counter.Tick();
        EXPECT_EQ(counter.FramesThisSecond(), t.frames) << t.stepMs;
        EXPECT_EQ(counter.MinPerSecond(), t.min) << t.stepMs;
        EXPECT_EQ(counter.MaxPerSecond(), t.max) << t.stepMs;
    }
    EXPECT_EQ(counter.TotalFrames(), 7u);
}

// The main loop draws the line every frame from where GetText left it.
TEST(FrameRateCounterTest, TheLineIsKeptInTheCounterUntilTheNextGetText) {
    sim::SetManualClock(0);
    FrameRateCounter counter("Fontloom");
    counter.Restart();
    for (int i = 0; i < 3; ++i) {
        sim::AdvanceClock(20);
        counter.Tick();
    }
    const std::string& line = counter.GetText();
    sim::AdvanceClock(60);
    EXPECT_EQ(line, "FPS:50.00");
    counter.GetText();
    EXPECT_EQ(line, "FPS:25.00");
}

}  // namespace
