#include "diag/error_names.h"

#include "diag/status_name_table.h"

const char* GetErrorName(HRESULT status) {
    const uint32_t key = static_cast<uint32_t>(status);
    size_t low = 0, high = kStatusNameCount;
    while (low < high) {
        size_t middle = low + (high - low) / 2;
        uint32_t value = kStatusNameTable[middle].status;
        if (value == key) return kStatusNameTable[middle].name;
        if (value < key)
            low = middle + 1;
        else
            high = middle;
    }
    return "Unknown";
}
