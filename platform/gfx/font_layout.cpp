#include "font_layout.h"

#include <cstring>

#include "sim/sim.h"

namespace gfx {
namespace {

int widthOf(const int advance[256], const char* text, int start, int end) {
    int width = 0;
    for (int i = start; i < end; ++i) width += advance[static_cast<uint8_t>(text[i])];
    return width;
}

// Where a line may break follows Unicode's line-breaking classes, cut down to the ones
// Windows-1252 holds; Wine's D3DX font breaks at the same places (after '-', '/', '!', before
// '$', '%', around dashes), not only at spaces. SP and CM never meet the pair table: spaces are
// counted between the classes around them, and a control character (CM) takes the class of the
// character before it.
enum BreakClass : uint8_t { OP, CL, CP, QU, GL, EX, SY, IS, PR, PO, NU, AL, IN, HY, BA, BB, B2, BK, SP, CM };

constexpr BreakClass breakClassOf(uint8_t c) {
    switch (c) {
        case ' ': return SP;
        case '\v': case '\f': return BK;
        case 0x7F: case 0x81: case 0x8D: case 0x8F: case 0x90: case 0x9D: return CM;  // DEL, C1 unassigned
        case '\t': case '|': case 0x96: case 0xAD: return BA;  // tab, bar, en dash, soft hyphen
        case '!': case '?': return EX;
        case '"': case '\'': case 0x8B: case 0x91: case 0x92: case 0x93: case 0x94: case 0x9B: case 0xAB: case 0xBB:
            return QU;
        case '$': case '+': case '\\': case 0x80: case 0xA3: case 0xA4: case 0xA5: case 0xB1: return PR;
        case '%': case 0x89: case 0xA2: case 0xB0: return PO;
        case '(': case '[': case '{': case 0x82: case 0x84: case 0xA1: case 0xBF: return OP;
        case ')': case ']': return CP;
        case '}': return CL;
        case ',': case '.': case ':': case ';': return IS;
        case '-': return HY;
        case '/': return SY;
        case 0x85: return IN;  // ellipsis
        case 0x97: return B2;  // em dash
        case 0xA0: return GL;  // no-break space
        case 0xB4: return BB;  // acute accent
        default:  // the C0 controls; a lone CR stays a letter of no width
            return (c < ' ' && c != '\r') ? CM : (c >= '0' && c <= '9') ? NU : AL;
    }
}

// Between a character of the row's class and one of the column's: '_' a line may break there,
// '%' only when spaces come between them, '^' never. A line always may break right after VT or
// FF (BK), whatever follows, and never before one.
const char kPairs[18][19] = {
    //  OP CL CP QU GL EX SY IS PR PO NU AL IN HY BA BB B2 BK
    "^^^^^^^^^^^^^^^^^^",  // OP
    "_^^%%^^^%%___%%__^",  // CL
    "_^^%%^^^%%%%_%%__^",  // CP
    "^^^%%^^^%%%%%%%%%^",  // QU
    "%^^%%^^^%%%%%%%%%^",  // GL
    "_^^%%^^^_____%%__^",  // EX
    "_^^%%^^^__%__%%__^",  // SY
    "_^^%%^^^__%%_%%__^",  // IS
    "%^^%%^^^__%%_%%__^",  // PR
    "%^^%%^^^__%%_%%__^",  // PO
    "%^^%%^^^%%%%%%%__^",  // NU
    "%^^%%^^^__%%%%%__^",  // AL
    "_^^%%^^^____%%%__^",  // IN
    "_^^%%^^^__%__%%__^",  // HY
    "_^^%%^^^_____%%__^",  // BA
    "%^^%%^^^%%%%%%%%%^",  // BB
    "_^^%%^^^_____%%_^^",  // B2
    "_________________^",  // BK, after spaces
};

struct BreakClasses {
    BreakClass of[256];
};

constexpr BreakClasses makeBreakClasses() {
    BreakClasses classes = {};
    for (int c = 0; c < 256; ++c) classes.of[c] = breakClassOf(static_cast<uint8_t>(c));
    return classes;
}

constexpr BreakClasses kBreakClasses = makeBreakClasses();

// Spaces, VT and FF: what a wrap swallows.
bool blank(uint8_t c) { return kBreakClasses.of[c] == SP || kBreakClasses.of[c] == BK; }

// One paragraph (text between line feeds) into lines no wider than maxWidth, in one pass. A
// piece of text (up to the next place a line may break) fits only with the spaces after it, as
// Wine measures it. Classes are those of the line alone: a line that starts with a control
// character starts with a letter.
void wrapParagraph(const int advance[256], const char* text, int start, int end, int maxWidth,
                   std::vector<TextLine>* lines) {
    int pos = start;
    while (pos < end) {
        const int lineStart = pos;
        int width = 0;
        int pieceStart = -1, widthBeforePiece = 0;  // the last place this line may break
        BreakClass before = BA;  // a line may break after its leading spaces, as after a tab
        bool spaced = false, afterBreak = false;
        int cut = end;
        for (int i = lineStart; i < end; ++i) {
            const uint8_t c = static_cast<uint8_t>(text[i]);
            BreakClass next = kBreakClasses.of[c];
            // Wine's control character repeats the class before it, and the pair rules then
            // apply between the two as well: it breaks from a '$' or '%' (PR, PO), from nothing
            // else. After a space, VT or FF, or starting the line, it is a letter.
            if (next == CM) next = (spaced || i == lineStart || before == BK) ? AL : before;
            const bool mayBreak =
                afterBreak || (next != SP && (kPairs[before][next] == '_' || (kPairs[before][next] == '%' && spaced)));
            if (i > lineStart && mayBreak) {
                pieceStart = i;
                widthBeforePiece = width;
            }
            if (next == SP) {
                spaced = true;
            } else {
                before = next;
                spaced = false;
            }
            afterBreak = next == BK;
            if (width + advance[c] > maxWidth) {
                if (pieceStart > lineStart) {
                    cut = pieceStart;
                    width = widthBeforePiece;
                } else {
                    // A piece wider than the line breaks where it overflows, keeping at least
                    // one character; a space still fits when it starts inside the line.
                    const bool keep = i == lineStart || (blank(c) && width <= maxWidth);
                    cut = keep ? i + 1 : i;
                    if (keep) width += advance[c];
                }
                break;
            }
            width += advance[c];
        }
        if (cut == end) {  // a paragraph keeps its last spaces
            lines->push_back(TextLine{lineStart, end - lineStart, width});
            return;
        }
        int drawn = cut;  // the spaces (and VT, FF) a wrap lands on are swallowed
        for (; drawn > lineStart && blank(static_cast<uint8_t>(text[drawn - 1])); --drawn)
            width -= advance[static_cast<uint8_t>(text[drawn - 1])];
        lines->push_back(TextLine{lineStart, drawn - lineStart, width});
        // Only a break right after VT or FF lands on a blank: the next line starts past it.
        pos = cut == pieceStart && blank(static_cast<uint8_t>(text[cut])) ? cut + 1 : cut;
    }
}

}  // namespace

void LayOutText(const int advance[256], const char* text, int length, bool wordBreak, int maxWidth,
                std::vector<TextLine>* lines) {
    lines->clear();
    int pos = 0;
    while (pos < length) {
        int end = pos;
        while (end < length && text[end] != '\n') ++end;
        if (wordBreak && end > pos) {
            wrapParagraph(advance, text, pos, end, maxWidth, lines);
        } else {
            lines->push_back(TextLine{pos, end - pos, widthOf(advance, text, pos, end)});
        }
        pos = end + 1;
    }
}

const CachedLayout& FindLayout(LayoutCache& cache, const int advance[256], const char* text, int length,
                               bool wordBreak, int maxWidth) {
    if (!wordBreak) maxWidth = 0;  // the width only matters to wrapping
    ++cache.clock;
    CachedLayout* oldest = &cache.slots[0];
    for (CachedLayout& slot : cache.slots) {
        if (slot.lastUse != 0 && slot.wordBreak == wordBreak && slot.maxWidth == maxWidth &&
            slot.text.size() == static_cast<size_t>(length) && std::memcmp(slot.text.data(), text, length) == 0) {
            slot.lastUse = cache.clock;
            return slot;
        }
        if (slot.lastUse < oldest->lastUse) oldest = &slot;
    }
    sim::CountCall("LayOutText");
    oldest->text.assign(text, static_cast<size_t>(length));
    oldest->wordBreak = wordBreak;
    oldest->maxWidth = maxWidth;
    oldest->lastUse = oldest->laidOut = cache.clock;
    LayOutText(advance, text, length, wordBreak, maxWidth, &oldest->lines);
    return *oldest;
}

}  // namespace gfx
