#include <SDL.h>
#include <windows.h>

#include "platform/backend/backend.h"
#include "platform/backend/sdl_backend.h"
#include "tests/platform/user/window_recorder.h"

namespace {

// The pixel the window shows at (x, y), as 0xRRGGBB.
uint32_t shownPixel(HWND window, int x, int y) {
    backend::sdl::WindowEntry* entry = backend::sdl::EntryOf(window);
    if (!entry || !entry->renderer) return 0xDEAD;
    SDL_Rect at{x, y, 1, 1};
    uint32_t pixel = 0;
    if (SDL_RenderReadPixels(entry->renderer, &at, SDL_PIXELFORMAT_ARGB8888, &pixel, 4) != 0) return 0xDEAD;
    return pixel & 0xFFFFFF;
}

template <typename Pixel>
std::vector<Pixel> filled(int width, int height, Pixel value) {
    return std::vector<Pixel>(size_t(width) * height, value);
}

TEST_F(UserTest, FramesOfEveryBackBufferFormatShowTheirColourInTheClientArea) {
    HWND window = CreateRecorder(WS_OVERLAPPED | WS_SYSMENU | WS_VISIBLE, 0, 0, 646, 506);
    auto x8 = filled<uint32_t>(640, 480, 0x00FF8040);
    backend::PresentFrame(window, backend::Frame{x8.data(), 640, 480, 640 * 4, D3DFMT_X8R8G8B8}, false);
    EXPECT_EQ(shownPixel(window, 0, 0), 0xFF8040u);
    EXPECT_EQ(shownPixel(window, 639, 479), 0xFF8040u);

    auto a8 = filled<uint32_t>(640, 480, 0x000000FF);  // alpha 0 is not transparent
    backend::PresentFrame(window, backend::Frame{a8.data(), 640, 480, 640 * 4, D3DFMT_A8R8G8B8}, false);
    EXPECT_EQ(shownPixel(window, 320, 240), 0x0000FFu);

    auto r5 = filled<uint16_t>(640, 480, 0xF800);
    backend::PresentFrame(window, backend::Frame{r5.data(), 640, 480, 640 * 2, D3DFMT_R5G6B5}, false);
    EXPECT_EQ(shownPixel(window, 320, 240), 0xFF0000u);

    auto x1 = filled<uint16_t>(640, 480, 0x83E0);  // the unused top bit set: still green
    backend::PresentFrame(window, backend::Frame{x1.data(), 640, 480, 640 * 2, D3DFMT_X1R5G5B5}, false);
    EXPECT_EQ(shownPixel(window, 320, 240), 0x00FF00u);

    // A padded pitch is honoured.
    std::vector<uint32_t> padded(size_t(8) * 2, 0);
    for (int x = 0; x < 4; ++x) padded[x] = padded[8 + x] = 0x00FFFFFF;
    backend::PresentFrame(window, backend::Frame{padded.data(), 4, 2, 8 * 4, D3DFMT_X8R8G8B8}, false);
    EXPECT_EQ(shownPixel(window, 320, 400), 0xFFFFFFu) << "stretched over the client area";

    // What cannot be shown is left alone, quietly.
    backend::PresentFrame(window, backend::Frame{nullptr, 640, 480, 640 * 4, D3DFMT_X8R8G8B8}, false);
    backend::PresentFrame(window, backend::Frame{x8.data(), 640, 480, 640 * 4, D3DFMT_UNKNOWN}, false);
    backend::PresentFrame(window, backend::Frame{x8.data(), 0, 480, 640 * 4, D3DFMT_X8R8G8B8}, false);
    backend::PresentFrame(reinterpret_cast<HWND>(0x99), backend::Frame{x8.data(), 640, 480, 640 * 4, D3DFMT_X8R8G8B8}, false);
    backend::PresentFrame(nullptr, backend::Frame{x8.data(), 640, 480, 640 * 4, D3DFMT_X8R8G8B8}, false);
    EXPECT_EQ(shownPixel(window, 320, 400), 0xFFFFFFu);
}

TEST_F(UserTest, FullScreenFramesAreScaledToTheScreenKeepingTheirAspect) {
    HWND window = CreateRecorder(WS_POPUP | WS_VISIBLE, 0, 0, 1280, 1024);
    auto white = filled<uint32_t>(640, 320, 0x00FFFFFF);  // 2:1, on a 5:4 screen: bars above and below
    backend::PresentFrame(window, backend::Frame{white.data(), 640, 320, 640 * 4, D3DFMT_X8R8G8B8}, true);
    EXPECT_EQ(shownPixel(window, 640, 512), 0xFFFFFFu);
    EXPECT_EQ(shownPixel(window, 0, 192), 0xFFFFFFu) << "full width";
    EXPECT_EQ(shownPixel(window, 640, 191), 0x000000u) << "black bar above";
    EXPECT_EQ(shownPixel(window, 640, 832), 0x000000u) << "black bar below";

    auto tall = filled<uint32_t>(100, 200, 0x00FFFFFF);
    backend::PresentFrame(window, backend::Frame{tall.data(), 100, 200, 100 * 4, D3DFMT_X8R8G8B8}, true);
    EXPECT_EQ(shownPixel(window, 640, 512), 0xFFFFFFu);
    EXPECT_EQ(shownPixel(window, 383, 512), 0x000000u) << "bars left and right: 512 wide in the middle";
    EXPECT_EQ(shownPixel(window, 384, 512), 0xFFFFFFu);
    EXPECT_EQ(shownPixel(window, 896, 512), 0x000000u);
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
    EXPECT_EQ(shownPixel(dialog, 200, 100), 0x0000FFu);
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
