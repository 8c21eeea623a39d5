#include <climits>
#include <cstdio>

#include "platform/sim/sim.h"
#include "tests/platform/font/font_canvas.h"

namespace {

// What DrawTextA answers is compared with Wine's in tests/probe; here is what it draws.
TEST(FontDrawTest, DrawsOnlyWhatItIsAskedToAndOnlyInsideTheClip) {
    TestFont font;
    Canvas blank(200, 100), one(200, 100), whole(200, 100), origin(200, 100), clipped(200, 100, D3DFMT_X8R8G8B8, false, 7);
    RECT rect = {10, 5, 190, 35};  // the second line (27..49) is cut at 35, the third is outside
    EXPECT_EQ(gfx::DrawFontText(font.font, blank.target, "abc", 0, &rect, 0, 0xFFFFFFFF), 0);
    EXPECT_EQ(gfx::DrawFontText(font.font, blank.target, nullptr, -1, &rect, 0, 0xFFFFFFFF), 0);
    EXPECT_EQ(font.draw(blank, "ab\nabc", rect, DT_CALCRECT), 44);
    EXPECT_EQ(blank.inkBox().right, 0) << "only measured";
    EXPECT_EQ(gfx::DrawFontText(font.font, one.target, "ab\ncd", 1, &rect, 0, 0xFFFFFFFF), 22);
    font.draw(whole, "a", rect, 0);
    EXPECT_EQ(one.bytes, whole.bytes) << "a count draws that many bytes";
    EXPECT_EQ(gfx::DrawFontText(font.font, origin.target, "Wgj Wgj", -1, nullptr, DT_WORDBREAK, 0xFFFFFFFF), 22);
    EXPECT_LE(origin.inkBox().top, 5) << "no rectangle: from the origin";
    EXPECT_GT(origin.inkBox().right, font.width("Wgj Wg")) << "no rectangle: unwrapped";
    Canvas other(20, 30, D3DFMT_A4R4G4B4, true);
    font.draw(other, "Wgj", rect, 0);
    EXPECT_EQ(other.bytes, other.before) << "not a back-buffer format: nothing drawn";

    sim::Reset();
    EXPECT_EQ(font.draw(clipped, "mn\nop\nxyz", rect, 0), 44);
    const RECT ink = clipped.inkBox();
    EXPECT_GE(ink.left, rect.left);
    EXPECT_GE(ink.top, rect.top);
    EXPECT_EQ(ink.bottom, rect.bottom) << "the second line is drawn down to the edge";
    EXPECT_EQ(sim::CallCount("RasterizeGlyph"), 4) << "x, y and z are never rasterised";
    EXPECT_EQ(font.draw(clipped, "mn\nop\nxyz", {10, 5, 20, 35}, DT_NOCLIP), 66);
    EXPECT_GT(clipped.inkBox().bottom, 49) << "DT_NOCLIP draws the third line";
    // Off the target's corners: cut by the target, no stray writes (the sanitizer build sees those).
    Canvas corner(50, 30, D3DFMT_R5G6B5);
    EXPECT_EQ(font.draw(corner, "Wgj\nWgj", {-8, -12, 0, 0}, DT_NOCLIP), 44);
    EXPECT_EQ(corner.inkBox().left, 0) << "cut at the target's left edge, not before it";
    EXPECT_EQ(font.draw(corner, "Wgj", {INT_MAX - 5, INT_MAX - 5, INT_MAX, INT_MAX}, DT_NOCLIP), 22);
    EXPECT_EQ(font.draw(corner, "Wgj Wgj", {INT_MIN, 0, INT_MAX, 30}, DT_WORDBREAK), 22) << "the widest rectangle";
}

// Each text is pixel for pixel its pieces drawn one after the other by hand ("\n": the next line).
TEST(FontDrawTest, WrapsAmpersandsTabsAndCarriageReturnsAreDrawnAsWineDrawsThem) {
    TestFont font;
    const struct {
        const char* text;
        std::vector<std::string> pieces;
    } cases[] = {
        {"Fontloom draws this page again and again", {"Fontloom draws", "\n", "this page again", "\n", "and again"}},
        {"&x &&", {"&", "x &", "&"}},  // no prefix underline; "&&" is two of them
        {"a\rb", {"ab"}},              // a carriage return draws nothing and takes no room
        {"a\tb", {"a", "\t", "b"}},    // a tab: the face's box for it and its advance, no tab stop
    };
    for (const auto& test : cases) {
        Canvas whole(300, 100), byHand(300, 100);
        int x = 20, y = 4;
        for (const std::string& piece : test.pieces) {
            font.draw(byHand, piece, {x, y, 168, 100}, 0);
            x = piece == "\n" ? 20 : x + font.width(piece);
            y += piece == "\n" ? 22 : 0;
        }
        EXPECT_EQ(font.draw(whole, test.text, {20, 4, 168, 100}, DT_WORDBREAK), y - 4 + 22) << test.text;
        EXPECT_EQ(whole.bytes, byHand.bytes) << test.text;
    }
    Canvas tab(100, 30);
    font.draw(tab, "\t", {5, 2, 100, 30}, 0);
    EXPECT_NE(tab.inkBox().right, 0) << "the tab's box";
}

// Source over, rounded to nearest: coverage c of colour (A, R, G, B) over the destination, as
// Reference's plain formula blends it (HAL's pixels are Reference's: tests/platform/font/font_compose_test).
TEST(FontDrawTest, TheColoursAlphaBlendsOverTheTarget) {
    TestFont font;
    const RECT rect = {2, 2, 120, 30};
    Canvas coverage(120, 30, D3DFMT_A8R8G8B8), canvas(120, 30, D3DFMT_A8R8G8B8, true);  // white on black: blue is coverage
    font.draw(coverage, "Blend W", rect, 0);
    for (size_t i = 0; i < canvas.bytes.size(); i += 4) canvas.bytes[i] = canvas.bytes[i + 3] = 0xFF;  // blue
    font.draw(canvas, "Blend W", rect, 0, 0x80FF0000);
    int partly = 0, full = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 120; ++x) {
            const uint32_t c = coverage.argb(x, y) & 0xFF, alpha = (2 * c * 0x80 + 255) / 510;
            ASSERT_EQ(canvas.argb(x, y), 0xFF000000u | alpha << 16 | (255 - alpha)) << x << "," << y;
            partly += c > 0 && c < 255;
            full += c == 255;
        }
    EXPECT_GT(partly, 20);
    EXPECT_GT(full, 20);
    Canvas clear(120, 30, D3DFMT_X8R8G8B8, false, 5);
    font.draw(clear, "Blend W", rect, 0, 0x00FFFFFF);
    EXPECT_EQ(clear.inkBox().right, 0) << "transparent text changes nothing";
}

