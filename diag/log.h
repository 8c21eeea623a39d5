// The program's one way to report: a line to the debugger output, appended to "log.txt".
#pragma once

#include <windows.h>

#include <string>

// "text : NAME\n" for a non-zero status (its name from GetErrorName), "text\n" for status 0,
// whole at any length.
void LogMessage(const char* text, HRESULT status);
// That line, into `line`.
void FormatLogLine(std::string& line, const char* text, HRESULT status);

// Empties "log.txt"; quietly leaves it as it is when it cannot be opened.
void ResetLog();
