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

// One paragraph (text between line breaks) into lines no wider than maxWidth. Spaces never
// overflow: the ones a wrap lands on end the line and are not drawn.
void wrapParagraph(const int advance[256], const char* text, int start, int end, int maxWidth,
                   std::vector<TextLine>* lines) {
    int pos = start;
    do {
        const int lineStart = pos;
        int width = 0;
        int breakAt = -1, breakWidth = 0;  // end of the last word seen, before its spaces
        int i = pos;
        for (; i < end; ++i) {
            const uint8_t c = static_cast<uint8_t>(text[i]);
            if (c == ' ') {
                if (i > lineStart && text[i - 1] != ' ') {
                    breakAt = i;
                    breakWidth = width;
                }
            } else if (width + advance[c] > maxWidth) {
                break;
            }
            width += advance[c];
        }
        if (i == end) {
            lines->push_back(TextLine{lineStart, end - lineStart, width});
            return;
        }
        if (breakAt > lineStart) {
            lines->push_back(TextLine{lineStart, breakAt - lineStart, breakWidth});
            pos = breakAt;
        } else {
            // A word wider than the line: it breaks where it overflows, keeping at least one character.
            const int cut = i > lineStart ? i : i + 1;
            lines->push_back(TextLine{lineStart, cut - lineStart, i > lineStart ? width : widthOf(advance, text, i, cut)});
            pos = cut;
        }
        while (pos < end && text[pos] == ' ') ++pos;
    } while (pos < end);
}

}  // namespace

void LayOutText(const int advance[256], const char* text, int length, bool wordBreak, int maxWidth,
                std::vector<TextLine>* lines) {
    lines->clear();
    int pos = 0;
    while (pos < length) {
        int end = pos;
        while (end < length && text[end] != '\r' && text[end] != '\n') ++end;
        if (wordBreak && end > pos) {
            wrapParagraph(advance, text, pos, end, maxWidth, lines);
        } else {
            lines->push_back(TextLine{pos, end - pos, widthOf(advance, text, pos, end)});
        }
        pos = end;
        if (pos < length) pos += (text[pos] == '\r' && pos + 1 < length && text[pos + 1] == '\n') ? 2 : 1;
    }
}

const std::vector<TextLine>& FindLayout(LayoutCache& cache, const int advance[256], const char* text, int length,
                                        bool wordBreak, int maxWidth) {
    if (!wordBreak) maxWidth = 0;  // the width only matters to wrapping
    ++cache.clock;
    CachedLayout* oldest = &cache.slots[0];
    for (CachedLayout& slot : cache.slots) {
        if (slot.lastUse != 0 && slot.wordBreak == wordBreak && slot.maxWidth == maxWidth &&
            slot.text.size() == static_cast<size_t>(length) && std::memcmp(slot.text.data(), text, length) == 0) {
            slot.lastUse = cache.clock;
            return slot.lines;
        }
        if (slot.lastUse < oldest->lastUse) oldest = &slot;
    }
    sim::CountCall("LayOutText");
    oldest->text.assign(text, static_cast<size_t>(length));
    oldest->wordBreak = wordBreak;
    oldest->maxWidth = maxWidth;
    oldest->lastUse = cache.clock;
    LayOutText(advance, text, length, wordBreak, maxWidth, &oldest->lines);
    return oldest->lines;
}

}  // namespace gfx
