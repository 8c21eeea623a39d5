// Inside the SDL backend: the video subsystem, and one entry per top-level window.
#pragma once

#include <SDL.h>
#include <windows.h>

#include <vector>

#include "frame_scaler.h"

namespace backend {
namespace sdl {

// SDL's video is started on first need; false when it cannot start at all (then no window
// appears, and the user room still works on its own tables).
bool EnsureVideo();
bool VideoStarted();

struct WindowEntry {
    HWND window = nullptr;
    SDL_Window* sdl = nullptr;
    FrameScaler scaler;  // frames into the window's surface
    std::vector<uint32_t> painted;  // the paint hook's buffer, resized only with the window
};

WindowEntry* EntryOf(HWND topLevel);
// The top-level window an SDL event names; the active one when it names none.
HWND WindowOfEvent(Uint32 windowId);
Uint32 SdlIdOf(HWND topLevel);

// Win32 virtual-key codes and SDL key codes, both ways; 0 / SDLK_UNKNOWN when there is none.
int VirtualKeyOf(SDL_Keycode key);
SDL_Keycode KeycodeOf(int virtualKey);

// Asks the window manager for a captioned window's frame as the style has it: the close box only
// with WS_SYSMENU, no minimise or maximise box unless asked for, no sizing without WS_THICKFRAME.
void AskForFrame(SDL_Window* window, DWORD style);

// Drops what the events code remembers (the pointer's capture).
void ResetEvents();

}  // namespace sdl
}  // namespace backend
