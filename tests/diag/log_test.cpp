#include "diag/log.h"

#include <gtest/gtest.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>


#include "platform/sim/sim.h"
#include "tests/support/scratch_dir.h"

namespace {

class LogTest : public ::testing::Test {
protected:
    void SetUp() override {
        sim::Reset();
        sim::CaptureDebugOutput(true);
    }
    void TearDown() override { sim::Reset(); }
    ScratchDir scratch;
};

TEST_F(LogTest, LinesCarryTheStatusNameOrTheTextAlone) {
    ResetLog();
    LogMessage("Failed to create the device", static_cast<HRESULT>(0x80004005));
    LogMessage("Error Drawing font", 0);
    LogMessage("Odd", 1);                                       // a success code is named too
    LogMessage("Strange", static_cast<HRESULT>(0x80000000));   // not in the table
    LogMessage("Exiting\n", 0);                                 // leaves an empty line after it

    EXPECT_EQ(sim::TakeDebugOutput(),
              "Failed to create the device : E_FAIL\n"
              "Error Drawing font\n"
              "Odd : S_FALSE\n"
              "Strange : Unknown\n"
              "Exiting\n\n");
    EXPECT_EQ(ReadFileBytes("log.txt"),
              "Failed to create the device : E_FAIL\r\n"
              "Error Drawing font\r\n"
              "Odd : S_FALSE\r\n"
              "Strange : Unknown\r\n"
              "Exiting\r\n\r\n");
}

TEST_F(LogTest, ResetEmptiesTheFileAndAppendsLandAtTheEnd) {
    WriteFileBytes("log.txt", "an earlier run\r\n");
    LogMessage("appended", 0);
    EXPECT_EQ(ReadFileBytes("log.txt"), "an earlier run\r\nappended\r\n");
    ResetLog();
    EXPECT_TRUE(FileExists("log.txt"));
    EXPECT_EQ(ReadFileBytes("log.txt"), "");
    LogMessage("second run", 0);
    EXPECT_EQ(ReadFileBytes("log.txt"), "second run\r\n");
}

TEST_F(LogTest, AVeryLongTextIsWrittenWhole) {
    std::string text(100000, 'x');
    text[50000] = '\n';
    ResetLog();
    LogMessage(text.c_str(), static_cast<HRESULT>(0x88760868));
    std::string expectedFile = std::string(50000, 'x') + "\r\n" + std::string(49999, 'x') + " : D3DERR_DEVICELOST\r\n";
    EXPECT_EQ(ReadFileBytes("log.txt"), expectedFile);
    EXPECT_EQ(sim::TakeDebugOutput(), text + " : D3DERR_DEVICELOST\n");
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
TEST_F(LogTest, ALineLongerThanTwoGibibytesIsWhole) {
    const char* text = TwoGibibytesOfX();
    ASSERT_NE(text, nullptr) << std::strerror(errno);
    const size_t length = size_t{1} << 31;
    std::string line;
    FormatLogLine(line, text, static_cast<HRESULT>(0x80004005));
    ASSERT_EQ(line.size(), length + std::strlen(" : E_FAIL\n"));
    EXPECT_EQ(std::memcmp(line.data(), text, length), 0);
    EXPECT_EQ(line.compare(length, std::string::npos, " : E_FAIL\n"), 0);
    munmap(const_cast<char*>(text), length + (size_t{1} << 20));
}

TEST_F(LogTest, ADeletedLogIsCreatedAgain) {
    ResetLog();
    LogMessage("one", 0);
    ASSERT_EQ(remove("log.txt"), 0);
    LogMessage("two", 0);
    EXPECT_EQ(ReadFileBytes("log.txt"), "two\r\n");
}

TEST_F(LogTest, AnUnopenableLogStillReachesTheDebuggerAndLosesNothing) {
    // Root ignores permission bits, but nobody can open a directory for writing.
    ASSERT_EQ(mkdir("log.txt", 0755), 0);
    ResetLog();
    LogMessage("Failed to create D3D", static_cast<HRESULT>(0x80004005));
    LogMessage("Error rendering", 0);
    EXPECT_EQ(sim::TakeDebugOutput(),
              "Failed to create D3D : E_FAIL\nError writing to log file\n"
              "Error rendering\nError writing to log file\n");
    struct stat info {};
    ASSERT_EQ(stat("log.txt", &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
}

}  // namespace
