// The four back-buffer formats, described once: a pixel's size and where its colour channels
// sit. The device, its fill, the font's blitter and the frame scaler all read pixels through
// this. The layouts are constexpr, so a format known at compile time costs no lookup.
#pragma once

#include <d3d9.h>

#include <cstdint>
#include <cstring>

namespace gfx {

struct PixelChannel {
    int shift;
    int bits;
};

struct PixelLayout {
    int bytes;  // 2 or 4; 0 for a format we do not draw into
    PixelChannel red, green, blue;
    uint32_t kept;  // bits that store no colour and that a write keeps (X1R5G5B5's top bit)
};

constexpr PixelLayout LayoutOf(D3DFORMAT format) {
    switch (format) {
        case D3DFMT_X8R8G8B8:
        case D3DFMT_A8R8G8B8: return PixelLayout{4, {16, 8}, {8, 8}, {0, 8}, 0};
        case D3DFMT_R5G6B5: return PixelLayout{2, {11, 5}, {5, 6}, {0, 5}, 0};
        case D3DFMT_X1R5G5B5: return PixelLayout{2, {10, 5}, {5, 5}, {0, 5}, 0x8000};
        default: return PixelLayout{0, {0, 8}, {0, 8}, {0, 8}, 0};
    }
}

constexpr int BytesPerPixel(D3DFORMAT format) { return LayoutOf(format).bytes; }

// The channel's bits widened to 8 by repeating them from the top, so that full is 255. Every bit
// of the result comes from one bit of the pixel. One repeat is enough for channels of 4 to 8 bits.
constexpr uint32_t ChannelValue(uint32_t pixel, PixelChannel channel) {
    const uint32_t value = (pixel >> channel.shift) & ((1u << channel.bits) - 1);
    return value << (8 - channel.bits) | value >> (2 * channel.bits - 8);
}

// An 8-bit value cut to the channel's bits, in its place.
constexpr uint32_t ChannelBits(uint32_t value, PixelChannel channel) {
    return (value >> (8 - channel.bits)) << channel.shift;
}

// Pixels as A8R8G8B8 and back. The 32-bit formats hold A8R8G8B8 as it is, X8R8G8B8's unused byte
// included (the blender treats alpha as a channel like the others); the 16-bit ones are opaque.
// `old` supplies the bits the format keeps.
constexpr uint32_t UnpackPixel(const PixelLayout& layout, uint32_t raw) {
    if (layout.bytes != 2) return raw;
    return 0xFF000000u | ChannelValue(raw, layout.red) << 16 | ChannelValue(raw, layout.green) << 8 |
           ChannelValue(raw, layout.blue);
}

constexpr uint32_t PackPixel(const PixelLayout& layout, uint32_t argb, uint32_t old) {
    if (layout.bytes != 2) return argb;
    return (old & layout.kept) | ChannelBits((argb >> 16) & 0xFF, layout.red) |
           ChannelBits((argb >> 8) & 0xFF, layout.green) | ChannelBits(argb & 0xFF, layout.blue);
}

constexpr uint32_t UnpackPixel(D3DFORMAT format, uint32_t raw) { return UnpackPixel(LayoutOf(format), raw); }
constexpr uint32_t PackPixel(D3DFORMAT format, uint32_t argb, uint32_t old) {
    return PackPixel(LayoutOf(format), argb, old);
}

// A pixel's bytes as one number and back: the formats are laid out little-endian, as is the host.
inline uint32_t LoadPixel(const uint8_t* at, int bytes) {
    uint32_t raw = 0;
    std::memcpy(&raw, at, static_cast<size_t>(bytes));
    return raw;
}
inline void StorePixel(uint8_t* at, int bytes, uint32_t raw) { std::memcpy(at, &raw, static_cast<size_t>(bytes)); }

// The formats a back buffer may have.
inline constexpr D3DFORMAT kBackBufferFormats[] = {D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8, D3DFMT_R5G6B5, D3DFMT_X1R5G5B5};

namespace detail {
constexpr bool widensInOneRepeat(PixelChannel c) { return c.bits >= 4 && c.bits <= 8 && c.shift + c.bits <= 32; }
constexpr bool everyFormatWidens() {
    for (D3DFORMAT format : kBackBufferFormats) {
        const PixelLayout l = LayoutOf(format);
        if (l.bytes == 0 || !widensInOneRepeat(l.red) || !widensInOneRepeat(l.green) || !widensInOneRepeat(l.blue))
            return false;
    }
    return true;
}
}  // namespace detail
static_assert(detail::everyFormatWidens(), "ChannelValue widens channels of 4 to 8 bits");

}  // namespace gfx
