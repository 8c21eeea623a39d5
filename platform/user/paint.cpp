// Invalidation and the paint hook: top-level windows with children are painted by the
// controls room into a buffer that the backend shows.
#include <windows.h>

#include "backend/backend.h"
#include "user/window_table.h"

namespace user {
namespace {
PaintHook paintHook = nullptr;
bool anyInvalid = false;  // spares the per-frame loop a walk of the table

bool hasChildren(HWND handle) {
    for (int i = 0; i < WindowCount(); ++i)
        if (WindowAt(i).parent == handle) return true;
    return false;
}

// The hook paints the window's children into a buffer of its client size, which is then shown
// as an X8R8G8B8 frame.
void paint(Window& window) {
    RECT client;
    if (!paintHook || !GetClientRect(window.handle, &client) || client.right <= 0 || client.bottom <= 0) return;
    const size_t pixels = size_t(client.right) * size_t(client.bottom);
    if (window.painted.size() != pixels) window.painted.assign(pixels, 0);
    paintHook(window.handle, window.painted.data(), client.right, client.bottom, client.right * 4);
    backend::PresentFrame(window.handle, backend::Frame{window.painted.data(), client.right, client.bottom,
                                                        client.right * 4, D3DFMT_X8R8G8B8},
                          false);
}

void paintIfInvalid(HWND handle) {
    Window* window = FindWindow(handle);
    if (!window || !window->needsPaint) return;
    if (!IsWindowVisible(handle) || !hasChildren(handle)) return;  // stays marked until it can be seen
    window->needsPaint = false;
    paint(*window);
}

}  // namespace

void SetPaintHook(PaintHook hook) { paintHook = hook; }
PaintHook GetPaintHook() { return paintHook; }

void PaintInvalidWindows() {
    if (!anyInvalid || !paintHook) return;
    anyInvalid = false;
    for (int i = 0; i < WindowCount(); ++i) {
        Window& window = WindowAt(i);
        if (window.parent || !window.needsPaint) continue;
        paintIfInvalid(window.handle);
        if (FindWindow(window.handle) && window.needsPaint) anyInvalid = true;
    }
}

}  // namespace user

BOOL WINAPI InvalidateRect(HWND handle, const RECT*, BOOL) {
    if (!handle) {
        for (int i = 0; i < user::WindowCount(); ++i)
            if (!user::WindowAt(i).parent) InvalidateRect(user::WindowAt(i).handle, nullptr, TRUE);
        return TRUE;
    }
    user::Window* topLevel = user::FindWindow(user::TopLevelOf(handle));
    if (!topLevel) return FALSE;
    topLevel->needsPaint = true;
    user::anyInvalid = true;
    return TRUE;
}

BOOL WINAPI UpdateWindow(HWND handle) {
    if (!user::FindWindow(handle)) return FALSE;
    if (user::paintHook) user::paintIfInvalid(user::TopLevelOf(handle));
    return TRUE;
}
