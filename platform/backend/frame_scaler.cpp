#include "backend/frame_scaler.h"

#include <algorithm>
#include <cstring>

#include "gfx/pixel_format.h"
#include "sim/sim.h"

namespace backend {
namespace sdl {
namespace {

inline uint32_t convert(uint16_t pixel, const uint32_t (*table)[256]) {
    return table[0][pixel & 0xFF] | table[1][pixel >> 8];
}
inline uint32_t convert(uint32_t pixel, const uint32_t (*table)[256]) {
    return table[0][pixel & 0xFF] | table[1][(pixel >> 8) & 0xFF] | table[2][(pixel >> 16) & 0xFF] |
           table[3][pixel >> 24];
}

// As large as the destination allows with the frame's shape, centred.
SDL_Rect aspectFit(int frameWidth, int frameHeight, int width, int height) {
    SDL_Rect rect{0, 0, width, height};
    if (int64_t(width) * frameHeight > int64_t(height) * frameWidth) {
        rect.w = static_cast<int>(int64_t(height) * frameWidth / frameHeight);
        rect.x = (width - rect.w) / 2;
    } else {
        rect.h = static_cast<int>(int64_t(width) * frameHeight / frameWidth);
        rect.y = (height - rect.h) / 2;
    }
    return rect;
}

}  // namespace

FrameScaler::Plan FrameScaler::Prepare(SDL_Surface* destination, int frameWidth, int frameHeight,
                                       D3DFORMAT frameFormat, bool fullScreen) {
    if (!destination || !destination->pixels) return Plan::Unusable;
    const Key key{destination->pixels, destination->w, destination->h, destination->pitch,
                  destination->format->format, frameWidth, frameHeight, frameFormat, fullScreen};
    if (usable_ && key == key_) {
        if (!showAll_) return Plan::Kept;
        SDL_FillRect(destination, nullptr, SDL_MapRGB(destination->format, 0, 0, 0));  // the bars again
        return Plan::Whole;
    }
    key_ = key;
    usable_ = false;
    const gfx::PixelLayout layout = gfx::LayoutOf(frameFormat);
    if (layout.bytes == 0 || frameWidth <= 0 || frameHeight <= 0 || destination->w <= 0 ||
        destination->h <= 0)
        return Plan::Unusable;
    sim::CountCall("PlanPresent");

    // Window formats of two or four bytes are written directly; any other through one
    // ARGB8888 row that SDL converts.
    const int windowBytes = destination->format->BytesPerPixel;
    const bool direct = windowBytes == 2 || windowBytes == 4;
    SDL_PixelFormat* staged = direct ? nullptr : SDL_AllocFormat(SDL_PIXELFORMAT_ARGB8888);
    const SDL_PixelFormat* written = direct ? destination->format : staged;
    if (!written) return Plan::Unusable;
    bool identity = direct && layout.bytes == 4 && windowBytes == 4 && destination->format->Amask == 0;
    for (int byte = 0; byte < 4; ++byte) {
        for (uint32_t value = 0; value < 256; ++value) {
            // Every bit of a widened channel comes from one bit of the pixel, so the tables of
            // its bytes can simply be ORed. Alpha is not shown.
            const uint32_t pixel = byte < layout.bytes ? value << (8 * byte) : 0;
            const auto channel = [pixel](gfx::PixelChannel c) { return Uint8(gfx::ChannelValue(pixel, c)); };
            table_[byte][value] = SDL_MapRGB(written, channel(layout.red), channel(layout.green), channel(layout.blue));
            identity = identity && table_[byte][value] == (byte < 3 ? pixel : 0);
        }
    }
    if (staged) SDL_FreeFormat(staged);
    sourceBytes_ = layout.bytes;
    destinationBytes_ = direct ? windowBytes : 4;
    staging_.assign(direct ? 0 : size_t(destination->w), 0);

    target_ = fullScreen ? aspectFit(frameWidth, frameHeight, destination->w, destination->h)
                         : SDL_Rect{0, 0, destination->w, destination->h};
    spans_.assign(size_t(frameWidth), 0);  // target column x shows source column x * width / target width
    for (int x = 0; x < target_.w; ++x) ++spans_[size_t(int64_t(x) * frameWidth / target_.w)];
    doubled_ = target_.w == 2 * frameWidth;
    sourceRow_.resize(size_t(target_.h));
    for (int y = 0; y < target_.h; ++y) sourceRow_[size_t(y)] = static_cast<int>(int64_t(y) * frameHeight / target_.h);
    sameWidth_ = target_.w == frameWidth;
    kernel_ = identity && sameWidth_ ? Kernel::Copy : Kernel::Convert;

    drawn_.assign(size_t(frameWidth) * size_t(layout.bytes) * size_t(frameHeight), 0);
    SDL_FillRect(destination, nullptr, SDL_MapRGB(destination->format, 0, 0, 0));  // the bars, once
    showAll_ = true;
    usable_ = true;
    return Plan::Whole;
}

template <typename Source, typename Destination>
SDL_Rect FrameScaler::drawRows(const uint8_t* frame, int framePitch, uint8_t* pixels, int pitch) {
    const size_t rowBytes = size_t(target_.w) * SDL_BYTESPERPIXEL(key_.format);
    const size_t sourceBytes = size_t(key_.frameWidth) * sizeof(Source);
    int changedTop = showAll_ ? 0 : target_.h, changedBottom = showAll_ ? target_.h : 0;
    bool changed = showAll_;
    for (int y = 0; y < target_.h; ++y, pixels += pitch) {
        const int row = sourceRow_[size_t(y)];
        if (y > 0 && row == sourceRow_[size_t(y) - 1]) {  // the same source row: the row above again
            if (changed) {
                std::memcpy(pixels, pixels - pitch, rowBytes);
                changedBottom = std::max(changedBottom, y + 1);
            }
            continue;
        }
        // A row whose source is as last drawn is still in the destination: it costs a compare.
        const uint8_t* bytes = frame + ptrdiff_t(row) * framePitch;
        uint8_t* drawn = drawn_.data() + size_t(row) * sourceBytes;
        changed = showAll_ || std::memcmp(bytes, drawn, sourceBytes) != 0;
        if (!changed) continue;
        std::memcpy(drawn, bytes, sourceBytes);
        changedTop = std::min(changedTop, y);
        changedBottom = std::max(changedBottom, y + 1);
        const auto* source = reinterpret_cast<const Source*>(bytes);
        auto* out = staging_.empty() ? reinterpret_cast<Destination*>(pixels)
                                     : reinterpret_cast<Destination*>(staging_.data());
        if (kernel_ == Kernel::Copy) {
            std::memcpy(out, source, rowBytes);
        } else if (sameWidth_) {
            for (int x = 0; x < target_.w; ++x) out[x] = static_cast<Destination>(convert(source[x], table_));
        } else if (doubled_) {  // 640 x 480 on 1280 x 1024, the usual full screen
            for (int x = 0; x < key_.frameWidth; ++x)
                out[2 * x] = out[2 * x + 1] = static_cast<Destination>(convert(source[x], table_));
        } else {  // each source pixel converted once, then written over its span
            for (int x = 0; x < key_.frameWidth; ++x) {
                const auto value = static_cast<Destination>(convert(source[x], table_));
                for (uint32_t n = spans_[size_t(x)]; n > 0; --n) *out++ = value;
            }
        }
        if (!staging_.empty())
            SDL_ConvertPixels(target_.w, 1, SDL_PIXELFORMAT_ARGB8888, staging_.data(), target_.w * 4, key_.format,
                              pixels, pitch);
    }
    showAll_ = false;
    if (changedTop >= changedBottom) return SDL_Rect{target_.x, target_.y, 0, 0};
    return SDL_Rect{target_.x, target_.y + changedTop, target_.w, changedBottom - changedTop};
}

template <typename Source>
SDL_Rect FrameScaler::drawFrom(const uint8_t* frame, int framePitch, uint8_t* pixels, int pitch) {
    if (destinationBytes_ == 2) return drawRows<Source, uint16_t>(frame, framePitch, pixels, pitch);
    return drawRows<Source, uint32_t>(frame, framePitch, pixels, pitch);
}

SDL_Rect FrameScaler::Draw(const void* frame, int framePitch, SDL_Surface* destination) {
    if (!usable_ || !frame || destination->pixels != key_.pixels) return SDL_Rect{0, 0, 0, 0};
    auto* pixels = static_cast<uint8_t*>(destination->pixels) + ptrdiff_t(target_.y) * destination->pitch +
                   ptrdiff_t(target_.x) * destination->format->BytesPerPixel;
    const auto* source = static_cast<const uint8_t*>(frame);
    if (sourceBytes_ == 2) return drawFrom<uint16_t>(source, framePitch, pixels, destination->pitch);
    return drawFrom<uint32_t>(source, framePitch, pixels, destination->pitch);
}

}  // namespace sdl
}  // namespace backend
