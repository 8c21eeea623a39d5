// The program's global state: one instance, owned by the entry function's lifecycle.
#pragma once

#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

#include "diag/frame_rate_counter.h"

// At most 4000 bytes of text and a NUL.
const size_t kTextBufferSize = 4096;
const size_t kTextPageMaxBytes = 4000;

struct AppState {
    bool quit = false;  // ends the main loop; set on Escape, left click, close or a render failure
    IDirect3D9* d3d = nullptr;
    IDirect3DDevice9* device = nullptr;
    ID3DXFont* font = nullptr;
    bool fontLost = false;  // the font was told the device is lost and not yet that it was reset
    D3DPRESENT_PARAMETERS presentParameters{};  // kept for every device reset
    char TextBuffer[kTextBufferSize]{};
    FrameRateCounter frameRateCounter{"Fontloom"};
};

extern AppState g_app;
