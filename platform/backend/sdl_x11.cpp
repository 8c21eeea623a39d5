// What SDL has no call for on X11, told to the window manager directly:
// - the frame the style asks for (WS_SYSMENU gives the close box, WS_MINIMIZEBOX / WS_MAXIMIZEBOX
//   theirs, WS_THICKFRAME the sizing border), with the Motif hints;
// - static gravity, so that the client area lands where Win32's arithmetic put it and the frame
//   the window manager draws goes round it. A reparenting window manager otherwise puts its
//   frame's corner at the requested point, and the client area a caption lower.
// Other window systems keep their usual frame and placement, and a close request that comes
// anyway takes the default path.
#include <SDL_syswm.h>

#include "backend/sdl_backend.h"

#if defined(SDL_VIDEO_DRIVER_X11)
#include <X11/Xutil.h>
#endif

namespace backend {
namespace sdl {

#if defined(SDL_VIDEO_DRIVER_X11)
namespace {

// _MOTIF_WM_HINTS is five longs: which fields count, the functions the frame offers, its decorations.
constexpr long kHintFunctions = 1, kHintDecorations = 2;
constexpr long kFunctionResize = 2, kFunctionMove = 4, kFunctionMinimize = 8, kFunctionMaximize = 16,
               kFunctionClose = 32;
constexpr long kDecorationBorder = 2, kDecorationResize = 4, kDecorationTitle = 8, kDecorationMenu = 16,
               kDecorationMinimize = 32, kDecorationMaximize = 64;

// SDL's X11 driver has loaded libX11 already; borrowing its functions keeps it off our link
// line, as it is off SDL's.
struct X11Calls {
    Atom (*internAtom)(Display*, const char*, Bool);
    int (*changeProperty)(Display*, Window, Atom, Atom, int, int, const unsigned char*, int);
    Status (*getNormalHints)(Display*, Window, XSizeHints*, long*);
    void (*setNormalHints)(Display*, Window, XSizeHints*);
    int (*moveWindow)(Display*, Window, int, int);
    int (*flush)(Display*);
};

template <typename Function>
bool borrow(void* library, const char* name, Function* function) {
    *function = reinterpret_cast<Function>(SDL_LoadFunction(library, name));
    return *function != nullptr;
}

const X11Calls* x11Calls() {
    static X11Calls calls{};
    static const bool loaded = [] {
        void* x11 = SDL_LoadObject("libX11.so.6");
        return x11 && borrow(x11, "XInternAtom", &calls.internAtom) &&
               borrow(x11, "XChangeProperty", &calls.changeProperty) &&
               borrow(x11, "XGetWMNormalHints", &calls.getNormalHints) &&
               borrow(x11, "XSetWMNormalHints", &calls.setNormalHints) &&
               borrow(x11, "XMoveWindow", &calls.moveWindow) && borrow(x11, "XFlush", &calls.flush);
    }();
    return loaded ? &calls : nullptr;
}

// The X window behind an SDL window, when it is one and libX11 lends its calls.
bool x11WindowOf(SDL_Window* window, Display** display, Window* xWindow) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11 || !x11Calls()) return false;
    *display = info.info.x11.display;
    *xWindow = info.info.x11.window;
    return true;
}

}  // namespace
#endif

void AskForFrame(SDL_Window* window, DWORD style) {
#if defined(SDL_VIDEO_DRIVER_X11)
    Display* display;
    Window xWindow;
    if (!x11WindowOf(window, &display, &xWindow)) return;
    long functions = kFunctionMove, decorations = kDecorationBorder | kDecorationTitle;
    if (style & WS_SYSMENU) {  // the boxes sit on the system menu's side of the caption
        functions |= kFunctionClose;
        decorations |= kDecorationMenu;
        if (style & WS_MINIMIZEBOX) functions |= kFunctionMinimize, decorations |= kDecorationMinimize;
        if (style & WS_MAXIMIZEBOX) functions |= kFunctionMaximize, decorations |= kDecorationMaximize;
    }
    if (style & WS_THICKFRAME) functions |= kFunctionResize, decorations |= kDecorationResize;
    const X11Calls& x11 = *x11Calls();
    const Atom hints = x11.internAtom(display, "_MOTIF_WM_HINTS", False);
    const long values[5] = {kHintFunctions | kHintDecorations, functions, decorations, 0, 0};
    x11.changeProperty(display, xWindow, hints, hints, 32, PropModeReplace, reinterpret_cast<const unsigned char*>(values),
                       5);
#else
    (void)window;
    (void)style;
#endif
}

void KeepClientInPlace(SDL_Window* window) {
#if defined(SDL_VIDEO_DRIVER_X11)
    Display* display;
    Window xWindow;
    if (!x11WindowOf(window, &display, &xWindow)) return;
    XSizeHints hints{};
    long supplied = 0;
    x11Calls()->getNormalHints(display, xWindow, &hints, &supplied);  // SDL's sizes and position stay
    hints.flags |= PWinGravity;
    hints.win_gravity = StaticGravity;
    x11Calls()->setNormalHints(display, xWindow, &hints);
#else
    (void)window;
#endif
}

void MoveClientTo(SDL_Window* window, int x, int y) {
#if defined(SDL_VIDEO_DRIVER_X11)
    // SDL moves the frame's corner by the borders it has seen, which static gravity already
    // accounts for: the client area itself goes to the point.
    Display* display;
    Window xWindow;
    if (x11WindowOf(window, &display, &xWindow)) {
        x11Calls()->moveWindow(display, xWindow, x, y);
        x11Calls()->flush(display);
        return;
    }
#endif
    SDL_SetWindowPosition(window, x, y);
}

}  // namespace sdl
}  // namespace backend
