// The blender on its own: HAL blends four pixels at a time and may run over the image's right
// edge into its zero padding, but never over the clip or the target.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "tests/platform/font/font_canvas.h"

namespace {

// A 10 x 3 image (every coverage value from 0 to 255 somewhere), rows padded to 12 bytes.
struct PaddedImage {
    std::vector<uint8_t> bytes = std::vector<uint8_t>(12 * 3, 0);
    gfx::CoverageImage image{nullptr, 10, 3, 12};
    PaddedImage() {
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 10; ++x)
                bytes[y * 12 + x] = static_cast<uint8_t>(y == 1 ? 255 : (x * 29 + y * 97) & 0xFF);
        image.bytes = bytes.data();
    }
};

void fillWithNoise(Canvas& canvas, uint32_t seed) {
    for (uint8_t& byte : canvas.bytes) {
        seed = seed * 1664525u + 1013904223u;
        byte = static_cast<uint8_t>(seed >> 24);
    }
}

TEST(FontBlitTest, HalStopsAtTheClipAndTheTargetEdgeWhereverTheyCutAGroupOfFour) {
    const PaddedImage glyph;
    for (bool wide : {true, false}) {
        gfx::UseWideBlend(wide);
        for (D3DFORMAT format : {D3DFMT_X8R8G8B8, D3DFMT_R5G6B5}) {
            for (D3DCOLOR color : {0xFFFFFFFFu, 0x80FFC040u}) {
                gfx::BlendColor blend;
                gfx::PrepareBlendColor(color, &blend);
                // The image's left at 3, the clip's right edge at every column it covers and a few past.
                for (int right = 4; right <= 18; ++right) {
                    for (bool targetEdge : {false, true}) {
                        const int width = targetEdge ? right : 24;
                        const RECT clip = {0, 0, targetEdge ? 24 : right, 4};
                        Canvas hal(width, 4, format, false), reference(width, 4, format, true);
                        fillWithNoise(hal, 99);
                        fillWithNoise(reference, 99);
                        const std::vector<uint8_t> before = hal.bytes;
                        gfx::BlendCoverage(hal.target, clip, 3, 1, glyph.image, blend);
                        gfx::BlendCoverage(reference.target, clip, 3, 1, glyph.image, blend);
                        ASSERT_EQ(hal.bytes, reference.bytes) << "right " << right << " format " << format;
                        ASSERT_NE(hal.bytes, before) << "right " << right;
                        // Right of the edge, and in the padding a surface's rows may have, nothing changes.
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

// The whole page through both HAL paths, white and translucent, on noise above (every blend has
// something to keep) and on black below (the cleared page, which HAL blends its own way).
TEST(FontBlitTest, TheWideAndNarrowPathsDrawThePageAsTheReferenceDoes) {
    TestFont font;
    const std::string page = SamplePage();
    auto drawPage = [&](bool reference) {
        Canvas canvas(640, 480, D3DFMT_A8R8G8B8, reference);
        fillWithNoise(canvas, 7);
        std::fill(canvas.bytes.begin() + 240 * canvas.target.pitch, canvas.bytes.end(), 0);
        font.draw(canvas, page.c_str(), {0, 30, 640, 480}, DT_WORDBREAK);
        font.draw(canvas, page.c_str(), {3, 11, 597, 470}, DT_WORDBREAK, 0x9020E0FF);
        return canvas.bytes;
    };
    const std::vector<uint8_t> expected = drawPage(true);
    for (bool wide : {true, false}) {
        gfx::UseWideBlend(wide);
        EXPECT_EQ(drawPage(false), expected) << (wide ? "wide" : "narrow");
    }
    gfx::UseWideBlend(true);
}

}  // namespace
