// The device's back buffer as the rest of the gfx room draws into it (the D3DX font).
#pragma once

#include <d3d9.h>

#include <cstdint>

namespace gfx {

struct RenderTarget {
    uint8_t* bits;
    int width;
    int height;
    int pitch;         // bytes per row
    D3DFORMAT format;  // X8R8G8B8, A8R8G8B8, R5G6B5 or X1R5G5B5
    bool reference;    // a D3DDEVTYPE_REF device: draw with the plain per-pixel path
};

// False when `device` is not one of ours or has no back buffer to draw into right now.
bool GetRenderTarget(IDirect3DDevice9* device, RenderTarget* target);

}  // namespace gfx
