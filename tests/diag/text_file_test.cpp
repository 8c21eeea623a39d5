#include "diag/text_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/support/scratch_dir.h"

namespace {

struct ReadResult {
    bool opened;
    std::string text;
};

ReadResult readText(const std::string& bytes, size_t capacity) {
    WriteFileBytes("page.txt", bytes);
    std::string buffer(capacity + 1, '#');
    size_t count = 99;
    bool opened = ReadTextFile("page.txt", &buffer[0], capacity, &count);
    EXPECT_LE(count, capacity);
    EXPECT_EQ(buffer[capacity], '#') << "wrote past the capacity";
    return {opened, buffer.substr(0, count)};
}

TEST(TextFileTest, WritesStoreEveryLineFeedAsCarriageReturnLineFeed) {
    ScratchDir scratch;
    EXPECT_TRUE(WriteTextFile("out.txt", TextFileOpen::Truncate, "a\nb\r\n\n"));
    EXPECT_EQ(ReadFileBytes("out.txt"), "a\r\nb\r\r\n\r\n");
    EXPECT_TRUE(WriteTextFile("out.txt", TextFileOpen::Append, "c\n"));
    EXPECT_EQ(ReadFileBytes("out.txt"), "a\r\nb\r\r\n\r\nc\r\n");
    EXPECT_TRUE(WriteTextFile("out.txt", TextFileOpen::Truncate, ""));
    EXPECT_EQ(ReadFileBytes("out.txt"), "");
}

TEST(TextFileTest, AFileThatCannotBeOpenedIsReportedAndLeftAlone) {
    ScratchDir scratch;
    ASSERT_EQ(mkdir("dir.txt", 0755), 0);
    EXPECT_FALSE(WriteTextFile("dir.txt", TextFileOpen::Append, "x\n"));
    EXPECT_FALSE(WriteTextFile("dir.txt", TextFileOpen::Truncate, "x\n"));
    EXPECT_FALSE(WriteTextFile("no/such/dir/out.txt", TextFileOpen::Truncate, "x\n"));
    char buffer[16];
    size_t count = 7;
    EXPECT_FALSE(ReadTextFile("dir.txt", buffer, sizeof buffer, &count));
    EXPECT_EQ(count, 0u);
    EXPECT_FALSE(ReadTextFile("missing.txt", buffer, sizeof buffer, &count));
}

TEST(TextFileTest, ReadingTranslatesLineEndsAsTextModeDoes) {
    ScratchDir scratch;
    EXPECT_EQ(readText("one\r\ntwo\nthree\rfour\r\r\n", 100).text, "one\ntwo\nthree\rfour\r\n");
    EXPECT_EQ(readText("", 100).text, "");
    EXPECT_TRUE(readText("", 100).opened);
    EXPECT_EQ(readText("ends in CR\r", 100).text, "ends in CR\r");
    EXPECT_EQ(readText("before\x1a" "after", 100).text, "before") << "Ctrl+Z ends text-mode input";
    EXPECT_EQ(readText(std::string("nul\0inside", 10), 100).text, std::string("nul\0inside", 10));
}

TEST(TextFileTest, TheLimitCountsBytesAfterTranslation) {
    ScratchDir scratch;
    std::string crlfLines;
    for (int i = 0; i < 3000; ++i) crlfLines += "x\r\n";  // 9000 bytes on disk, 6000 after translation
    ReadResult page = readText(crlfLines, 4000);
    ASSERT_EQ(page.text.size(), 4000u);
    for (size_t i = 0; i < page.text.size(); ++i) ASSERT_EQ(page.text[i], i % 2 ? '\n' : 'x') << i;

    // A CR LF pair that straddles the reader's chunks is still one line feed.
    std::string straddle(4095, 'a');
    straddle += "\r\nz";
    EXPECT_EQ(readText(straddle, 5000).text, std::string(4095, 'a') + "\nz");
    EXPECT_EQ(readText(std::string(8000, 'q'), 4000).text, std::string(4000, 'q'));
}

}  // namespace
