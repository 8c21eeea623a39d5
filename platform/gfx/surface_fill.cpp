// Clear's fill. HAL packs the colour once and fills whole rows; Reference converts every pixel
// on its own. Both keep what a format does not store (X1R5G5B5's top bit), so they agree.
#include <algorithm>

#include "device.h"
#include "pixel_format.h"

namespace gfx {
namespace {

void fillReference(const RenderTarget& target, const RECT& box, D3DCOLOR color) {
    const PixelLayout layout = LayoutOf(target.format);
    for (int y = box.top; y < box.bottom; ++y) {
        for (int x = box.left; x < box.right; ++x) {
            uint8_t* pixel = target.bits + static_cast<ptrdiff_t>(y) * target.pitch + x * layout.bytes;
            StorePixel(pixel, layout.bytes, PackPixel(layout, color, LoadPixel(pixel, layout.bytes)));
        }
    }
}

void fillHal(const RenderTarget& target, const RECT& box, D3DCOLOR color) {
    const PixelLayout layout = LayoutOf(target.format);
    const int count = box.right - box.left;
    if (layout.bytes == 4) {
        for (int y = box.top; y < box.bottom; ++y) {
            uint32_t* row = reinterpret_cast<uint32_t*>(target.bits + static_cast<ptrdiff_t>(y) * target.pitch);
            std::fill_n(row + box.left, count, color);
        }
        return;
    }
    const uint16_t packed = static_cast<uint16_t>(PackPixel(layout, color, 0));
    const uint16_t kept = static_cast<uint16_t>(layout.kept);
    for (int y = box.top; y < box.bottom; ++y) {
        uint16_t* row = reinterpret_cast<uint16_t*>(target.bits + static_cast<ptrdiff_t>(y) * target.pitch) + box.left;
        if (kept == 0) {
            std::fill_n(row, count, packed);
        } else {
            for (int x = 0; x < count; ++x) row[x] = static_cast<uint16_t>((row[x] & kept) | packed);
        }
    }
}

}  // namespace

void FillRect(const RenderTarget& target, const RECT& rect, D3DCOLOR color) {
    RECT box = {std::max(rect.left, LONG{0}), std::max(rect.top, LONG{0}), std::min(rect.right, LONG{target.width}),
                std::min(rect.bottom, LONG{target.height})};
    if (box.left >= box.right || box.top >= box.bottom || BytesPerPixel(target.format) == 0) return;
    if (target.reference)
        fillReference(target, box, color);
    else
        fillHal(target, box, color);
}

}  // namespace gfx
