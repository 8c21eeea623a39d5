#include "platform/gfx/font_layout.h"

#include "platform/sim/sim.h"
#include "tests/platform/font/font_canvas.h"

namespace {

class FontLayoutTest : public ::testing::Test {
protected:
    void SetUp() override { sim::Reset(); }
    void TearDown() override { sim::Reset(); }

    TestFont font;
    std::vector<gfx::TextLine> lines;

    void layOut(const std::string& text, bool wordBreak, int maxWidth) {
        gfx::LayOutText(font.face().advance, text.data(), static_cast<int>(text.size()), wordBreak, maxWidth, &lines);
    }
    // Each line as the text it draws, to compare with a layout worked out by hand.
    std::vector<std::string> texts(const std::string& text) const {
        std::vector<std::string> out;
        for (const gfx::TextLine& line : lines) out.push_back(text.substr(line.start, line.length));
        return out;
    }
    void expectWidthsAreTheAdvances(const std::string& text) const {
        for (const gfx::TextLine& line : lines)
            EXPECT_EQ(line.width, font.width(text.substr(line.start, line.length))) << line.start;
    }
};

using Lines = std::vector<std::string>;

// How wide lines are and how many, for the program's flags over awkward texts: tests/probe, against Wine.
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
    };
    for (const auto& test : cases) {
        const std::string head = std::string("xx ab") + test.c;
        const std::string text = head + "cdefghijklmnopq";
        layOut(text, true, font.width(head) + 2);
        ASSERT_GE(lines.size(), 2u) << test.c;
        const std::string first = texts(text)[0];
        const std::string expected = test.where == After ? head : test.where == Before ? "xx ab" : "xx";
        EXPECT_EQ(first, expected) << "break around '" << test.c << "'";
    }

    // An em dash also breaks before itself; no line breaks between a word and a '!' after spaces.
    const std::string dash = "xx well\x97known";
    layOut(dash, true, font.width("xx well") + 3);
    EXPECT_EQ(texts(dash)[0], "xx well");
    const std::string bang = "xx ab !!!!!!";
    layOut(bang, true, font.width("xx ab !!") + 1);
    EXPECT_EQ(texts(bang)[0], "xx");

    // A tab breaks after itself and stays on its line, drawn like any character.
    const std::string tab = "xx that\tnext";
    layOut(tab, true, font.width("xx that\t") + 2);
    EXPECT_EQ(texts(tab), (Lines{"xx that\t", "next"}));
    expectWidthsAreTheAdvances(tab);
}

TEST_F(FontLayoutTest, APieceTooWideForTheLineBreaksWhereItOverflows) {
    const std::string text = "ab WWWWWWWWWWWWWWWW cd";
    const int width = 100;
    const int perLine = width / font.face().advance[static_cast<uint8_t>('W')];
    ASSERT_GE(perLine, 2);
    ASSERT_LT(perLine, 16);

    layOut(text, true, width);
    // As GDI does: the long word first moves to a line of its own, then breaks where it overflows.
    Lines expected = {"ab"};
    int left = 16;
    while (left > perLine) {
        expected.push_back(std::string(perLine, 'W'));
        left -= perLine;
    }
    const std::string tail = std::string(left, 'W') + " cd";
    if (font.width(tail) <= width) {
        expected.push_back(tail);
    } else {
        expected.push_back(std::string(left, 'W'));
        expected.push_back("cd");
    }
    EXPECT_EQ(texts(text), expected);
    expectWidthsAreTheAdvances(text);

    // A word with more spaces after it than the line holds: the spaces that start inside the
    // line stay on it, the rest start the next one (Wine, 120 spaces at 640 px: "x" 126 px in).
    const std::string spaces = "Alone" + std::string(8, ' ') + "x";
    const int room = font.width("Alone") + font.width(" ") * 5 + 3;
    layOut(spaces, true, room);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(texts(spaces)[0], "Alone");
    EXPECT_EQ(texts(spaces)[1], "  x");

    // A rectangle narrower than one character still makes progress: every W on a line of its own.
    layOut("WWW", true, 3);
    EXPECT_EQ(texts("WWW"), (Lines{"W", "W", "W"}));
    layOut("WW W", true, 0);
    for (const gfx::TextLine& line : lines) EXPECT_LE(line.length, 1);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(texts("WW W").back(), "W");
}

TEST_F(FontLayoutTest, TheSamplePageWrapsGreedilyWithin640Pixels) {
    const std::string page = SamplePage();
    layOut(page, true, 640);
    ASSERT_GT(lines.size(), 20u);
    expectWidthsAreTheAdvances(page);
    for (size_t i = 0; i < lines.size(); ++i) {
        const gfx::TextLine& line = lines[i];
        EXPECT_LE(line.width, 640) << i;
        if (i + 1 == lines.size()) {
            EXPECT_EQ(line.start + line.length, static_cast<int>(page.size()));
            break;
        }
        // Between two lines lie only the spaces of a wrap (none after a '-'), or one line feed.
        const int gapStart = line.start + line.length, gapEnd = lines[i + 1].start;
        const std::string gap = page.substr(gapStart, gapEnd - gapStart);
        ASSERT_TRUE(gap == "\n" || gap.find_first_not_of(' ') == std::string::npos)
            << "line " << i << " gap '" << gap << "'";
        if (gap != "\n") {
            // Greedy: the next word, with its spaces, would not have fitted on this line.
            size_t wordEnd = page.find_first_of(" \n", gapEnd);
            wordEnd = page.find_first_not_of(' ', wordEnd);
            const std::string next = page.substr(gapEnd, wordEnd - gapEnd);
            EXPECT_GT(line.width + font.width(gap) + font.width(next), 640) << i;
        }
    }
}

}  // namespace
