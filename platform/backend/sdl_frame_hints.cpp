// What SDL has no call for: a frame with exactly the boxes the style asks for (WS_SYSMENU gives
// the close box, WS_MINIMIZEBOX / WS_MAXIMIZEBOX theirs, WS_THICKFRAME the sizing border), told
// to an X11 window manager with the Motif hints. Other window systems keep their usual frame,
// and a close request that comes anyway takes the default path.
#include <SDL_syswm.h>

#include "backend/sdl_backend.h"

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

using InternAtomFunction = Atom (*)(Display*, const char*, Bool);
using ChangePropertyFunction = int (*)(Display*, Window, Atom, Atom, int, int, const unsigned char*, int);

}  // namespace
#endif

void AskForFrame(SDL_Window* window, DWORD style) {
#if defined(SDL_VIDEO_DRIVER_X11)
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return;
    // SDL's X11 driver has loaded libX11 already; borrowing two of its functions keeps it off
    // our link line, as it is off SDL's.
    static void* x11 = SDL_LoadObject("libX11.so.6");
    if (!x11) return;
    const auto internAtom = reinterpret_cast<InternAtomFunction>(SDL_LoadFunction(x11, "XInternAtom"));
    const auto changeProperty = reinterpret_cast<ChangePropertyFunction>(SDL_LoadFunction(x11, "XChangeProperty"));
    if (!internAtom || !changeProperty) return;
    long functions = kFunctionMove, decorations = kDecorationBorder | kDecorationTitle;
    if (style & WS_SYSMENU) {  // the boxes sit on the system menu's side of the caption
        functions |= kFunctionClose;
        decorations |= kDecorationMenu;
        if (style & WS_MINIMIZEBOX) functions |= kFunctionMinimize, decorations |= kDecorationMinimize;
        if (style & WS_MAXIMIZEBOX) functions |= kFunctionMaximize, decorations |= kDecorationMaximize;
    }
    if (style & WS_THICKFRAME) functions |= kFunctionResize, decorations |= kDecorationResize;
    const Atom hints = internAtom(info.info.x11.display, "_MOTIF_WM_HINTS", False);
    const long values[5] = {kHintFunctions | kHintDecorations, functions, decorations, 0, 0};
    changeProperty(info.info.x11.display, info.info.x11.window, hints, hints, 32, PropModeReplace,
                   reinterpret_cast<const unsigned char*>(values), 5);
#else
    (void)window;
    (void)style;
#endif
}

}  // namespace sdl
}  // namespace backend
