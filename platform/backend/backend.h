// Where windows really appear: the one interface a backend implements (backend/README.md says
// what each call must do). There is one backend, SDL2 (sdl_*.cpp): a real display (X11,
// Wayland) or SDL's own offscreen driver when there is none. A backend follows the window table
// (user/window_table.h), which is the truth, and reports what the desktop did to the user room
// (user/input.h), which decides what it means. The user and gfx rooms reach SDL only through
// these calls.
#pragma once

#include <windows.h>
#include <d3d9.h>

namespace backend {

// Starting: on a display or headless, as the environment asks. When neither can be had,
// standard error has one line with the reason and the ways out.
enum class VideoStart {
    Ready,
    NoDisplay,        // none there, and headless forbidden; or the video does not start at all
    UnusableDisplay,  // a display is there, and the backend cannot run on it
};
VideoStart StartVideo();
bool IsHeadless();

// The desktop: its size, and its displays (each one is a Direct3D adapter; a name is never null).
// Headless, the screen is as large as the tests expect.
constexpr int kHeadlessScreenWidth = 1280, kHeadlessScreenHeight = 1024;
void GetScreenSize(int* width, int* height);
int DisplayCount();
const char* DisplayName(int index);

// Top-level windows. Each is one window of the desktop, of its client size at its client area's
// screen position, framed as its style says; these calls bring the desktop in line with the table.
void OpenWindow(HWND topLevel);
void SyncWindow(HWND topLevel);  // position, size, title and visibility from the table
void CloseWindow(HWND topLevel);
void ResetWindows();  // every window closed and every pending event dropped (sim::Reset)
void SetCursorVisible(bool visible);

// A back buffer to be shown in a top-level window's client area. Full screen, it is scaled
// to the display keeping its aspect ratio.
struct Frame {
    const void* pixels;
    int width;
    int height;
    int pitch;           // bytes per row
    D3DFORMAT format;    // X8R8G8B8, A8R8G8B8, R5G6B5 or X1R5G5B5
    bool first = false;  // the device's first since it was made or reset: all of it is shown
};
void PresentFrame(HWND window, const Frame& frame, bool fullScreen);

// The desktop's events, reported to the user room (user/input.h). PumpEvents never waits;
// WaitForEvents waits up to `milliseconds` for one, and is false at once headless, where none
// can come that is not already queued.
void PumpEvents();
bool WaitForEvents(int milliseconds);

// The sim's input, brought to a top-level window as the desktop would bring it, so that it
// takes the same road as a user's.
void InjectKey(HWND topLevel, int virtualKey, bool down);
void InjectClick(HWND topLevel, int x, int y, bool down);  // the left button, client coordinates
enum class WindowEvent { Close, FocusGained, FocusLost };
void InjectWindowEvent(HWND topLevel, WindowEvent event);

}  // namespace backend
