// Where windows really appear. One driver, SDL2: a real display (x11 / wayland), or SDL's own
// offscreen driver when there is none. The user room (windows, input) and the gfx room
// (adapters, presentation) reach SDL only through these calls.
#pragma once

#include <windows.h>
#include <d3d9.h>

namespace backend {

// The displays SDL reports; each is one Direct3D adapter. A name is never null.
int DisplayCount();
const char* DisplayName(int index);

// A back buffer to be shown in a top-level window's client area. Full screen, it is scaled
// to the display keeping its aspect ratio.
struct Frame {
    const void* pixels;
    int width;
    int height;
    int pitch;         // bytes per row
    D3DFORMAT format;  // X8R8G8B8, A8R8G8B8, R5G6B5 or X1R5G5B5
    bool first = false;  // the device's first since it was made or reset: all of it is shown
};
void PresentFrame(HWND window, const Frame& frame, bool fullScreen);

// True while the top-level window that holds `window` has the desktop's input focus.
bool HasFocus(HWND window);

}  // namespace backend

namespace backend {

// The user room's side. Each top-level window is one SDL window of its client size, placed at
// its client area's screen position; the window table (user/window_table.h) is the truth and
// these calls bring SDL in line with it.
// Starts SDL's video, on a display or headless as the environment asks. When neither can be
// had, standard error has one line with the reason and the ways out.
enum class VideoStart {
    Ready,
    NoDisplay,        // none there, and headless forbidden; or SDL's video does not start at all
    UnusableDisplay,  // a display is there, and SDL cannot run on it
};
VideoStart StartVideo();
bool IsHeadless();
void GetScreenSize(int* width, int* height);
void OpenWindow(HWND topLevel);
void SyncWindow(HWND topLevel);  // position, size, title and visibility from the table
void CloseWindow(HWND topLevel);
void SetCursorVisible(bool visible);
// SDL's pending events become queued messages (user::QueueMessage). Never waits.
void PumpEvents();
// Waits up to `milliseconds` for an event; false at once when headless, where none can come
// that is not already queued.
bool WaitForEvents(int milliseconds);
// Calls the user room's paint hook into a buffer of the client size and shows the result.
void PaintWindow(HWND topLevel);
// Every SDL window closed and every pending event dropped; sim::Reset calls it.
void ResetWindows();

}  // namespace backend

namespace backend {

// The sim's input, pushed as the SDL events a user would cause, for the active window.
void InjectKey(int virtualKey, bool down);
void InjectClick(int x, int y, bool down);
void InjectClose();
void InjectFocus(bool gained);

}  // namespace backend
