// printf-style formatting into a growable string.
#pragma once

#include <string>

// Replaces the content of `out`; reuses its storage, so a line of a size seen before costs no allocation.
void FormatInto(std::string& out, const char* format, ...) __attribute__((format(printf, 2, 3)));
