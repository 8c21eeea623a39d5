// Files that are not files: a FIFO where "text.txt", "log.txt" or "FPS.txt" should be must not
// stop the program. Each call runs on its own thread; should it block, the test opens the
// FIFO's other end itself to set it free and fails.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <future>

#include "diag/text_file.h"
#include "tests/support/scratch_dir.h"

namespace {

// Runs `call`; true when it came back within a few seconds. `release` unblocks a call that did not.
bool returnsWithoutWaiting(const std::function<void()>& call, const std::function<void()>& release) {
    std::future<void> done = std::async(std::launch::async, call);
    const bool quick = done.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
    if (!quick) release();
    done.wait();
    return quick;
}

TEST(ReliabilityTextFileTest, AFifoWithoutItsOtherEndNeitherBlocksNorBreaks) {
    ScratchDir scratch;
    signal(SIGPIPE, SIG_IGN);  // a writer set free by `release` may find its reader gone
    ASSERT_EQ(mkfifo("text.txt", 0600), 0);
    ASSERT_EQ(mkfifo("log.txt", 0600), 0);

    char page[64];
    size_t count = 99;
    bool read = false;
    EXPECT_TRUE(returnsWithoutWaiting([&] { read = ReadTextFile("text.txt", page, sizeof page, &count); },
                                      [] { close(open("text.txt", O_WRONLY | O_NONBLOCK)); }))
        << "reading a FIFO that nobody writes waited for a writer";
    EXPECT_TRUE(read);
    EXPECT_EQ(count, 0u) << "it reads as an empty page";

    int reader = -1;
    bool written = true;
    EXPECT_TRUE(returnsWithoutWaiting([&] { written = WriteTextFile("log.txt", TextFileOpen::Append, "line\n"); },
                                      [&] { reader = open("log.txt", O_RDONLY | O_NONBLOCK); }))
        << "writing a FIFO that nobody reads waited for a reader";
    if (reader >= 0) close(reader);
    EXPECT_FALSE(written) << "with nobody to read it, the line cannot be written";

    // With a reader at the other end the line goes through whole, CR LF and all.
    reader = open("log.txt", O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    EXPECT_TRUE(WriteTextFile("log.txt", TextFileOpen::Append, "line\n"));
    char got[16] = {};
    EXPECT_EQ(::read(reader, got, sizeof got), 6);
    EXPECT_STREQ(got, "line\r\n");
    close(reader);

    // Regular files behave as before: created, truncated, appended.
    EXPECT_TRUE(WriteTextFile("FPS.txt", TextFileOpen::Truncate, "old report, longer\n"));
    EXPECT_TRUE(WriteTextFile("FPS.txt", TextFileOpen::Truncate, "a\n"));
    EXPECT_TRUE(WriteTextFile("FPS.txt", TextFileOpen::Append, "b\n"));
    EXPECT_EQ(ReadFileBytes("FPS.txt"), "a\r\nb\r\n");
}

}  // namespace
