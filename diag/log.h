// The program's one way to report: a line to the debugger output, appended to "log.txt".
#pragma once

#include <windows.h>

// "text : NAME\n" for a non-zero status (its name from GetErrorName), "text\n" for status 0.
void LogMessage(const char* text, HRESULT status);

// Empties "log.txt"; quietly leaves it as it is when it cannot be opened.
void ResetLog();
