#include "font_blit.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace gfx {
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

inline uint32_t expand5(uint32_t v) { return (v << 3) | (v >> 2); }
inline uint32_t expand6(uint32_t v) { return (v << 2) | (v >> 4); }

// The plain definition, channel by channel: what HAL's tables and lanes must agree with.
uint32_t blendReference(uint32_t dst, D3DCOLOR color, uint32_t coverage) {
    const uint32_t alpha = div255(coverage * (color >> 24));
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const uint32_t source = shift == 24 ? 255 : (color >> shift) & 0xFF;
        const uint32_t kept = (dst >> shift) & 0xFF;
        out |= (div255(source * alpha) + div255(kept * (255 - alpha))) << shift;
    }
    return out;
}

inline uint32_t blendLanes(uint32_t dst, const BlendColor& blend, uint32_t coverage) {
    const uint32_t inverse = blend.inverse[coverage];
    const uint32_t redBlue = div255Lanes((dst & 0x00FF00FFu) * inverse) + blend.redBlue[coverage];
    const uint32_t alphaGreen = div255Lanes(((dst >> 8) & 0x00FF00FFu) * inverse) + blend.alphaGreen[coverage];
    return redBlue | (alphaGreen << 8);
}

struct Box {
    int left, top, right, bottom;
};

void blendBoxReference(const RenderTarget& target, const Box& box, int x, int y, const uint8_t* coverage,
                       int width, D3DCOLOR color) {
    const int bytes = BytesPerPixel(target.format);
    for (int py = box.top; py < box.bottom; ++py) {
        for (int px = box.left; px < box.right; ++px) {
            uint8_t* pixel = target.bits + static_cast<ptrdiff_t>(py) * target.pitch + px * bytes;
            uint32_t raw = 0;
            std::memcpy(&raw, pixel, bytes);  // little-endian, as the formats are laid out
            const uint32_t argb = blendReference(UnpackPixel(target.format, raw), color,
                                                 coverage[(py - y) * width + (px - x)]);
            raw = PackPixel(target.format, argb, raw);
            std::memcpy(pixel, &raw, bytes);
        }
    }
}

#if defined(__SSE2__)
// x / 255 rounded to nearest on eight 16-bit lanes: div255 exactly, lane for lane.
inline __m128i div255x8(__m128i x) {
    x = _mm_add_epi16(x, _mm_set1_epi16(128));
    return _mm_srli_epi16(_mm_add_epi16(x, _mm_srli_epi16(x, 8)), 8);
}

// One channel pair of two pixels: source x alpha + destination x (255 - alpha), as blendReference.
inline __m128i blendTwo(__m128i destination, __m128i source, __m128i alpha) {
    const __m128i kept = _mm_sub_epi16(_mm_set1_epi16(255), alpha);
    return _mm_add_epi16(div255x8(_mm_mullo_epi16(source, alpha)), div255x8(_mm_mullo_epi16(destination, kept)));
}

// Four 32-bit pixels at once; `source` holds B, G, R, 255 twice and `colorAlpha` the colour's alpha.
inline void blendFour(uint32_t* pixels, uint32_t coverage4, __m128i source, __m128i colorAlpha) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i coverage = _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(coverage4)), zero);
    const __m128i alpha = div255x8(_mm_mullo_epi16(coverage, colorAlpha));
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

template <D3DFORMAT Format, typename Pixel>
inline void blendOne(Pixel* pixel, uint32_t coverage, const BlendColor& blend) {
    if (coverage == 0) return;
    const uint32_t old = *pixel;
    const uint32_t argb =
        (coverage == 255 && blend.opaque) ? blend.solid : blendLanes(UnpackPixel(Format, old), blend, coverage);
    *pixel = static_cast<Pixel>(PackPixel(Format, argb, old));
}

