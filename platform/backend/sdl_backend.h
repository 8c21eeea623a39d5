// Inside the SDL backend: the video subsystem, and one entry per top-level window.
#pragma once

#include <SDL.h>
#include <windows.h>

#include <string>
#include <vector>

#include "frame_scaler.h"

namespace backend {
namespace sdl {

// SDL's video is started on first need; false when it cannot start at all (then no window
// appears, and the user room still works on its own tables).
bool EnsureVideo();
bool VideoStarted();

struct WaylandOutput;

struct WindowEntry {
    HWND window = nullptr;
    SDL_Window* sdl = nullptr;
    WaylandOutput* wayland = nullptr;  // on SDL's Wayland driver: where frames go instead of SDL's surface
    FrameScaler scaler;  // frames into the window's surface
};

WindowEntry* EntryOf(HWND topLevel);
// The top-level window an SDL event names; null when it names none of ours.
HWND WindowOfSdlId(Uint32 windowId);
Uint32 SdlIdOf(HWND topLevel);

// Win32 virtual-key codes and SDL key codes, both ways; 0 / SDLK_UNKNOWN when there is none.
int VirtualKeyOf(SDL_Keycode key);
SDL_Keycode KeycodeOf(int virtualKey);

// Asks the window manager for a captioned window's frame as the style has it: the close box only
// with WS_SYSMENU, no minimise or maximise box unless asked for, no sizing without WS_THICKFRAME.
void AskForFrame(SDL_Window* window, DWORD style);
// Before the window is shown: its client area is to stay where it is put, the frame round it.
void KeepClientInPlace(SDL_Window* window);
// Puts the client area's top-left corner at a screen point.
void MoveClientTo(SDL_Window* window, int x, int y);

// Where a window's frames are written, and how they reach the screen. X11 and offscreen: the
// window's own surface (SDL_GetWindowSurface). Wayland: a canvas sent in shared-memory buffers
// (sdl_wayland.cpp). ShowCanvas hands the display a band of rows, or all of it (null).
SDL_Surface* CanvasOf(WindowEntry& entry);
void ShowCanvas(WindowEntry& entry, const SDL_Rect* band);
// Before SDL starts on a Wayland display: false, with the reason, where SDL 2.26 cannot live
// there (a compositor without a seat, no keyboard or pointer at all, crashes it).
bool WaylandDisplayIsUsable(std::string* reason);
// Rows that waited for a free Wayland buffer go out; the event pump calls it.
void SendWaitingFrames();

// The Wayland side of that; null where the window is not a Wayland one.
WaylandOutput* OpenWaylandOutput(SDL_Window* window);
void CloseWaylandOutput(WaylandOutput* output);
SDL_Surface* WaylandCanvas(WaylandOutput& output, SDL_Window* window);
void SendWaylandCanvas(WaylandOutput& output, const SDL_Rect* band);
void SendWaitingWaylandRows(WaylandOutput& output);
// Commits the window's surface as it is: what libdecor's plugin drew of its frame (a
// synchronized subsurface) shows only at the window's next commit.
void CommitWaylandFrame(WaylandOutput& output);
// Before the program waits for events: every Wayland window commits, so that its frame shows
// even when nothing draws it again (the preferences window).
void CommitWaylandFrames();

}  // namespace sdl
}  // namespace backend
