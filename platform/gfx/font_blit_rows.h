// The HAL blender's row loops, shared by two compilations: font_blit.cpp (SSE2, what every
// x86-64 has) and font_blit_avx2.cpp (eight pixels a step, used where the processor has AVX2).
// Everything here has internal linkage, so neither compilation's code can stand in for the other's.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <type_traits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__AVX2__)
#include <immintrin.h>
#endif

#include "font_blit.h"
#include "font_compose.h"
#include "pixel_format.h"

namespace gfx {

// The part of an image that lands inside the clip and the target, and how far right a whole
// group of four may still write.
struct BlitBox {
    int left, top, right, bottom;
    int writableRight;
};

namespace {

// x / 255 rounded to nearest, exact for every product of two bytes.
inline uint32_t div255(uint32_t x) {
    x += 128;
    return (x + (x >> 8)) >> 8;
}

// div255 on two 16-bit lanes at once (bits 0-15 and 16-31); no lane can carry into the next.
inline uint32_t div255Lanes(uint32_t x) {
    x += 0x00800080u;
    return ((x + ((x >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
}

inline uint32_t load32(const uint8_t* bytes) {
    uint32_t value;
    std::memcpy(&value, bytes, 4);
    return value;
}

inline uint32_t blendLanes(uint32_t dst, const BlendColor& blend, uint32_t coverage) {
    const uint32_t inverse = blend.inverse[coverage];
    const uint32_t redBlue = div255Lanes((dst & 0x00FF00FFu) * inverse + blend.redBlue[coverage]);
    const uint32_t alphaGreen = div255Lanes(((dst >> 8) & 0x00FF00FFu) * inverse + blend.alphaGreen[coverage]);
    return redBlue | (alphaGreen << 8);
}

#if defined(__SSE2__)
// x / 255 rounded to nearest on eight 16-bit lanes: div255 exactly, lane for lane, because
// (y x 257) >> 16 is (y + (y >> 8)) >> 8 for every y below 2^16.
inline __m128i div255x8(__m128i x) {
    return _mm_mulhi_epu16(_mm_add_epi16(x, _mm_set1_epi16(128)), _mm_set1_epi16(257));
}

// The channels of two pixels: source x alpha + destination x (255 - alpha), as blendReference.
inline __m128i blendTwo(__m128i destination, __m128i source, __m128i alpha) {
    const __m128i kept = _mm_sub_epi16(_mm_set1_epi16(255), alpha);
    return div255x8(_mm_add_epi16(_mm_mullo_epi16(source, alpha), _mm_mullo_epi16(destination, kept)));
}

// Four 32-bit pixels at once; `source` holds B, G, R, 255 twice and `colorAlpha` the colour's alpha.
inline void blendFour(uint32_t* pixels, uint32_t coverage4, __m128i source, __m128i colorAlpha, bool opaque) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i coverage = _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(coverage4)), zero);
    // An opaque colour's alpha is the coverage itself: div255(c x 255) is c.
    const __m128i alpha = opaque ? coverage : div255x8(_mm_mullo_epi16(coverage, colorAlpha));
    const __m128i pairs = _mm_unpacklo_epi16(alpha, alpha);
    const __m128i alphaLow = _mm_unpacklo_epi32(pairs, pairs);  // pixel 0 in four lanes, then pixel 1
    const __m128i alphaHigh = _mm_unpackhi_epi32(pairs, pairs);
    __m128i* at = reinterpret_cast<__m128i*>(pixels);
    const __m128i destination = _mm_loadu_si128(at);
    const __m128i low = blendTwo(_mm_unpacklo_epi8(destination, zero), source, alphaLow);
    const __m128i high = blendTwo(_mm_unpackhi_epi8(destination, zero), source, alphaHigh);
    _mm_storeu_si128(at, _mm_packus_epi16(low, high));
}
#endif

#if defined(__AVX2__)
inline __m256i div255x16(__m256i x) {
    return _mm256_mulhi_epu16(_mm256_add_epi16(x, _mm256_set1_epi16(128)), _mm256_set1_epi16(257));
}

inline __m256i blendEightHalves(__m256i destination, __m256i source, __m256i alpha) {
    const __m256i kept = _mm256_sub_epi16(_mm256_set1_epi16(255), alpha);
    return div255x16(_mm256_add_epi16(_mm256_mullo_epi16(source, alpha), _mm256_mullo_epi16(destination, kept)));
}

// Eight 32-bit pixels, as blendFour. AVX2 unpacks within 128-bit halves, so the low channel
// words hold pixels 0, 1 and 4, 5 and the high ones 2, 3 and 6, 7; the alphas are picked to match.
inline void blendEight(uint32_t* pixels, uint64_t coverage8, __m256i source, __m256i colorAlpha, bool opaque) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i coverage = _mm256_set1_epi64x(static_cast<long long>(coverage8));
    const __m256i pickLow = _mm256_setr_epi8(0, -1, 0, -1, 0, -1, 0, -1, 1, -1, 1, -1, 1, -1, 1, -1,  //
                                             4, -1, 4, -1, 4, -1, 4, -1, 5, -1, 5, -1, 5, -1, 5, -1);
    const __m256i pickHigh = _mm256_setr_epi8(2, -1, 2, -1, 2, -1, 2, -1, 3, -1, 3, -1, 3, -1, 3, -1,  //
                                              6, -1, 6, -1, 6, -1, 6, -1, 7, -1, 7, -1, 7, -1, 7, -1);
    __m256i alphaLow = _mm256_shuffle_epi8(coverage, pickLow);
    __m256i alphaHigh = _mm256_shuffle_epi8(coverage, pickHigh);
    if (!opaque) {
        alphaLow = div255x16(_mm256_mullo_epi16(alphaLow, colorAlpha));
        alphaHigh = div255x16(_mm256_mullo_epi16(alphaHigh, colorAlpha));
    }
    __m256i* at = reinterpret_cast<__m256i*>(pixels);
    const __m256i destination = _mm256_loadu_si256(at);
    const __m256i low = blendEightHalves(_mm256_unpacklo_epi8(destination, zero), source, alphaLow);
    const __m256i high = blendEightHalves(_mm256_unpackhi_epi8(destination, zero), source, alphaHigh);
    _mm256_storeu_si256(at, _mm256_packus_epi16(low, high));
}
#endif

#if defined(__SSE2__)
// One channel of eight 16-bit pixels, `bits` wide at `shift`: widened as ChannelValue widens it
// (the top bits repeated), blended as blendTwo blends, cut back as ChannelBits cuts it. A lane of
// alpha 0 comes back as it was.
template <int shift, int bits>
inline __m128i blendField(__m128i pixels, __m128i source, __m128i alpha, __m128i kept) {
    const __m128i field = _mm_and_si128(_mm_srli_epi16(pixels, shift), _mm_set1_epi16((1 << bits) - 1));
    const __m128i wide = _mm_or_si128(_mm_slli_epi16(field, 8 - bits), _mm_srli_epi16(field, 2 * bits - 8));
    const __m128i blended = div255x8(_mm_add_epi16(_mm_mullo_epi16(source, alpha), _mm_mullo_epi16(wide, kept)));
    return _mm_slli_epi16(_mm_srli_epi16(blended, 8 - bits), shift);
}

// Eight 16-bit pixels in eight lanes, one channel at a time (the lanes past a short group are
// loaded as zero and not stored). `source` holds the colour's red, green, blue in all lanes.
template <D3DFORMAT Format, int count>
inline void blendNarrow(uint16_t* pixels, const uint8_t* cover, const __m128i (&source)[3], __m128i colorAlpha,
                        bool opaque) {
    static_assert(count == 4 || count == 8, "a group of four or eight pixels");
    const __m128i zero = _mm_setzero_si128();
    const __m128i coverage =
        _mm_unpacklo_epi8(count == 8 ? _mm_loadl_epi64(reinterpret_cast<const __m128i*>(cover))
                                     : _mm_cvtsi32_si128(static_cast<int>(load32(cover))),
                          zero);
    const __m128i alpha = opaque ? coverage : div255x8(_mm_mullo_epi16(coverage, colorAlpha));
    const __m128i kept = _mm_sub_epi16(_mm_set1_epi16(255), alpha);
    __m128i* at = reinterpret_cast<__m128i*>(pixels);
    const __m128i old = count == 8 ? _mm_loadu_si128(at) : _mm_loadl_epi64(at);
    constexpr PixelLayout layout = LayoutOf(Format);
    static_assert(layout.bytes == 2, "a 16-bit format");
    constexpr PixelChannel r = layout.red, g = layout.green, b = layout.blue;
    __m128i out = _mm_or_si128(_mm_or_si128(blendField<r.shift, r.bits>(old, source[0], alpha, kept),
                                            blendField<g.shift, g.bits>(old, source[1], alpha, kept)),
                               blendField<b.shift, b.bits>(old, source[2], alpha, kept));
    if constexpr (layout.kept != 0)  // X1R5G5B5's unused bit
        out = _mm_or_si128(out, _mm_and_si128(old, _mm_set1_epi16(static_cast<short>(layout.kept))));
    if (count == 8) {
        _mm_storeu_si128(at, out);
    } else {
        _mm_storel_epi64(at, out);
    }
}
#endif

template <D3DFORMAT Format, typename Pixel>
inline void blendOne(Pixel* pixel, uint32_t coverage, const BlendColor& blend) {
    if (coverage == 0) return;
    constexpr PixelLayout layout = LayoutOf(Format);
    const uint32_t old = *pixel;
    const uint32_t argb =
        (coverage == 255 && blend.opaque) ? blend.solid : blendLanes(UnpackPixel(layout, old), blend, coverage);
    *pixel = static_cast<Pixel>(PackPixel(layout, argb, old));
}

// One call's colour in the registers the row loop wants, set up once per box or run list.
struct RowColor {
    const BlendColor* blend;
#if defined(__SSE2__)
    __m128i source, colorAlpha, solid;
    __m128i narrowSource[3];  // red, green, blue, each in all eight lanes
#endif
#if defined(__AVX2__)
    __m256i source8, colorAlpha8, solid8;
#endif
};

inline RowColor rowColor(const BlendColor& blend) {
    RowColor out;
    out.blend = &blend;
#if defined(__SSE2__)
    const uint32_t c = blend.color;
    out.source = _mm_set_epi16(255, (c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF, 255, (c >> 16) & 0xFF,
                               (c >> 8) & 0xFF, c & 0xFF);
    out.colorAlpha = _mm_set1_epi16(static_cast<short>(c >> 24));
    out.solid = _mm_set1_epi32(static_cast<int>(blend.solid));
    for (int k = 0; k < 3; ++k) out.narrowSource[k] = _mm_set1_epi16(static_cast<short>((c >> (16 - 8 * k)) & 0xFF));
#endif
#if defined(__AVX2__)
    out.source8 = _mm256_broadcastsi128_si256(out.source);
    out.colorAlpha8 = _mm256_set1_epi16(static_cast<short>(c >> 24));
    out.solid8 = _mm256_set1_epi32(static_cast<int>(blend.solid));
#endif
    return out;
}

// `count` pixels of one row; pixels [0, groupsEnd) go in whole groups of four (or eight, 32-bit),
// so groupsEnd is a multiple of four.
template <D3DFORMAT Format, typename Pixel>
inline void blendRow(Pixel* row, const uint8_t* cover, int groupsEnd, int count, const RowColor& color) {
    const BlendColor& blend = *color.blend;
    int i = 0;
#if defined(__AVX2__)
    for (; sizeof(Pixel) == 4 && i + 8 <= groupsEnd; i += 8) {
        uint64_t eight = 0;
        std::memcpy(&eight, cover + i, 8);
        if (eight == 0) continue;
        if (eight == ~uint64_t{0} && blend.opaque) {
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(row + i), color.solid8);
        } else {
            blendEight(reinterpret_cast<uint32_t*>(row + i), eight, color.source8, color.colorAlpha8, blend.opaque);
        }
    }
#endif
#if defined(__SSE2__)
    if constexpr (sizeof(Pixel) == 2) {
        for (; i + 8 <= groupsEnd; i += 8) {
            uint64_t eight = 0;
            std::memcpy(&eight, cover + i, 8);
            if (eight == 0) continue;
            blendNarrow<Format, 8>(reinterpret_cast<uint16_t*>(row + i), cover + i, color.narrowSource,
                                   color.colorAlpha, blend.opaque);
        }
    }
    for (; i < groupsEnd; i += 4) {
        const uint32_t four = load32(cover + i);
        if (four == 0) continue;
        if constexpr (sizeof(Pixel) == 2) {
            blendNarrow<Format, 4>(reinterpret_cast<uint16_t*>(row + i), cover + i, color.narrowSource,
                                   color.colorAlpha, blend.opaque);
        } else if (four == 0xFFFFFFFFu && blend.opaque) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(row + i), color.solid);
        } else {
            blendFour(reinterpret_cast<uint32_t*>(row + i), four, color.source, color.colorAlpha, blend.opaque);
        }
    }
#else
    (void)groupsEnd;
#endif
    for (; i < count; ++i) {
        uint64_t eight = 0;
        if (i + 8 <= count && (std::memcpy(&eight, cover + i, 8), eight == 0)) {
            i += 7;  // eight empty pixels at once
            continue;
        }
        blendOne<Format>(row + i, cover[i], blend);
    }
}

