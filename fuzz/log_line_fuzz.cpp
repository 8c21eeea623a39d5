// LogMessage with any text and status: the debugger gets the line, "log.txt" the same bytes with
// CR LF line ends, appended whole after what was there.
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "diag/error_names.h"
#include "diag/log.h"
#include "fuzz/fuzz_input.h"
#include "sim/sim.h"

namespace {

std::string readLog() {
    std::string bytes;
    if (FILE* file = std::fopen("log.txt", "rb")) {
        char chunk[4096];
        for (size_t got; (got = std::fread(chunk, 1, sizeof chunk, file)) > 0;) bytes.append(chunk, got);
        std::fclose(file);
    }
    return bytes;
}

std::string withCarriageReturns(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
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

    std::string before = readLog();
    if (!keepOld || before.size() > 65536) {  // appending for ever would make each run slower
        ResetLog();
        before = readLog();
        FUZZ_CHECK(before.empty());
    }
    sim::TakeDebugOutput();
    LogMessage(text.c_str(), status);

    const std::string line = sim::TakeDebugOutput();
    const std::string shown = text.c_str();
    FUZZ_CHECK(line == shown + (status ? std::string(" : ") + GetErrorName(status) : std::string()) + "\n");
    FUZZ_CHECK(readLog() == before + withCarriageReturns(line));
    return 0;
}
