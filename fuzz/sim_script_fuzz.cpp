// The FONTLOOM_SIM script parser: any bytes either run or are refused with a message naming what
// is wrong; nothing crashes, and a reset afterwards leaves the platform as a fresh process has it.
#include <string>

#include "fuzz/fuzz_input.h"
#include "sim/sim.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    sim::Reset();
    const std::string script(reinterpret_cast<const char*>(data), size);
    std::string error;
    if (!sim::RunScript(script, &error)) FUZZ_CHECK(!error.empty());
    sim::Reset();
    FUZZ_CHECK(!sim::IsClockManual());
    FUZZ_CHECK(sim::AllCallCounts().empty());
    return 0;
}
