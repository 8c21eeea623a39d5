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
};
void PresentFrame(HWND window, const Frame& frame, bool fullScreen);

// True while the top-level window that holds `window` has the desktop's input focus.
bool HasFocus(HWND window);

}  // namespace backend
