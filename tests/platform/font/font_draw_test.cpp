#include <climits>
#include <cstdio>

#include "platform/sim/sim.h"
#include "tests/platform/font/font_canvas.h"
#include "tests/support/fake_d3d.h"

namespace {

const uint32_t kBackground = 0xFF102030;

class FontDrawTest : public ::testing::Test {
protected:
    void SetUp() override { sim::Reset(); }
    void TearDown() override { sim::Reset(); }
};

// Rows [top, bottom) of the canvas hold no ink.
bool blankRows(const Canvas& canvas, int top, int bottom, uint32_t background) {
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < canvas.target.width; ++x)
            if (canvas.argb(x, y) != background) return false;
    return true;
}

TEST_F(FontDrawTest, ZeroForNothingAndACountOrNoRectangleAsAsked) {
    TestFont font;
    Canvas canvas(200, 100, D3DFMT_X8R8G8B8);
    Canvas blank(200, 100, D3DFMT_X8R8G8B8);
    RECT rect = {0, 0, 200, 100};
    EXPECT_EQ(font.draw(blank, "", rect, 0), 0);
    EXPECT_EQ(gfx::DrawFontText(font.font, blank.target, "abc", 0, &rect, 0, 0xFFFFFFFF), 0);
    EXPECT_EQ(gfx::DrawFontText(font.font, blank.target, nullptr, -1, &rect, 0, 0xFFFFFFFF), 0);
    EXPECT_EQ(blank.inkBox(0).right, 0);

    // A count shorter than the string draws only that much.
    Canvas one(200, 100, D3DFMT_X8R8G8B8), whole(200, 100, D3DFMT_X8R8G8B8);
    EXPECT_EQ(gfx::DrawFontText(font.font, one.target, "ab\ncd", 1, &rect, 0, 0xFFFFFFFF), 22);
    font.draw(whole, "a", rect, 0);
    EXPECT_EQ(one.bytes, whole.bytes);

    // No rectangle: drawn from the origin, unclipped and unwrapped.
    Canvas origin(200, 100, D3DFMT_X8R8G8B8);
    EXPECT_EQ(gfx::DrawFontText(font.font, origin.target, "Wgj Wgj", -1, nullptr, DT_WORDBREAK, 0xFFFFFFFF), 22);
    const RECT ink = origin.inkBox(0);
    EXPECT_LE(ink.left, 1);
    EXPECT_LE(ink.top, 5);
    EXPECT_GT(ink.right, font.width("Wgj Wg"));

    // DT_CALCRECT measures without drawing (what it measures: tests/probe, against Wine).
    rect = {10, 20, 300, 400};
    gfx::DrawFontText(font.font, blank.target, "ab\nabc", -1, &rect, DT_CALCRECT, 0xFFFFFFFF);
    EXPECT_EQ(blank.inkBox(0).right, 0);
}

TEST_F(FontDrawTest, ClippedTextStaysInItsRectangleAndLinesBelowAreNotRasterised) {
    TestFont font;
    Canvas canvas(200, 100, D3DFMT_X8R8G8B8);
    canvas.fill(kBackground);
    const RECT rect = {10, 5, 190, 35};  // the second line (27..49) is cut at 35, the third is outside
    font.draw(canvas, "ab\ncd\nxyz", rect, 0);
    const RECT ink = canvas.inkBox(kBackground);
    EXPECT_GE(ink.left, rect.left);
    EXPECT_GE(ink.top, rect.top);
    EXPECT_EQ(ink.bottom, rect.bottom) << "the second line is drawn down to the edge";
    EXPECT_TRUE(blankRows(canvas, 35, 100, kBackground));
    EXPECT_EQ(sim::CallCount("RasterizeGlyph"), 4) << "x, y and z are never rasterised";

    // Without DT_WORDBREAK a long line is cut at the right edge; glyphs far past it are not made.
    Canvas wide(200, 100, D3DFMT_X8R8G8B8);
    wide.fill(kBackground);
    sim::Reset();
    font.draw(wide, "ABCDEFGHIJKLMNOPQRSTUVWXYZ", {0, 0, 40, 30}, 0);
    EXPECT_EQ(wide.inkBox(kBackground).right, 40);
    EXPECT_LT(sim::CallCount("RasterizeGlyph"), 8);
}

