// HAL blends four pixels at a time and may read past the image's right edge into its zero
// padding, but must never write past the clip or the target.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "tests/platform/font/font_canvas.h"

namespace {

TEST(FontBlitTest, HalStopsAtTheClipAndTheTargetEdgeWhereverTheyCutAGroupOfFour) {
    // A 10 x 3 image holding many coverage values, rows padded to 12 bytes.
    std::vector<uint8_t> pixels(12 * 3, 0);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 10; ++x) pixels[y * 12 + x] = static_cast<uint8_t>(y == 1 ? 255 : (x * 29 + y * 97) & 0xFF);
    const gfx::CoverageImage glyph{pixels.data(), 10, 3, 12};
    for (bool wide : {true, false}) {
        gfx::UseWideBlend(wide);
        for (D3DFORMAT format : {D3DFMT_X8R8G8B8, D3DFMT_R5G6B5}) {
            for (D3DCOLOR color : {0xFFFFFFFFu, 0x80FFC040u}) {
                gfx::BlendColor blend;
                gfx::PrepareBlendColor(color, &blend);
                // The image's left at 3, the right edge at every column it covers and a few past.
                for (int right = 4; right <= 18; ++right) {
                    for (bool targetEdge : {false, true}) {
                        const int width = targetEdge ? right : 24;
                        const RECT clip = {0, 0, targetEdge ? 24 : right, 4};
                        Canvas hal(width, 4, format, false), reference(width, 4, format, true);
                        hal.noise(99);
                        reference.noise(99);
                        const std::vector<uint8_t> before = hal.bytes;
                        gfx::BlendCoverage(hal.target, clip, 3, 1, glyph, blend);
                        gfx::BlendCoverage(reference.target, clip, 3, 1, glyph, blend);
                        ASSERT_EQ(hal.bytes, reference.bytes) << "right " << right << " format " << format;
                        ASSERT_NE(hal.bytes, before) << "right " << right;
                        // Right of the edge, and in the row padding, nothing changes.
                        const int edge = std::min(right, 24) * gfx::BytesPerPixel(format);
                        for (int y = 0; y < 4; ++y)
                            for (int i = y * hal.target.pitch + edge; i < (y + 1) * hal.target.pitch; ++i)
                                ASSERT_EQ(hal.bytes[i], before[i]) << "right " << right << " byte " << i;
                    }
                }
            }
        }
    }
    gfx::UseWideBlend(true);
}

}  // namespace
