// Windows: the table, creation and destruction, visibility, activation and focus.
#include <windows.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <strings.h>

#include "backend/backend.h"
#include "sim/sim.h"
#include "sim/sim_user.h"
#include "user/window_table.h"

namespace user {
namespace {

constexpr int kMaxWindows = 1024;
constexpr uintptr_t kSlotBits = 12;  // room for kMaxWindows slots
constexpr uintptr_t kSlotMask = (uintptr_t(1) << kSlotBits) - 1;

std::array<Window, kMaxWindows> slots;
std::array<int, kMaxWindows> creationOrder;  // slot numbers, oldest first
int windowCount = 0;
uintptr_t nextSerial = 1;  // never reused, so a destroyed handle stays invalid

HWND activeWindow = nullptr;
HWND focusWindow = nullptr;

int slotOf(HWND handle) { return static_cast<int>(reinterpret_cast<uintptr_t>(handle) & kSlotMask); }

int freeSlot() {
    for (int i = 0; i < kMaxWindows; ++i)
        if (!slots[i].handle) return i;
    return -1;
}

void forget(HWND handle) {
    int slot = slotOf(handle);
    int* end = creationOrder.begin() + windowCount;
    int* found = std::find(creationOrder.begin(), end, slot);
    if (found != end) {
        std::copy(found + 1, end, found);
        --windowCount;
    }
    WindowClass& windowClass = ClassInSlot(slots[slot].classIndex);
    if (windowClass.windows > 0) --windowClass.windows;
    slots[slot] = Window{};
}

// Another visible top-level window takes over when the active one goes: the newest.
void activateAnotherThan(HWND leaving) { Activate(WindowToActivate(leaving)); }

// WM_DESTROY goes to the window, then to each of its children's trees in turn.
void sendDestroy(HWND handle) {
    Window* window = FindWindow(handle);
    if (!window || window->destroying) return;
    window->destroying = true;
    if (IsInside(handle, focusWindow)) focusWindow = nullptr;
    SendMessageA(handle, WM_DESTROY, 0, 0);
    for (int i = 0; i < windowCount; ++i) {
        const Window& child = slots[creationOrder[i]];
        if (child.parent == handle && !child.destroying) {
            sendDestroy(child.handle);
            i = -1;  // the order may have changed under us
        }
    }
}

// Then WM_NCDESTROY, children first, and the window is gone; its handle stays valid until its
// own WM_NCDESTROY has returned.
void freeTree(HWND handle) {
    for (int i = 0; i < windowCount; ++i) {
        if (slots[creationOrder[i]].parent == handle) {
            freeTree(slots[creationOrder[i]].handle);
            i = -1;
        }
    }
    Window* window = FindWindow(handle);
    if (!window) return;
    const bool topLevel = window->parent == nullptr;
    SendMessageA(handle, WM_NCDESTROY, 0, 0);
    DropMessagesFor(handle);
    if (topLevel) backend::CloseWindow(handle);
    forget(handle);
}

void setVisible(Window& window, bool visible) {
    if (visible)
        window.style |= WS_VISIBLE;
    else
        window.style &= ~WS_VISIBLE;
}

}  // namespace

Window* FindWindow(HWND handle) {
    if (!handle) return nullptr;
    int slot = slotOf(handle);
    if (slot >= kMaxWindows || slots[slot].handle != handle) return nullptr;
    return &slots[slot];
}

int WindowCount() { return windowCount; }
Window& WindowAt(int index) { return slots[creationOrder[index]]; }

const WindowClass& ClassOf(const Window& window) { return ClassInSlot(window.classIndex); }

HWND TopLevelOf(HWND handle) {
    Window* window = FindWindow(handle);
    while (window && window->parent) window = FindWindow(window->parent);
    return window ? window->handle : nullptr;
}

bool IsInside(HWND ancestor, HWND handle) {
    if (!ancestor) return false;
    for (Window* window = FindWindow(handle); window; window = FindWindow(window->parent))
        if (window->handle == ancestor) return true;
    return false;
}

HWND ActiveWindow() { return activeWindow; }

HWND WindowToActivate(HWND leaving) {
    for (int i = windowCount - 1; i >= 0; --i) {
        const Window& candidate = slots[creationOrder[i]];
        if (candidate.handle != leaving && !candidate.parent && !candidate.destroying &&
            (candidate.style & WS_VISIBLE))
            return candidate.handle;
    }
    return nullptr;
}

void Activate(HWND topLevel) {
    if (topLevel == activeWindow) return;
    HWND previous = activeWindow;
    activeWindow = topLevel;
    if (!topLevel) focusWindow = nullptr;
    SendMessageA(previous, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(topLevel));
    SendMessageA(topLevel, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(previous));
}

void ResetWindows() {
    for (int i = 0; i < windowCount; ++i)
        if (!slots[creationOrder[i]].parent) backend::CloseWindow(slots[creationOrder[i]].handle);
    for (Window& window : slots) window = Window{};
    windowCount = 0;
    activeWindow = nullptr;
    focusWindow = nullptr;
}

}  // namespace user

