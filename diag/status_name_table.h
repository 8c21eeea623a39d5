#pragma once
#include <cstddef>
#include <cstdint>
// One status value and its published name; the table is sorted by value as an unsigned 32-bit number.
struct StatusName {
    uint32_t status;
    const char* name;
};
extern const StatusName kStatusNameTable[];
extern const size_t kStatusNameCount;
