#include "diag/frame_rate_counter.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>

#include "platform/sim/sim.h"
#include "tests/support/scratch_dir.h"

namespace {

class FrameRateCounterTest : public ::testing::Test {
protected:
    void SetUp() override {
        sim::Reset();
        sim::SetManualClock(100000);
    }
    void TearDown() override { sim::Reset(); }

    // Ticks `frames` times, `stepMs` apart (the clock moves before each tick).
    void tickEvery(FrameRateCounter& counter, int frames, uint32_t stepMs) {
        for (int i = 0; i < frames; ++i) {
            sim::AdvanceClock(stepMs);
            counter.Tick();
        }
    }
    // Ticks `frames` times spread evenly up to `untilMs` after the start, the last one at `untilMs`.
    void tickUntil(FrameRateCounter& counter, int frames, uint32_t untilMs) {
        uint32_t from = elapsed;
        for (int i = 1; i <= frames; ++i) {
            uint32_t at = from + (untilMs - from) * static_cast<uint32_t>(i) / static_cast<uint32_t>(frames);
            sim::AdvanceClock(at - elapsed);
            elapsed = at;
            counter.Tick();
        }
    }
    uint32_t elapsed = 0;
    ScratchDir scratch;
};

TEST_F(FrameRateCounterTest, RestartForgetsAndAWindowClosesOnlyMoreThanOneSecondAfterItOpened) {
    FrameRateCounter counter("Fontloom");
    EXPECT_EQ(counter.MinPerSecond(), 0u);  // before Restart everything is zero
    EXPECT_EQ(counter.MaxPerSecond(), 0u);
    counter.Tick();
    counter.Tick();
    counter.Restart();
    EXPECT_EQ(counter.MinPerSecond(), 2147483647u);
    EXPECT_EQ(counter.MaxPerSecond(), 0u);

    sim::AdvanceClock(1000);
    counter.Tick();  // exactly 1000 ms: still open
    EXPECT_EQ(counter.FramesThisSecond(), 1u);
    EXPECT_EQ(counter.MaxPerSecond(), 0u);

    sim::AdvanceClock(1);
    counter.Tick();  // 1001 ms: closes with both frames, and the first window sets min and max
    EXPECT_EQ(counter.FramesThisSecond(), 0u);
    EXPECT_EQ(counter.MinPerSecond(), 2u);
    EXPECT_EQ(counter.MaxPerSecond(), 2u);
    EXPECT_EQ(counter.TotalFrames(), 2u);
}

TEST_F(FrameRateCounterTest, ALongFrameLowersTheMinimumAndWindowsDoNotCarryTheirOverrun) {
    FrameRateCounter counter("Fontloom");
    counter.Restart();
    tickEvery(counter, 100, 10);  // 100 frames in 1000 ms: open
    tickEvery(counter, 1, 10);    // 1010 ms: closes with 101
    EXPECT_EQ(counter.MaxPerSecond(), 101u);
    sim::AdvanceClock(5000);      // one five-second frame closes a window of 1
    counter.Tick();
    EXPECT_EQ(counter.MinPerSecond(), 1u);
    EXPECT_EQ(counter.MaxPerSecond(), 101u);
    // The next window starts at that tick: 1000 ms later it is still open.
    sim::AdvanceClock(1000);
    counter.Tick();
    EXPECT_EQ(counter.FramesThisSecond(), 1u);
}

TEST_F(FrameRateCounterTest, ATimerWrapChangesNothing) {
    sim::SetManualClock(0xFFFFFF00u);  // 256 ms before the wrap
    FrameRateCounter counter("Fontloom");
    counter.Restart();
    tickEvery(counter, 50, 10);  // crosses the wrap after 26 frames
    EXPECT_EQ(counter.FramesThisSecond(), 50u) << "a window must not close early across the wrap";
    EXPECT_FLOAT_EQ(counter.GetAverage(), 100.0f);
    tickEvery(counter, 51, 10);  // 1010 ms in all
    EXPECT_EQ(counter.MaxPerSecond(), 101u);
    EXPECT_EQ(counter.GetText(), "FPS:100.00");
}

TEST_F(FrameRateCounterTest, NoElapsedTimeGivesNonFiniteAveragesWithoutFailing) {
    FrameRateCounter counter("Fontloom");
    counter.Restart();
    EXPECT_TRUE(std::isnan(counter.GetAverage()));
    std::string nanText = counter.GetText();
    EXPECT_EQ(nanText.substr(0, 4), "FPS:");
    EXPECT_NE(nanText.find("nan"), std::string::npos) << nanText;
    counter.Tick();  // a frame, still no time
    EXPECT_TRUE(std::isinf(counter.GetAverage()));
    EXPECT_EQ(counter.GetText(), "FPS:inf");
}

TEST_F(FrameRateCounterTest, TheLineIsKeptInTheCounterUntilTheNextGetText) {
    FrameRateCounter counter("Fontloom");
    counter.Restart();
    tickEvery(counter, 3, 20);
    const std::string& line = counter.GetText();
    EXPECT_EQ(line, "FPS:50.00");
    sim::AdvanceClock(60);
    EXPECT_EQ(line, "FPS:50.00");
    counter.GetText();
    EXPECT_EQ(line, "FPS:25.00");
}

TEST_F(FrameRateCounterTest, TheReportHoldsAverageNameMinimumAndMaximum) {
    FrameRateCounter counter("Fontloom");
    counter.Restart();
    // Windows of 58 and 62 frames, then 60 more in an open one: 180 frames in 3000 ms.
    tickUntil(counter, 58, 1001);
    tickUntil(counter, 62, 2002);
    tickUntil(counter, 60, 3000);
    ASSERT_EQ(counter.MinPerSecond(), 58u);
    ASSERT_EQ(counter.MaxPerSecond(), 62u);
    counter.WriteReport("FPS.txt");
    EXPECT_EQ(ReadFileBytes("FPS.txt"), "60.00 Fontloom\r\n58 min\r\n62 max\r\n");
}

TEST_F(FrameRateCounterTest, AReportBeforeAnyWindowClosedAndOneThatCannotBeWritten) {
    FrameRateCounter counter("Fontloom");
    counter.Restart();
    tickEvery(counter, 10, 50);
    counter.WriteReport("FPS.txt");
    EXPECT_EQ(ReadFileBytes("FPS.txt"), "20.00 Fontloom\r\n2147483647 min\r\n0 max\r\n");

    // Nothing happens, and nothing is logged, when the report cannot be opened.
    ASSERT_EQ(mkdir("blocked", 0755), 0);
    counter.WriteReport("blocked");
    EXPECT_FALSE(FileExists("log.txt"));
}

}  // namespace
