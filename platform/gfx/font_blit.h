// Glyph coverage blended into a render target: source over, the colour premultiplied by
// coverage x alpha. HAL and Reference give the same pixels; HAL gets there faster.
#pragma once

#include <windows.h>

#include <cstdint>

#include "render_target.h"

namespace gfx {

// One draw call's colour at every coverage value, so HAL does no multiplications for the source.
struct BlendColor {
    D3DCOLOR color;
    bool opaque;               // alpha 255: full coverage just stores `solid`
    uint32_t solid;            // the colour with alpha 255, as A8R8G8B8
    uint32_t redBlue[256];     // premultiplied red and blue, one 16-bit lane each
    uint32_t alphaGreen[256];  // premultiplied alpha and green, likewise
    uint32_t inverse[256];     // 255 - effective alpha, what the destination keeps
};

void PrepareBlendColor(D3DCOLOR color, BlendColor* blend);

// A width x height coverage image (one byte a pixel, rows packed) with its top-left at (x, y),
// drawn inside `clip` and the target. Formats other than the four back-buffer ones draw nothing.
void BlendCoverage(const RenderTarget& target, const RECT& clip, int x, int y, const uint8_t* coverage,
                   int width, int height, const BlendColor& blend);

// Pixels as A8R8G8B8 and back; `old` supplies what the format keeps (X1R5G5B5's top bit).
uint32_t UnpackPixel(D3DFORMAT format, uint32_t raw);
uint32_t PackPixel(D3DFORMAT format, uint32_t argb, uint32_t old);
int BytesPerPixel(D3DFORMAT format);  // 0 for a format we do not draw into

}  // namespace gfx
