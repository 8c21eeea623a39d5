// kernel32: the few system calls the program makes.
#pragma once

#include "windef.h"

HMODULE WINAPI GetModuleHandleA(LPCSTR moduleName);
void WINAPI OutputDebugStringA(LPCSTR text);
void WINAPI Sleep(DWORD milliseconds);
DWORD WINAPI GetLastError();
void WINAPI SetLastError(DWORD error);

// The program's entry point; the platform's main() calls it.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR commandLine, int showCommand);
