// GetErrorName: every 32-bit status gives a non-null constant name of the table's alphabet,
// the same text each time it is asked.
#include <cstring>

#include "diag/error_names.h"
#include "fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    for (FuzzInput input{data, size}; input.size > 0;) {
        const HRESULT status = input.take<int32_t>();
        const char* name = GetErrorName(status);
        FUZZ_CHECK(name != nullptr && name == GetErrorName(status));
        const size_t length = std::strlen(name);
        FUZZ_CHECK(length >= 4 && length <= 200);
        FUZZ_CHECK(std::strspn(name, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_ &+") == length);
    }
    return 0;
}
