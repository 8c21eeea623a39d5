// SDL's video: headless or a real display, the displays, and one SDL window per top-level window.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "backend/backend.h"
#include "backend/sdl_backend.h"
#include "system/environment.h"
#include "user/window_table.h"

namespace backend {
namespace sdl {
namespace {

constexpr int kMaxTopLevel = 64;
WindowEntry entries[kMaxTopLevel];

bool videoTried = false;
bool videoStarted = false;
VideoStart videoStart = VideoStart::NoDisplay;
bool headless = false;
bool simPrefersHeadless = false;  // a test process: no windows on the developer's desktop
bool cursorVisible = true;

// FONTLOOM_HEADLESS=1 asks for it, =0 forbids it; otherwise headless when there is no display.
bool chooseHeadless() {
    const platform_env::Headless asked = platform_env::Read().headless;
    if (asked == platform_env::Headless::Forced) return true;
    if (asked == platform_env::Headless::Forbidden) return false;
    if (simPrefersHeadless) return true;
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    if (driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0)) return true;
    return !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY");
}

bool onRealDisplay() {
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver && std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0;
}

// The window systems the environment names, X11 first as SDL has it (SDL_VIDEODRIVER still
// chooses): SDL then tries no other, and says nothing of them.
const char* namedDrivers() {
    const bool x11 = std::getenv("DISPLAY"), wayland = std::getenv("WAYLAND_DISPLAY");
    return x11 && wayland ? "x11,wayland" : x11 ? "x11" : wayland ? "wayland" : "";
}

bool startVideo(bool offscreen) {
    SDL_SetHint(SDL_HINT_VIDEODRIVER, offscreen ? "offscreen" : namedDrivers());
    // Frames are made in system memory, so writing them into the window's own memory (shared
    // memory under X11) is the shortest way to the screen. Otherwise SDL backs the window surface
    // with OpenGL, which without a GPU is Mesa's llvmpipe: five times slower under Xvfb, 25 times
    // offscreen, and 90 MB of LLVM. SDL_FRAMEBUFFER_ACCELERATION in the environment still chooses.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (offscreen) return SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    // A busy X server now and then drops a new connection, and SDL then quietly runs on its
    // offscreen driver: a program nobody can see. That is a failed start; a few tries ride it out.
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (attempt > 0) SDL_Delay(50);
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) continue;
        if (onRealDisplay()) return true;
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        SDL_SetError("the display cannot be reached");
    }
    return false;
}

Uint32 windowFlags(const user::Window& window) {
    Uint32 flags = SDL_WINDOW_HIDDEN;
    if (window.style & WS_POPUP) flags |= SDL_WINDOW_BORDERLESS;
    if (window.style & WS_THICKFRAME) flags |= SDL_WINDOW_RESIZABLE;
    if (window.exStyle & WS_EX_TOOLWINDOW) flags |= SDL_WINDOW_UTILITY;
    return flags;
}

// A pop-up that covers the whole screen is a full-screen window; on a display it takes it over.
bool coversScreen(const user::Window& window) {
    if (!(window.style & WS_POPUP)) return false;
    return window.rect.left == 0 && window.rect.top == 0 && window.rect.right == GetSystemMetrics(SM_CXSCREEN) &&
           window.rect.bottom == GetSystemMetrics(SM_CYSCREEN);
}

// The client area on the screen; SDL windows are at least 1 x 1.
SDL_Rect clientArea(const user::Window& window) {
    RECT client = user::ClientRectOnScreen(window);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    return SDL_Rect{client.left, client.top, width > 0 ? width : 1, height > 0 ? height : 1};
}

// The window manager shows the class's icon (a stock one; the program loads no other).
void showClassIcon(SDL_Window* sdlWindow, const user::Window& window) {
    const uint32_t* pixels = user::IconPixels(user::ClassOf(window).icon);
    if (!pixels) return;
    SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(pixels), user::kIconSize,
                                                           user::kIconSize, 32, user::kIconSize * 4,
                                                           SDL_PIXELFORMAT_ARGB8888);
    if (!icon) return;
    SDL_SetWindowIcon(sdlWindow, icon);  // SDL keeps a copy
    SDL_FreeSurface(icon);
}

