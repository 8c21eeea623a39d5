#include <windows.h>

namespace {
DWORD lastError = 0;
// Any non-null value serves: the program only passes it back to the platform.
struct ModuleTag {
    int unused;
} programModule;
}  // namespace

HMODULE WINAPI GetModuleHandleA(LPCSTR moduleName) {
    return moduleName ? nullptr : reinterpret_cast<HMODULE>(&programModule);
}

DWORD WINAPI GetLastError() { return lastError; }
void WINAPI SetLastError(DWORD error) { lastError = error; }
