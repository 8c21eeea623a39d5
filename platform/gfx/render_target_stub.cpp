// Placeholder until the device lands: no device has a back buffer yet.
#include "gfx/render_target.h"

namespace gfx {

bool GetRenderTarget(IDirect3DDevice9*, RenderTarget*) { return false; }

}  // namespace gfx
