#include "font_blit.h"

#include <algorithm>

#include "font_blit_rows.h"

namespace gfx {

// font_blit_avx2.cpp: blendBoxHal compiled for AVX2, for the 32-bit formats.
void BlendBoxHalAvx2(const RenderTarget& target, const BlitBox& box, int x, int y, const CoverageImage& image,
                     const BlendColor& blend);
void BlendComposedHalAvx2(const RenderTarget& target, const ComposedText& composed, const BlendColor& blend);

namespace {

bool processorHasAvx2() {
#if (defined(__GNUC__) || defined(__clang__)) && (defined(__x86_64__) || defined(__i386__))
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
#else
    return false;
#endif
}

bool wideBlend = processorHasAvx2();

// The plain definition, channel by channel: what HAL's tables and lanes must agree with. One
// rounding of the whole sum, which never exceeds 255 x 255 and so fits a 16-bit lane.
uint32_t blendReference(uint32_t dst, D3DCOLOR color, uint32_t coverage) {
    const uint32_t alpha = div255(coverage * (color >> 24));
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const uint32_t source = shift == 24 ? 255 : (color >> shift) & 0xFF;
        const uint32_t kept = (dst >> shift) & 0xFF;
        out |= div255(source * alpha + kept * (255 - alpha)) << shift;
    }
    return out;
}

// Pixel by pixel, each converted, blended and converted back on its own. The format is a
// template argument only so that its layout folds into the code.
template <D3DFORMAT Format>
void blendBoxReference(const RenderTarget& target, const BlitBox& box, int x, int y, const CoverageImage& image,
                       D3DCOLOR color) {
    constexpr PixelLayout layout = LayoutOf(Format);
    for (int py = box.top; py < box.bottom; ++py) {
        for (int px = box.left; px < box.right; ++px) {
            uint8_t* pixel = target.bits + static_cast<ptrdiff_t>(py) * target.pitch + px * layout.bytes;
            const uint32_t raw = LoadPixel(pixel, layout.bytes);
            const uint32_t argb = blendReference(UnpackPixel(layout, raw), color,
                                                 image.bytes[(py - y) * image.stride + (px - x)]);
            StorePixel(pixel, layout.bytes, PackPixel(layout, argb, raw));
        }
    }
}

template <D3DFORMAT Format>
void blendBox(const RenderTarget& target, const BlitBox& box, int x, int y, const CoverageImage& image,
              const BlendColor& blend) {
    if (target.reference) return blendBoxReference<Format>(target, box, x, y, image, blend.color);
    if constexpr (BytesPerPixel(Format) == 4) {
        if (wideBlend) return BlendBoxHalAvx2(target, box, x, y, image, blend);
    }
    blendBoxHal<Format>(target, box, x, y, image, blend);
}

}  // namespace

void UseWideBlend(bool enabled) { wideBlend = enabled && processorHasAvx2(); }

void PrepareBlendColor(D3DCOLOR color, BlendColor* blend) {
    blend->color = color;
    blend->opaque = (color >> 24) == 255;
    blend->solid = color | 0xFF000000u;
    const uint32_t red = (color >> 16) & 0xFF, green = (color >> 8) & 0xFF, blue = color & 0xFF;
    for (uint32_t c = 0; c < 256; ++c) {
        const uint32_t alpha = div255(c * (color >> 24));
        blend->inverse[c] = 255 - alpha;
        blend->redBlue[c] = red * alpha << 16 | blue * alpha;
        blend->alphaGreen[c] = 255 * alpha << 16 | green * alpha;
    }
}

void BlendCoverage(const RenderTarget& target, const RECT& clip, int x, int y, const CoverageImage& image,
                   const BlendColor& blend) {
    if (!target.bits || BytesPerPixel(target.format) == 0) return;
    const int writableRight = std::min(static_cast<int>(clip.right), target.width);
    const BlitBox box = {std::max({x, static_cast<int>(clip.left), 0}), std::max({y, static_cast<int>(clip.top), 0}),
                     std::min(x + image.width, writableRight),
                     std::min({y + image.height, static_cast<int>(clip.bottom), target.height}), writableRight};
    if (box.left >= box.right || box.top >= box.bottom) return;
    switch (target.format) {
        case D3DFMT_X8R8G8B8: return blendBox<D3DFMT_X8R8G8B8>(target, box, x, y, image, blend);
        case D3DFMT_A8R8G8B8: return blendBox<D3DFMT_A8R8G8B8>(target, box, x, y, image, blend);
        case D3DFMT_R5G6B5: return blendBox<D3DFMT_R5G6B5>(target, box, x, y, image, blend);
        case D3DFMT_X1R5G5B5: return blendBox<D3DFMT_X1R5G5B5>(target, box, x, y, image, blend);
        default: return;
    }
}

bool BlendComposed(const RenderTarget& target, const ComposedText& composed, const BlendColor& blend) {
    if (!target.bits || target.reference || !composed.built) return false;
    const RECT& visible = composed.visible;
    if (visible.left < 0 || visible.top < 0 || visible.right > target.width || visible.bottom > target.height)
        return false;
    switch (target.format) {
        case D3DFMT_X8R8G8B8:
        case D3DFMT_A8R8G8B8:
            if (wideBlend) {
                BlendComposedHalAvx2(target, composed, blend);
            } else {
                blendComposedHal<D3DFMT_X8R8G8B8>(target, composed, blend);
            }
            return true;
        case D3DFMT_R5G6B5: blendComposedHal<D3DFMT_R5G6B5>(target, composed, blend); return true;
        case D3DFMT_X1R5G5B5: blendComposedHal<D3DFMT_X1R5G5B5>(target, composed, blend); return true;
        default: return false;
    }
}

}  // namespace gfx
