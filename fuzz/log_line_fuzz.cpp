// LogMessage with any text and status: the debugger gets the line, "log.txt" the same bytes with
// CR LF line ends, appended whole after what was there.
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "diag/error_names.h"
#include "diag/log.h"
#include "fuzz/fuzz_input.h"
#include "sim/sim.h"

namespace {
std::string readLog() {
    std::ifstream file("log.txt", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The log is a bare name in the working directory: give it a directory of its own.
    char dir[] = "/tmp/fontloom-log-fuzz.XXXXXX";
    if (!mkdtemp(dir) || chdir(dir) != 0) std::abort();
    sim::CaptureDebugOutput(true);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input{data, size};
    const HRESULT status = input.take<int32_t>();
    const bool keepOld = input.take<uint8_t>() & 1;
    const std::string text(reinterpret_cast<const char*>(input.data), input.size);  // drawn up to a NUL

    std::string expected = readLog();
    if (!keepOld || expected.size() > 65536) {  // appending for ever would make each run slower
        ResetLog();
        expected.clear();
        FUZZ_CHECK(readLog().empty());
    }
    sim::TakeDebugOutput();
    LogMessage(text.c_str(), status);

    const std::string line = sim::TakeDebugOutput();
    FUZZ_CHECK(line == text.c_str() + (status ? std::string(" : ") + GetErrorName(status) : std::string()) + "\n");
    for (char c : line) expected += c == '\n' ? "\r\n" : std::string(1, c);
    FUZZ_CHECK(readLog() == expected);
    return 0;
}
