// HAL against Reference, the plain per-pixel blend, in all four back-buffer formats, eight pixels
// a step and four: each draw is made three times on the same noise, glyph by glyph, then
// composed, then from the composition already built, and HAL's pixels must be Reference's after
// every one of them.
#include <string>
#include <vector>

#include "platform/gfx/font_compose.h"
#include "platform/gfx/font_layout.h"
#include "tests/platform/font/font_canvas.h"

namespace {

struct ComposeCase {
    gfx::FontDescription font;
    int width, height;
    std::string text;
    RECT rect;
    DWORD format;
    D3DCOLOR color;
};

gfx::FontDescription SlantedFont() {
    gfx::FontDescription slanted = ProgramFont();
    slanted.height = 40;
    slanted.weight = 900;
    slanted.italic = true;
    return slanted;
}

const std::string kOverlap = "ffff jjjj //// VAVAW fjfj ____\nffff";

std::vector<ComposeCase> ComposeCases() {
    const gfx::FontDescription program = ProgramFont(), slanted = SlantedFont();
    const std::string page = SamplePage(), edge = "mmmm WWWW gggg |||| mmmm WWWW";
    return {
        {program, 640, 480, page, {0, 30, 640, 480}, DT_WORDBREAK, 0xFFFFFFFF},
        {program, 640, 480, page, {7, 41, 601, 403}, DT_WORDBREAK, 0x80FFC040},
        {program, 640, 480, page, {-13, -9, 500, 300}, DT_WORDBREAK | DT_NOCLIP, 0xFF20F0A0},
        {program, 640, 480, "FPS:1234.56", {0, 0, 640, 480}, DT_NOCLIP, 0xFFFFFFFF},
        {program, 640, 480, "\x80 \xE9 \xFC Wgj|", {-5, 470, 100, 480}, DT_NOCLIP, 0x3F1020F0},
        {program, 640, 480, "right edge WWWW", {560, 100, 700, 130}, DT_NOCLIP, 0xFFFFFFFF},
        // Odd widths leave a partial group of pixels at the target's right edge; clips cut groups too.
        {program, 203, 61, edge, {0, 0, 203, 61}, DT_WORDBREAK, 0xFFFFFFFF},
        {program, 203, 61, edge, {3, 5, 117, 47}, DT_WORDBREAK, 0xC0FF8000},
        {program, 203, 61, edge, {-2, 40, 203, 61}, DT_NOCLIP, 0xFFFFFFFF},
        // Slanted, heavy glyphs and underscores ink their neighbours' pixels (underscores two columns
        // deep): the later glyph blends over the earlier.
        {slanted, 600, 200, kOverlap, {4, 4, 600, 200}, 0, 0xFFFFFFFF},
        {slanted, 600, 200, kOverlap, {4, 4, 600, 200}, 0, 0x7F40FF80},
        {slanted, 600, 200, kOverlap, {-20, 4, 600, 70}, 0, 0xE0FFFFFF},
    };
}

// Draws the case three times on the same noise in every format, HAL and Reference alike, and
// compares after each draw.
void ExpectHalDrawsReferencesPixels(const ComposeCase& draw, bool wide) {
    gfx::UseWideBlend(wide);
    TestFont font(draw.font);
    for (D3DFORMAT format : {D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8, D3DFMT_R5G6B5, D3DFMT_X1R5G5B5}) {
        Canvas hal(draw.width, draw.height, format, false, 99), reference(draw.width, draw.height, format, true, 99);
        for (int pass = 0; pass < 3; ++pass) {
            font.draw(hal, draw.text, draw.rect, draw.format, draw.color);
            font.draw(reference, draw.text, draw.rect, draw.format, draw.color);
            ASSERT_EQ(hal.bytes, reference.bytes)
                << "format " << format << (wide ? "" : ", four a step") << ", pass " << pass << ", \""
                << draw.text.substr(0, 20) << "\" at " << draw.rect.left << "," << draw.rect.top;
        }
        ASSERT_NE(hal.bytes, hal.before) << "nothing drawn: \"" << draw.text.substr(0, 20) << "\"";
        for (size_t i = 1; format == D3DFMT_X1R5G5B5 && i < hal.bytes.size(); i += 2)
            ASSERT_EQ(hal.bytes[i] & 0x80, hal.before[i] & 0x80) << "X1R5G5B5's top bit is kept, byte " << i;
    }
}

TEST(FontComposeTest, HalDrawsReferencesPixelsGlyphByGlyphComposedAndReplayed) {
    for (const ComposeCase& draw : ComposeCases())
        for (bool wide : {true, false}) ASSERT_NO_FATAL_FAILURE(ExpectHalDrawsReferencesPixels(draw, wide));
    gfx::UseWideBlend(true);

    // The overlap above is real: else its cases prove nothing.
    TestFont font(SlantedFont());
    std::vector<gfx::TextLine> lines;
    gfx::LayOutText(font.face().advance, kOverlap.data(), static_cast<int>(kOverlap.size()), false, 0, &lines);
    gfx::ComposedText composed;
    const RECT rect = {4, 4, 600, 200};
    gfx::ComposeText(const_cast<gfx::FontFace&>(font.face()), lines, kOverlap.data(), rect, rect, &composed);
    EXPECT_FALSE(composed.inkedAgain.empty());
    EXPECT_EQ(composed.lines.size(), 2u);
}

}  // namespace
