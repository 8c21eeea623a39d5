#include <ft2build.h>
#include FT_FREETYPE_H

#include <set>

#include "platform/sim/sim.h"
#include "tests/platform/font/font_canvas.h"

namespace {

class FontFaceTest : public ::testing::Test {
protected:
    void SetUp() override { sim::Reset(); }
    void TearDown() override { sim::Reset(); }
};

// Sum of the text's advances in the file's own units, read straight from FreeType.
long designWidth(const std::string& path, const std::string& text) {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    long units = 0;
    if (FT_Init_FreeType(&library) == 0 && FT_New_Face(library, path.c_str(), 0, &face) == 0) {
        for (unsigned char c : text) {
            if (FT_Load_Char(face, c, FT_LOAD_NO_SCALE) == 0) units += face->glyph->advance.x;
        }
        FT_Done_Face(face);
    }
    if (library) FT_Done_FreeType(library);
    return units;
}

TEST_F(FontFaceTest, TheProgramsArialIsLiberationSansSizedByItsCell) {
    TestFont font;
    ASSERT_NE(font.font, nullptr);
    const gfx::FontFace& face = font.face();
    EXPECT_EQ(face.familyName, "Liberation Sans");
    EXPECT_NE(face.path.find("LiberationSans-Regular"), std::string::npos) << face.path;
    EXPECT_FALSE(face.syntheticBold);
    EXPECT_FALSE(face.syntheticItalic);

    // The file's Windows ascent and descent are 1854 and 434 units: a 22 px cell is 17.83 + 4.17.
    EXPECT_EQ(face.ascent, 18);
    EXPECT_EQ(face.descent, 4);

    // The em is 22 * 2048 / 2288 = 19.69 px, not 22: a sentence's width follows the file's advances.
    const std::string sentence = "The quick brown fox jumps over the lazy dog, said Wendy at 10:45.";
    const double expected = designWidth(face.path, sentence) * 22.0 / 2288.0;
    EXPECT_NEAR(font.width(sentence), expected, expected * 0.03);

    // Capital accents reach the top of the cell and descenders its bottom, and no ink leaves it.
    Canvas canvas(200, 60, D3DFMT_X8R8G8B8);
    EXPECT_EQ(font.draw(canvas, "\xC9\xC5gjpq", {0, 10, 200, 60}, DT_NOCLIP), 22);
    const RECT ink = canvas.inkBox(0);
    EXPECT_GE(ink.top, 10);
    EXPECT_LE(ink.top, 12);
    EXPECT_LE(ink.bottom, 32);
    EXPECT_GE(ink.bottom, 30);
}

// GetCharWidth32 of characters 32-255 of the program's font in the Windows build under Wine
// (which also finds Liberation Sans for "Arial"): the whole-pixel advances its D3DX font adds up.
const int kWineAdvances[224] = {
    6, 6, 7, 11, 11, 18, 13, 4, 7, 7, 8, 12, 6, 7, 6, 6, 11, 11, 11, 11, 11, 11, 11, 11, 11, 11, 6,
    6, 12, 12, 12, 11, 20, 13, 13, 14, 14, 13, 12, 16, 14, 6, 10, 13, 11, 17, 14, 16, 13, 16, 14, 13,
    12, 14, 13, 19, 13, 13, 12, 6, 6, 6, 9, 11, 7, 11, 11, 10, 11, 11, 6, 11, 11, 4, 4, 10, 4, 17,
    11, 11, 11, 11, 7, 10, 6, 11, 10, 14, 10, 10, 10, 7, 5, 7, 12, 7, 11, 7, 4, 11, 7, 20, 11, 11, 7,
    20, 13, 7, 20, 7, 12, 7, 7, 4, 4, 7, 7, 7, 11, 20, 7, 20, 10, 7, 19, 7, 10, 13, 6, 7, 11, 11, 11,
    11, 5, 11, 7, 15, 7, 11, 12, 7, 15, 11, 8, 11, 7, 7, 7, 12, 11, 6, 7, 7, 7, 11, 17, 17, 17, 12,
    13, 13, 13, 13, 13, 13, 20, 14, 13, 13, 13, 13, 6, 6, 6, 6, 14, 14, 16, 16, 16, 16, 16, 12, 16,
    14, 14, 14, 14, 13, 13, 12, 11, 11, 11, 11, 11, 11, 18, 10, 11, 11, 11, 11, 6, 6, 6, 6, 11, 11,
    11, 11, 11, 11, 11, 11, 12, 11, 11, 11, 11, 10, 11, 10
};

TEST_F(FontFaceTest, AdvancesAreTheWholePixelsWineGives) {
    TestFont font;
    ASSERT_NE(font.font, nullptr);
    const gfx::FontFace& face = font.face();
    for (int c = 32; c < 256; ++c) EXPECT_EQ(face.advance[c], kWineAdvances[c - 32]) << "character " << c;
    EXPECT_EQ(face.advance[static_cast<uint8_t>('\t')], 7) << "a tab is the face's box for it, not a tab stop";
    EXPECT_EQ(face.advance[static_cast<uint8_t>('\r')], 0) << "Wine's D3DX font gives a carriage return no width";
}

TEST_F(FontFaceTest, WeightItalicAndWidthChooseTheFileAndTheShape) {
    TestFont regular;
    gfx::FontDescription bold = ProgramFont();
    bold.weight = FW_BOLD;
    TestFont boldFont(bold);
    EXPECT_NE(boldFont.face().path.find("LiberationSans-Bold."), std::string::npos) << boldFont.face().path;
    EXPECT_FALSE(boldFont.face().syntheticBold);
    EXPECT_GT(boldFont.width("Fontloom"), regular.width("Fontloom"));

    gfx::FontDescription italic = ProgramFont();
    italic.italic = true;
    TestFont italicFont(italic);
    EXPECT_NE(italicFont.face().path.find("LiberationSans-Italic."), std::string::npos) << italicFont.face().path;

    gfx::FontDescription narrow = ProgramFont();
    narrow.width = 5;  // average character width in pixels; 0 keeps the face's own aspect
    TestFont narrowFont(narrow);
    EXPECT_LT(narrowFont.width("MMMMMMMM"), regular.width("MMMMMMMM") * 3 / 4);
    EXPECT_EQ(narrowFont.face().ascent + narrowFont.face().descent, 22) << "the cell height stays";
}

TEST_F(FontFaceTest, NarrowTextIsWindows1252) {
    EXPECT_EQ(gfx::CodePointOf1252('A'), 0x41u);
    EXPECT_EQ(gfx::CodePointOf1252(0xE9), 0xE9u);    // é
    EXPECT_EQ(gfx::CodePointOf1252(0xFC), 0xFCu);    // ü
    EXPECT_EQ(gfx::CodePointOf1252(0x80), 0x20ACu);  // €
    EXPECT_EQ(gfx::CodePointOf1252(0x8C), 0x0152u);  // Œ
    EXPECT_EQ(gfx::CodePointOf1252(0x96), 0x2013u);  // en dash
    EXPECT_EQ(gfx::CodePointOf1252(0x9F), 0x0178u);  // Ÿ
    EXPECT_EQ(gfx::CodePointOf1252(0x81), 0x81u);    // unassigned: kept, as Windows keeps it

    TestFont font;
    ASSERT_NE(font.font, nullptr);
    const gfx::FontFace& face = font.face();
    for (unsigned char c : {0x80, 0xE9, 0xFC, 0x96}) EXPECT_NE(face.glyphIndex[c], 0u) << int(c);
    EXPECT_NE(face.glyphIndex[0x80], face.glyphIndex[static_cast<uint8_t>('E')]);

    // The accent puts é's ink above e's; the euro sign is not the box of a missing glyph.
    auto inkOf = [&](const char* text) {
        Canvas canvas(60, 40, D3DFMT_X8R8G8B8);
        font.draw(canvas, text, {5, 5, 60, 40}, 0);
        return canvas.inkBox(0);
    };
    EXPECT_LT(inkOf("\xE9").top + 3, inkOf("e").top);
    EXPECT_LT(inkOf("\xFC").top + 3, inkOf("u").top);
    Canvas euro(60, 40, D3DFMT_X8R8G8B8), missing(60, 40, D3DFMT_X8R8G8B8);
    font.draw(euro, "\x80", {5, 5, 60, 40}, 0);
    font.draw(missing, "\x81", {5, 5, 60, 40}, 0);
    EXPECT_NE(euro.bytes, missing.bytes);
    EXPECT_NE(euro.inkBox(0).right, 0) << "the euro sign drew nothing";
}

TEST_F(FontFaceTest, AntialiasedQualityGivesGreyLevelsAndNonAntialiasedDoesNot) {
    auto levelsOf = [](bool antialiased) {
        gfx::FontDescription description = ProgramFont();
        description.antialiased = antialiased;
        TestFont font(description);
        Canvas canvas(400, 30, D3DFMT_X8R8G8B8);
        font.draw(canvas, "Anti-aliased grey levels: Wavy 0123", {0, 0, 400, 30}, 0);
        std::set<uint32_t> levels;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 400; ++x) {
                const uint32_t pixel = canvas.argb(x, y) & 0xFFFFFF;
                EXPECT_EQ(pixel, (pixel & 0xFF) * 0x010101u) << "white on black stays grey";
                levels.insert(pixel & 0xFF);
            }
        return levels;
    };
    const std::set<uint32_t> grey = levelsOf(true);
    EXPECT_GT(grey.size(), 32u);
    EXPECT_TRUE(grey.count(0) && grey.count(255));
    EXPECT_EQ(levelsOf(false), (std::set<uint32_t>{0, 255}));
}

}  // namespace
