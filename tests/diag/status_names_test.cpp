// The status-name table as the published headers make it, and the lookup at its edges.
// status_table_regen_test proves the table is the generator's output; these cases prove the
// generator read the headers right, and the lookup finds every entry.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <set>
#include <string>

#include "diag/error_names.h"
#include "diag/status_name_table.h"

namespace {

const StatusName* Find(uint32_t status) {
    const StatusName* end = kStatusNameTable + kStatusNameCount;
    const StatusName* at = std::lower_bound(kStatusNameTable, end, status,
                                            [](const StatusName& e, uint32_t s) { return e.status < s; });
    return at != end && at->status == status ? at : nullptr;
}

TEST(StatusNameTable, SortedWithTheHeadersCounts) {
    ASSERT_EQ(kStatusNameCount, 5467u);
    std::set<std::string> texts, combined;
    std::set<const char*> arrays;
    int combinedEntries = 0, plain = 0, win32Hresults = 0;
    for (size_t i = 0; i < kStatusNameCount; ++i) {
        const StatusName& e = kStatusNameTable[i];
        if (i > 0) {
            ASSERT_LT(kStatusNameTable[i - 1].status, e.status) << i;  // the search relies on it
        }
        texts.insert(e.name);
        arrays.insert(e.name);
        if (std::strstr(e.name, " & ") != nullptr) ++combinedEntries, combined.insert(e.name);
        plain += e.status <= 0x3700;
        win32Hresults += (e.status >> 16) == 0x8007;
    }
    EXPECT_EQ(texts.size(), 3688u);
    EXPECT_EQ(arrays.size(), texts.size()) << "a text shared by two values is one array";
    EXPECT_EQ(combinedEntries, 39);
    EXPECT_EQ(combined.size(), 28u);
    EXPECT_EQ(plain, 1785 + 2);  // Win32 numbers, and S_OK / S_FALSE
    EXPECT_EQ(win32Hresults, 1784);

    // A few families by the prefix of their first name, one per header.
    const std::pair<const char*, int> kFamilies[] = {
        {"D3DERR_", 21},  {"D3DXERR_", 9 + 36}, {"DDERR_", 113},    {"DXFILEERR_", 27}, {"D3DXFERR_", 18},
        {"DSERR_", 15},   {"DMUS_", 120},       {"DPNERR_", 65},    {"DVERR_", 44},     {"VFW_", 125},
        {"DIERR_", 22},   {"WBEM", 185},        {"SPAPI_E_", 66},   {"SCARD_", 59},     {"COMADMIN_E_", 104},
        {"DISP_E_", 18},  {"TYPE_E_", 26},      {"STG_", 54},       {"MS_", 9},         {"NTE_", 37},
    };
    for (const auto& [prefix, count] : kFamilies) {
        int seen = 0;
        for (size_t i = 0; i < kStatusNameCount; ++i)
            seen += std::strncmp(kStatusNameTable[i].name, prefix, std::strlen(prefix)) == 0;
        EXPECT_EQ(seen, count) << prefix;
    }
}

TEST(StatusNameTable, EveryWin32NumberHasItsHresultFormWithTheSameText) {
    struct Exception {
        uint32_t plain;
        const char* hresult;  // nullptr: no HRESULT form
    };
    const Exception kExceptions[] = {
        {0x00, nullptr}, {0x01, "ERROR_INVALID_FUNCTION"}, {0x05, "E_ACCESSDENIED"}, {0x06, "E_HANDLE"},
        {0x0E, "E_OUTOFMEMORY"}, {0x57, "E_INVALIDARG"}, {0xC8, nullptr}, {0xC9, nullptr}};
    for (size_t i = 0; i < kStatusNameCount && kStatusNameTable[i].status <= 0xFFFF; ++i) {
        const StatusName& plain = kStatusNameTable[i];
        const char* expected = plain.name;
        for (const Exception& x : kExceptions)
            if (x.plain == plain.status) expected = x.hresult;
        const StatusName* hresult = Find(0x80070000 + plain.status);
        if (expected == nullptr) {
            EXPECT_EQ(hresult, nullptr) << std::hex << plain.status;
        } else {
            ASSERT_NE(hresult, nullptr) << std::hex << plain.status;
            EXPECT_STREQ(hresult->name, expected);
            if (expected == plain.name) {
                EXPECT_EQ(hresult->name, plain.name) << "one array for both forms";
            }
        }
    }
}

TEST(GetErrorName, FindsEveryEntryAndNothingBetween) {
    for (size_t i = 0; i < kStatusNameCount; ++i) {
        const uint32_t status = kStatusNameTable[i].status;
        EXPECT_EQ(GetErrorName(static_cast<HRESULT>(status)), kStatusNameTable[i].name) << std::hex << status;
        if (status != 0 && Find(status - 1) == nullptr) {
            EXPECT_STREQ(GetErrorName(static_cast<HRESULT>(status - 1)), "Unknown");
        }
    }

    const std::pair<uint32_t, const char*> kCases[] = {
        {0x00000000, "S_OK"}, {0x00000001, "S_FALSE"}, {0x80070001, "ERROR_INVALID_FUNCTION"},
        {0x00000005, "ERROR_ACCESS_DENIED"}, {0x80070005, "E_ACCESSDENIED"}, {0x80070002, "ERROR_FILE_NOT_FOUND"},
        {0x000000C8, "ERROR_RING2SEG_MUST_BE_MOVABLE"}, {0x800700C8, "Unknown"}, {0x80070000, "Unknown"},
        {0x80004005, "E_FAIL"}, {0x88760868, "D3DERR_DEVICELOST"}, {0x88760869, "D3DERR_DEVICENOTRESET"},
        {0x8876086A, "D3DERR_NOTAVAILABLE"}, {0x8876086C, "D3DERR_INVALIDCALL"},
        {0x8876017C, "D3DERR_OUTOFVIDEOMEMORY"}, {0x8876021C, "DDERR_WASSTILLDRAWING"},
        {0x88760B59, "D3DXERR_INVALIDDATA"}, {0xC8770BB8, "D3DXERR_NOMEMORY"}, {0x0876086F, "D3DOK_NOAUTOGEN"},
        {0x80040000, "OLE_E_FIRST"}, {0x000401A0, "INPLACE_S_FIRST"}, {0x800401A0, "INPLACE_E_NOTUNDOABLE"},
        {0x80040154, "REGDB_E_CLASSNOTREG"}, {0x800401F0, "CO_E_NOTINITIALIZED"}, {0x000401F0, "Unknown"},
        {0x80040205, "DIERR_NOTEXCLUSIVEACQUIRED & VFW_E_FILTER_ACTIVE & DMO_E_TYPE_NOT_ACCEPTED"},
        {0x00040001, "OLE_S_STATIC & MS_S_PENDING & WBEM_S_ALREADY_EXISTS"},
        {0x0000000C, "ERROR_INVALID_ACCESS & DIERR_NOTACQUIRED"},
        {0x80040303, "DIERR_DRIVERFIRST+3"}, {0x80040306, "Unknown"}, {0x800403FF, "DIERR_DRIVERLAST"},
        {0x00003700, "ERROR_SXS_INVALID_ASSEMBLY_IDENTITY_ATTRIBUTE_NAME"}, {0x00003701, "Unknown"},
        {0x80073701, "Unknown"}, {0x000301FF, "Unknown"}, {0x000000C2, "ERROR_ITERATED_DATA_EXCEEDS_64k"},
        {0xC0090001, "ERROR_AUDITING_DISABLED"}, {0xC0090002, "ERROR_ALL_SIDS_FILTERED"},
        {0x80000000, "Unknown"}, {0x7FFFFFFF, "Unknown"}, {0xFFFFFFFF, "Unknown"},
    };
    for (const auto& [status, name] : kCases) EXPECT_STREQ(GetErrorName(static_cast<HRESULT>(status)), name) << std::hex << status;
}

}  // namespace
