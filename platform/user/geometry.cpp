// Window geometry: frames from the styles, client and window rectangles, moving, metrics.
#include <windows.h>

#include "backend/backend.h"
#include "sim/sim.h"
#include "sim/sim_user.h"
#include "user/window_table.h"

namespace user {
namespace {

// A classic desktop's sizes; FrameInsets and GetSystemMetrics both read them.
constexpr int kCaptionHeight = 20;
constexpr int kBorder = 1;
constexpr int kDialogFrame = 3;  // also the fixed frame of a captioned window
constexpr int kSizingFrame = 4;
constexpr int kScrollBar = 16;

POINT clientOrigin(const Window& window) {
    RECT client = ClientRectOnScreen(window);
    return POINT{client.left, client.top};
}

HWND hitTest(HWND parent, POINT client) {
    const Window* outer = FindWindow(parent);
    if (!outer) return nullptr;
    const POINT origin = clientOrigin(*outer);
    for (int i = 0; i < WindowCount(); ++i) {
        const Window& child = WindowAt(i);
        if (child.parent != parent || child.destroying) continue;
        if (!(child.style & WS_VISIBLE) || (child.style & WS_DISABLED)) continue;
        if (!PtInRect(&child.rect, client)) continue;
        HWND handle = child.handle;
        RECT frame = FrameInsets(child.style, child.exStyle);
        POINT inner{client.x - child.rect.left - frame.left, client.y - child.rect.top - frame.top};
        LPARAM screen = MAKELPARAM(client.x + origin.x, client.y + origin.y);
        if (SendMessageA(handle, WM_NCHITTEST, 0, screen) == HTTRANSPARENT) continue;
        return hitTest(handle, inner);
    }
    return parent;
}

}  // namespace

namespace {

// The frame the style bits give as they stand (AdjustWindowRectEx's reading, where WS_OVERLAPPED
// is no bit at all): a dialog or sizing frame's outer edges, the sizing part, the inner line of
// WS_BORDER or a dialog frame, the caption of WS_CAPTION.
RECT insetsOf(DWORD style, DWORD exStyle) {
    int border = 0;
    if ((exStyle & WS_EX_DLGMODALFRAME) || (style & (WS_THICKFRAME | WS_DLGFRAME))) border = kDialogFrame - kBorder;
    if (style & WS_THICKFRAME) border += kSizingFrame - kDialogFrame;
    if ((style & (WS_BORDER | WS_DLGFRAME)) || (exStyle & WS_EX_DLGMODALFRAME)) border += kBorder;
    const int caption = (style & WS_CAPTION) == WS_CAPTION ? kCaptionHeight : 0;
    return RECT{border, border + caption, border, border};
}

}  // namespace

// A window made overlapped gets WS_CAPTION, border and all.
RECT FrameInsets(DWORD style, DWORD exStyle) {
    return insetsOf(style & (WS_POPUP | WS_CHILD) ? style : style | WS_CAPTION, exStyle);
}

RECT ClientRectOnScreen(const Window& window) {
    RECT frame = FrameInsets(window.style, window.exStyle);
    RECT rect{window.rect.left + frame.left, window.rect.top + frame.top, window.rect.right - frame.right,
              window.rect.bottom - frame.bottom};
    if (rect.right < rect.left) rect.right = rect.left;
    if (rect.bottom < rect.top) rect.bottom = rect.top;
    if (const Window* parent = FindWindow(window.parent)) {
        POINT origin = clientOrigin(*parent);
        OffsetRect(&rect, origin.x, origin.y);
    }
    return rect;
}

HWND WindowAtClientPoint(HWND topLevel, POINT client) { return hitTest(topLevel, client); }

}  // namespace user

using user::FindWindow;
using user::Window;

BOOL WINAPI GetClientRect(HWND handle, LPRECT rect) {
    Window* window = FindWindow(handle);
    if (!window || !rect) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    RECT client = user::ClientRectOnScreen(*window);
    *rect = RECT{0, 0, client.right - client.left, client.bottom - client.top};
    return TRUE;
}

BOOL WINAPI GetWindowRect(HWND handle, LPRECT rect) {
    Window* window = FindWindow(handle);
    if (!window || !rect) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    *rect = window->rect;
    if (const Window* parent = FindWindow(window->parent)) {
        RECT client = user::ClientRectOnScreen(*parent);
        OffsetRect(rect, client.left, client.top);
    }
    return TRUE;
}

BOOL WINAPI MoveWindow(HWND handle, int x, int y, int width, int height, BOOL repaint) {
    sim::CountCall("MoveWindow");
    Window* window = FindWindow(handle);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (width < 0) width = 0;
    if (height < 0) height = 0;
    RECT before = {};
    GetClientRect(handle, &before);
    const bool moved = window->rect.left != x || window->rect.top != y;
    window->rect = RECT{x, y, x + width, y + height};
    RECT after = {};
    GetClientRect(handle, &after);
    if (!window->parent) backend::SyncWindow(handle);
    HWND parent = window->parent;
    if (moved) SendMessageA(handle, WM_MOVE, 0, MAKELPARAM(x, y));
    if (after.right != before.right || after.bottom != before.bottom)
        SendMessageA(handle, WM_SIZE, 0, MAKELPARAM(after.right, after.bottom));
    if (repaint) InvalidateRect(parent ? parent : handle, nullptr, TRUE);
    return TRUE;
}

BOOL WINAPI AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL, DWORD exStyle) {
    if (!rect) return FALSE;
    RECT frame = user::insetsOf(style, exStyle);
    rect->left -= frame.left;
    rect->top -= frame.top;
    rect->right += frame.right;
    rect->bottom += frame.bottom;
    return TRUE;
}

int WINAPI GetSystemMetrics(int index) {
    switch (index) {
    case SM_CXSCREEN:
    case SM_CYSCREEN: {
        int width = 0, height = 0;
        if (!sim::detail::ScreenSizeOverride(&width, &height)) backend::GetScreenSize(&width, &height);
        return index == SM_CXSCREEN ? width : height;
    }
    case SM_CXVSCROLL:
    case SM_CYHSCROLL: return user::kScrollBar;
    case SM_CYCAPTION: return user::kCaptionHeight;
    case SM_CXBORDER:
    case SM_CYBORDER: return user::kBorder;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME: return user::kDialogFrame;
    case SM_CXFRAME:
    case SM_CYFRAME: return user::kSizingFrame;
    default: return 0;
    }
}

BOOL WINAPI SetRect(LPRECT rect, int left, int top, int right, int bottom) {
    if (!rect) return FALSE;
    *rect = RECT{left, top, right, bottom};
    return TRUE;
}

BOOL WINAPI SetRectEmpty(LPRECT rect) { return SetRect(rect, 0, 0, 0, 0); }

BOOL WINAPI OffsetRect(LPRECT rect, int dx, int dy) {
    if (!rect) return FALSE;
    return SetRect(rect, rect->left + dx, rect->top + dy, rect->right + dx, rect->bottom + dy);
}

BOOL WINAPI PtInRect(const RECT* rect, POINT point) {
    return rect && point.x >= rect->left && point.x < rect->right && point.y >= rect->top &&
           point.y < rect->bottom;
}
