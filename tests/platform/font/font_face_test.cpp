#include <set>

#include "tests/platform/font/font_canvas.h"

namespace {

// The file's Windows ascent and descent are 1854 and 434 units: a 22 px cell is 17.83 + 4.17.
// The advances of characters 32-255 are compared with Wine's in tests/probe.
TEST(FontFaceTest, TheProgramsArialIsLiberationSansInAnEighteenAndFourCell) {
    TestFont font;
    const gfx::FontFace& face = font.face();
    EXPECT_EQ(face.familyName, "Liberation Sans");
    EXPECT_NE(face.path.find("LiberationSans-Regular"), std::string::npos) << face.path;
    EXPECT_FALSE(face.syntheticBold || face.syntheticItalic);
    EXPECT_EQ(face.ascent, 18);
    EXPECT_EQ(face.descent, 4);
    EXPECT_EQ(face.advance[uint8_t{'\t'}], 7) << "a tab is the face's box for it, not a tab stop";
    EXPECT_EQ(face.advance[uint8_t{'\r'}], 0) << "Wine's D3DX font gives a carriage return no width";
    // Capital accents reach the top of the cell, descenders its bottom, and no ink leaves it.
    // Narrow text is Windows-1252: 0x80 is the euro sign, 0x81 unassigned (the missing glyph's box).
    Canvas canvas(200, 60), euro(60, 40), unassigned(60, 40);
    EXPECT_EQ(font.draw(canvas, "\xC9\xC5gjpq", {0, 10, 200, 60}, DT_NOCLIP), 22);
    const RECT ink = canvas.inkBox();
    EXPECT_TRUE(ink.top >= 10 && ink.top <= 12 && ink.bottom >= 30 && ink.bottom <= 32) << ink.top << " " << ink.bottom;
    font.draw(euro, "\x80", {5, 5, 60, 40}, 0);
    font.draw(unassigned, "\x81", {5, 5, 60, 40}, 0);
    EXPECT_NE(euro.inkBox().right, 0);
    EXPECT_NE(euro.bytes, unassigned.bytes);
}

// Bold and italic are files of their own; a width narrows the face in its cell; without
// anti-aliasing, white on black holds only black and white.
TEST(FontFaceTest, WeightItalicWidthAndQualityChooseTheFileAndTheShape) {
    gfx::FontDescription bold = ProgramFont(), italic = ProgramFont(), narrow = ProgramFont(), plain = ProgramFont();
    bold.weight = FW_BOLD;
    italic.italic = true;
    narrow.width = 5;  // average character width in pixels; 0 keeps the face's own aspect
    plain.antialiased = false;
    TestFont regular, boldFont(bold), italicFont(italic), narrowFont(narrow), plainFont(plain);
    EXPECT_NE(boldFont.face().path.find("LiberationSans-Bold."), std::string::npos) << boldFont.face().path;
    EXPECT_FALSE(boldFont.face().syntheticBold) << "the file is bold already";
    EXPECT_NE(italicFont.face().path.find("LiberationSans-Italic."), std::string::npos) << italicFont.face().path;
    EXPECT_GT(boldFont.width("Fontloom"), regular.width("Fontloom"));
    EXPECT_LT(narrowFont.width("MMMMMMMM"), regular.width("MMMMMMMM") * 3 / 4);
    EXPECT_EQ(narrowFont.face().ascent + narrowFont.face().descent, 22);
    Canvas canvas(400, 30);
    plainFont.draw(canvas, "Wavy 0123", {0, 0, 400, 30}, 0);
    std::set<uint32_t> levels;
    for (size_t i = 0; i < canvas.bytes.size(); ++i) levels.insert(canvas.bytes[i]);
    EXPECT_EQ(levels, (std::set<uint32_t>{0, 255}));
}

}  // namespace
