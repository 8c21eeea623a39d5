// Built with -mavx2 where the compiler targets x86; BlendCoverage calls it only when the
// processor has AVX2. The two 32-bit formats blend alike: alpha is a channel like the others.
#include "font_blit_rows.h"

namespace gfx {

void BlendBoxHalAvx2(const RenderTarget& target, const BlitBox& box, int x, int y, const CoverageImage& image,
                     const BlendColor& blend) {
    blendBoxHal<D3DFMT_X8R8G8B8>(target, box, x, y, image, blend);
}

void BlendComposedHalAvx2(const RenderTarget& target, const ComposedText& composed, const BlendColor& blend) {
    blendComposedHal<D3DFMT_X8R8G8B8>(target, composed, blend);
}

}  // namespace gfx
