// GetErrorName: every 32-bit status gives a non-null constant name of the table's alphabet,
// the same text each time it is asked.
#include <cstring>

#include "diag/error_names.h"
#include "fuzz/fuzz_input.h"

namespace {
bool isNameCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == ' ' ||
           c == '&' || c == '+';
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input{data, size};
    while (input.size > 0) {
        const HRESULT status = input.take<int32_t>();
        const char* name = GetErrorName(status);
        FUZZ_CHECK(name != nullptr);
        const size_t length = std::strlen(name);
        FUZZ_CHECK(length >= 4 && length <= 200);
        for (size_t i = 0; i < length; ++i) FUZZ_CHECK(isNameCharacter(name[i]));
        FUZZ_CHECK(GetErrorName(status) == name);
    }
    return 0;
}
