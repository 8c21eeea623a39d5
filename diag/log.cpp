#include "diag/log.h"

#include <cstring>
#include <string>

#include "diag/error_names.h"
#include "diag/text_file.h"

namespace {
const char kLogFileName[] = "log.txt";
}

// Put together by hand rather than with printf, which gives up on more than 2 GiB.
void FormatLogLine(std::string& line, const char* text, HRESULT status) {
    if (!text) text = "";
    const char* name = status != 0 ? GetErrorName(status) : nullptr;
    const size_t length = std::strlen(text);
    line.clear();
    line.reserve(length + (name ? std::strlen(name) + 3 : 0) + 1);  // one allocation, one copy
    line.append(text, length);
    if (name) {
        line += " : ";
        line += name;
    }
    line += '\n';
}

void LogMessage(const char* text, HRESULT status) {
    std::string line;
    FormatLogLine(line, text, status);
    // The debugger sees the line first, whatever becomes of the file.
    OutputDebugStringA(line.c_str());
    if (!WriteTextFile(kLogFileName, TextFileOpen::Append, line)) OutputDebugStringA("Error writing to log file\n");
}

void ResetLog() { WriteTextFile(kLogFileName, TextFileOpen::Truncate, std::string()); }
