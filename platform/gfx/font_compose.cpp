#include "font_compose.h"

#include <algorithm>

#include "font_walk.h"
#include "sim/sim.h"

namespace gfx {
namespace {

// A gap of this many empty pixels ends a run: shorter gaps cost less blended as zeros (skipped
// eight at a time) than as the start of another run.
constexpr int kRunGap = 16;

struct Placement {
    size_t line;
    int x, y;
    const GlyphBitmap* glyph;
};

// Copies each inked stretch of the canvas rows into runs.
void collectRuns(const std::vector<uint8_t>& canvas, int width, int rows, int left, int top, ComposedText* out) {
    for (int row = 0; row < rows; ++row) {
        const uint8_t* cover = canvas.data() + static_cast<size_t>(row) * width;
        int i = 0;
        while (i < width) {
            while (i < width && cover[i] == 0) ++i;
            if (i == width) break;
            const int start = i;
            int end = i + 1;  // one past the last inked pixel so far
            for (; i < width && i - end < kRunGap; ++i)
                if (cover[i] != 0) end = i + 1;
            const int count = end - start;
            out->runs.push_back({left + start, top + row, count, static_cast<uint32_t>(out->coverage.size())});
            out->coverage.insert(out->coverage.end(), cover + start, cover + end);
            out->coverage.resize(out->coverage.size() + ((4 - count % 4) % 4), 0);
            i = end;
        }
    }
}

}  // namespace

void ComposeText(FontFace& face, const std::vector<TextLine>& lines, const char* text, const RECT& rect,
                 const RECT& visible, ComposedText* out) {
    sim::CountCall("ComposeText");
    out->coverage.clear();
    out->runs.clear();
    out->inkedAgain.clear();
    out->lines.clear();

    // Rasterise everything first: after that, the coverage store no longer moves.
    std::vector<Placement> placed;
    WalkGlyphs(face, lines, text, rect, visible, [&](size_t line, int x, int y, const GlyphBitmap& glyph) {
        if (y < visible.bottom && y + glyph.height > visible.top && x < visible.right)
            placed.push_back({line, x, y, &glyph});
    });

    const int width = visible.right - visible.left;
    std::vector<uint8_t> canvas;
    for (size_t first = 0; first < placed.size();) {
        size_t last = first;
        int top = placed[first].y, bottom = placed[first].y + placed[first].glyph->height;
        for (; last < placed.size() && placed[last].line == placed[first].line; ++last) {
            top = std::min(top, placed[last].y);
            bottom = std::max(bottom, placed[last].y + placed[last].glyph->height);
        }
        top = std::max(top, static_cast<int>(visible.top));
        bottom = std::min(bottom, static_cast<int>(visible.bottom));
        const int rows = bottom - top;
        canvas.assign(static_cast<size_t>(width) * rows, 0);

        for (size_t n = first; n < last; ++n) {
            const Placement& at = placed[n];
            const GlyphBitmap& glyph = *at.glyph;
            const uint8_t* image = face.coverage.data() + glyph.offset;
            const int x0 = std::max(at.x, static_cast<int>(visible.left));
            const int x1 = std::min(at.x + glyph.width, static_cast<int>(visible.right));
            const int y0 = std::max(at.y, top), y1 = std::min(at.y + glyph.height, bottom);
            for (int y = y0; y < y1; ++y) {
                const uint8_t* source = image + (y - at.y) * glyph.stride + (x0 - at.x);
                uint8_t* merged = canvas.data() + static_cast<size_t>(y - top) * width + (x0 - visible.left);
                for (int i = 0; i < x1 - x0; ++i) {
                    if (source[i] == 0) continue;
                    if (merged[i] == 0) {
                        merged[i] = source[i];
                    } else {
                        out->inkedAgain.push_back({x0 + i, y, source[i]});
                    }
                }
            }
        }
        collectRuns(canvas, width, rows, visible.left, top, out);
        out->lines.push_back({static_cast<uint32_t>(out->runs.size()), static_cast<uint32_t>(out->inkedAgain.size())});
        first = last;
    }
    out->built = true;
}

}  // namespace gfx