using user::FindWindow;
using user::Window;

HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                            int width, int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
    if (sim::ShouldFail("CreateWindowExA", nullptr, IS_INTRESOURCE(className) ? nullptr : className)) return nullptr;
    int classIndex = user::FindClass(className);
    if (classIndex < 0) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return nullptr;
    }
    const bool child = (style & WS_CHILD) != 0;
    if (child && !FindWindow(parent)) {
        SetLastError(parent ? ERROR_INVALID_WINDOW_HANDLE : ERROR_TLW_WITH_WSCHILD);
        return nullptr;
    }
    int slot = user::freeSlot();
    if (slot < 0) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    if (x == CW_USEDEFAULT) x = y = 0;
    if (width == CW_USEDEFAULT) {
        width = 640;
        height = 480;
    }

    user::WindowClass& windowClass = user::ClassInSlot(classIndex);
    Window& window = user::slots[slot];
    window = Window{};
    window.handle = reinterpret_cast<HWND>((user::nextSerial++ << user::kSlotBits) | uintptr_t(slot));
    window.classIndex = classIndex;
    window.style = style & ~WS_VISIBLE;  // shown after WM_CREATE, as Win32 does
    window.exStyle = exStyle;
    window.parent = child ? parent : nullptr;
    window.id = child ? static_cast<int>(reinterpret_cast<intptr_t>(menu)) : 0;
    window.rect = RECT{x, y, x + width, y + height};
    window.text = windowName ? windowName : "";
    window.proc = windowClass.proc;
    ++windowClass.windows;
    user::creationOrder[user::windowCount++] = slot;
    HWND handle = window.handle;
    if (!child) backend::OpenWindow(handle);

    CREATESTRUCTA create{param, instance, menu, child ? parent : nullptr, height, width, y, x,
                         static_cast<LONG>(style), windowName, className, exStyle};
    // A window refused in WM_NCCREATE or WM_CREATE is freed without WM_DESTROY.
    if (!SendMessageA(handle, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&create)) ||
        SendMessageA(handle, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
        user::freeTree(handle);
        return nullptr;
    }
    if (!FindWindow(handle)) return nullptr;  // it destroyed itself on the way
    if (style & WS_VISIBLE) user::ShowWindowNow(handle, SW_SHOW);
    InvalidateRect(handle, nullptr, TRUE);
    return FindWindow(handle) ? handle : nullptr;
}

BOOL WINAPI DestroyWindow(HWND handle) {
    if (sim::ShouldFail("DestroyWindow")) return FALSE;
    return user::DestroyWindowNow(handle);
}

