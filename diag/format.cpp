#include "diag/format.h"

#include <cstdarg>
#include <cstdio>

void FormatInto(std::string& out, const char* format, ...) {
    char small[128];
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    int length = std::vsnprintf(small, sizeof small, format, args);
    va_end(args);
    if (length < 0) {
        out.clear();
    } else if (static_cast<size_t>(length) < sizeof small) {
        out.assign(small, static_cast<size_t>(length));
    } else {
        out.resize(static_cast<size_t>(length));
        std::vsnprintf(&out[0], out.size() + 1, format, again);
    }
    va_end(again);
}