// SDL 2.26 never lets go of a destroyed Wayland window's libdecor frame, which keeps pointing
// at the window's freed data: the compositor's next configure of it (a change of focus is
// enough) crashes the program. So a closed Wayland window is only hidden, and kept to the end.
constexpr int kMaxParked = 8;
SDL_Window* parked[kMaxParked];
int parkedCount = 0;

void destroyEntry(WindowEntry& entry) {
    const bool onWayland = entry.wayland != nullptr;
    CloseWaylandOutput(entry.wayland);
    if (onWayland && parkedCount < kMaxParked) {
        SDL_HideWindow(entry.sdl);
        parked[parkedCount++] = entry.sdl;
    } else if (entry.sdl) {
        SDL_DestroyWindow(entry.sdl);
    }
    entry = WindowEntry{};
}

}  // namespace

namespace {

bool displayNamed() { return std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY"); }

// SDL tries X11 first; Wayland when asked for, or when there is only a Wayland display.
bool waylandAhead() {
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    if (driver && *driver) return std::strncmp(driver, "wayland", 7) == 0;
    return !std::getenv("DISPLAY") && std::getenv("WAYLAND_DISPLAY");
}

constexpr const char* kWaysOut =
    "run it under Xvfb: xvfb-run -s '-screen 0 1280x1024x24' fontloom, or headless: FONTLOOM_HEADLESS=1 fontloom";

VideoStart startOnce() {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");  // Ctrl+C ends the program as usual
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    headless = chooseHeadless();
    std::string unusable;
    if (!headless && waylandAhead() && !WaylandDisplayIsUsable(&unusable)) {
        std::fprintf(stderr, "fontloom: the display cannot be used (%s); %s\n", unusable.c_str(), kWaysOut);
        return VideoStart::UnusableDisplay;
    }
    if (startVideo(headless)) return VideoStart::Ready;
    if (headless) {
        std::fprintf(stderr, "fontloom: SDL video does not start (%s); no window will appear\n", SDL_GetError());
        return VideoStart::NoDisplay;
    }
    if (!displayNamed()) {  // only FONTLOOM_HEADLESS=0 gets here: headless would have been chosen
        std::fprintf(stderr, "fontloom: no display (DISPLAY is not set), and FONTLOOM_HEADLESS=0 forbids running without one; %s\n",
                     kWaysOut);
        return VideoStart::NoDisplay;
    }
    // A display that is there and cannot be used is said so, not run on invisibly.
    std::string named;
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY"})
        if (const char* value = std::getenv(variable)) named += std::string(variable) + "=" + value + ": ";
    std::fprintf(stderr, "fontloom: the display cannot be used (%s%s); %s\n", named.c_str(), SDL_GetError(), kWaysOut);
    return VideoStart::UnusableDisplay;
}

}  // namespace

bool EnsureVideo() {
    if (!videoTried) {
        videoTried = true;
        videoStart = startOnce();
        videoStarted = videoStart == VideoStart::Ready;
        if (videoStarted) {
            SDL_StopTextInput();  // characters come from TranslateMessage
            SDL_ShowCursor(cursorVisible ? SDL_ENABLE : SDL_DISABLE);
        }
    }
    return videoStarted;
}

bool VideoStarted() { return videoStarted; }

WindowEntry* EntryOf(HWND topLevel) {
    if (!topLevel) return nullptr;
    for (WindowEntry& entry : entries)
        if (entry.window == topLevel) return &entry;
    return nullptr;
}

HWND WindowOfSdlId(Uint32 windowId) {
    if (windowId != 0) {
        for (const WindowEntry& entry : entries)
            if (entry.sdl && SDL_GetWindowID(entry.sdl) == windowId) return entry.window;
    }
    return nullptr;
}

void SendWaitingFrames() {
    for (WindowEntry& entry : entries)
        if (entry.wayland) SendWaitingWaylandRows(*entry.wayland);
}

void CommitWaylandFrames() {
    for (WindowEntry& entry : entries)
        if (entry.wayland) CommitWaylandFrame(*entry.wayland);
}

Uint32 SdlIdOf(HWND topLevel) {
    WindowEntry* entry = EntryOf(topLevel);
    return entry && entry->sdl ? SDL_GetWindowID(entry->sdl) : 0;
}

}  // namespace sdl

VideoStart StartVideo() {
    sdl::EnsureVideo();
    return sdl::videoStart;
}

