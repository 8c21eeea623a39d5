// SDL's events become reports to the user room (user/input.h), which decides what they mean.
// The backend's own business is the display: a window whose pixels the display may have lost
// is shown whole at its next present. The sim's input is pushed as SDL events and takes the
// same road.
#include "backend/backend.h"
#include "backend/sdl_backend.h"
#include "user/input.h"

namespace backend {
namespace sdl {
namespace {

void translateKey(const SDL_KeyboardEvent& key) {
    const bool alt = (key.keysym.mod & KMOD_ALT) != 0;
    user::ReportKey(WindowOfSdlId(key.windowID), VirtualKeyOf(key.keysym.sym), key.type == SDL_KEYDOWN,
                    key.repeat != 0, alt);
}

void translateButton(const SDL_MouseButtonEvent& button) {
    if (button.button != SDL_BUTTON_LEFT || button.which == SDL_TOUCH_MOUSEID) return;
    user::ReportButton(WindowOfSdlId(button.windowID), POINT{button.x, button.y}, button.type == SDL_MOUSEBUTTONDOWN);
}

void translateMotion(const SDL_MouseMotionEvent& motion) {
    user::ReportMotion(WindowOfSdlId(motion.windowID), POINT{motion.x, motion.y}, (motion.state & SDL_BUTTON_LMASK) != 0);
}

// Whatever the display showed of the window may be gone: the next present sends all of it.
void showAllAgain(HWND topLevel) {
    if (WindowEntry* entry = EntryOf(topLevel)) entry->scaler.ShowAll();
}

void translateWindowEvent(const SDL_WindowEvent& event) {
    HWND topLevel = WindowOfSdlId(event.windowID);
    switch (event.event) {
    case SDL_WINDOWEVENT_CLOSE: user::ReportClose(topLevel); break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        showAllAgain(topLevel);  // a window manager may have drawn over it while it was away
        user::ReportFocus(topLevel, true);
        break;
    case SDL_WINDOWEVENT_FOCUS_LOST: user::ReportFocus(topLevel, false); break;
    case SDL_WINDOWEVENT_SHOWN:
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_SIZE_CHANGED:  // SDL makes the window a new surface
        showAllAgain(topLevel);
        break;
    case SDL_WINDOWEVENT_EXPOSED:
        showAllAgain(topLevel);
        user::ReportExposed(topLevel);
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

void InjectKey(HWND topLevel, int virtualKey, bool down) {
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.windowID = sdl::SdlIdOf(topLevel);
    event.key.keysym.sym = sdl::KeycodeOf(virtualKey);
    event.key.keysym.scancode = SDL_GetScancodeFromKey(event.key.keysym.sym);
    sdl::push(event);
}

void InjectClick(HWND topLevel, int x, int y, bool down) {
    SDL_Event event{};
    event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.button.windowID = sdl::SdlIdOf(topLevel);
    event.button.button = SDL_BUTTON_LEFT;
    event.button.clicks = 1;
    event.button.x = x;
    event.button.y = y;
    sdl::push(event);
}

void InjectWindowEvent(HWND topLevel, WindowEvent what) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.windowID = sdl::SdlIdOf(topLevel);
    event.window.event = what == WindowEvent::Close         ? SDL_WINDOWEVENT_CLOSE
                         : what == WindowEvent::FocusGained ? SDL_WINDOWEVENT_FOCUS_GAINED
                                                            : SDL_WINDOWEVENT_FOCUS_LOST;
    sdl::push(event);
}

}  // namespace backend
