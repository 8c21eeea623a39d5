// printf-style formatting into a growable string.
#pragma once

#include <string>

// Replaces the content of `out`; reuses its storage, so a line of a size seen before costs no allocation.
// A result the C library cannot format (longer than INT_MAX characters) leaves `out` empty, so
// texts of unbounded length do not belong here (the log builds its lines itself).
void FormatInto(std::string& out, const char* format, ...) __attribute__((format(printf, 2, 3)));