TEST_F(FontDrawTest, NoClipDrawsPastTheRectangleButNotPastTheTarget) {
    TestFont font;
    Canvas canvas(200, 100, D3DFMT_X8R8G8B8);
    canvas.fill(kBackground);
    EXPECT_EQ(font.draw(canvas, "ab\ncd\nxyz", {10, 5, 20, 35}, DT_NOCLIP), 66);
    const RECT ink = canvas.inkBox(kBackground);
    EXPECT_GT(ink.bottom, 49) << "the third line is drawn";
    EXPECT_GT(ink.right, 20);
    EXPECT_EQ(sim::CallCount("RasterizeGlyph"), 7);

    // Off the target's corners: cut by the target, no stray writes.
    Canvas corner(50, 30, D3DFMT_R5G6B5);
    EXPECT_EQ(font.draw(corner, "Wgj\nWgj", {-8, -12, 0, 0}, DT_NOCLIP), 44);
    EXPECT_NE(corner.inkBox(0xFF000000).right, 0);
    EXPECT_EQ(font.draw(corner, "Wgj", {INT_MAX - 5, INT_MAX - 5, INT_MAX, INT_MAX}, DT_NOCLIP), 22);
    EXPECT_EQ(font.draw(corner, "Wgj", {INT_MIN, INT_MIN, 0, 0}, DT_NOCLIP), 22);
    EXPECT_EQ(font.draw(corner, "Wgj Wgj", {INT_MIN, 0, INT_MAX, 30}, DT_WORDBREAK), 22) << "the widest rectangle";
}

TEST_F(FontDrawTest, WrappedLinesArePixelForPixelTheLinesOfTheLayout) {
    TestFont font;
    Canvas wrapped(300, 100, D3DFMT_X8R8G8B8), byHand(300, 100, D3DFMT_X8R8G8B8);
    EXPECT_EQ(font.draw(wrapped, "Fontloom draws this page again and again", {20, 4, 168, 100}, DT_WORDBREAK), 66);
    font.draw(byHand, "Fontloom draws", {20, 4, 168, 100}, 0);
    font.draw(byHand, "this page again", {20, 26, 168, 100}, 0);
    font.draw(byHand, "and again", {20, 48, 168, 100}, 0);
    EXPECT_EQ(wrapped.bytes, byHand.bytes);
    EXPECT_LE(wrapped.inkBox(0).right, 168);
}

TEST_F(FontDrawTest, AmpersandsTabsAndCarriageReturnsAreDrawnAsWineDrawsThem) {
    TestFont font;
    const int amp = font.face().advance[static_cast<uint8_t>('&')];
    // "&x" is '&' and then 'x', nothing underlined; "&&" is two of them.
    Canvas prefixed(100, 30, D3DFMT_X8R8G8B8), byHand(100, 30, D3DFMT_X8R8G8B8);
    font.draw(prefixed, "&x", {5, 2, 100, 30}, 0);
    font.draw(byHand, "&", {5, 2, 100, 30}, 0);
    font.draw(byHand, "x", {5 + amp, 2, 100, 30}, 0);
    EXPECT_EQ(prefixed.bytes, byHand.bytes);
    Canvas one(100, 30, D3DFMT_X8R8G8B8), two(100, 30, D3DFMT_X8R8G8B8);
    font.draw(one, "&", {5, 2, 100, 30}, 0);
    font.draw(two, "&&", {5, 2, 100, 30}, 0);
    EXPECT_EQ(two.inkBox(0).right - one.inkBox(0).right, amp);

    // A tab shows the face's glyph for it (a box) and moves the pen by its advance.
    Canvas tab(100, 30, D3DFMT_X8R8G8B8), none(100, 30, D3DFMT_X8R8G8B8);
    font.draw(tab, "\t", {5, 2, 100, 30}, 0);
    EXPECT_NE(tab.bytes, none.bytes);
    EXPECT_EQ(font.face().advance[static_cast<uint8_t>('\t')], 7);

    // A carriage return draws nothing and takes no room: "a\rb" is "ab".
    Canvas cr(100, 30, D3DFMT_X8R8G8B8), ab(100, 30, D3DFMT_X8R8G8B8);
    EXPECT_EQ(font.draw(cr, "a\rb", {5, 2, 100, 30}, DT_WORDBREAK), 22);
    font.draw(ab, "ab", {5, 2, 100, 30}, 0);
    EXPECT_EQ(cr.bytes, ab.bytes);
}

