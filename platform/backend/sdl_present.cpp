// Frames into windows: a streaming texture of the back buffer's own format, drawn over the
// client area, or scaled to the display keeping its aspect ratio when full screen.
#include "backend/backend.h"
#include "backend/sdl_backend.h"
#include "user/window_table.h"

namespace backend {
namespace sdl {
namespace {

Uint32 sdlFormatOf(D3DFORMAT format) {
    switch (format) {
    case D3DFMT_X8R8G8B8: return SDL_PIXELFORMAT_RGB888;  // 32-bit, the top byte unused
    case D3DFMT_A8R8G8B8: return SDL_PIXELFORMAT_ARGB8888;
    case D3DFMT_R5G6B5: return SDL_PIXELFORMAT_RGB565;
    case D3DFMT_X1R5G5B5: return SDL_PIXELFORMAT_RGB555;
    default: return SDL_PIXELFORMAT_UNKNOWN;
    }
}

bool ensureRenderer(WindowEntry& entry) {
    if (entry.renderer) return true;
    entry.renderer = SDL_CreateRenderer(entry.sdl, -1, 0);  // the driver the hints choose
    if (!entry.renderer) entry.renderer = SDL_CreateRenderer(entry.sdl, -1, SDL_RENDERER_SOFTWARE);
    return entry.renderer != nullptr;
}

// Made again only when the frame's size or format changes, never per frame.
bool ensureTexture(WindowEntry& entry, Uint32 format, int width, int height) {
    if (entry.texture && entry.textureFormat == format && entry.textureWidth == width &&
        entry.textureHeight == height)
        return true;
    if (entry.texture) SDL_DestroyTexture(entry.texture);
    entry.texture = SDL_CreateTexture(entry.renderer, format, SDL_TEXTUREACCESS_STREAMING, width, height);
    if (!entry.texture) return false;
    SDL_SetTextureBlendMode(entry.texture, SDL_BLENDMODE_NONE);  // alpha is not transparency here
    entry.textureFormat = format;
    entry.textureWidth = width;
    entry.textureHeight = height;
    return true;
}

SDL_Rect aspectFit(int frameWidth, int frameHeight, int outputWidth, int outputHeight) {
    SDL_Rect rect{0, 0, outputWidth, outputHeight};
    if (int64_t(outputWidth) * frameHeight > int64_t(outputHeight) * frameWidth) {
        rect.w = static_cast<int>(int64_t(outputHeight) * frameWidth / frameHeight);
        rect.x = (outputWidth - rect.w) / 2;
    } else {
        rect.h = static_cast<int>(int64_t(outputWidth) * frameHeight / frameWidth);
        rect.y = (outputHeight - rect.h) / 2;
    }
    return rect;
}

}  // namespace
}  // namespace sdl

void PresentFrame(HWND window, const Frame& frame, bool fullScreen) {
    sdl::WindowEntry* entry = sdl::EntryOf(user::TopLevelOf(window));
    const Uint32 format = sdl::sdlFormatOf(frame.format);
    if (!entry || !frame.pixels || frame.width <= 0 || frame.height <= 0 || format == SDL_PIXELFORMAT_UNKNOWN) return;
    if (!sdl::ensureRenderer(*entry) || !sdl::ensureTexture(*entry, format, frame.width, frame.height)) return;
    SDL_UpdateTexture(entry->texture, nullptr, frame.pixels, frame.pitch);
    int outputWidth = 0, outputHeight = 0;
    SDL_GetRendererOutputSize(entry->renderer, &outputWidth, &outputHeight);
    SDL_Rect target = fullScreen ? sdl::aspectFit(frame.width, frame.height, outputWidth, outputHeight)
                                 : SDL_Rect{0, 0, outputWidth, outputHeight};
    if (target.w != outputWidth || target.h != outputHeight) {  // black bars; else the frame covers all
        SDL_SetRenderDrawColor(entry->renderer, 0, 0, 0, 255);
        SDL_RenderClear(entry->renderer);
    }
    SDL_RenderCopy(entry->renderer, entry->texture, nullptr, &target);
    SDL_RenderPresent(entry->renderer);
}

void PaintWindow(HWND topLevel) {
    sdl::WindowEntry* entry = sdl::EntryOf(topLevel);
    user::PaintHook hook = user::GetPaintHook();
    RECT client;
    if (!entry || !hook || !GetClientRect(topLevel, &client) || client.right <= 0 || client.bottom <= 0) return;
    const size_t pixels = size_t(client.right) * size_t(client.bottom);
    if (entry->painted.size() != pixels) entry->painted.assign(pixels, 0);
    hook(topLevel, entry->painted.data(), client.right, client.bottom, client.right * 4);
    PresentFrame(topLevel, Frame{entry->painted.data(), client.right, client.bottom, client.right * 4, D3DFMT_X8R8G8B8},
                 false);
}

}  // namespace backend
