// The status-name table: its composition family by family, and the lookup at its edges.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "diag/error_names.h"
#include "diag/status_name_table.h"

namespace {

std::string Name(uint32_t status) { return GetErrorName(static_cast<HRESULT>(status)); }

uint32_t Facility(uint32_t status) { return (status >> 16) & 0xFFF; }
bool IsError(uint32_t status) { return (status >> 31) != 0; }
bool StartsWith(const std::string& s, const char* prefix) {
    return s.compare(0, std::strlen(prefix), prefix) == 0;
}

// The names of a text: one, or two or three joined by " & ".
std::vector<std::string> NamesOf(const char* text) {
    std::vector<std::string> names;
    std::string rest = text;
    for (size_t at; (at = rest.find(" & ")) != std::string::npos; rest = rest.substr(at + 3))
        names.push_back(rest.substr(0, at));
    names.push_back(rest);
    return names;
}

// The name a text begins with; "DIERR_DRIVERFIRST+3" begins with "DIERR_DRIVERFIRST".
std::string FirstName(const char* text) {
    std::string first = NamesOf(text).front();
    return first.substr(0, first.find('+'));
}

// ---------------------------------------------------------------------------------------
// The composition table. A family counts the entries whose text begins with one of its
// names; `prefixes` entries ending in "_" (and the Winsock "WSA") are prefixes, the others
// whole names, and a count of -1 means the table gives none for that prefix. The ranges
// are the lowest and highest value held with the severity bit clear and set (0, 0: none).
// `bracketed` counts the entries in which one of the family's names stands second or
// third; the DirectInput row counts all combined Win32 entries, as the table notes them.
// ---------------------------------------------------------------------------------------
enum Family {
    kSuccess, kWin32, kWin32Hresult, kFacility0, kFacility1, kFacility2, kFacility3,
    kOleCom, kDirectShow, kDirectInput, kMediaObjects, kMmStream, kWmi, kFacility8,
    kFacility9, kFacility11, kFacility15, kFacility16, kFacility17, kDirectPlay,
    kDirectPlayVoice, kDirectDraw, kDirect3D9, kD3DX9, kXFile, kD3DXFile, kEarlierD3DX,
    kDirectSound, kDirectMusic, kUnclassified, kFamilyCount
};

struct PrefixCount {
    const char* prefix;
    int count;
};

struct FamilyRow {
    Family family;
    const char* title;
    int entries;
    std::vector<PrefixCount> prefixes;
    uint32_t success_low, success_high, error_low, error_high;
    int bracketed;
};

const std::vector<PrefixCount> kWin32Prefixes = {
    {"ERROR_", 1466}, {"RPC_S_", 91}, {"RPC_X_", 20}, {"DNS_", 92}, {"WSA", 90},
    {"FRS_ERR_", 17}, {"EPT_S_", 4}, {"OR_", 3}, {"WAIT_TIMEOUT", 1},
    {"SCHED_E_SERVICE_NOT_LOCALSYSTEM", 1}};

std::vector<PrefixCount> Win32HresultPrefixes() {
    std::vector<PrefixCount> prefixes;
    for (const PrefixCount& p : kWin32Prefixes) prefixes.push_back({p.prefix, -1});
    prefixes.push_back({"E_", 4});
    return prefixes;
}

const std::vector<FamilyRow>& CompositionTable() {
    static const std::vector<FamilyRow> rows = {
        {kSuccess, "Success", 2, {{"S_OK", 1}, {"S_FALSE", 1}}, 0x00000000, 0x00000001, 0, 0, 0},
        {kWin32, "Win32 plain", 1785, kWin32Prefixes, 0x00000002, 0x00003700, 0, 0, 0},
        {kWin32Hresult, "Win32 HRESULT", 1784, Win32HresultPrefixes(), 0, 0, 0x80070001,
         0x80073700, 0},
        {kFacility0, "Facility 0", 49, {{"E_", 7}, {"CO_E_", 42}}, 0, 0, 0x8000000A, 0x8000FFFF, 0},
        {kFacility1, "Facility 1", 83, {{"RPC_E_", 52}, {"RPC_S_", 2}, {"CO_E_", 29}}, 0, 0,
         0x80010001, 0x8001FFFF, 0},
        {kFacility2, "Facility 2", 44, {{"DISP_E_", 18}, {"TYPE_E_", 26}}, 0, 0, 0x80020001,
         0x80029C84, 0},
        {kFacility3, "Facility 3", 54, {{"STG_S_", 7}, {"STG_E_", 47}}, 0x00030200, 0x00030206,
         0x80030001, 0x8003030B, 0},
        {kOleCom, "Facility 4, OLE and COM", 275,
         {{"OLE_", -1}, {"DRAGDROP_", -1}, {"CLASSFACTORY_", -1}, {"CLASS_E_", -1},
          {"MARSHAL_", -1}, {"DATA_", -1}, {"VIEW_", -1}, {"REGDB_", -1}, {"CAT_E_", -1},
          {"CS_E_", -1}, {"CACHE_", -1}, {"OLEOBJ_", -1}, {"CLIENTSITE_", -1},
          {"INPLACE_", -1}, {"ENUM_", -1}, {"CONVERT10_", -1}, {"CLIPBRD_", -1}, {"MK_", -1},
          {"CO_E_", -1}, {"EVENT_S_", -1}, {"XACT_", -1}, {"CONTEXT_", -1}, {"SCHED_", -1},
          {"DV_E_", -1}},
         0x00040000, 0x0004E02F, 0x80040000, 0x8004E02F, 0},
        {kDirectShow, "DirectShow", 125, {{"VFW_S_", 20}, {"VFW_E_", 105}}, 0x00040103,
         0x0004028D, 0x8004020C, 0x800403F2, 12},
        {kDirectInput, "DirectInput", 22, {{"DIERR_", 22}}, 0, 0, 0x80040200, 0x80040402, 22},
        {kMediaObjects, "Media objects", 0, {{"DMO_E_", 0}}, 0, 0, 0x80040201, 0x80040206, 6},
        {kMmStream, "Multimedia streaming", 9, {{"MS_S_", 1}, {"MS_E_", 8}}, 0x00040003,
         0x00040003, 0x80040403, 0x8004040A, 4},
        {kWmi, "WMI", 185,
         {{"WBEM_S_", 8}, {"WBEM_E_", 126}, {"WBEMESS_E_", 2}, {"WBEMMOF_E_", 49}}, 0x00040004,
         0x00040017, 0x80041001, 0x80044031, 3},
        {kFacility8, "Facility 8", 13,
         {{"CO_S_", 2}, {"CO_E_", 7}, {"MEM_E_", 3}, {"MK_E_NO_NORMALIZED", 1}}, 0x00080012,
         0x00080013, 0x80080001, 0x80080011, 0},
        {kFacility9, "Facility 9", 295,
         {{"SEC_I_", 8}, {"CRYPT_I_", 1}, {"NTE_", 37}, {"SEC_E_", 59}, {"CRYPT_E_", 70},
          {"OSS_", 46}, {"CERTSRV_E_", 36}, {"XENROLL_E_", 6}, {"TRUST_E_", 8},
          {"MSSIPOTF_E_", 22}, {"ERROR_AUDITING_DISABLED", 1}, {"ERROR_ALL_SIDS_FILTERED", 1}},
         0x00090312, 0x00091012, 0x80090001, 0xC0090002, 0},
        {kFacility11, "Facility 11", 32,
         {{"TRUST_E_", 7}, {"DIGSIG_E_", 4}, {"PERSIST_E_", 3}, {"CERT_E_", 18}}, 0, 0,
         0x800B0001, 0x800B0114, 0},
        {kFacility15, "Facility 15", 66, {{"SPAPI_E_", 66}}, 0, 0, 0x800F0000, 0x800F1000, 0},
        {kFacility16, "Facility 16", 59,
         {{"SCARD_F_", 4}, {"SCARD_E_", 43}, {"SCARD_W_", 11}, {"SCARD_P_", 1}}, 0, 0,
         0x80100001, 0x8010006F, 0},
        {kFacility17, "Facility 17", 112,
         {{"COMADMIN_E_", 104}, {"COMQC_E_", 7}, {"MSDTC_E_", 1}}, 0, 0, 0x80110401,
         0x80110823, 0},
        {kDirectPlay, "DirectPlay 8", 65, {{"DPNERR_", 65}}, 0, 0, 0x80158030, 0x80158650, 0},
        {kDirectPlayVoice, "DirectPlay Voice", 47,
         {{"DV_FULLDUPLEX", 1}, {"DV_HALFDUPLEX", 1}, {"DV_PENDING", 1}, {"DVERR_", 44}},
         0x00150005, 0x00150010, 0x8015001E, 0x80150190, 0},
        {kDirectDraw, "DirectDraw", 113, {{"DDERR_", 113}}, 0, 0, 0x88760005, 0x887602BB, 0},
        {kDirect3D9, "Direct3D 9", 22, {{"D3DERR_", 21}, {"D3DOK_NOAUTOGEN", 1}}, 0x0876086F,
         0x0876086F, 0x8876017C, 0x8876086D, 0},
        {kD3DX9, "D3DX 9", 9, {{"D3DXERR_", 9}}, 0, 0, 0x88760B54, 0x88760B5C, 0},
        {kXFile, ".x file interface", 27, {{"DXFILEERR_", 27}}, 0, 0, 0x88760352, 0x8876036C, 0},
        {kD3DXFile, "D3DX 9 .x file interface", 18, {{"D3DXFERR_", 18}}, 0, 0, 0x88760384,
         0x88760395, 0},
        {kEarlierD3DX, "Earlier D3DX", 36, {{"D3DXERR_", 36}}, 0, 0, 0xC8770BB8, 0xC8770BDB, 0},
        {kDirectSound, "DirectSound", 16, {{"DS_NO_VIRTUALIZATION", 1}, {"DSERR_", 15}},
         0x0878000A, 0x0878000A, 0x8878000A, 0x88781161, 0},
        {kDirectMusic, "DirectMusic", 120, {{"DMUS_S_", 12}, {"DMUS_E_", 108}}, 0x08781091,
         0x08781216, 0x88781101, 0x8878122F, 0},
    };
    return rows;
}

const int kCompositionEntries = 5467;
const int kCompositionTexts = 3688;
const int kCompositionSuccessOutsideWin32 = 131;

bool MatchesPrefix(const std::string& name, const char* prefix) {
    size_t n = std::strlen(prefix);
    bool is_prefix = prefix[n - 1] == '_' || std::strcmp(prefix, "WSA") == 0;
    return is_prefix ? StartsWith(name, prefix) : name == prefix;
}

// The family of an entry, from its value and the first name of its text.
Family FamilyOf(uint32_t status, const std::string& first) {
    const uint32_t facility = Facility(status);
    if (status <= 1) return kSuccess;
    if (status <= 0xFFFF) return kWin32;
    switch (facility) {
    case 0x000: return IsError(status) ? kFacility0 : kUnclassified;
    case 0x001: return kFacility1;
    case 0x002: return kFacility2;
    case 0x003: return kFacility3;
    case 0x004:
        if (StartsWith(first, "VFW_")) return kDirectShow;
        if (StartsWith(first, "DIERR_")) return kDirectInput;
        if (StartsWith(first, "DMO_E_")) return kMediaObjects;
        if (StartsWith(first, "MS_S_") || StartsWith(first, "MS_E_")) return kMmStream;
        if (StartsWith(first, "WBEM")) return kWmi;
        return kOleCom;
    case 0x007: return IsError(status) ? kWin32Hresult : kUnclassified;
    case 0x008: return kFacility8;
    case 0x009: return kFacility9;
    case 0x00B: return kFacility11;
    case 0x00F: return kFacility15;
    case 0x010: return kFacility16;
    case 0x011: return kFacility17;
    case 0x015: return StartsWith(first, "DPNERR_") ? kDirectPlay : kDirectPlayVoice;
    case 0x876:
        if (StartsWith(first, "DDERR_")) return kDirectDraw;
        if (StartsWith(first, "D3DERR_") || StartsWith(first, "D3DOK_")) return kDirect3D9;
        if (StartsWith(first, "D3DXERR_")) return kD3DX9;
        if (StartsWith(first, "DXFILEERR_")) return kXFile;
        if (StartsWith(first, "D3DXFERR_")) return kD3DXFile;
        return kUnclassified;
    case 0x877: return kEarlierD3DX;
    case 0x878: return StartsWith(first, "DMUS_") ? kDirectMusic : kDirectSound;
    default: return kUnclassified;
    }
}

// The family of a name that stands second or third in a combined text.
Family FamilyOfBracketed(uint32_t status, const std::string& name) {
    if (Facility(status) == 0 || Facility(status) == 7) return kDirectInput;  // the Win32 texts
    if (StartsWith(name, "VFW_")) return kDirectShow;
    if (StartsWith(name, "DMO_E_")) return kMediaObjects;
    if (StartsWith(name, "MS_S_") || StartsWith(name, "MS_E_")) return kMmStream;
    if (StartsWith(name, "WBEM")) return kWmi;
    return kUnclassified;
}

struct Tally {
    int entries = 0;
    int bracketed = 0;
    std::map<std::string, int> by_prefix;
    uint32_t success_low = 0, success_high = 0, error_low = 0, error_high = 0;
    bool any_success = false, any_error = false;
    std::vector<uint32_t> bracketed_values;
};

TEST(StatusNameComposition, EveryFamilyHasTheCountsAndRangesOfTheCompositionTable) {
    std::vector<Tally> tally(kFamilyCount);
    const auto& rows = CompositionTable();
    for (size_t i = 0; i < kStatusNameCount; ++i) {
        const StatusName& e = kStatusNameTable[i];
        const std::string first = FirstName(e.name);
        const Family family = FamilyOf(e.status, first);
        Tally& t = tally[family];
        ++t.entries;
        if (IsError(e.status)) {
            if (!t.any_error) t.error_low = e.status;
            t.error_high = e.status;
            t.any_error = true;
        } else {
            if (!t.any_success) t.success_low = e.status;
            t.success_high = e.status;
            t.any_success = true;
        }
        const FamilyRow* row = nullptr;
        for (const FamilyRow& r : rows)
            if (r.family == family) row = &r;
        std::string matched = "(no prefix of the family)";
        if (row != nullptr)
            for (const PrefixCount& p : row->prefixes)
                if (MatchesPrefix(first, p.prefix)) {
                    matched = p.prefix;
                    break;
                }
        ++t.by_prefix[matched];
        EXPECT_NE(matched, "(no prefix of the family)")
            << std::hex << e.status << " " << e.name;
        std::vector<std::string> names = NamesOf(e.name);
        std::set<Family> bracketed;
        for (size_t k = 1; k < names.size(); ++k) bracketed.insert(FamilyOfBracketed(e.status, names[k]));
        for (Family b : bracketed) {
            ++tally[b].bracketed;
            tally[b].bracketed_values.push_back(e.status);
        }
    }

    EXPECT_EQ(tally[kUnclassified].entries, 0);
    EXPECT_EQ(tally[kUnclassified].bracketed, 0);
    for (const FamilyRow& row : rows) {
        SCOPED_TRACE(row.title);
        const Tally& t = tally[row.family];
        EXPECT_EQ(t.entries, row.entries);
        EXPECT_EQ(t.bracketed, row.bracketed);
        for (const PrefixCount& p : row.prefixes) {
            if (p.count < 0) continue;
            auto found = t.by_prefix.find(p.prefix);
            EXPECT_EQ(found == t.by_prefix.end() ? 0 : found->second, p.count) << p.prefix;
        }
        if (t.entries == 0) {
            // A family held only in combined texts: its range is that of those entries.
            ASSERT_FALSE(t.bracketed_values.empty());
            EXPECT_EQ(t.bracketed_values.front(), row.error_low);
            EXPECT_EQ(t.bracketed_values.back(), row.error_high);
            continue;
        }
        EXPECT_EQ(t.any_success ? t.success_low : 0, row.success_low) << std::hex;
        EXPECT_EQ(t.any_success ? t.success_high : 0, row.success_high) << std::hex;
        EXPECT_EQ(t.any_error ? t.error_low : 0, row.error_low) << std::hex;
        EXPECT_EQ(t.any_error ? t.error_high : 0, row.error_high) << std::hex;
    }
    // Facility 4's OLE and COM blocks: 67 success codes and 208 errors.
    int ole_success = 0, ole_error = 0;
    for (size_t i = 0; i < kStatusNameCount; ++i) {
        const StatusName& e = kStatusNameTable[i];
        if (FamilyOf(e.status, FirstName(e.name)) == kOleCom) ++(IsError(e.status) ? ole_error : ole_success);
    }
    EXPECT_EQ(ole_success, 67);
    EXPECT_EQ(ole_error, 208);
}

TEST(StatusNameComposition, TotalsTextsAndSuccessCodes) {
    EXPECT_EQ(kStatusNameCount, size_t(kCompositionEntries));

    std::set<std::string> texts;
    std::set<const char*> arrays;
    size_t shortest = 1000, longest = 0;
    for (size_t i = 0; i < kStatusNameCount; ++i) {
        texts.insert(kStatusNameTable[i].name);
        arrays.insert(kStatusNameTable[i].name);
        shortest = std::min(shortest, std::strlen(kStatusNameTable[i].name));
        longest = std::max(longest, std::strlen(kStatusNameTable[i].name));
    }
    EXPECT_EQ(texts.size(), size_t(kCompositionTexts));
    EXPECT_EQ(arrays.size(), texts.size()) << "each text is defined once and shared";
    EXPECT_EQ(shortest, 4u);
    EXPECT_EQ(longest, 74u);
    int longest_texts = 0;
    for (const std::string& text : texts) longest_texts += text.size() == 74;
    EXPECT_EQ(longest_texts, 1);

    // Success codes outside the plain Win32 range, by facility.
    std::map<uint32_t, int> success;
    int total = 0;
    for (size_t i = 0; i < kStatusNameCount; ++i) {
        const uint32_t s = kStatusNameTable[i].status;
        if (s > 0xFFFF && !IsError(s)) {
            ++success[Facility(s)];
            ++total;
        }
    }
    EXPECT_EQ(total, kCompositionSuccessOutsideWin32);
    const std::map<uint32_t, int> expected = {
        {0x003, 7}, {0x004, 96}, {0x008, 2}, {0x009, 9},
        {0x015, 3}, {0x876, 1}, {0x878, 13}};
    EXPECT_EQ(success, expected);
}

TEST(StatusNameTable, IsStrictlySortedAndNothingFollowsTheLastWin32Number) {
    ASSERT_GT(kStatusNameCount, 0u);
    for (size_t i = 1; i < kStatusNameCount; ++i)
        ASSERT_LT(kStatusNameTable[i - 1].status, kStatusNameTable[i].status) << i;
    for (size_t i = 0; i < kStatusNameCount; ++i) {
        const uint32_t s = kStatusNameTable[i].status;
        EXPECT_FALSE(s >= 0x00003701 && s <= 0x000301FF) << std::hex << s;
    }
    EXPECT_EQ(Name(0x00003701), "Unknown");
    EXPECT_EQ(Name(0x0000FFFF), "Unknown");
    EXPECT_EQ(Name(0x000301FF), "Unknown");
}

TEST(StatusNameTable, TextsAreNamesOfCapitalsDigitsAndUnderscores) {
    const std::set<std::string> lower_k = {"ERROR_ITERATED_DATA_EXCEEDS_64k",
                                           "ERROR_AUTODATASEG_EXCEEDS_64k"};
    int lower_k_seen = 0, offsets_seen = 0;
    for (size_t i = 0; i < kStatusNameCount; ++i) {
        const char* text = kStatusNameTable[i].name;
        ASSERT_NE(text, nullptr);
        ASSERT_NE(text[0], '\0');
        for (std::string name : NamesOf(text)) {
            if (lower_k.count(name)) {
                ++lower_k_seen;
                continue;
            }
            size_t plus = name.find('+');
            if (plus != std::string::npos) {
                EXPECT_EQ(name.substr(0, plus), "DIERR_DRIVERFIRST") << text;
                EXPECT_EQ(name.size(), plus + 2) << text;
                EXPECT_TRUE(name[plus + 1] >= '1' && name[plus + 1] <= '5') << text;
                name = name.substr(0, plus);
                ++offsets_seen;
            }
            ASSERT_FALSE(name.empty()) << text;
            for (char c : name)
                EXPECT_TRUE((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_')
                    << '"' << text << '"';
        }
    }
    EXPECT_EQ(lower_k_seen, 4);  // each in its plain and its HRESULT form
    EXPECT_EQ(offsets_seen, 5);
}

// ---------------------------------------------------------------------------------------
// The rules of the table, each against the composition's own lists.
// ---------------------------------------------------------------------------------------

const StatusName* Find(uint32_t status) {
    size_t low = 0, high = kStatusNameCount;
    while (low < high) {
        size_t mid = low + (high - low) / 2;
        if (kStatusNameTable[mid].status == status) return &kStatusNameTable[mid];
        if (kStatusNameTable[mid].status < status)
            low = mid + 1;
        else
            high = mid;
    }
    return nullptr;
}

TEST(StatusNameRules, EveryWin32NumberHasItsHresultFormWithTheSameText) {
    const std::map<uint32_t, const char*> exceptions = {
        {0x00, nullptr}, {0x01, "ERROR_INVALID_FUNCTION"}, {0x05, "E_ACCESSDENIED"},
        {0x06, "E_HANDLE"}, {0x0E, "E_OUTOFMEMORY"}, {0x57, "E_INVALIDARG"},
        {0xC8, nullptr}, {0xC9, nullptr}};
    for (size_t i = 0; i < kStatusNameCount && kStatusNameTable[i].status <= 0xFFFF; ++i) {
        const StatusName& plain = kStatusNameTable[i];
        const StatusName* hresult = Find(0x80070000 + plain.status);
        auto exception = exceptions.find(plain.status);
        if (exception == exceptions.end()) {
            ASSERT_NE(hresult, nullptr) << std::hex << plain.status;
            EXPECT_EQ(hresult->name, plain.name) << "one shared text: " << plain.name;
        } else if (exception->second == nullptr) {
            EXPECT_EQ(hresult, nullptr) << std::hex << plain.status;
        } else {
            ASSERT_NE(hresult, nullptr);
            EXPECT_STREQ(hresult->name, exception->second);
        }
    }
    // And no HRESULT form without its plain number.
    for (size_t i = 0; i < kStatusNameCount; ++i) {
        const uint32_t s = kStatusNameTable[i].status;
        if ((s & 0xFFFF0000u) == 0x80070000u) {
            EXPECT_NE(Find(s & 0xFFFF), nullptr) << std::hex << s;
        }
    }
    EXPECT_EQ(Name(0x00000001), "S_FALSE");
    int invalid_function = 0;
    for (size_t i = 0; i < kStatusNameCount; ++i)
        invalid_function += std::strcmp(kStatusNameTable[i].name, "ERROR_INVALID_FUNCTION") == 0;
    EXPECT_EQ(invalid_function, 1);
}

TEST(StatusNameRules, TheCombinedTextsAreExactlyTheTwentyEight) {
    struct Combined {
        uint32_t status;
        bool also_hresult;
        const char* text;
    };
    const Combined kCombined[] = {
        {0x0000000C, true, "ERROR_INVALID_ACCESS & DIERR_NOTACQUIRED"},
        {0x00000015, true, "ERROR_NOT_READY & DIERR_NOTINITIALIZED"},
        {0x0000001E, true, "ERROR_READ_FAULT & DIERR_INPUTLOST"},
        {0x00000077, true, "ERROR_BAD_DRIVER_LEVEL & DIERR_BADDRIVERVER"},
        {0x000000AA, true, "ERROR_BUSY & DIERR_ACQUIRED"},
        {0x00000103, true, "ERROR_NO_MORE_ITEMS & DIERR_NOMOREITEMS"},
        {0x0000047E, true, "ERROR_OLD_WIN_VERSION & DIERR_OLDDIRECTINPUTVERSION"},
        {0x00000481, true, "ERROR_RMODE_APP & DIERR_BETADIRECTINPUTVERSION"},
        {0x00000490, true, "ERROR_NOT_FOUND & E_PROP_ID_UNSUPPORTED"},
        {0x00000492, true, "ERROR_SET_NOT_FOUND & E_PROP_SET_UNSUPPORTED"},
        {0x000004DF, true, "ERROR_ALREADY_INITIALIZED & DIERR_ALREADYINITIALIZED"},
        {0x00040001, false, "OLE_S_STATIC & MS_S_PENDING & WBEM_S_ALREADY_EXISTS"},
        {0x00040002, false, "OLE_S_MAC_CLIPFORMAT & MS_S_NOUPDATE & WBEM_S_RESET_TO_DEFAULT"},
        {0x00040003, false, "MS_S_ENDOFSTREAM & WBEM_S_DIFFERENT"},
        {0x80040200, false, "DIERR_INSUFFICIENTPRIVS & VFW_E_INVALIDMEDIATYPE"},
        {0x80040201, false, "DIERR_DEVICEFULL & VFW_E_INVALIDSUBTYPE & DMO_E_INVALIDSTREAMINDEX"},
        {0x80040202, false, "DIERR_MOREDATA & VFW_E_NEED_OWNER & DMO_E_INVALIDTYPE"},
        {0x80040203, false, "DIERR_NOTDOWNLOADED & VFW_E_ENUM_OUT_OF_SYNC & DMO_E_TYPE_NOT_SET"},
        {0x80040204, false, "DIERR_HASEFFECTS & VFW_E_ALREADY_CONNECTED & DMO_E_NOTACCEPTING"},
        {0x80040205, false,
         "DIERR_NOTEXCLUSIVEACQUIRED & VFW_E_FILTER_ACTIVE & DMO_E_TYPE_NOT_ACCEPTED"},
        {0x80040206, false, "DIERR_INCOMPLETEEFFECT & VFW_E_NO_TYPES & DMO_E_NO_MORE_ITEMS"},
        {0x80040207, false, "DIERR_NOTBUFFERED & VFW_E_NO_ACCEPTABLE_TYPES"},
        {0x80040208, false, "DIERR_EFFECTPLAYING & VFW_E_INVALID_DIRECTION"},
        {0x80040209, false, "DIERR_UNPLUGGED & VFW_E_NOT_CONNECTED"},
        {0x8004020A, false, "DIERR_REPORTFULL & VFW_E_NO_ALLOCATOR"},
        {0x8004020B, false, "DIERR_MAPFILEFAIL & VFW_E_RUNTIME_ERROR"},
        {0x80040401, false, "DIERR_CANCELLED & MS_E_SAMPLEALLOC"},
        {0x80040402, false, "DIERR_BADINF & MS_E_PURPOSEID"},
    };
    std::map<uint32_t, std::string> expected;
    for (const Combined& c : kCombined) {
        expected[c.status] = c.text;
        if (c.also_hresult) expected[0x80070000 + c.status] = c.text;
    }
    std::map<uint32_t, std::string> held;
    std::set<std::string> texts;
    for (size_t i = 0; i < kStatusNameCount; ++i)
        if (std::strstr(kStatusNameTable[i].name, "&") != nullptr) {
            held[kStatusNameTable[i].status] = kStatusNameTable[i].name;
            texts.insert(kStatusNameTable[i].name);
        }
    EXPECT_EQ(held, expected);
    EXPECT_EQ(held.size(), 39u);
    EXPECT_EQ(texts.size(), 28u);
}

TEST(StatusNameRules, TheRangeMarkersOfTheOleAndComBlocks) {
    struct Block {
        const char* name;
        uint32_t s_first, s_last, e_first, e_last;  // 0: the block has no such entry
    };
    const Block kBlocks[] = {
        {"OLE", 0x00040000, 0x000400FF, 0x80040000, 0x800400FF},
        {"DRAGDROP", 0x00040100, 0x0004010F, 0x80040100, 0x8004010F},
        {"CLASSFACTORY", 0x00040110, 0x0004011F, 0x80040110, 0x8004011F},
        {"MARSHAL", 0x00040120, 0x0004012F, 0x80040120, 0x8004012F},
        {"DATA", 0x00040130, 0x0004013F, 0x80040130, 0x8004013F},
        {"VIEW", 0x00040140, 0x0004014F, 0x80040140, 0x8004014F},
        {"REGDB", 0x00040150, 0x0004015F, 0x80040150, 0x8004015F},
        {"CAT", 0, 0, 0x80040160, 0x80040161},
        {"CS", 0, 0, 0x80040164, 0x8004016F},
        {"CACHE", 0x00040170, 0x0004017F, 0x80040170, 0x8004017F},
        {"OLEOBJ", 0x00040180, 0x0004018F, 0x80040180, 0x8004018F},
        {"CLIENTSITE", 0x00040190, 0x0004019F, 0x80040190, 0x8004019F},
        {"INPLACE", 0x000401A0, 0x000401AF, 0, 0x800401AF},
        {"ENUM", 0x000401B0, 0x000401BF, 0x800401B0, 0x800401BF},
        {"CONVERT10", 0x000401C0, 0x000401CF, 0x800401C0, 0x800401CF},
        {"CLIPBRD", 0x000401D0, 0x000401DF, 0x800401D0, 0x800401DF},
        {"MK", 0x000401E0, 0x000401EF, 0x800401E0, 0x800401EF},
        {"XACT", 0x0004D000, 0x0004D010, 0x8004D000, 0x8004D029},
        {"CONTEXT", 0x0004E000, 0x0004E02F, 0x8004E000, 0x8004E02F},
    };
    int markers = 0;
    for (const Block& b : kBlocks) {
        const uint32_t values[] = {b.s_first, b.s_last, b.e_first, b.e_last};
        const char* suffixes[] = {"_S_FIRST", "_S_LAST", "_E_FIRST", "_E_LAST"};
        for (int k = 0; k < 4; ++k) {
            if (values[k] == 0) continue;
            EXPECT_EQ(Name(values[k]), std::string(b.name) + suffixes[k]) << std::hex << values[k];
            ++markers;
        }
    }
    EXPECT_EQ(markers, 71);
    // No other text ends in _FIRST or _LAST (DirectInput's DIERR_DRIVERFIRST and
    // DIERR_DRIVERLAST, tested with the driver range, end in FIRST and LAST).
    int marker_texts = 0;
    for (size_t i = 0; i < kStatusNameCount; ++i) {
        std::string text = kStatusNameTable[i].name;
        bool marker = (text.size() > 6 && text.compare(text.size() - 6, 6, "_FIRST") == 0) ||
                      (text.size() > 5 && text.compare(text.size() - 5, 5, "_LAST") == 0);
        marker_texts += marker;
    }
    EXPECT_EQ(marker_texts, 71);
    EXPECT_EQ(Name(0x800401A0), "INPLACE_E_NOTUNDOABLE");
    EXPECT_EQ(Name(0x800401F0), "CO_E_NOTINITIALIZED");  // CO_E_FIRST is not an entry
    EXPECT_EQ(Name(0x800401FF), "CO_E_RELEASED");
    EXPECT_EQ(Name(0x000401F0), "Unknown");              // nor CO_S_FIRST
    EXPECT_EQ(Name(0x0004021F), "Unknown");              // nor EVENT_S_LAST
    EXPECT_EQ(Name(0x8004021F), "VFW_E_NO_COLOR_KEY_FOUND");
    EXPECT_EQ(Name(0x00002328), "DNS_ERROR_RESPONSE_CODES_BASE");
    EXPECT_EQ(Name(0x80072328), "DNS_ERROR_RESPONSE_CODES_BASE");
    EXPECT_EQ(Name(0x00002710), "WSABASEERR");
    EXPECT_EQ(Name(0x80072710), "WSABASEERR");
}

TEST(StatusNameRules, TheDirectInputDriverRange) {
    EXPECT_EQ(Name(0x80040300), "DIERR_DRIVERFIRST");
    for (uint32_t offset = 1; offset <= 5; ++offset)
        EXPECT_EQ(Name(0x80040300 + offset), "DIERR_DRIVERFIRST+" + std::to_string(offset));
    for (uint32_t s = 0x80040306; s <= 0x800403FE; ++s)
        if (s != 0x800403F2) {  // DirectShow's VFW_E_BAD_KEY lies inside the driver range
            EXPECT_EQ(Name(s), "Unknown") << std::hex << s;
        }
    EXPECT_EQ(Name(0x800403F2), "VFW_E_BAD_KEY");
    EXPECT_EQ(Name(0x800403FF), "DIERR_DRIVERLAST");
    EXPECT_EQ(Name(0x80040400), "DIERR_INVALIDCLASSINSTALLER");
}

TEST(StatusNameRules, Direct3D9AndD3DX9AreHeldInFull) {
    const std::map<uint32_t, std::string> expected = {
        {0x0876086F, "D3DOK_NOAUTOGEN"},
        {0x8876017C, "D3DERR_OUTOFVIDEOMEMORY"},
        {0x88760818, "D3DERR_WRONGTEXTUREFORMAT"},
        {0x88760819, "D3DERR_UNSUPPORTEDCOLOROPERATION"},
        {0x8876081A, "D3DERR_UNSUPPORTEDCOLORARG"},
        {0x8876081B, "D3DERR_UNSUPPORTEDALPHAOPERATION"},
        {0x8876081C, "D3DERR_UNSUPPORTEDALPHAARG"},
        {0x8876081D, "D3DERR_TOOMANYOPERATIONS"},
        {0x8876081E, "D3DERR_CONFLICTINGTEXTUREFILTER"},
        {0x8876081F, "D3DERR_UNSUPPORTEDFACTORVALUE"},
        {0x88760821, "D3DERR_CONFLICTINGRENDERSTATE"},
        {0x88760822, "D3DERR_UNSUPPORTEDTEXTUREFILTER"},
        {0x88760826, "D3DERR_CONFLICTINGTEXTUREPALETTE"},
        {0x88760827, "D3DERR_DRIVERINTERNALERROR"},
        {0x88760866, "D3DERR_NOTFOUND"},
        {0x88760867, "D3DERR_MOREDATA"},
        {0x88760868, "D3DERR_DEVICELOST"},
        {0x88760869, "D3DERR_DEVICENOTRESET"},
        {0x8876086A, "D3DERR_NOTAVAILABLE"},
        {0x8876086B, "D3DERR_INVALIDDEVICE"},
        {0x8876086C, "D3DERR_INVALIDCALL"},
        {0x8876086D, "D3DERR_DRIVERINVALIDCALL"},
        {0x88760B54, "D3DXERR_CANNOTMODIFYINDEXBUFFER"},
        {0x88760B55, "D3DXERR_INVALIDMESH"},
        {0x88760B56, "D3DXERR_CANNOTATTRSORT"},
        {0x88760B57, "D3DXERR_SKINNINGNOTSUPPORTED"},
        {0x88760B58, "D3DXERR_TOOMANYINFLUENCES"},
        {0x88760B59, "D3DXERR_INVALIDDATA"},
        {0x88760B5A, "D3DXERR_LOADEDMESHASNODATA"},
        {0x88760B5B, "D3DXERR_DUPLICATENAMEDFRAGMENT"},
        {0x88760B5C, "D3DXERR_CANNOTREMOVELASTITEM"},
    };
    std::map<uint32_t, std::string> held;
    for (size_t i = 0; i < kStatusNameCount; ++i) {
        const StatusName& e = kStatusNameTable[i];
        if (Facility(e.status) != 0x876) continue;
        std::string name = e.name;
        if (StartsWith(name, "DDERR_") || StartsWith(name, "DXFILEERR_") ||
            StartsWith(name, "D3DXFERR_"))
            continue;
        held[e.status] = name;
    }
    EXPECT_EQ(held, expected);
    EXPECT_EQ(Name(0x8876021C), "DDERR_WASSTILLDRAWING");
}

TEST(StatusNameRules, GenericCodesKeepTheirGenericNames) {
    struct Owner {
        const char* prefix;
        std::vector<uint32_t> facilities;
    };
    const Owner kOwners[] = {
        {"DIERR_", {0x004}}, {"VFW_", {0x004}}, {"DMO_E_", {0x004}}, {"MS_S_", {0x004}},
        {"MS_E_", {0x004}}, {"WBEM", {0x004}}, {"DPNERR_", {0x015}}, {"DVERR_", {0x015}},
        {"DV_FULLDUPLEX", {0x015}}, {"DV_HALFDUPLEX", {0x015}}, {"DV_PENDING", {0x015}},
        {"DDERR_", {0x876}}, {"D3DERR_", {0x876}}, {"D3DOK_", {0x876}},
        {"D3DXERR_", {0x876, 0x877}}, {"DXFILEERR_", {0x876}}, {"D3DXFERR_", {0x876}},
        {"DSERR_", {0x878}}, {"DS_", {0x878}}, {"DMUS_", {0x878}}};
    int win32_exceptions = 0;
    for (size_t i = 0; i < kStatusNameCount; ++i) {
        const StatusName& e = kStatusNameTable[i];
        std::vector<std::string> names = NamesOf(e.name);
        for (size_t k = 0; k < names.size(); ++k)
            for (const Owner& owner : kOwners) {
                if (!StartsWith(names[k], owner.prefix)) continue;
                bool own = false;
                for (uint32_t f : owner.facilities) own = own || Facility(e.status) == f;
                bool combined_win32 = k > 0 && (e.status <= 0xFFFF || Facility(e.status) == 7) &&
                                      StartsWith(names[k], "DIERR_");
                win32_exceptions += combined_win32;
                EXPECT_TRUE(own || combined_win32) << std::hex << e.status << " " << e.name;
            }
    }
    EXPECT_EQ(win32_exceptions, 18);  // nine DirectInput texts, each in both forms
    EXPECT_EQ(Name(0x80004005), "E_FAIL");
    EXPECT_EQ(Name(0x80004001), "E_NOTIMPL");
    EXPECT_EQ(Name(0x80004002), "E_NOINTERFACE");
    EXPECT_EQ(Name(0x8007000E), "E_OUTOFMEMORY");
    EXPECT_EQ(Name(0x80070057), "E_INVALIDARG");
    EXPECT_EQ(Name(0x80070002), "ERROR_FILE_NOT_FOUND");   // not DIERR_NOTFOUND
    EXPECT_EQ(Name(0x80040154), "REGDB_E_CLASSNOTREG");    // not DIERR_DEVICENOTREG
    EXPECT_EQ(Name(0x800401F0), "CO_E_NOTINITIALIZED");    // not DDERR_NOTINITIALIZED
}

TEST(StatusNameRules, TheSmartCardSecurityCodesAreHresults) {
    const char* const kMoved[] = {"SEC_E_SMARTCARD_CERT_REVOKED", "SEC_E_ISSUING_CA_UNTRUSTED",
                                  "SEC_E_REVOCATION_OFFLINE_C", "SEC_E_PKINIT_CLIENT_FAILURE",
                                  "SEC_E_SMARTCARD_CERT_EXPIRED"};
    for (uint32_t k = 0; k < 5; ++k) {
        EXPECT_EQ(Name(0x80090351 + k), kMoved[k]);
        EXPECT_EQ(Name(1266 + k), "Unknown");
        EXPECT_EQ(Name(0x80070000 + 1266 + k), "Unknown");
    }
}

// ---------------------------------------------------------------------------------------
// The lookup at the edges of the table.
// ---------------------------------------------------------------------------------------

TEST(GetErrorName, EdgeCases) {
    EXPECT_EQ(Name(0x00000000), "S_OK");
    EXPECT_EQ(Name(0x00000001), "S_FALSE");
    EXPECT_EQ(Name(0x80070001), "ERROR_INVALID_FUNCTION");
    EXPECT_EQ(Name(0x00000002), "ERROR_FILE_NOT_FOUND");
    EXPECT_EQ(Name(0x80070002), "ERROR_FILE_NOT_FOUND");
    EXPECT_EQ(Name(0x00000005), "ERROR_ACCESS_DENIED");
    EXPECT_EQ(Name(0x80070005), "E_ACCESSDENIED");
    EXPECT_EQ(Name(0x000000C8), "ERROR_RING2SEG_MUST_BE_MOVABLE");
    EXPECT_EQ(Name(0x800700C8), "Unknown");
    EXPECT_EQ(Name(0x000000C9), "ERROR_RELOC_CHAIN_XEEDS_SEGLIM");
    EXPECT_EQ(Name(0x800700C9), "Unknown");
    EXPECT_EQ(Name(0x80070000), "Unknown");
    EXPECT_EQ(Name(0x80004005), "E_FAIL");
    EXPECT_EQ(Name(0x88760868), "D3DERR_DEVICELOST");
    EXPECT_EQ(Name(0x88760869), "D3DERR_DEVICENOTRESET");
    EXPECT_EQ(Name(0x8876086A), "D3DERR_NOTAVAILABLE");
    EXPECT_EQ(Name(0x8876086C), "D3DERR_INVALIDCALL");
    EXPECT_EQ(Name(0x8876017C), "D3DERR_OUTOFVIDEOMEMORY");
    EXPECT_EQ(Name(0x8876021C), "DDERR_WASSTILLDRAWING");
    EXPECT_EQ(Name(0x88760B59), "D3DXERR_INVALIDDATA");
    EXPECT_EQ(Name(0xC8770BB8), "D3DXERR_NOMEMORY");
    EXPECT_EQ(Name(0x80040000), "OLE_E_FIRST");
    EXPECT_EQ(Name(0x800401A0), "INPLACE_E_NOTUNDOABLE");
    EXPECT_EQ(Name(0x000401A0), "INPLACE_S_FIRST");
    EXPECT_EQ(Name(0x80040205),
              "DIERR_NOTEXCLUSIVEACQUIRED & VFW_E_FILTER_ACTIVE & DMO_E_TYPE_NOT_ACCEPTED");
    EXPECT_EQ(Name(0x80040205).size(), 74u);
    EXPECT_EQ(Name(0x80040303), "DIERR_DRIVERFIRST+3");
    EXPECT_EQ(Name(0x80040306), "Unknown");
    EXPECT_EQ(Name(0x00003700), "ERROR_SXS_INVALID_ASSEMBLY_IDENTITY_ATTRIBUTE_NAME");
    EXPECT_EQ(Name(0x80073700), "ERROR_SXS_INVALID_ASSEMBLY_IDENTITY_ATTRIBUTE_NAME");
    EXPECT_EQ(Name(0x00003701), "Unknown");
    EXPECT_EQ(Name(0x80073701), "Unknown");
    EXPECT_EQ(Name(0xC0090001), "ERROR_AUDITING_DISABLED");
    EXPECT_EQ(Name(0xC0090002), "ERROR_ALL_SIDS_FILTERED");
    EXPECT_EQ(Name(0x80000000), "Unknown");
    EXPECT_EQ(Name(0x7FFFFFFF), "Unknown");
    EXPECT_EQ(GetErrorName(-1), std::string("Unknown"));
}

TEST(GetErrorName, ReturnsTheTableTextItselfForEveryEntry) {
    for (size_t i = 0; i < kStatusNameCount; ++i)
        EXPECT_EQ(GetErrorName(static_cast<HRESULT>(kStatusNameTable[i].status)),
                  kStatusNameTable[i].name)
            << std::hex << kStatusNameTable[i].status;
}

}  // namespace
