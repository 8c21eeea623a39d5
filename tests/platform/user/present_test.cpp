#include <SDL.h>
#include <windows.h>

#include <algorithm>
#include <cstring>

#include "platform/backend/backend.h"
#include "platform/backend/sdl_backend.h"
#include "platform/gfx/font_blit.h"
#include "platform/sim/sim.h"
#include "tests/platform/user/window_recorder.h"

namespace {

SDL_Surface* surfaceOf(HWND window) {
    backend::sdl::WindowEntry* entry = backend::sdl::EntryOf(window);
    return entry ? SDL_GetWindowSurface(entry->sdl) : nullptr;
}

// The pixel the window shows at (x, y), as 0xRRGGBB: read back from the window's own surface.
uint32_t shownPixel(SDL_Surface* surface, int x, int y) {
    if (!surface || x < 0 || y < 0 || x >= surface->w || y >= surface->h) return 0xDEAD;
    uint32_t raw = 0;
    const int bytes = surface->format->BytesPerPixel;
    std::memcpy(&raw, static_cast<const uint8_t*>(surface->pixels) + y * surface->pitch + x * bytes, bytes);
    Uint8 r, g, b;
    SDL_GetRGB(raw, surface->format, &r, &g, &b);
    return uint32_t(r) << 16 | g << 8 | b;
}

// The colour a back-buffer pixel stands for, as 0xRRGGBB, as the font reads it back.
uint32_t colourOf(const uint8_t* pixel, D3DFORMAT format) {
    uint32_t raw = 0;
    std::memcpy(&raw, pixel, gfx::BytesPerPixel(format));
    return gfx::UnpackPixel(format, raw) & 0xFFFFFF;
}

// Every pixel of the window against the plainest nearest-neighbour scaling of the frame into
// the rectangle `p`, black around it; the number of pixels that differ.
int wrongPixels(SDL_Surface* surface, const std::vector<uint8_t>& frame, int pitch, D3DFORMAT format, const SDL_Rect& p) {
    const int bytes = gfx::BytesPerPixel(format);
    int wrong = 0;
    for (int y = 0; y < surface->h; ++y) {
        for (int x = 0; x < surface->w; ++x) {
            const bool inside = x >= p.x && x < p.x + p.w && y >= p.y && y < p.y + p.h;
            const uint32_t expected =
                inside ? colourOf(&frame[(y - p.y) * 480 / p.h * pitch + (x - p.x) * 640 / p.w * bytes], format) : 0;
            const uint32_t shown = shownPixel(surface, x, y);
            if (shown != expected && ++wrong <= 3)
                ADD_FAILURE() << surface->w << " x " << surface->h << ", format " << format << ", at " << x << ", "
                              << y << ": " << std::hex << shown << " instead of " << expected;
        }
    }
    return wrong;
}

// A 640 x 480 frame of noise in every back-buffer format, rows padded: windowed it covers the
// client area; full screen it is as large as the screen allows with its shape kept, centred on
// black. Then one pixel of it changed, then the window's pixels lost.
TEST_F(UserTest, FramesAreTheBackBufferScaledByNearestNeighbour) {
    struct Case {
        int width, height;
        bool fullScreen;
        SDL_Rect picture;
    } const cases[] = {
        {640, 480, false, {0, 0, 640, 480}},
        {700, 500, false, {0, 0, 700, 500}},
        {640, 480, true, {0, 0, 640, 480}},
        {1280, 1024, true, {0, 32, 1280, 960}},
        {1920, 1080, true, {240, 0, 1440, 1080}},
        {1000, 777, true, {0, 13, 1000, 750}},
    };
    for (const Case& c : cases)
        for (D3DFORMAT format : {D3DFMT_R5G6B5, D3DFMT_X1R5G5B5, D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8}) {
            const int bytes = gfx::BytesPerPixel(format), pitch = 640 * bytes + 16;
            std::vector<uint8_t> frame(size_t(pitch) * 480);
            for (size_t i = 0; i < frame.size(); ++i) frame[i] = uint8_t((i * 2654435761u) >> 13);
            HWND window = CreateRecorder(WS_POPUP | WS_VISIBLE, 0, 0, c.width, c.height);
            const backend::Frame shown{frame.data(), 640, 480, pitch, format};
            const int plans = sim::CallCount("PlanPresent");
            for (int again = 0; again < 3; ++again) backend::PresentFrame(window, shown, c.fullScreen);
            EXPECT_EQ(sim::CallCount("PlanPresent") - plans, 1) << "planned once, not per frame";
            SDL_Surface* surface = surfaceOf(window);
            EXPECT_EQ(wrongPixels(surface, frame, pitch, format, c.picture), 0);

            // Only what changed is written and sent: nothing for the same frame, the rows of one source row.
            backend::sdl::FrameScaler& scaler = backend::sdl::EntryOf(window)->scaler;
            EXPECT_EQ(scaler.Draw(frame.data(), pitch, surface).h, 0);
            frame[100 * pitch + 7 * bytes] ^= 0x21;
            const SDL_Rect band = scaler.Draw(frame.data(), pitch, surface);
            int top = c.height, bottom = 0;
            for (int y = 0; y < c.picture.h; ++y)
                if (y * 480 / c.picture.h == 100) top = std::min(top, y), bottom = y + 1;
            EXPECT_EQ(band.y, c.picture.y + top);
            EXPECT_EQ(band.h, bottom - top);
            EXPECT_EQ(band.w, c.picture.w);
            EXPECT_EQ(wrongPixels(surface, frame, pitch, format, c.picture), 0);

            SDL_FillRect(surface, nullptr, 0x5555);  // what an exposed window holds, the bands too
            scaler.ShowAll();
            EXPECT_EQ(scaler.Prepare(surface, 640, 480, format, c.fullScreen), backend::sdl::FrameScaler::Plan::Whole);
            EXPECT_EQ(scaler.Draw(frame.data(), pitch, surface).h, c.picture.h);
            EXPECT_EQ(wrongPixels(surface, frame, pitch, format, c.picture), 0) << "all written again after ShowAll";

            // What cannot be shown is left alone, quietly.
            for (const backend::Frame& bad : {backend::Frame{nullptr, 640, 480, pitch, format},
                                              backend::Frame{frame.data(), 640, 480, pitch, D3DFMT_UNKNOWN},
                                              backend::Frame{frame.data(), 0, 480, pitch, format}})
                backend::PresentFrame(window, bad, c.fullScreen);
            backend::PresentFrame(reinterpret_cast<HWND>(0x99), shown, c.fullScreen);
            EXPECT_EQ(wrongPixels(surface, frame, pitch, format, c.picture), 0);
            DestroyWindow(window);
        }
}

int g_paints = 0;
SIZE g_paintedSize{};
void PaintBlue(HWND, uint32_t* pixels, int width, int height, int pitch) {
    ++g_paints;
    g_paintedSize = SIZE{width, height};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) pixels[y * (pitch / 4) + x] = 0x000000FF;
}

