// Glyph coverage blended into a render target: source over, the colour premultiplied by
// coverage x alpha. HAL and Reference give the same pixels; HAL gets there faster.
#pragma once

#include <windows.h>

#include <cstdint>

#include "pixel_format.h"  // what the blitter's callers need to lay out and read back a target
#include "render_target.h"

namespace gfx {

// One draw call's colour at every coverage value, so HAL does no multiplications for the source.
struct BlendColor {
    D3DCOLOR color;
    bool opaque;               // alpha 255: full coverage just stores `solid`
    uint32_t solid;            // the colour with alpha 255, as A8R8G8B8
    uint32_t redBlue[256];     // red and blue times the effective alpha, one 16-bit lane each, not yet / 255
    uint32_t alphaGreen[256];  // alpha (255) and green, likewise
    uint32_t inverse[256];     // 255 - effective alpha, what the destination keeps
};

void PrepareBlendColor(D3DCOLOR color, BlendColor* blend);

// One byte a pixel; each row is `stride` bytes, and the bytes past `width` up to a whole group
// of four are zero, so HAL may blend the group whole where the clip lets it write that far.
struct CoverageImage {
    const uint8_t* bytes;
    int width;
    int height;
    int stride;
};

// The image with its top-left at (x, y), drawn inside `clip` and the target. Formats other than
// the four back-buffer ones draw nothing.
void BlendCoverage(const RenderTarget& target, const RECT& clip, int x, int y, const CoverageImage& image,
                   const BlendColor& blend);

struct ComposedText;

// A composed text's runs (font_compose.h) on HAL. False, drawing nothing, when the target is a
// Reference one, is not the size the text was composed for, or has a format we do not draw into.
bool BlendComposed(const RenderTarget& target, const ComposedText& composed, const BlendColor& blend);

// HAL blends eight pixels a step where the processor has AVX2, else four; the tests turn the
// wide path off to check the narrow one on the same machine.
void UseWideBlend(bool enabled);

}  // namespace gfx
