#include "platform/sim/sim.h"

#include <gtest/gtest.h>

namespace {

// The end-to-end scenarios lean on the rest of the sim; these are the parts they cannot see.
TEST(SimTest, TheRealClockMovesWithSleepAndBadScriptsAreRefusedWithAReason) {
    sim::Reset();
    const DWORD before = timeGetTime();
    Sleep(20);
    EXPECT_GE(timeGetTime() - before, 20u);
    sim::FailCall("Reset", -1);
    sim::Reset();
    EXPECT_FALSE(sim::ShouldFail("Reset")) << "a reset takes the failures back";
    for (const char* script : {"clock soon", "explode now", "fail Present times", "fail", "present", "coop SOMETIMES",
                               "adapters lots", "fail CreateWindowExA class \"FW Class; counts x"}) {
        std::string error;
        EXPECT_FALSE(sim::RunScript(script, &error)) << script;
        EXPECT_FALSE(error.empty()) << script;
    }
}

}  // namespace
