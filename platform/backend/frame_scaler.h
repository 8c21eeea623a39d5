// A back buffer converted and scaled into a window's own pixels in one pass: nearest-neighbour
// by whole spans and rows, colours through per-byte tables. What depends only on the sizes and
// formats is worked out when they change; a frame then allocates nothing.
#pragma once

#include <SDL.h>
#include <d3d9.h>

#include <cstdint>
#include <vector>

namespace backend {
namespace sdl {

class FrameScaler {
public:
    enum class Plan { Unusable, Kept, Whole };
    // Windowed, the frame covers the destination; full screen, it is as large as the destination
    // allows with its shape kept, centred on black. Whole: the plan is new, or the display lost
    // what it showed (ShowAll), and the whole destination is written (the black bars included),
    // so all of it must be shown.
    Plan Prepare(SDL_Surface* destination, int frameWidth, int frameHeight, D3DFORMAT frameFormat, bool fullScreen);
    // The frame into the destination's target rectangle, under the plan Prepare made. Only the
    // rows whose source differs from the last frame drawn are written (all of them after Prepare
    // remade the plan or ShowAll): the destination keeps the rest. Returns the band written,
    // which is all the display needs.
    SDL_Rect Draw(const void* frame, int framePitch, SDL_Surface* destination);
    // The display, or the destination, lost what it was shown (a window exposed, resized, given
    // back the focus, a device reset): the next Prepare plans the whole destination.
    void ShowAll() { showAll_ = true; }

private:
    enum class Kernel { Copy, Convert };
    struct Key {
        const void* pixels = nullptr;
        int width = 0, height = 0, pitch = 0;
        Uint32 format = 0;
        int frameWidth = 0, frameHeight = 0;
        D3DFORMAT frameFormat = D3DFMT_UNKNOWN;
        bool fullScreen = false;
        bool operator==(const Key& o) const {
            return pixels == o.pixels && width == o.width && height == o.height && pitch == o.pitch &&
                   format == o.format && frameWidth == o.frameWidth && frameHeight == o.frameHeight &&
                   frameFormat == o.frameFormat && fullScreen == o.fullScreen;
        }
    };
    template <typename Source, typename Destination>
    SDL_Rect drawRows(const uint8_t* frame, int framePitch, uint8_t* pixels, int pitch);
    template <typename Source>
    SDL_Rect drawFrom(const uint8_t* frame, int framePitch, uint8_t* pixels, int pitch);

    Key key_;
    bool usable_ = false;
    SDL_Rect target_{};
    int sourceBytes_ = 0;       // bytes per back-buffer pixel, 2 or 4
    int destinationBytes_ = 0;  // 2 or 4; other window formats go through staging_
    bool sameWidth_ = false;    // the target is as wide as the frame
    bool doubled_ = false;      // or twice as wide
    Kernel kernel_ = Kernel::Convert;
    uint32_t table_[4][256]{};       // destination pixel = OR of the tables of the source's bytes
    std::vector<uint32_t> spans_;    // per source column, how many target columns show it
    std::vector<int> sourceRow_;     // per target row, the source row it shows
    std::vector<uint32_t> staging_;  // one ARGB8888 row for window formats of another width
    std::vector<uint8_t> drawn_;     // the source rows of the last frame drawn
    bool showAll_ = true;
};

}  // namespace sdl
}  // namespace backend
