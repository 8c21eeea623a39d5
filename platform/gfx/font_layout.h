// Where a text's lines break, and the few most recent layouts kept for the next frame.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace gfx {

struct TextLine {
    int start;   // byte offset into the text
    int length;  // bytes drawn, without the line feed or the spaces a wrap swallowed
    int width;   // pixels
};

// Breaks at LF (a CR is a character of no width, so CR LF is one break and a lone CR none);
// with `wordBreak` also where Unicode's line-breaking rules allow, so that no line is wider
// than `maxWidth`, and inside a piece that alone is too wide, where it overflows. VT and FF
// are drawn as characters, except where a line that must wrap breaks after them.
void LayOutText(const int advance[256], const char* text, int length, bool wordBreak, int maxWidth,
                std::vector<TextLine>* lines);

struct CachedLayout {
    std::string text;  // a copy: a caller may reuse its buffer for other text
    int maxWidth = 0;
    bool wordBreak = false;
    uint64_t lastUse = 0;  // 0: empty slot
    uint64_t laidOut = 0;  // when these lines were made: names this layout among all the slot held
    std::vector<TextLine> lines;
};

// A page that stays and a frame-rate line that changes every frame both stay warm. Slots keep
// their buffers, so a warm cache lays out without allocating.
struct LayoutCache {
    static constexpr int kSlots = 4;
    CachedLayout slots[kSlots];
    uint64_t clock = 0;
};

// The layout for this text, computed (and counted as "LayOutText") only when no slot holds it.
const CachedLayout& FindLayout(LayoutCache& cache, const int advance[256], const char* text, int length,
                               bool wordBreak, int maxWidth);

}  // namespace gfx
