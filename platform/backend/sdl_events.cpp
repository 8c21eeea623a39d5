// SDL events become the messages a Win32 program expects; the sim's input takes the same road.
#include "backend/backend.h"
#include "backend/sdl_backend.h"
#include "user/window_table.h"

namespace backend {
namespace sdl {
namespace {

HWND mouseCapture = nullptr;  // the window that had the button-down gets the button-up

POINT clientToScreen(HWND window, POINT client) {
    const user::Window* record = user::FindWindow(window);
    if (!record) return client;
    RECT area = user::ClientRectOnScreen(*record);
    return POINT{client.x + area.left, client.y + area.top};
}

// A point in `topLevel`'s client area, seen from `window` inside it.
POINT clientOf(HWND window, HWND topLevel, POINT topClient) {
    POINT screen = clientToScreen(topLevel, topClient);
    const user::Window* record = user::FindWindow(window);
    if (!record) return topClient;
    RECT area = user::ClientRectOnScreen(*record);
    return POINT{screen.x - area.left, screen.y - area.top};
}

WPARAM mouseKeys(bool leftDown) {
    WPARAM keys = leftDown ? MK_LBUTTON : 0;
    if (user::IsKeyDown(VK_SHIFT)) keys |= MK_SHIFT;
    if (user::IsKeyDown(VK_CONTROL)) keys |= MK_CONTROL;
    return keys;
}

void translateKey(const SDL_KeyboardEvent& key) {
    const int virtualKey = VirtualKeyOf(key.keysym.sym);
    if (!virtualKey) return;
    const bool down = key.type == SDL_KEYDOWN;
    HWND topLevel = WindowOfEvent(key.windowID);
    if (!topLevel) return;
    HWND focus = GetFocus();
    HWND target = user::IsInside(topLevel, focus) ? focus : topLevel;
    const bool alt = (key.keysym.mod & KMOD_ALT) || virtualKey == VK_MENU;
    UINT message = down ? (alt ? WM_SYSKEYDOWN : WM_KEYDOWN) : (alt ? WM_SYSKEYUP : WM_KEYUP);
    // lParam: repeat count 1; bit 30 the key was down before; bit 31 it is being released.
    LPARAM flags = 1;
    if (!down) flags |= LPARAM(3) << 30;
    else if (key.repeat) flags |= LPARAM(1) << 30;
    user::QueueMessage(target, message, static_cast<WPARAM>(virtualKey), flags);
}

void translateButton(const SDL_MouseButtonEvent& button) {
    if (button.button != SDL_BUTTON_LEFT || button.which == SDL_TOUCH_MOUSEID) return;
    HWND topLevel = WindowOfEvent(button.windowID);
    if (!topLevel) return;
    const POINT point{button.x, button.y};
    user::NoteCursor(clientToScreen(topLevel, point));
    if (button.type == SDL_MOUSEBUTTONDOWN) {
        if (topLevel != user::ActiveWindow()) user::Activate(topLevel);
        HWND target = user::WindowAtClientPoint(topLevel, point);
        if (!target) return;
        mouseCapture = target;
        POINT at = clientOf(target, topLevel, point);
        user::QueueMessage(target, WM_LBUTTONDOWN, mouseKeys(true), MAKELPARAM(at.x, at.y));
        return;
    }
    HWND target = user::FindWindow(mouseCapture) ? mouseCapture : user::WindowAtClientPoint(topLevel, point);
    mouseCapture = nullptr;
    if (!target) return;
    POINT at = clientOf(target, topLevel, point);
    user::QueueMessage(target, WM_LBUTTONUP, mouseKeys(false), MAKELPARAM(at.x, at.y));
}

void translateMotion(const SDL_MouseMotionEvent& motion) {
    HWND topLevel = WindowOfEvent(motion.windowID);
    if (!topLevel) return;
    const POINT point{motion.x, motion.y};
    user::NoteCursor(clientToScreen(topLevel, point));
    HWND target = user::FindWindow(mouseCapture) ? mouseCapture : user::WindowAtClientPoint(topLevel, point);
    if (!target) return;
    POINT at = clientOf(target, topLevel, point);
    const bool leftDown = (motion.state & SDL_BUTTON_LMASK) != 0;
    user::QueueMessage(target, WM_MOUSEMOVE, mouseKeys(leftDown), MAKELPARAM(at.x, at.y));
}

// Whatever the display showed of the window may be gone: the next present sends all of it.
void showAllAgain(HWND topLevel) {
    if (WindowEntry* entry = EntryOf(topLevel)) entry->scaler.ShowAll();
}

void translateWindowEvent(const SDL_WindowEvent& event) {
    HWND topLevel = WindowOfEvent(event.windowID);
    if (!topLevel) return;
    switch (event.event) {
    case SDL_WINDOWEVENT_CLOSE:
        // The close box is a system command; DefWindowProcA turns it into WM_CLOSE.
        user::QueueMessage(topLevel, WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        showAllAgain(topLevel);  // a window manager may have drawn over it while it was away
        user::Activate(topLevel);
        break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        if (topLevel == user::ActiveWindow()) user::Activate(nullptr);
        break;
    case SDL_WINDOWEVENT_SHOWN:
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_SIZE_CHANGED:  // SDL makes the window a new surface
        showAllAgain(topLevel);
        break;
    case SDL_WINDOWEVENT_EXPOSED:
        showAllAgain(topLevel);
        InvalidateRect(topLevel, nullptr, FALSE);
        break;
    default: break;
    }
}

void translate(const SDL_Event& event) {
    switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: translateKey(event.key); break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: translateButton(event.button); break;
    case SDL_MOUSEMOTION: translateMotion(event.motion); break;
    case SDL_WINDOWEVENT: translateWindowEvent(event.window); break;
    default: break;  // SDL_QUIT, text input ...: the window events already said it
    }
}

bool push(SDL_Event& event) {
    if (!EnsureVideo()) return false;
    return SDL_PushEvent(&event) == 1;
}

}  // namespace

void ResetEvents() { mouseCapture = nullptr; }

}  // namespace sdl

void PumpEvents() {
    if (!sdl::VideoStarted()) return;
    SDL_Event event;
    while (SDL_PollEvent(&event)) sdl::translate(event);
    sdl::SendWaitingFrames();
}

bool WaitForEvents(int milliseconds) {
    if (!sdl::VideoStarted() || IsHeadless()) return false;
    sdl::CommitWaylandFrames();
    SDL_WaitEventTimeout(nullptr, milliseconds);
    return true;
}

void InjectKey(int virtualKey, bool down) {
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.windowID = sdl::SdlIdOf(user::ActiveWindow());
    event.key.keysym.sym = sdl::KeycodeOf(virtualKey);
    event.key.keysym.scancode = SDL_GetScancodeFromKey(event.key.keysym.sym);
    sdl::push(event);
}

void InjectClick(int x, int y, bool down) {
    SDL_Event event{};
    event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.button.windowID = sdl::SdlIdOf(user::ActiveWindow());
    event.button.button = SDL_BUTTON_LEFT;
    event.button.clicks = 1;
    event.button.x = x;
    event.button.y = y;
    sdl::push(event);
}

void InjectClose() {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.windowID = sdl::SdlIdOf(user::ActiveWindow());
    event.window.event = SDL_WINDOWEVENT_CLOSE;
    sdl::push(event);
}

void InjectFocus(bool gained) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    HWND target = user::ActiveWindow();
    if (!target) {
        // Focus coming back: to the newest visible top-level window.
        for (int i = user::WindowCount() - 1; i >= 0 && !target; --i) {
            const user::Window& window = user::WindowAt(i);
            if (!window.parent && (window.style & WS_VISIBLE)) target = window.handle;
        }
    }
    event.window.windowID = sdl::SdlIdOf(target);
    event.window.event = gained ? SDL_WINDOWEVENT_FOCUS_GAINED : SDL_WINDOWEVENT_FOCUS_LOST;
    sdl::push(event);
}

}  // namespace backend