TEST_F(UserTest, WindowsWithChildrenArePaintedByTheHookWhenInvalidAndVisible) {
    user::PaintHook previous = user::GetPaintHook();
    user::SetPaintHook(PaintBlue);
    g_paints = 0;
    HWND plain = CreateRecorder(WS_OVERLAPPED | WS_VISIBLE, 0, 0, 640, 480);
    HWND dialog = CreateRecorder(WS_VISIBLE | WS_CAPTION, 430, 362, 420, 300, nullptr, 0, WS_EX_DLGMODALFRAME);
    HWND child = CreateRecorder(WS_CHILD | WS_VISIBLE, 80, 240, 100, 25, dialog, 1);
    HWND hidden = CreateRecorder(WS_OVERLAPPED, 0, 0, 100, 100);
    CreateRecorder(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, hidden, 1);
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);
    EXPECT_EQ(g_paints, 1) << "only the visible window with children";
    EXPECT_EQ(g_paintedSize.cx, 414);
    EXPECT_EQ(g_paintedSize.cy, 274);
    EXPECT_EQ(shownPixel(surfaceOf(dialog), 200, 100), 0x0000FFu);
    PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);
    EXPECT_EQ(g_paints, 1) << "nothing new to paint";
    InvalidateRect(child, nullptr, TRUE);
    PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);
    EXPECT_EQ(g_paints, 2) << "a child's invalidation repaints its top-level window";
    ShowWindow(hidden, SW_SHOW);
    PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);
    EXPECT_EQ(g_paints, 3) << "painted once it can be seen";
    (void)plain;
    user::SetPaintHook(previous);
}

}  // namespace