template <D3DFORMAT Format>
using PixelOf = std::conditional_t<BytesPerPixel(Format) == 2, uint16_t, uint32_t>;

// How many of `count` pixels starting at column `left` may go in whole groups: the zero padding
// blends to no change, so the last group goes whole when the coverage and the clip reach that far.
template <D3DFORMAT Format>
inline int groupsEndOf(int count, int left, int coverageRight, int writableRight) {
#if defined(__SSE2__)
    const int rounded = (count + 3) & ~3;
    return rounded <= coverageRight && left + rounded <= writableRight ? rounded : (count & ~3);
#else
    (void)count, (void)left, (void)coverageRight, (void)writableRight;
    return 0;
#endif
}

template <D3DFORMAT Format>
void blendBoxHal(const RenderTarget& target, const BlitBox& box, int x, int y, const CoverageImage& image,
                 const BlendColor& blend) {
    using Pixel = PixelOf<Format>;
    const RowColor color = rowColor(blend);
    const int count = box.right - box.left;
    const int column = box.left - x;
    const int groupsEnd = groupsEndOf<Format>(count, box.left, image.stride - column, box.writableRight);
    for (int py = box.top; py < box.bottom; ++py) {
        const uint8_t* cover = image.bytes + (py - y) * image.stride + column;
        Pixel* row = reinterpret_cast<Pixel*>(target.bits + static_cast<ptrdiff_t>(py) * target.pitch) + box.left;
        blendRow<Format>(row, cover, groupsEnd, count, color);
    }
}

template <D3DFORMAT Format>
void blendComposedHal(const RenderTarget& target, const ComposedText& composed, const BlendColor& blend) {
    using Pixel = PixelOf<Format>;
    const RowColor color = rowColor(blend);
    size_t run = 0, again = 0;
    for (const ComposedLine& line : composed.lines) {
        for (; run < line.runsEnd; ++run) {
            const CoverageRun& r = composed.runs[run];
            Pixel* row = reinterpret_cast<Pixel*>(target.bits + static_cast<ptrdiff_t>(r.y) * target.pitch) + r.x;
            const int groupsEnd = groupsEndOf<Format>(r.count, r.x, (r.count + 3) & ~3, composed.visible.right);
            blendRow<Format>(row, composed.coverage.data() + r.offset, groupsEnd, r.count, color);
        }
        for (; again < line.inkedAgainEnd; ++again) {
            const InkedAgain& p = composed.inkedAgain[again];
            blendOne<Format>(reinterpret_cast<Pixel*>(target.bits + static_cast<ptrdiff_t>(p.y) * target.pitch) + p.x,
                             p.coverage, blend);
        }
    }
}

}  // namespace
}  // namespace gfx
