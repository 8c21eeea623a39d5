#!/usr/bin/env bash
# The same page in the native build (SDL, real X windows) and in the Windows build under Wine,
# one after the other in the same X server: the screenshots must break into the same lines,
# at the same heights and of the same inked widths, under a frame-rate line in the same place.
set -u
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../support/x_session.sh"

native="${FONTLOOM_BUILD_DIR:?}/app/fontloom"
exe="${FONTLOOM_SOURCE_DIR:?}/${FONTLOOM_WINDOWS_BUILD:-build-win}/app/fontloom.exe"
skip_without_wine "$exe" "the parity of the two builds was not checked"
for tool in xdotool xwininfo import convert python3; do
  command -v "$tool" >/dev/null 2>&1 || { echo "FAIL: $tool is not installed" >&2; exit 1; }
done
[ -x "$native" ] || { echo "FAIL: $native is not built" >&2; exit 1; }

work="$(mktemp -d "${TMPDIR:-/tmp}/fontloom-parity.XXXXXX")"
trap 'stop_wine; stop_x_server; rm -rf "$work"' EXIT

# shoot NAME COMMAND...: runs the program in $work/NAME on the page, takes Okay in the
# preferences window, photographs the main window's client area into $work/NAME.ppm, ends it.
shoot() {
  local name="$1" dir="$work/$1"
  shift
  mkdir -p "$dir"
  cp "$here/parity_page.txt" "$dir/text.txt"
  ( cd "$dir" && timeout 90 "$@" >"$dir/output" 2>&1; echo $? >"$dir/exit_code" ) &
  local pid=$! prefs main
  if ! prefs="$(wait_for_window "User Preferences" 60)"; then
    echo "FAIL [$name]: no preferences window" >&2
    wait "$pid"
    return 1
  fi
  press "$prefs" Return
  if ! main="$(wait_for_window "^Fontloom$" 30)"; then
    echo "FAIL [$name]: no main window" >&2
    wait "$pid"
    return 1
  fi
  wait_for_ink "$main" 30 || echo "FAIL [$name]: the main window stays dark" >&2
  window_geometry "$main"
  x_client import -window "$main" -crop 640x480+0+0 +repage "$work/$name.png" 2>/dev/null
  press "$main" Escape
  wait "$pid"
  echo "$name: client ${win_width}x${win_height} at ($win_x,$win_y), exit code $(cat "$dir/exit_code")"
  if [ "$win_width" != 640 ] || [ "$win_height" != 480 ]; then
    echo "FAIL [$name]: the client area is ${win_width}x${win_height}" >&2
    return 1
  fi
  if [ "$(cat "$dir/exit_code")" != 0 ]; then
    echo "FAIL [$name]: the program did not end cleanly: $(head -c 300 "$dir/output")" >&2
    return 1
  fi
  convert "$work/$name.png" "$work/$name.ppm" || { echo "FAIL [$name]: no screenshot" >&2; return 1; }
}

start_x_server
shoot native env FONTLOOM_HEADLESS=0 "$native" || exit 1
make_wine_prefix "$work/prefix"
cp "$exe" "$work/fontloom.exe"
shoot wine wine "$work/fontloom.exe" || exit 1

if [ -n "${FONTLOOM_PARITY_KEEP:-}" ]; then
  mkdir -p "$FONTLOOM_PARITY_KEEP" && cp "$work"/*.png "$FONTLOOM_PARITY_KEEP/"
fi
if python3 "$here/page_lines.py" compare "$work/native.ppm" "$work/wine.ppm"; then
  echo "the native build and the Windows build under Wine lay the page out alike"
else
  echo "FAIL: the two builds lay the page out differently" >&2
  exit 1
fi
