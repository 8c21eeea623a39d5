#include "diag/text_file.h"

#include <gtest/gtest.h>

#include "tests/support/scratch_dir.h"

namespace {

// As text mode reads: CR LF is LF, Ctrl+Z ends the input, and the limit counts bytes after
// the translation. Nothing is written past the capacity.
TEST(TextFileTest, ReadingTranslatesLineEndsAsTextModeDoesUpToTheLimit) {
    std::string crlfLines, lfLines;
    for (int i = 0; i < 3000; ++i) crlfLines += "x\r\n";  // 9000 bytes on disk, 6000 after translation
    for (int i = 0; i < 2000; ++i) lfLines += "x\n";
    const struct {
        std::string file;
        size_t capacity;
        std::string text;
    } cases[] = {
        {"one\r\ntwo\nthree\rfour\r\r\n", 100, "one\ntwo\nthree\rfour\r\n"},
        {"", 100, ""},
        {"ends in CR\r", 100, "ends in CR\r"},
        {"before\x1a" "after", 100, "before"},
        {std::string("nul\0inside", 10), 100, std::string("nul\0inside", 10)},
        {crlfLines, 4000, lfLines},
        {std::string(4095, 'a') + "\r\nz", 5000, std::string(4095, 'a') + "\nz"},  // across the reader's chunks
        {std::string(8000, 'q'), 4000, std::string(4000, 'q')},
        {"ab\rc", 3, "ab\r"},
        {"ab\r", 2, "ab"},
    };
    for (const auto& c : cases) {
        WriteFileBytes("page.txt", c.file);
        std::string buffer(c.capacity + 1, '#');
        size_t count = 99;
        EXPECT_TRUE(ReadTextFile("page.txt", &buffer[0], c.capacity, &count));
        EXPECT_TRUE(buffer.substr(0, count) == c.text) << c.file.substr(0, 40);
        EXPECT_EQ(buffer[c.capacity], '#') << "wrote past the capacity";
    }
}

}  // namespace
