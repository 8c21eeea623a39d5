#include "diag/log.h"

#include <string>

#include "diag/error_names.h"
#include "diag/format.h"
#include "diag/text_file.h"

namespace {
const char kLogFileName[] = "log.txt";
}

void LogMessage(const char* text, HRESULT status) {
    if (!text) text = "";
    std::string line;
    if (status != 0)
        FormatInto(line, "%s : %s\n", text, GetErrorName(status));
    else
        FormatInto(line, "%s\n", text);
    // The debugger sees the line first, whatever becomes of the file.
    OutputDebugStringA(line.c_str());
    if (!WriteTextFile(kLogFileName, TextFileOpen::Append, line)) OutputDebugStringA("Error writing to log file\n");
}

void ResetLog() { WriteTextFile(kLogFileName, TextFileOpen::Truncate, std::string()); }