bool IsHeadless() {
    sdl::EnsureVideo();
    return sdl::headless;
}

void GetScreenSize(int* width, int* height) {
    SDL_DisplayMode mode;
    if (!sdl::EnsureVideo() || sdl::headless || SDL_GetDesktopDisplayMode(0, &mode) != 0) {
        *width = kHeadlessScreenWidth;
        *height = kHeadlessScreenHeight;
        return;
    }
    *width = mode.w;
    *height = mode.h;
}

int DisplayCount() {
    if (!sdl::EnsureVideo()) return 1;
    int count = SDL_GetNumVideoDisplays();
    return count > 0 ? count : 1;
}

const char* DisplayName(int index) {
    const char* name = sdl::EnsureVideo() ? SDL_GetDisplayName(index) : nullptr;
    return name ? name : "Display";
}

void OpenWindow(HWND topLevel) {
    const user::Window* window = user::FindWindow(topLevel);
    if (!window || !sdl::EnsureVideo() || sdl::EntryOf(topLevel)) return;
    sdl::WindowEntry* entry = nullptr;
    for (sdl::WindowEntry& candidate : sdl::entries) {
        if (!candidate.window) {
            entry = &candidate;
            break;
        }
    }
    if (!entry) return;  // more top-level windows than the program ever makes: just not shown
    const SDL_Rect client = sdl::clientArea(*window);
    entry->sdl = SDL_CreateWindow(window->text.c_str(), client.x, client.y, client.w, client.h, sdl::windowFlags(*window));
    if (!entry->sdl) {
        std::fprintf(stderr, "fontloom: SDL_CreateWindow failed: %s\n", SDL_GetError());
        *entry = sdl::WindowEntry{};
        return;
    }
    sdl::KeepClientInPlace(entry->sdl);
    const bool overlapped = !(window->style & (WS_POPUP | WS_CHILD));  // always captioned
    if (overlapped || (window->style & WS_CAPTION) == WS_CAPTION) sdl::AskForFrame(entry->sdl, window->style);
    sdl::showClassIcon(entry->sdl, *window);
    entry->wayland = sdl::OpenWaylandOutput(entry->sdl);
    entry->window = topLevel;
}

void SyncWindow(HWND topLevel) {
    const user::Window* window = user::FindWindow(topLevel);
    sdl::WindowEntry* entry = sdl::EntryOf(topLevel);
    if (!window || !entry) return;
    SDL_SetWindowTitle(entry->sdl, window->text.c_str());
    const SDL_Rect client = sdl::clientArea(*window);
    const bool fullScreen = !sdl::headless && sdl::coversScreen(*window);
    SDL_SetWindowFullscreen(entry->sdl, fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    if (!fullScreen) {
        int oldWidth = 0, oldHeight = 0, oldX = 0, oldY = 0;
        SDL_GetWindowSize(entry->sdl, &oldWidth, &oldHeight);
        SDL_GetWindowPosition(entry->sdl, &oldX, &oldY);
        const bool resized = oldWidth != client.w || oldHeight != client.h;
        if (resized) SDL_SetWindowSize(entry->sdl, client.w, client.h);  // which may move it too
        if (resized || oldX != client.x || oldY != client.y) sdl::MoveClientTo(entry->sdl, client.x, client.y);
    }
    const bool shown = (SDL_GetWindowFlags(entry->sdl) & SDL_WINDOW_SHOWN) != 0;
    const bool visible = (window->style & WS_VISIBLE) != 0;
    if (visible && !shown) {
        SDL_ShowWindow(entry->sdl);
        if (!sdl::headless) SDL_RaiseWindow(entry->sdl);
    } else if (!visible && shown) {
        SDL_HideWindow(entry->sdl);
    }
}

void CloseWindow(HWND topLevel) {
    if (sdl::WindowEntry* entry = sdl::EntryOf(topLevel)) sdl::destroyEntry(*entry);
}

void SetCursorVisible(bool visible) {
    sdl::cursorVisible = visible;
    if (sdl::videoStarted) SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

void ResetWindows() {
    sdl::simPrefersHeadless = true;
    for (sdl::WindowEntry& entry : sdl::entries)
        if (entry.window) sdl::destroyEntry(entry);
    if (sdl::videoStarted) SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
}

}  // namespace backend
