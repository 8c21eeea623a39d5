// A backend's reports become the messages a Win32 program expects (user/input.h).
#include "user/input.h"

#include "user/window_table.h"

namespace user {
namespace {

HWND mouseCapture = nullptr;  // the window that had the button-down gets the button-up

HWND placed(HWND topLevel) { return topLevel ? topLevel : ActiveWindow(); }

POINT clientToScreen(HWND window, POINT client) {
    const Window* record = FindWindow(window);
    if (!record) return client;
    RECT area = ClientRectOnScreen(*record);
    return POINT{client.x + area.left, client.y + area.top};
}

// A point in `topLevel`'s client area, seen from `window` inside it.
POINT clientOf(HWND window, HWND topLevel, POINT topClient) {
    POINT screen = clientToScreen(topLevel, topClient);
    const Window* record = FindWindow(window);
    if (!record) return topClient;
    RECT area = ClientRectOnScreen(*record);
    return POINT{screen.x - area.left, screen.y - area.top};
}

WPARAM mouseKeys(bool leftDown) {
    WPARAM keys = leftDown ? MK_LBUTTON : 0;
    if (IsKeyDown(VK_SHIFT)) keys |= MK_SHIFT;
    if (IsKeyDown(VK_CONTROL)) keys |= MK_CONTROL;
    return keys;
}

// The window under the point, unless one holds the capture.
HWND mouseTarget(HWND topLevel, POINT client) {
    return FindWindow(mouseCapture) ? mouseCapture : WindowAtClientPoint(topLevel, client);
}

void queueMouse(HWND target, HWND topLevel, POINT client, UINT message, bool leftDown) {
    const POINT at = clientOf(target, topLevel, client);
    QueueMessage(target, message, mouseKeys(leftDown), MAKELPARAM(at.x, at.y));
}

}  // namespace

void ReportKey(HWND topLevel, int virtualKey, bool down, bool repeat, bool altHeld) {
    topLevel = placed(topLevel);
    if (!topLevel || !virtualKey) return;
    HWND focus = GetFocus();
    HWND target = IsInside(topLevel, focus) ? focus : topLevel;
    const bool alt = altHeld || virtualKey == VK_MENU;
    const UINT message = down ? (alt ? WM_SYSKEYDOWN : WM_KEYDOWN) : (alt ? WM_SYSKEYUP : WM_KEYUP);
    // lParam: repeat count 1; bit 30 the key was down before; bit 31 it is being released.
    LPARAM flags = 1;
    if (!down)
        flags |= LPARAM(3) << 30;
    else if (repeat)
        flags |= LPARAM(1) << 30;
    QueueMessage(target, message, static_cast<WPARAM>(virtualKey), flags);
}

void ReportButton(HWND topLevel, POINT client, bool down) {
    topLevel = placed(topLevel);
    if (!topLevel) return;
    NoteCursor(clientToScreen(topLevel, client));
    if (down) {
        if (topLevel != ActiveWindow()) Activate(topLevel);  // a click brings its window forward
        HWND target = WindowAtClientPoint(topLevel, client);
        if (!target) return;
        mouseCapture = target;
        queueMouse(target, topLevel, client, WM_LBUTTONDOWN, true);
        return;
    }
    HWND target = mouseTarget(topLevel, client);
    mouseCapture = nullptr;
    if (target) queueMouse(target, topLevel, client, WM_LBUTTONUP, false);
}

void ReportMotion(HWND topLevel, POINT client, bool leftDown) {
    topLevel = placed(topLevel);
    if (!topLevel) return;
    NoteCursor(clientToScreen(topLevel, client));
    if (HWND target = mouseTarget(topLevel, client)) queueMouse(target, topLevel, client, WM_MOUSEMOVE, leftDown);
}

void ReportFocus(HWND topLevel, bool gained) {
    topLevel = placed(topLevel);
    if (gained)
        Activate(topLevel);
    else if (topLevel && topLevel == ActiveWindow())
        Activate(nullptr);
}

void ReportClose(HWND topLevel) {
    // The close box is a system command; DefWindowProcA turns it into WM_CLOSE.
    if ((topLevel = placed(topLevel))) QueueMessage(topLevel, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void ReportExposed(HWND topLevel) {
    if ((topLevel = placed(topLevel))) InvalidateRect(topLevel, nullptr, FALSE);
}

HWND FocusTarget() { return ActiveWindow() ? ActiveWindow() : WindowToActivate(nullptr); }

void ResetInput() { mouseCapture = nullptr; }

}  // namespace user
