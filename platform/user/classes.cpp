// Window classes: the program's own and the built-in ones, in one table.
#include <windows.h>

#include <strings.h>

#include <array>
#include <utility>

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

ATOM addClass(WindowClass record) {
    if (!record.proc) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (FindClass(record.name.c_str()) >= 0) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    int slot = freeSlot();
    if (slot < 0) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    record.used = true;
    classes[slot] = std::move(record);
    return static_cast<ATOM>(0xC000 + slot);  // the range Win32 gives registered classes
}

// The fields the two RegisterClass calls share; a null or integer name is refused.
template <typename Description>
ATOM addProgramClass(const Description& description) {
    if (!description.lpszClassName || IS_INTRESOURCE(description.lpszClassName)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    WindowClass record;
    record.name = description.lpszClassName;
    record.proc = description.lpfnWndProc;
    record.style = description.style;
    record.instance = description.hInstance;
    record.background = description.hbrBackground;
    record.cursor = description.hCursor;
    record.icon = description.hIcon;
    return addClass(std::move(record));
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
    WindowClass record;
    record.name = name;
    record.proc = proc;
    record.style = style;
    record.system = true;
    return addClass(std::move(record)) != 0;
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
    return user::addProgramClass(*windowClass);
}

ATOM WINAPI RegisterClassExA(const WNDCLASSEXA* windowClass) {
    if (sim::ShouldFail("RegisterClassExA")) return 0;
    if (!windowClass || windowClass->cbSize != sizeof(WNDCLASSEXA)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return user::addProgramClass(*windowClass);
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
