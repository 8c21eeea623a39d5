// The test programs' main: every test starts on a fresh sim in a fresh working directory, and
// leaves the sim fresh for the next one.
#include <gtest/gtest.h>

#include <memory>

#include "platform/sim/sim.h"
#include "tests/support/scratch_dir.h"

namespace {

class FreshStart : public ::testing::EmptyTestEventListener {
    std::unique_ptr<ScratchDir> scratch;
    void OnTestStart(const ::testing::TestInfo&) override {
        sim::Reset();
        scratch = std::make_unique<ScratchDir>();
    }
    void OnTestEnd(const ::testing::TestInfo&) override {
        sim::Reset();
        scratch.reset();
    }
};

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshStart);
    return RUN_ALL_TESTS();
}