// Coverage c of colour (A, R, G, B) over the destination, rounded to nearest as the blend must.
uint32_t roundedDiv255(uint32_t x) { return (2 * x + 255) / 510; }

TEST_F(FontDrawTest, TheColoursAlphaBlendsOverTheTarget) {
    TestFont font;
    const char* text = "Blend W";
    const RECT rect = {2, 2, 120, 30};
    Canvas coverage(120, 30, D3DFMT_A8R8G8B8);  // white on black: each pixel's grey is its coverage
    font.draw(coverage, text, rect, 0);
    for (bool reference : {false, true}) {
        Canvas canvas(120, 30, D3DFMT_A8R8G8B8, reference);
        canvas.fill(0xFF0000FF);
        font.draw(canvas, text, rect, 0, 0x80FF0000);
        int partly = 0, full = 0;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 120; ++x) {
                const uint32_t c = coverage.argb(x, y) & 0xFF;
                const uint32_t alpha = roundedDiv255(c * 0x80);
                const uint32_t expected = 0xFF000000u | alpha << 16 | (255 - alpha);
                ASSERT_EQ(canvas.argb(x, y), expected) << x << "," << y << " coverage " << c << " ref " << reference;
                partly += c > 0 && c < 255;
                full += c == 255;
            }
        EXPECT_GT(partly, 20);
        EXPECT_GT(full, 20);
    }

    // Transparent text leaves the target alone; opaque text at full coverage is its colour.
    Canvas clear(120, 30, D3DFMT_X8R8G8B8);
    clear.fill(kBackground);
    font.draw(clear, text, rect, 0, 0x00FFFFFF);
    EXPECT_EQ(clear.inkBox(kBackground).right, 0);
    font.draw(clear, text, rect, 0, 0xFF336699);
    int exact = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 120; ++x) exact += (coverage.argb(x, y) & 0xFF) == 255 && clear.argb(x, y) == 0xFF336699;
    EXPECT_GT(exact, 20);
}

TEST_F(FontDrawTest, HalAndReferenceDrawIdenticalPixelsInAllFourFormats) {
    TestFont font;
    const std::string page = SamplePage();
    for (D3DFORMAT format : {D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8, D3DFMT_R5G6B5, D3DFMT_X1R5G5B5}) {
        Canvas hal(640, 480, format, false), reference(640, 480, format, true);
        uint32_t seed = 12345;  // the same noise under both, so every blend has something to blend with
        for (size_t i = 0; i < hal.bytes.size(); ++i) {
            seed = seed * 1664525u + 1013904223u;
            hal.bytes[i] = reference.bytes[i] = static_cast<uint8_t>(seed >> 24);
        }
        const std::vector<uint8_t> noise = hal.bytes;
        for (Canvas* canvas : {&hal, &reference}) {
            font.draw(*canvas, "FPS:1234.56", {0, 0, 640, 480}, DT_NOCLIP);
            font.draw(*canvas, page.c_str(), {0, 30, 640, 480}, DT_WORDBREAK);
            font.draw(*canvas, page.c_str(), {7, 41, 600, 400}, DT_WORDBREAK, 0x80FFC040);
            font.draw(*canvas, "\x80 \xE9 \xFC Wgj", {-5, 470, 100, 480}, DT_NOCLIP, 0x3F1020F0);
        }
        EXPECT_EQ(hal.bytes, reference.bytes) << "format " << format;
        EXPECT_NE(hal.bytes, noise) << "format " << format;
        if (format == D3DFMT_X1R5G5B5) {
            for (size_t i = 1; i < hal.bytes.size(); i += 2) ASSERT_EQ(hal.bytes[i] & 0x80, noise[i] & 0x80) << i;
        }
    }
}

