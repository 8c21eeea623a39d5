// Window classes: the program's own and the built-in ones, in one table.
#include <windows.h>

#include <strings.h>

#include <array>

#include "sim/sim.h"
#include "user/window_table.h"

namespace user {
namespace {

constexpr int kMaxClasses = 64;
std::array<WindowClass, kMaxClasses> classes;

bool builtInsRegistered = false;

void registerBuiltInsOnce() {
    if (builtInsRegistered) return;
    builtInsRegistered = true;
    RegisterControlClasses();
}

int freeSlot() {
    for (int i = 0; i < kMaxClasses; ++i)
        if (!classes[i].used) return i;
    return -1;
}

ATOM addClass(const char* name, WNDPROC proc, UINT style, HINSTANCE instance, HBRUSH background, HCURSOR cursor,
              bool system) {
    registerBuiltInsOnce();
    if (!name || !proc || IS_INTRESOURCE(name)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (FindClass(name) >= 0) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    int slot = freeSlot();
    if (slot < 0) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    WindowClass& record = classes[slot];
    record = WindowClass{};
    record.name = name;
    record.proc = proc;
    record.style = style;
    record.instance = instance;
    record.background = background;
    record.cursor = cursor;
    record.system = system;
    record.used = true;
    return static_cast<ATOM>(0xC000 + slot);  // the range Win32 gives registered classes
}

}  // namespace

int FindClass(const char* name) {
    registerBuiltInsOnce();
    if (!name || IS_INTRESOURCE(name)) return -1;
    for (int i = 0; i < kMaxClasses; ++i)
        if (classes[i].used && strcasecmp(classes[i].name.c_str(), name) == 0) return i;
    return -1;
}

WindowClass& ClassInSlot(int index) { return classes[index]; }

bool RegisterSystemClass(const char* name, WNDPROC proc, UINT style) {
    return addClass(name, proc, style, nullptr, nullptr, nullptr, true) != 0;
}

void ResetClasses() {
    for (WindowClass& record : classes)
        if (record.used && !record.system) record = WindowClass{};
    for (WindowClass& record : classes) record.windows = 0;
}

}  // namespace user

ATOM WINAPI RegisterClassA(const WNDCLASSA* windowClass) {
    if (sim::ShouldFail("RegisterClassA")) return 0;
    if (!windowClass) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return user::addClass(windowClass->lpszClassName, windowClass->lpfnWndProc, windowClass->style,
                          windowClass->hInstance, windowClass->hbrBackground, windowClass->hCursor, false);
}

ATOM WINAPI RegisterClassExA(const WNDCLASSEXA* windowClass) {
    if (sim::ShouldFail("RegisterClassExA")) return 0;
    if (!windowClass || windowClass->cbSize != sizeof(WNDCLASSEXA)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return user::addClass(windowClass->lpszClassName, windowClass->lpfnWndProc, windowClass->style,
                          windowClass->hInstance, windowClass->hbrBackground, windowClass->hCursor, false);
}

BOOL WINAPI UnregisterClassA(LPCSTR className, HINSTANCE) {
    if (sim::ShouldFail("UnregisterClassA")) return FALSE;
    int index = user::FindClass(className);
    if (index < 0 || user::ClassInSlot(index).system) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    user::WindowClass& record = user::ClassInSlot(index);
    if (record.windows > 0) {
        SetLastError(ERROR_CLASS_HAS_WINDOWS);
        return FALSE;
    }
    record = user::WindowClass{};
    return TRUE;
}