bool user::DestroyWindowNow(HWND handle) {
    Window* window = FindWindow(handle);
    if (!window || window->destroying) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return false;
    }
    HWND parent = window->parent;
    const bool wasActive = handle == user::activeWindow;
    user::setVisible(*window, false);  // hidden as by SetWindowPos: no WM_SHOWWINDOW
    user::sendDestroy(handle);
    user::freeTree(handle);
    if (wasActive) user::activateAnotherThan(handle);
    if (parent) InvalidateRect(parent, nullptr, TRUE);
    return true;
}

BOOL WINAPI IsWindow(HWND handle) { return FindWindow(handle) != nullptr; }

BOOL WINAPI IsWindowVisible(HWND handle) {
    Window* window = FindWindow(handle);
    if (!window) return FALSE;
    for (; window; window = FindWindow(window->parent))
        if (!(window->style & WS_VISIBLE)) return FALSE;
    return TRUE;
}

BOOL WINAPI ShowWindow(HWND handle, int command) {
    sim::CountCall("ShowWindow");
    return user::ShowWindowNow(handle, command);
}

bool user::ShowWindowNow(HWND handle, int command) {
    Window* window = FindWindow(handle);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return false;
    }
    const bool wasVisible = (window->style & WS_VISIBLE) != 0;
    const bool show = command != SW_HIDE;
    const bool topLevel = window->parent == nullptr;
    if (show != wasVisible) {
        SendMessageA(handle, WM_SHOWWINDOW, show, 0);
        if (!(window = FindWindow(handle))) return wasVisible;
        user::setVisible(*window, show);
        if (topLevel) backend::SyncWindow(handle);
        InvalidateRect(window->parent ? window->parent : handle, nullptr, TRUE);
    }
    if (topLevel) {
        const bool activates = show && command != SW_SHOWNA && command != SW_SHOWNOACTIVATE &&
                               command != SW_SHOWMINIMIZED && command != SW_MINIMIZE;
        if (activates) user::Activate(handle);
        if (!show && handle == user::activeWindow) user::activateAnotherThan(handle);
    }
    return wasVisible;
}

HWND WINAPI GetParent(HWND handle) {
    Window* window = FindWindow(handle);
    return window ? window->parent : nullptr;
}

int WINAPI GetDlgCtrlID(HWND handle) {
    Window* window = FindWindow(handle);
    return window && window->parent ? window->id : 0;
}

HWND WINAPI GetDlgItem(HWND dialog, int id) {
    if (!FindWindow(dialog)) return nullptr;
    for (int i = 0; i < user::WindowCount(); ++i) {
        const Window& window = user::WindowAt(i);
        if (window.parent == dialog && window.id == id) return window.handle;
    }
    return nullptr;
}

BOOL WINAPI SetWindowTextA(HWND handle, LPCSTR text) {
    if (!FindWindow(handle)) return FALSE;
    return SendMessageA(handle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) ? TRUE : FALSE;
}

int WINAPI GetWindowTextA(HWND handle, LPSTR text, int maxCount) {
    if (!FindWindow(handle) || !text || maxCount <= 0) return 0;
    return static_cast<int>(SendMessageA(handle, WM_GETTEXT, maxCount, reinterpret_cast<LPARAM>(text)));
}

LONG WINAPI GetWindowLongA(HWND handle, int index) {
    Window* window = FindWindow(handle);
    if (!window) return 0;
    switch (index) {
    case GWL_STYLE: return static_cast<LONG>(window->style);
    case GWL_EXSTYLE: return static_cast<LONG>(window->exStyle);
    case GWL_ID: return window->id;
    default: SetLastError(ERROR_INVALID_PARAMETER); return 0;
    }
}

ULONG_PTR WINAPI GetClassLongPtrA(HWND handle, int index) {
    Window* window = FindWindow(handle);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    const user::WindowClass& windowClass = user::ClassInSlot(window->classIndex);
    switch (index) {
    case GCLP_HBRBACKGROUND: return reinterpret_cast<ULONG_PTR>(windowClass.background);
    case GCLP_HCURSOR: return reinterpret_cast<ULONG_PTR>(windowClass.cursor);
    default: SetLastError(ERROR_INVALID_PARAMETER); return 0;
    }
}