// The program's frame: the page stays, the frame-rate line changes every frame, a word moves.
TEST(FontDrawTest, GlyphsAreRasterisedOnceTextsLaidOutOnceAndAPageThatStaysComposedOnce) {
    TestFont font;
    Canvas canvas(640, 480);
    const std::string page = SamplePage();
    char line[32];
    for (int frame = 0; frame < 20; ++frame) {
        std::snprintf(line, sizeof line, "FPS:%.2f", 1000.0 + frame * 0.37);
        font.draw(canvas, page, {0, 30, 640, 480}, DT_WORDBREAK);  // the first layout made, kept as any other
        font.draw(canvas, line, {0, 0, 640, 480}, DT_NOCLIP);
        font.draw(canvas, "drifting", {frame, 300, 640 + frame, 480}, 0, 0xFF000000 + frame);
    }
    EXPECT_EQ(sim::CallCount("LayOutText"), 22) << "each frame-rate line, the page and the word";
    EXPECT_EQ(sim::CallCount("ComposeText"), 1);
    const int glyphs = sim::CallCount("RasterizeGlyph");
    EXPECT_GT(glyphs, 20);
    font.draw(canvas, "drifting", {0, 0, 100, 480}, 0);  // the width only matters to wrapping
    // Device loss keeps both caches: they live in system memory.
    EXPECT_EQ(font.font->OnLostDevice(), S_OK);
    EXPECT_EQ(font.font->OnResetDevice(), S_OK);
    font.draw(canvas, page, {0, 30, 640, 480}, DT_WORDBREAK);
    EXPECT_EQ(sim::CallCount("LayOutText"), 22);
    EXPECT_EQ(sim::CallCount("RasterizeGlyph"), glyphs);
    // Drawn elsewhere (at the top edge), the page is composed again there once it stays and then
    // drawn from that; Reference never composes.
    Canvas reference(640, 480, D3DFMT_X8R8G8B8, true);
    const int blends = sim::CallCount("BlendComposed");
    for (int frame = 0; frame < 3; ++frame) {
        font.draw(canvas, page, {0, 0, 640, 480}, DT_WORDBREAK);
        font.draw(reference, page, {0, 30, 640, 480}, DT_WORDBREAK);
    }
    EXPECT_EQ(sim::CallCount("ComposeText"), 2);
    EXPECT_EQ(sim::CallCount("BlendComposed") - blends, 2);
}

}  // namespace
