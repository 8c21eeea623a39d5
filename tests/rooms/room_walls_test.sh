#!/usr/bin/env bash
# A room of the program cannot include <SDL.h>: the platform keeps SDL2, FreeType, fontconfig,
# libpng and Wayland to itself. The same file builds where SDL2 is linked, so the failure is the
# wall and not the file.
build="${FONTLOOM_BUILD_DIR:?}"
out="$(mktemp)"
trap 'rm -f "$out"' EXIT
if cmake --build "$build" --target room_includes_sdl >"$out" 2>&1; then
  echo "FAIL: a file of app/ includes <SDL.h> and builds" >&2
  exit 1
fi
grep -qE "SDL\.h.*(No such file|not found)" "$out" || { echo "FAIL: it does not build, but not for want of SDL.h:" >&2; tail -20 "$out" >&2; exit 1; }
cmake --build "$build" --target sdl_user_includes_sdl >"$out" 2>&1 ||
  { echo "FAIL: the file does not build even with SDL2 linked:" >&2; tail -20 "$out" >&2; exit 1; }
echo "app/ cannot include <SDL.h>; with SDL2 linked the same file builds"