// Subclassing, for tests that watch a window of the program's from outside.
LONG_PTR WINAPI SetWindowLongPtrA(HWND handle, int index, LONG_PTR value) {
    Window* window = FindWindow(handle);
    if (!window || index != GWLP_WNDPROC || !value) {
        SetLastError(window ? ERROR_INVALID_PARAMETER : ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    const WNDPROC previous = window->proc;
    window->proc = reinterpret_cast<WNDPROC>(value);
    return reinterpret_cast<LONG_PTR>(previous);
}

// Children in z-order, which is creation order: the first one made is on top.
HWND WINAPI GetWindow(HWND handle, UINT relation) {
    const Window* window = FindWindow(handle);
    if (!window || (relation != GW_CHILD && relation != GW_HWNDNEXT)) return nullptr;
    const HWND parent = relation == GW_CHILD ? handle : window->parent;
    bool past = relation == GW_CHILD;
    for (int i = 0; i < user::WindowCount(); ++i) {
        const Window& other = user::WindowAt(i);
        if (other.handle == handle) past = true;
        else if (past && parent && other.parent == parent && !other.destroying) return other.handle;
    }
    return nullptr;
}

HWND WINAPI FindWindowA(LPCSTR className, LPCSTR windowName) {
    for (int i = 0; i < user::WindowCount(); ++i) {
        const Window& window = user::WindowAt(i);
        if (window.parent || window.destroying) continue;
        if (className && strcasecmp(user::ClassOf(window).name.c_str(), className) != 0) continue;
        if (windowName && window.text != windowName) continue;
        return window.handle;
    }
    return nullptr;
}

BOOL WINAPI EnableWindow(HWND handle, BOOL enable) {
    Window* window = FindWindow(handle);
    if (!window) return FALSE;
    const bool wasDisabled = (window->style & WS_DISABLED) != 0;
    if (wasDisabled == !enable) return wasDisabled;
    if (enable)
        window->style &= ~WS_DISABLED;
    else
        window->style |= WS_DISABLED;
    if (!enable && user::IsInside(handle, user::focusWindow)) SetFocus(nullptr);
    SendMessageA(handle, WM_ENABLE, enable ? TRUE : FALSE, 0);
    InvalidateRect(handle, nullptr, TRUE);
    return wasDisabled;
}

BOOL WINAPI IsWindowEnabled(HWND handle) {
    Window* window = FindWindow(handle);
    return window && !(window->style & WS_DISABLED);
}

HWND WINAPI GetFocus() { return user::focusWindow; }

HWND WINAPI SetFocus(HWND handle) {
    HWND previous = user::focusWindow;
    if (handle && !FindWindow(handle)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    if (handle) {
        HWND topLevel = user::TopLevelOf(handle);
        if (topLevel != user::activeWindow) user::Activate(topLevel);  // may move the focus itself
    }
    if (!FindWindow(handle) && handle) return nullptr;
    HWND current = user::focusWindow;
    if (current == handle) return previous;
    user::focusWindow = handle;
    SendMessageA(current, WM_KILLFOCUS, reinterpret_cast<WPARAM>(handle), 0);
    SendMessageA(handle, WM_SETFOCUS, reinterpret_cast<WPARAM>(current), 0);
    return previous;
}

HWND WINAPI GetActiveWindow() { return user::activeWindow; }
HWND WINAPI GetForegroundWindow() { return user::activeWindow; }

BOOL WINAPI SetForegroundWindow(HWND handle) {
    HWND topLevel = user::TopLevelOf(handle);
    if (!topLevel) return FALSE;
    user::Activate(topLevel);
    return TRUE;
}