template <D3DFORMAT Format>
void blendBoxHal(const RenderTarget& target, const Box& box, int x, int y, const uint8_t* coverage, int width,
                 const BlendColor& blend) {
    using Pixel = std::conditional_t<Format == D3DFMT_R5G6B5 || Format == D3DFMT_X1R5G5B5, uint16_t, uint32_t>;
    const int count = box.right - box.left;
#if defined(__SSE2__)
    const uint32_t c = blend.color;
    const __m128i source = _mm_set_epi16(255, (c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF, 255, (c >> 16) & 0xFF,
                                         (c >> 8) & 0xFF, c & 0xFF);
    const __m128i colorAlpha = _mm_set1_epi16(static_cast<short>(c >> 24));
#endif
    for (int py = box.top; py < box.bottom; ++py) {
        const uint8_t* cover = coverage + (py - y) * width + (box.left - x);
        Pixel* row = reinterpret_cast<Pixel*>(target.bits + static_cast<ptrdiff_t>(py) * target.pitch) + box.left;
        int i = 0;
#if defined(__SSE2__)
        if constexpr (sizeof(Pixel) == 4) {
            for (; i + 4 <= count; i += 4) {
                uint32_t four = 0;
                std::memcpy(&four, cover + i, 4);
                if (four != 0) blendFour(row + i, four, source, colorAlpha);
            }
        }
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
}

}  // namespace

int BytesPerPixel(D3DFORMAT format) {
    switch (format) {
        case D3DFMT_X8R8G8B8:
        case D3DFMT_A8R8G8B8: return 4;
        case D3DFMT_R5G6B5:
        case D3DFMT_X1R5G5B5: return 2;
        default: return 0;
    }
}

uint32_t UnpackPixel(D3DFORMAT format, uint32_t raw) {
    switch (format) {
        case D3DFMT_R5G6B5:
            return 0xFF000000u | expand5((raw >> 11) & 31) << 16 | expand6((raw >> 5) & 63) << 8 | expand5(raw & 31);
        case D3DFMT_X1R5G5B5:
            return 0xFF000000u | expand5((raw >> 10) & 31) << 16 | expand5((raw >> 5) & 31) << 8 | expand5(raw & 31);
        default: return raw;
    }
}

uint32_t PackPixel(D3DFORMAT format, uint32_t argb, uint32_t old) {
    const uint32_t r = (argb >> 16) & 0xFF, g = (argb >> 8) & 0xFF, b = argb & 0xFF;
    switch (format) {
        case D3DFMT_R5G6B5: return (r >> 3) << 11 | (g >> 2) << 5 | (b >> 3);
        case D3DFMT_X1R5G5B5: return (old & 0x8000u) | (r >> 3) << 10 | (g >> 3) << 5 | (b >> 3);
        default: return argb;
    }
}

void PrepareBlendColor(D3DCOLOR color, BlendColor* blend) {
    blend->color = color;
    blend->opaque = (color >> 24) == 255;
    blend->solid = color | 0xFF000000u;
    const uint32_t red = (color >> 16) & 0xFF, green = (color >> 8) & 0xFF, blue = color & 0xFF;
    for (uint32_t c = 0; c < 256; ++c) {
        const uint32_t alpha = div255(c * (color >> 24));
        blend->inverse[c] = 255 - alpha;
        blend->redBlue[c] = div255(red * alpha) << 16 | div255(blue * alpha);
        blend->alphaGreen[c] = alpha << 16 | div255(green * alpha);
    }
}

void BlendCoverage(const RenderTarget& target, const RECT& clip, int x, int y, const uint8_t* coverage,
                   int width, int height, const BlendColor& blend) {
    if (!target.bits || BytesPerPixel(target.format) == 0) return;
    const Box box = {std::max({x, static_cast<int>(clip.left), 0}), std::max({y, static_cast<int>(clip.top), 0}),
                     std::min({x + width, static_cast<int>(clip.right), target.width}),
                     std::min({y + height, static_cast<int>(clip.bottom), target.height})};
    if (box.left >= box.right || box.top >= box.bottom) return;
    if (target.reference) return blendBoxReference(target, box, x, y, coverage, width, blend.color);
    switch (target.format) {
        case D3DFMT_X8R8G8B8: return blendBoxHal<D3DFMT_X8R8G8B8>(target, box, x, y, coverage, width, blend);
        case D3DFMT_A8R8G8B8: return blendBoxHal<D3DFMT_A8R8G8B8>(target, box, x, y, coverage, width, blend);
        case D3DFMT_R5G6B5: return blendBoxHal<D3DFMT_R5G6B5>(target, box, x, y, coverage, width, blend);
        case D3DFMT_X1R5G5B5: return blendBoxHal<D3DFMT_X1R5G5B5>(target, box, x, y, coverage, width, blend);
        default: return;
    }
}

}  // namespace gfx
