// Frames into windows: the back buffer converted and scaled straight into the window's canvas
// (frame_scaler.h), then only the rows that changed handed to the display.
#include "backend/backend.h"
#include "backend/sdl_backend.h"
#include "sim/sim.h"
#include "user/window_table.h"

namespace backend {
namespace sdl {

SDL_Surface* CanvasOf(WindowEntry& entry) {
    if (entry.wayland) return WaylandCanvas(*entry.wayland, entry.sdl);
    return SDL_GetWindowSurface(entry.sdl);  // kept by SDL until the window's size changes
}

void ShowCanvas(WindowEntry& entry, const SDL_Rect* band) {
    if (entry.wayland)
        SendWaylandCanvas(*entry.wayland, band);
    else if (band)
        SDL_UpdateWindowSurfaceRects(entry.sdl, band, 1);
    else
        SDL_UpdateWindowSurface(entry.sdl);
}

}  // namespace sdl

void PresentFrame(HWND window, const Frame& frame, bool fullScreen) {
    sdl::WindowEntry* entry = sdl::EntryOf(user::TopLevelOf(window));
    if (!entry || !frame.pixels) return;
    if (frame.first) entry->scaler.ShowAll();
    SDL_Surface* canvas = sdl::CanvasOf(*entry);
    if (!canvas) return;
    const auto plan = entry->scaler.Prepare(canvas, frame.width, frame.height, frame.format, fullScreen);
    if (plan == sdl::FrameScaler::Plan::Unusable) return;
    const SDL_Rect changed = entry->scaler.Draw(frame.pixels, frame.pitch, canvas);
    if (plan == sdl::FrameScaler::Plan::Whole) {
        sim::CountCall("ShowWholeWindow");
        sdl::ShowCanvas(*entry, nullptr);  // the black bars too
    }
    else if (changed.h > 0)  // a display is sent only the rows that changed, often none
        sdl::ShowCanvas(*entry, &changed);
}

}  // namespace backend
