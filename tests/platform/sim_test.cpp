#include "platform/sim/sim.h"

#include <gtest/gtest.h>

#include "tests/support/scratch_dir.h"

namespace {

class SimTest : public ::testing::Test {
protected:
    void SetUp() override { sim::Reset(); }
    void TearDown() override { sim::Reset(); }
};

TEST_F(SimTest, FailuresCountDownSkipAndCanBeAlways) {
    sim::FailCall("Present", 2, 1, static_cast<HRESULT>(0x88760868));
    HRESULT status = 0;
    EXPECT_FALSE(sim::ShouldFail("Present", &status));  // the first call still succeeds
    EXPECT_TRUE(sim::ShouldFail("Present", &status));
    EXPECT_EQ(status, static_cast<HRESULT>(0x88760868));
    EXPECT_TRUE(sim::ShouldFail("Present", &status));
    EXPECT_FALSE(sim::ShouldFail("Present", &status));
    EXPECT_EQ(sim::CallCount("Present"), 4);

    sim::FailCall("Clear", -1);
    for (int i = 0; i < 50; ++i) EXPECT_TRUE(sim::ShouldFail("Clear"));
    sim::FailCall("Clear", 0);  // taken back
    EXPECT_FALSE(sim::ShouldFail("Clear"));

    sim::Reset();
    EXPECT_EQ(sim::CallCount("Present"), 0);
    sim::FailCall("Reset", -1);
    sim::Reset();
    EXPECT_FALSE(sim::ShouldFail("Reset"));
}

TEST_F(SimTest, TheManualClockMovesOnlyWhenToldAndSleepIsTimePassing) {
    sim::SetManualClock(0xFFFFFFF0u);
    EXPECT_EQ(timeGetTime(), 0xFFFFFFF0u);
    EXPECT_EQ(timeGetTime(), 0xFFFFFFF0u);
    Sleep(500);
    EXPECT_EQ(timeGetTime(), 0x000001E4u) << "wraps modulo 2^32";
    EXPECT_EQ(sim::CallCount("Sleep"), 1);
    sim::UseRealClock();
    DWORD before = timeGetTime();
    Sleep(20);
    DWORD slept = timeGetTime() - before;
    EXPECT_GE(slept, 20u);
}

TEST_F(SimTest, TheDebuggerChannelCanBeCaptured) {
    sim::CaptureDebugOutput(true);
    OutputDebugStringA("one\n");
    OutputDebugStringA("two");
    OutputDebugStringA(nullptr);
    EXPECT_EQ(sim::TakeDebugOutput(), "one\ntwo");
    EXPECT_EQ(sim::TakeDebugOutput(), "");
}

TEST_F(SimTest, ScriptsRunCommandsAndRejectNonsenseClearly) {
    ScratchDir scratch;
    std::string error;
    ASSERT_TRUE(sim::RunScript("clock 4294967000; fail CreateDevice always status 0x8876086C\n"
                               "fail Present times 2 after 3;counts calls.txt",
                               &error))
        << error;
    EXPECT_TRUE(sim::IsClockManual());
    EXPECT_EQ(timeGetTime(), 4294967000u);
    HRESULT status = 0;
    EXPECT_TRUE(sim::ShouldFail("CreateDevice", &status));
    EXPECT_EQ(status, static_cast<HRESULT>(0x8876086C));
    sim::FinishRun();
    EXPECT_EQ(ReadFileBytes("calls.txt"), "CreateDevice 1\n");

    EXPECT_FALSE(sim::RunScript("clock soon", &error));
    EXPECT_NE(error.find("clock"), std::string::npos);
    EXPECT_FALSE(sim::RunScript("explode now", &error));
    EXPECT_EQ(error, "unknown command 'explode'");
    EXPECT_FALSE(sim::RunScript("fail Present times", &error));
    EXPECT_FALSE(sim::RunScript("fail", &error));
    EXPECT_FALSE(sim::RunScript("fail CreateWindowExA class \"FW Class; counts x", &error));
    EXPECT_NE(error.find("unterminated quote"), std::string::npos);
}

}  // namespace

namespace {

std::vector<int> g_framesSeen;
void RecordFrame(int frame) { g_framesSeen.push_back(frame); }

TEST_F(SimTest, FrameHooksHearEveryPresentCountedFromTheLastReset) {
    static const bool added = sim::detail::AddFrameHook(RecordFrame);
    ASSERT_TRUE(added);
    g_framesSeen.clear();
    sim::detail::NotePresent();
    sim::detail::NotePresent();
    sim::Reset();
    sim::detail::NotePresent();
    EXPECT_EQ(g_framesSeen, (std::vector<int>{1, 2, 1}));
}

}  // namespace
