// A text drawn a second time in the same place is blended from merged runs: the pixels must
// stay those of the glyph-by-glyph Reference draw, whatever the format, font, clip or colour.
#include <string>
#include <vector>

#include "platform/gfx/font_compose.h"
#include "platform/gfx/font_layout.h"
#include "platform/sim/sim.h"
#include "tests/platform/font/font_canvas.h"

namespace {

class FontComposeTest : public ::testing::Test {
protected:
    void SetUp() override { sim::Reset(); }
    void TearDown() override { sim::Reset(); }
};

void fillNoise(Canvas& canvas, uint32_t seed) {
    for (uint8_t& byte : canvas.bytes) {
        seed = seed * 1664525u + 1013904223u;
        byte = static_cast<uint8_t>(seed >> 24);
    }
}

struct Draw {
    std::string text;
    RECT rect;
    DWORD format;
    D3DCOLOR color;
};

// Each draw is made three times on a fresh noise canvas: glyph by glyph, then composed, then from
// the composition already built. HAL must match Reference after every one of them.
void expectComposedMatchesReference(const gfx::FontDescription& description, int width, int height,
                                    const std::vector<Draw>& draws) {
    TestFont font(description);
    for (D3DFORMAT format : {D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8, D3DFMT_R5G6B5, D3DFMT_X1R5G5B5}) {
        for (const Draw& draw : draws) {
            Canvas hal(width, height, format, false), reference(width, height, format, true);
            fillNoise(hal, 99);
            fillNoise(reference, 99);
            for (int pass = 0; pass < 3; ++pass) {
                font.draw(hal, draw.text.c_str(), draw.rect, draw.format, draw.color);
                font.draw(reference, draw.text.c_str(), draw.rect, draw.format, draw.color);
                ASSERT_EQ(hal.bytes, reference.bytes) << "format " << format << ", pass " << pass << ", text \""
                                                      << draw.text.substr(0, 20) << "\" at " << draw.rect.left
                                                      << "," << draw.rect.top;
            }
        }
    }
}

TEST_F(FontComposeTest, TheProgramsPageAndAwkwardPlacesMatchReference) {
    const std::string page = SamplePage();
    expectComposedMatchesReference(ProgramFont(), 640, 480,
                                   {{page, {0, 30, 640, 480}, DT_WORDBREAK, 0xFFFFFFFF},
                                    {page, {7, 41, 601, 403}, DT_WORDBREAK, 0x80FFC040},
                                    {page, {-13, -9, 500, 300}, DT_WORDBREAK | DT_NOCLIP, 0xFF20F0A0},
                                    {"FPS:1234.56", {0, 0, 640, 480}, DT_NOCLIP, 0xFFFFFFFF},
                                    {"\x80 \xE9 \xFC Wgj|", {-5, 470, 100, 480}, DT_NOCLIP, 0x3F1020F0},
                                    {"right edge WWWW", {560, 100, 700, 130}, DT_NOCLIP, 0xFFFFFFFF}});
}

// Odd widths leave a partial group at the target's right edge; the clip cuts groups too.
TEST_F(FontComposeTest, TargetsAndClipsThatCutAGroupMatchReference) {
    const std::string line = "mmmm WWWW gggg |||| mmmm WWWW";
    expectComposedMatchesReference(ProgramFont(), 203, 61,
                                   {{line, {0, 0, 203, 61}, DT_WORDBREAK, 0xFFFFFFFF},
                                    {line, {3, 5, 117, 47}, DT_WORDBREAK, 0xC0FF8000},
                                    {line, {-2, 40, 203, 61}, DT_NOCLIP, 0xFFFFFFFF}});
}

// Slanted, heavy glyphs overlap their neighbours' ink: there the second glyph blends over the
// first, which the merged runs must keep apart and replay in order.
TEST_F(FontComposeTest, GlyphsThatInkTheSamePixelBlendInTheirOrder) {
    gfx::FontDescription slanted = ProgramFont();
    slanted.height = 40;
    slanted.weight = 900;
    slanted.italic = true;
    const std::string text = "ffff jjjj //// VAVAW fjfj\nffff";

    TestFont font(slanted);
    gfx::FontFace& face = const_cast<gfx::FontFace&>(font.face());
    std::vector<gfx::TextLine> lines;
    gfx::LayOutText(face.advance, text.data(), static_cast<int>(text.size()), false, 0, &lines);
    gfx::ComposedText composed;
    const RECT rect = {4, 4, 600, 200};
    gfx::ComposeText(face, lines, text.data(), rect, rect, &composed);
    EXPECT_FALSE(composed.inkedAgain.empty()) << "no pixel inked twice: the case below proves nothing";
    EXPECT_EQ(composed.lines.size(), 2u);

    expectComposedMatchesReference(slanted, 600, 200,
                                   {{text, rect, 0, 0xFFFFFFFF},
                                    {text, rect, 0, 0x7F40FF80},
                                    {text, {-20, 4, 600, 70}, 0, 0xE0FFFFFF}});
}

TEST_F(FontComposeTest, APageIsComposedOnceAndAMovingTextNever) {
    TestFont font;
    Canvas canvas(640, 480, D3DFMT_X8R8G8B8);
    const std::string page = SamplePage();
    char line[32];
    for (int frame = 0; frame < 20; ++frame) {
        std::snprintf(line, sizeof line, "FPS:%.2f", 1000.0 + frame * 0.37);
        font.draw(canvas, line, {0, 0, 640, 480}, DT_NOCLIP);
        font.draw(canvas, page.c_str(), {0, 30, 640, 480}, DT_WORDBREAK);
        font.draw(canvas, "drifting", {frame, 300, 640, 480}, 0);
    }
    EXPECT_EQ(sim::CallCount("ComposeText"), 1);

    // Drawn elsewhere, the page is composed again there once it stays.
    for (int frame = 0; frame < 5; ++frame) font.draw(canvas, page.c_str(), {0, 40, 640, 480}, DT_WORDBREAK);
    EXPECT_EQ(sim::CallCount("ComposeText"), 2);

    // Reference never composes: it stays the plain per-glyph path.
    Canvas reference(640, 480, D3DFMT_X8R8G8B8, true);
    for (int frame = 0; frame < 5; ++frame) font.draw(reference, "still", {0, 0, 640, 480}, 0);
    EXPECT_EQ(sim::CallCount("ComposeText"), 2);
}

}  // namespace
