// What the gfx room decides from the sim's settings (sim/sim_gfx.h, sim::detail::Gfx).
#pragma once

#include <d3d9.h>

namespace gfx {

// The formats a back buffer may have here, and whether a device type accepts one.
bool IsBackBufferFormat(D3DFORMAT format);
bool AcceptsFormat(D3DDEVTYPE type, D3DFORMAT format);

}  // namespace gfx
