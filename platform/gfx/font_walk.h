// Where each glyph of a laid-out text lands: the one walk both the glyph-by-glyph draw and
// the merged coverage follow, so the two cannot disagree about a pixel.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "font_face.h"
#include "font_layout.h"

namespace gfx {

// Calls visit(line number, x, y, glyph) for each inked glyph that may reach `visible`, x and y
// being the top-left of its ink in target pixels. Lines wholly outside are not even rasterised.
// The glyph's coverage lives in face.coverage, which the next glyph's rasterising may move.
template <typename Visit>
void WalkGlyphs(FontFace& face, const std::vector<TextLine>& lines, const char* text, const RECT& rect,
                const RECT& visible, Visit&& visit) {
    const int lineHeight = face.ascent + face.descent;
    // No glyph's ink starts a whole line height left of its pen, so a pen that far right is done.
    const int64_t lastPen = int64_t{visible.right} + lineHeight;
    int64_t lineTop = rect.top;
    for (size_t number = 0; number < lines.size(); ++number) {
        const TextLine& line = lines[number];
        const int64_t top = lineTop;
        lineTop += lineHeight;
        if (top >= visible.bottom) break;
        if (top + lineHeight <= visible.top) continue;

        const int baseline = static_cast<int>(top) + face.ascent;
        int64_t pen = rect.left;
        for (int i = line.start; i < line.start + line.length && pen < lastPen; ++i) {
            const uint8_t character = static_cast<uint8_t>(text[i]);
            const GlyphBitmap& glyph = RasterizedGlyph(face, character);
            if (glyph.width > 0 && pen + glyph.width + glyph.left > visible.left)
                visit(number, static_cast<int>(pen) + glyph.left, baseline - glyph.top, glyph);
            pen += face.advance[character];
        }
    }
}

}  // namespace gfx