TEST_F(FontDrawTest, GlyphsAreRasterisedOnceAndEachTextLaidOutOnce) {
    TestFont font;
    Canvas canvas(640, 480, D3DFMT_X8R8G8B8);
    font.draw(canvas, "hello", {0, 0, 640, 480}, 0);
    EXPECT_EQ(sim::CallCount("RasterizeGlyph"), 4);
    EXPECT_EQ(sim::CallCount("LayOutText"), 1);
    font.draw(canvas, "hello", {0, 0, 640, 480}, 0);
    font.draw(canvas, "hello", {50, 60, 690, 480}, 0, 0x80FF0000);  // moved, same width, other colour
    font.draw(canvas, "hello", {0, 0, 100, 480}, 0);                // the width only matters to wrapping
    EXPECT_EQ(sim::CallCount("RasterizeGlyph"), 4);
    EXPECT_EQ(sim::CallCount("LayOutText"), 1);
    font.draw(canvas, "hello", {0, 0, 100, 480}, DT_WORDBREAK);
    font.draw(canvas, "hello", {0, 0, 100, 480}, DT_WORDBREAK);
    EXPECT_EQ(sim::CallCount("LayOutText"), 2);

    // The program's frame: the page stays laid out while the frame-rate line changes every frame.
    sim::Reset();
    const std::string page = SamplePage();
    char line[32];
    for (int frame = 0; frame < 50; ++frame) {
        std::snprintf(line, sizeof line, "FPS:%.2f", 1000.0 + frame * 0.37);
        font.draw(canvas, line, {0, 0, 640, 480}, DT_NOCLIP);
        font.draw(canvas, page.c_str(), {0, 30, 640, 480}, DT_WORDBREAK);
    }
    EXPECT_EQ(sim::CallCount("LayOutText"), 51);
    const int glyphs = sim::CallCount("RasterizeGlyph");
    EXPECT_GT(glyphs, 20);

    // Device loss keeps both caches: they live in system memory.
    EXPECT_EQ(font.font->OnLostDevice(), S_OK);
    EXPECT_EQ(font.font->OnResetDevice(), S_OK);
    font.draw(canvas, line, {0, 0, 640, 480}, DT_NOCLIP);
    font.draw(canvas, page.c_str(), {0, 30, 640, 480}, DT_WORDBREAK);
    EXPECT_EQ(sim::CallCount("LayOutText"), 51);
    EXPECT_EQ(sim::CallCount("RasterizeGlyph"), glyphs);
}

TEST_F(FontDrawTest, BadDescriptionsAreRefusedWithAReason) {
    sim::CaptureDebugOutput(true);
    for (int height : {5000, -5000, INT_MIN, INT_MAX}) {
        gfx::FontDescription description = ProgramFont();
        description.height = height;
        ID3DXFont* font = reinterpret_cast<ID3DXFont*>(1);
        EXPECT_EQ(gfx::CreateFont(nullptr, description, &font), D3DERR_INVALIDCALL) << height;
        EXPECT_EQ(font, nullptr);
    }
    gfx::FontDescription wide = ProgramFont();
    wide.width = 100000;
    ID3DXFont* font = nullptr;
    EXPECT_EQ(gfx::CreateFont(nullptr, wide, &font), D3DERR_INVALIDCALL);
    gfx::FontDescription heavy = ProgramFont();
    heavy.weight = 5000;
    EXPECT_EQ(gfx::CreateFont(nullptr, heavy, &font), D3DERR_INVALIDCALL);
    EXPECT_EQ(gfx::CreateFont(nullptr, ProgramFont(), nullptr), D3DERR_INVALIDCALL);
    EXPECT_NE(sim::TakeDebugOutput().find("out of range"), std::string::npos);

    // As GDI: no face name is the default face, an unknown one is substituted, a long one is cut.
    const std::string longName = "Liberation Mono" + std::string(300, 'x');
    for (const char* name : {static_cast<const char*>(nullptr), "", "No Such Face At All", longName.c_str()}) {
        gfx::FontDescription description = ProgramFont();
        description.faceName = name;
        TestFont substituted(description);
        ASSERT_NE(substituted.font, nullptr);
        EXPECT_FALSE(substituted.face().familyName.empty());
        Canvas canvas(100, 30, D3DFMT_X8R8G8B8);
        EXPECT_EQ(substituted.draw(canvas, "Wgj", {0, 0, 100, 30}, 0), 22);
        EXPECT_NE(canvas.inkBox(0).right, 0);
    }
    gfx::FontDescription tiny = ProgramFont();
    tiny.height = 1;
    TestFont smallest(tiny);
    Canvas canvas(100, 30, D3DFMT_X8R8G8B8);
    EXPECT_EQ(smallest.draw(canvas, "Wgj", {0, 0, 100, 30}, 0), 1);
}

