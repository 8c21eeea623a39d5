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

TEST_F(FontLayoutTest, WordBreakFillsEachLineWithTheWordsThatFit) {
    // Widths from the advances of 22 px Liberation Sans: "Fontloom draws" 142, "this page again" 135,
    // "this page again and" 174, "Fontloom" 83, "draws this page" 140, "again and again" 141.
    const std::string text = "Fontloom draws this page again and again";
    const int width = font.width("Fontloom draws");
    ASSERT_EQ(width, 142);
    ASSERT_EQ(font.width("this page again"), 135);
    ASSERT_EQ(font.width("this page again and"), 174);
    ASSERT_EQ(font.width("draws this page"), 140);
    ASSERT_EQ(font.width("again and again"), 141);

    layOut(text, true, 142);  // a line exactly as wide as the rectangle still fits
    EXPECT_EQ(texts(text), (Lines{"Fontloom draws", "this page again", "and again"}));
    EXPECT_EQ(lines[1].start, 15);
    expectWidthsAreTheAdvances(text);

    layOut(text, true, 141);
    EXPECT_EQ(texts(text), (Lines{"Fontloom", "draws this page", "again and again"}));

    // The spaces a wrap lands on are swallowed; a paragraph's leading spaces are kept.
    const std::string spaced = "  Fontloom      draws";
    layOut(spaced, true, font.width("  Fontloom") + font.width(" ") * 2);
    EXPECT_EQ(texts(spaced), (Lines{"  Fontloom", "draws"}));

    layOut(text, false, 10);  // without DT_WORDBREAK the width does not matter
    EXPECT_EQ(texts(text), (Lines{text}));
}

TEST_F(FontLayoutTest, AWordTooLongForTheLineBreaksWhereItOverflows) {
    const std::string text = "ab WWWWWWWWWWWWWWWW cd";
    const int width = 100;
    const int perLine = width / font.face().advance['W'];
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

    // A rectangle narrower than one character still makes progress: a character a line.
    layOut("WWW", true, 3);
    EXPECT_EQ(texts("WWW"), (Lines{"W", "W", "W"}));
    layOut("WW W", true, 0);
    EXPECT_EQ(texts("WW W"), (Lines{"W", "W", "W"}));
}

TEST_F(FontLayoutTest, LfCrLfAndCrEachStartOneNewLine) {
    const std::string text = "one\r\ntwo\nthree\rfour\n\nsix";
    for (bool wordBreak : {false, true}) {
        layOut(text, wordBreak, 640);
        EXPECT_EQ(texts(text), (Lines{"one", "two", "three", "four", "", "six"})) << wordBreak;
        EXPECT_EQ(lines[1].start, 5) << "CR LF is one break";
        expectWidthsAreTheAdvances(text);
    }
    layOut("\n", false, 640);
    EXPECT_EQ(lines.size(), 1u);
    layOut("", false, 640);
    EXPECT_TRUE(lines.empty());
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
        // Between two lines lie only the spaces of a wrap, or one line break.
        const int gapStart = line.start + line.length, gapEnd = lines[i + 1].start;
        const std::string gap = page.substr(gapStart, gapEnd - gapStart);
        ASSERT_TRUE(gap == "\n" || (!gap.empty() && gap.find_first_not_of(' ') == std::string::npos))
            << "line " << i << " gap '" << gap << "'";
        if (gap != "\n") {
            // Greedy: the next word would not have fitted on this line.
            const size_t wordEnd = page.find_first_of(" \n", gapEnd);
            const std::string next = page.substr(gapEnd, wordEnd - gapEnd);
            EXPECT_GT(line.width + font.width(gap) + font.width(next), 640) << i;
        }
    }
}

}  // namespace
