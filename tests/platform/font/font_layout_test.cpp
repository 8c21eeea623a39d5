// Where lines break, for the program's flags over awkward texts: tests/probe compares how many
// and how wide with Wine's D3DX font; here the lines themselves.
#include "platform/gfx/font_layout.h"

#include "tests/platform/font/font_canvas.h"

namespace {

using Lines = std::vector<std::string>;

class FontLayoutTest : public ::testing::Test {
protected:
    TestFont font;
    std::vector<gfx::TextLine> lines;

    // The text's lines as the text each draws; each line's width must be its advances.
    Lines layOut(const std::string& text, int maxWidth) {
        gfx::LayOutText(font.face().advance, text.data(), static_cast<int>(text.size()), true, maxWidth, &lines);
        Lines out;
        for (const gfx::TextLine& line : lines) {
            out.push_back(text.substr(line.start, line.length));
            EXPECT_EQ(line.width, font.width(out.back())) << out.back();
        }
        return out;
    }
};

TEST_F(FontLayoutTest, LinesBreakWhereWinesFontBreaksThem) {
    // "xx ab" + c + a long tail, with room for "xx ab" + c and a little: the first line says
    // whether a line may break after c, before it, or neither (then it breaks at the space).
    enum Where { After, Before, Neither };
    const struct {
        const char* c;
        Where where;
    } cases[] = {
        {"-", After},     {"-5", Neither},  {"/", After},     {"/5", Neither},  {"|", After},
        {"\xAD", After},  {"\x96", After},  {"\x97", After},  {"!", After},     {"?", After},
        {"}", After},     {"\x85", After},  {"$", Before},    {"+", Before},    {"%", Before},
        {"\x80", Before}, {"(", Neither},   {")", Neither},   {"\"", Neither},  {":", Neither},
        {"\xA0", Neither}, {"_", Neither},  {"\xBF", Neither}, {"\x93", Neither}, {"5\x80", Neither},
        {"\xAB$", Neither},  // Unicode's rule that no line breaks beside a quotation mark, not yet seen in Wine
    };
    for (const auto& test : cases) {
        const std::string head = std::string("xx ab") + test.c;
        const Lines got = layOut(head + "cdefghijklmnopq", font.width(head) + 2);
        EXPECT_EQ(got[0], test.where == After ? head : test.where == Before ? "xx ab" : "xx") << test.c;
    }
    // As GDI: a word too long for the line moves to a line of its own, then breaks where it
    // overflows; spaces after a word stay on its line while they start inside it (Wine: 120
    // spaces at 640 px put "x" 126 px in); a line narrower than a character still moves on.
    const struct {
        std::string text;
        int maxWidth;
        Lines expected;  // the first lines
    } awkward[] = {
        {"ab WWWWWWWWWWWWWWWW cd", 100, {"ab", "WWWWW", "WWWWW", "WWWWW", "W cd"}},
        {"Alone        x", font.width("Alone     ") + 3, {"Alone", "  x"}},
        {"WWW", 3, {"W", "W", "W"}},
        {"xx that\tnext", font.width("xx that\t") + 2, {"xx that\t", "next"}},  // a tab stays before its break
        {"xx well\x97known", font.width("xx well") + 3, {"xx well"}},            // an em dash breaks before too
        {"xx ab !!!!!!", font.width("xx ab !!") + 1, {"xx"}},                   // no break between spaces and '!'
    };
    for (const auto& test : awkward) {
        const Lines got = layOut(test.text, test.maxWidth);
        ASSERT_GE(got.size(), test.expected.size()) << test.text;
        EXPECT_EQ(Lines(got.begin(), got.begin() + test.expected.size()), test.expected) << test.text;
    }
}

}  // namespace