TEST_F(FontDrawTest, D3DXCreateFontAHoldsItsDeviceAndFollowsTheSim) {
    sim::CaptureDebugOutput(true);
    CallLog log;
    FakeDevice device(&log);
    ID3DXFont* font = reinterpret_cast<ID3DXFont*>(1);
    EXPECT_EQ(D3DXCreateFontA(nullptr, 22, 0, FW_NORMAL, 1, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                              ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "Arial", &font),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(font, nullptr);
    EXPECT_EQ(D3DXCreateFontA(&device, 22, 0, FW_NORMAL, 1, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                              ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "Arial", nullptr),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(D3DXCreateFontA(&device, 9999, 0, FW_NORMAL, 1, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                              ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "Arial", &font),
              D3DERR_INVALIDCALL);
    EXPECT_NE(sim::TakeDebugOutput().find("out of range"), std::string::npos);
    EXPECT_EQ(device.references, 1u);

    sim::FailCall("D3DXCreateFontA", 1, 0, E_OUTOFMEMORY);
    font = reinterpret_cast<ID3DXFont*>(1);
    EXPECT_EQ(D3DXCreateFontA(&device, 22, 0, FW_NORMAL, 1, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                              ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "Arial", &font),
              E_OUTOFMEMORY);
    EXPECT_EQ(font, nullptr);
    EXPECT_EQ(device.references, 1u);

    ASSERT_EQ(D3DXCreateFontA(&device, 22, 0, FW_NORMAL, 1, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                              ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "Arial", &font),
              S_OK);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(sim::CallCount("D3DXCreateFontA"), 5);
    EXPECT_EQ(device.references, 2u) << "the font holds its device";
    EXPECT_EQ(gfx::FaceOf(font).familyName, "Liberation Sans");

    // Not one of our devices: no back buffer to draw into, but measuring works.
    RECT rect = {0, 0, 640, 480};
    EXPECT_EQ(font->DrawTextA(nullptr, "FPS:60.00", -1, &rect, DT_NOCLIP, 0xFFFFFFFF), 0);
    EXPECT_EQ(font->DrawTextA(nullptr, "FPS:60.00", -1, &rect, DT_CALCRECT, 0xFFFFFFFF), 22);
    EXPECT_EQ(font->OnLostDevice(), S_OK);
    EXPECT_EQ(font->OnResetDevice(), S_OK);

    // A failing DrawTextA draws nothing and returns 0; the next one draws again.
    Canvas canvas(100, 30, D3DFMT_X8R8G8B8);
    rect = {0, 0, 100, 30};
    sim::FailCall("DrawTextA");
    EXPECT_EQ(gfx::DrawFontText(font, canvas.target, "Wgj", -1, &rect, 0, 0xFFFFFFFF), 0);
    EXPECT_EQ(canvas.inkBox(0).right, 0);
    EXPECT_EQ(gfx::DrawFontText(font, canvas.target, "Wgj", -1, &rect, 0, 0xFFFFFFFF), 22);
    EXPECT_NE(canvas.inkBox(0).right, 0);

    EXPECT_EQ(font->AddRef(), 2u);
    EXPECT_EQ(font->Release(), 1u);
    EXPECT_EQ(device.references, 2u);
    EXPECT_EQ(font->Release(), 0u);
    EXPECT_EQ(device.references, 1u) << "the last release lets the device go";
}

}  // namespace
