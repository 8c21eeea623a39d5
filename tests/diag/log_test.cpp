#include "diag/log.h"
#include "diag/format.h"

#include <gtest/gtest.h>

#include "platform/sim/sim.h"
#include "tests/support/scratch_dir.h"

namespace {

// Each line as the debugger gets it; "log.txt" gets the same bytes with CR LF line ends.
TEST(LogTest, LinesCarryTheStatusNameOrTheTextAlone) {
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
    std::string line = "left over";  // the line replaces what the string held
    FormatLogLine(line, "Odd", 1);
    EXPECT_EQ(line, "Odd : S_FALSE\n");
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

}  // namespace
