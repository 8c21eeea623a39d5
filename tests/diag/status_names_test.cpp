// status_table_regen_test proves the table is the generator's output; the counts here prove the
// generator read the headers right, and the lookup finds every entry and nothing else.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <string>

#include "diag/error_names.h"
#include "diag/status_name_table.h"

namespace {

TEST(StatusNameTable, SortedWithTheHeadersCounts) {
    ASSERT_EQ(kStatusNameCount, 5467u);
    std::set<std::string> texts;
    int combined = 0, win32Hresults = 0;
    for (size_t i = 0; i < kStatusNameCount; ++i) {
        const StatusName& e = kStatusNameTable[i];
        ASSERT_TRUE(i == 0 || kStatusNameTable[i - 1].status < e.status) << i;  // the search relies on it
        texts.insert(e.name);
        combined += std::strstr(e.name, " & ") != nullptr;
        win32Hresults += (e.status >> 16) == 0x8007;
    }
    EXPECT_EQ(texts.size(), 3688u);
    EXPECT_EQ(combined, 39);
    EXPECT_EQ(win32Hresults, 1784);
    // A few families by the prefix of their first name, one per header.
    const std::pair<const char*, int> kFamilies[] = {
        {"D3DERR_", 21}, {"D3DXERR_", 9 + 36}, {"DDERR_", 113}, {"DSERR_", 15}, {"DMUS_", 120}, {"VFW_", 125},
        {"DIERR_", 22},  {"WBEM", 185},        {"SCARD_", 59},  {"STG_", 54},   {"NTE_", 37},
    };
    for (const auto& [prefix, count] : kFamilies) {
        int seen = 0;
        for (size_t i = 0; i < kStatusNameCount; ++i)
            seen += std::strncmp(kStatusNameTable[i].name, prefix, std::strlen(prefix)) == 0;
        EXPECT_EQ(seen, count) << prefix;
    }
}

TEST(GetErrorName, FindsEveryEntryAndNothingBetween) {
    for (size_t i = 0; i < kStatusNameCount; ++i) {
        const uint32_t status = kStatusNameTable[i].status;
        EXPECT_EQ(GetErrorName(static_cast<HRESULT>(status)), kStatusNameTable[i].name) << std::hex << status;
        if (i > 0 && kStatusNameTable[i - 1].status != status - 1) {
            EXPECT_STREQ(GetErrorName(static_cast<HRESULT>(status - 1)), "Unknown") << std::hex << status;
        }
    }
    for (uint32_t status : {0xFFFFFFFFu, 0x7FFFFFFFu, 0x800700C8u})  // past the table's ends, a gap in a family
        EXPECT_STREQ(GetErrorName(static_cast<HRESULT>(status)), "Unknown") << std::hex << status;
}

}  // namespace
