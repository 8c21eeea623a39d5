// What SDL has no call for: a frame without a close box, told to an X11 window manager with
// the Motif hints. Other window systems keep their usual frame, and a close request that comes
// anyway takes the default path.
#include <SDL_syswm.h>

#include "backend/sdl_backend.h"

namespace backend {
namespace sdl {

#if defined(SDL_VIDEO_DRIVER_X11)
namespace {

// _MOTIF_WM_HINTS is five longs: which fields count, the functions the frame offers, its decorations.
constexpr long kHintFunctions = 1, kHintDecorations = 2;
constexpr long kFunctionMove = 4;
constexpr long kDecorationBorder = 2, kDecorationTitle = 8;

using InternAtomFunction = Atom (*)(Display*, const char*, Bool);
using ChangePropertyFunction = int (*)(Display*, Window, Atom, Atom, int, int, const unsigned char*, int);

}  // namespace
#endif

void OfferNoCloseBox(SDL_Window* window) {
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
    const Atom hints = internAtom(info.info.x11.display, "_MOTIF_WM_HINTS", False);
    const long values[5] = {kHintFunctions | kHintDecorations, kFunctionMove, kDecorationBorder | kDecorationTitle, 0, 0};
    changeProperty(info.info.x11.display, info.info.x11.window, hints, hints, 32, PropModeReplace,
                   reinterpret_cast<const unsigned char*>(values), 5);
#else
    (void)window;
#endif
}

}  // namespace sdl
}  // namespace backend
