// A text drawn again where it was drawn before gets its glyphs' coverage merged once into runs
// of target pixels, so later frames blend a few long runs instead of a thousand small boxes.
// The result is the glyph-by-glyph draw's, pixel for pixel: where two glyphs ink one pixel, the
// second's coverage is kept aside and blended after the first, in the original order.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "font_face.h"
#include "font_layout.h"

namespace gfx {

struct CoverageRun {
    int x, y;         // the first pixel, in the target
    int count;        // pixels; the coverage is followed by zeros up to a whole group of four
    uint32_t offset;  // into ComposedText::coverage
};

struct InkedAgain {  // a pixel an earlier glyph of the same line already inked
    int x, y;
    uint8_t coverage;
};

// One text line's share: the runs and pixels up to these ends, blended runs first.
struct ComposedLine {
    uint32_t runsEnd;
    uint32_t inkedAgainEnd;
};

struct ComposedText {
    // What it was composed for: the layout (CachedLayout::laidOut), where and inside what.
    uint64_t layout = 0;
    LONG left = 0, top = 0;
    RECT visible = {0, 0, 0, 0};
    bool built = false;

    std::vector<uint8_t> coverage;
    std::vector<CoverageRun> runs;
    std::vector<InkedAgain> inkedAgain;
    std::vector<ComposedLine> lines;
};

// Merges the glyphs WalkGlyphs places for this layout, clipped to `visible` (already inside the
// target), into `out`, reusing its buffers. Counted as "ComposeText".
void ComposeText(FontFace& face, const std::vector<TextLine>& lines, const char* text, const RECT& rect,
                 const RECT& visible, ComposedText* out);

}  // namespace gfx
