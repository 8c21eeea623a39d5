#include "diag/log.h"
#include "diag/format.h"

#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstring>

#include "platform/sim/sim.h"
#include "tests/support/scratch_dir.h"

namespace {

// Each line as the debugger gets it; "log.txt" gets the same bytes with CR LF line ends.
TEST(LogTest, LinesCarryTheStatusNameOrTheTextAlone) {
    ScratchDir scratch;
    sim::Reset();
    sim::CaptureDebugOutput(true);
    std::string longText(100000, 'x');
    longText[50000] = '\n';
    const struct {
        const char* text;
        HRESULT status;
        std::string line;
    } cases[] = {
        {"Failed to create the device", static_cast<HRESULT>(0x80004005), "Failed to create the device : E_FAIL\n"},
        {"Error Drawing font", 0, "Error Drawing font\n"},
        {"Odd", 1, "Odd : S_FALSE\n"},  // a success code is named too
        {"Strange", static_cast<HRESULT>(0x80000000), "Strange : Unknown\n"},
        {nullptr, 0, "\n"},
        {"Exiting\n", 0, "Exiting\n\n"},
        {longText.c_str(), static_cast<HRESULT>(0x88760868), longText + " : D3DERR_DEVICELOST\n"},
    };
    std::string file;
    for (const auto& c : cases) {
        LogMessage(c.text, c.status);
        EXPECT_EQ(sim::TakeDebugOutput(), c.line);
        for (char ch : c.line) file += ch == '\n' ? "\r\n" : std::string(1, ch);
    }
    EXPECT_TRUE(ReadFileBytes("log.txt") == file);
    sim::Reset();
}

// Around the first try's 128 bytes, and a text the C library cannot format (a wide character
// with no narrow form in the C locale): the result replaces what `out` held.
TEST(FormatTest, ResultsOfAnySizeReplaceTheOldText) {
    std::string out = "old";
    for (size_t length : {1, 127, 128, 129, 5000}) {
        const std::string text = std::string(length - 1, 'y') + "z";
        FormatInto(out, "%s", text.c_str());
        EXPECT_TRUE(out == text) << length;
    }
    FormatInto(out, "%ls", L"\u00e9");
    EXPECT_EQ(out, "");
}

// 2 GiB of 'x' and a NUL for 1 MiB of memory: one 1 MiB block mapped 2048 times, then a zero page.
const char* TwoGibibytesOfX() {
    const size_t block = size_t{1} << 20, blocks = 2048;
    const int fd = memfd_create("x", 0);
    if (fd < 0 || ftruncate(fd, static_cast<off_t>(block)) != 0) return nullptr;
    const std::string xs(block, 'x');
    if (pwrite(fd, xs.data(), block, 0) != static_cast<ssize_t>(block)) return nullptr;
    void* base = mmap(nullptr, (blocks + 1) * block, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (base == MAP_FAILED) return nullptr;
    char* text = static_cast<char*>(base);
    for (size_t i = 0; i < blocks; ++i)
        if (mmap(text + i * block, block, PROT_READ, MAP_SHARED | MAP_FIXED, fd, 0) == MAP_FAILED) return nullptr;
    close(fd);
    return text;
}

// Past INT_MAX printf gives up (the log once lost such a line on both outputs); the log line
// does not. Costs the 2 GiB line and a second or two.
TEST(LogTest, ALineLongerThanTwoGibibytesIsWhole) {
    const char* text = TwoGibibytesOfX();
    ASSERT_NE(text, nullptr) << std::strerror(errno);
    const size_t length = size_t{1} << 31;
    std::string line = "left over";
    FormatLogLine(line, text, static_cast<HRESULT>(0x80004005));
    ASSERT_EQ(line.size(), length + std::strlen(" : E_FAIL\n"));
    EXPECT_EQ(std::memcmp(line.data(), text, length), 0);
    EXPECT_EQ(line.compare(length, std::string::npos, " : E_FAIL\n"), 0);
    munmap(const_cast<char*>(text), length + (size_t{1} << 20));
}

}  // namespace
