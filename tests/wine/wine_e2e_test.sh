#!/usr/bin/env bash
# The Windows build under Wine in a private X server, driven with real key presses: the same
# files and the same main window as the native program gives.
set -u
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../support/x_session.sh"

exe="${FONTLOOM_SOURCE_DIR:?}/${FONTLOOM_WINDOWS_BUILD:-build-win}/app/fontloom.exe"
sample="$FONTLOOM_SOURCE_DIR/app/sample/text.txt"

if ! command -v wine >/dev/null 2>&1; then
  echo "SKIPPED: wine is not installed (apt-get install wine wine64); the Windows build was not run"
  exit 77
fi
if [ ! -f "$exe" ]; then
  echo "FAIL: $exe is not built ('make windows')" >&2
  exit 1
fi

work="$(mktemp -d "${TMPDIR:-/tmp}/fontloom-wine.XXXXXX")"
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
failures=0
trap 'wineserver -k 2>/dev/null; stop_x_server; rm -rf "$work"' EXIT

start_x_server
wineboot -i >/dev/null 2>&1

fail() {
  echo "FAIL [$case_name]: $*" >&2
  failures=$((failures + 1))
}

# start_case NAME [no-text]: a fresh folder; starts the program there and waits for its first window.
start_case() {
  case_name="$1"
  case_dir="$work/$1"
  mkdir -p "$case_dir"
  [ "${2:-}" = no-text ] || cp "$sample" "$case_dir/text.txt"
  cp "$exe" "$case_dir/"
  ( cd "$case_dir" && timeout 60 wine fontloom.exe >/dev/null 2>&1; echo $? >"$case_dir/exit_code" ) &
  case_pid=$!
  prefs_window="$(wait_for_window "User Preferences" 60)" || fail "no preferences window"
}

end_case() {
  wait "$case_pid"
  local code
  code="$(cat "$case_dir/exit_code")"
  [ "$code" = 0 ] || fail "exit code $code"
}

expect_bytes() {
  if [ ! -f "$case_dir/$1" ]; then
    fail "$1 is missing"
  elif [ "$(od -An -c "$case_dir/$1" | tr -s ' \n' ' ')" != "$(printf "$2" | od -An -c | tr -s ' \n' ' ')" ]; then
    fail "$1 holds: $(od -An -c "$case_dir/$1" | head -3 | tr -s ' \n' ' ')"
  fi
}

expect_report() {
  LC_ALL=C awk 'NR == 1 && !/^[0-9]+\.[0-9][0-9] Fontloom\r$/ { bad = 1 }
                NR == 2 && !/^[0-9]+ min\r$/ { bad = 1 }
                NR == 3 && !/^[0-9]+ max\r$/ { bad = 1 }
                END { exit bad || NR != 3 }' "$case_dir/FPS.txt" 2>/dev/null ||
    fail "FPS.txt is not a three-line report"
}

# Escape in the preferences window: nothing opens, the log says why.
start_case escape-in-preferences
press "$prefs_window" Escape
end_case
expect_bytes log.txt 'Exiting\r\n\r\n'
[ ! -e "$case_dir/FPS.txt" ] || fail "FPS.txt was written"

# Return takes the defaults (windowed, HAL); the page is drawn; Escape ends it.
start_case return-then-escape
press "$prefs_window" Return
if main_window="$(wait_for_window "^Fontloom$" 30)"; then
  sleep 2
  window_geometry "$main_window"
  [ "$win_width" = 640 ] && [ "$win_height" = 480 ] || fail "client area ${win_width}x${win_height}"
  # The outer window is centred, so the client area sits a caption's height below the middle.
  [ $((win_x * 2 + win_width)) -eq 1280 ] || fail "client area not centred across: x=$win_x"
  offset=$((win_y * 2 + win_height - 1024))
  [ "$offset" -ge 0 ] && [ "$offset" -le 60 ] || fail "client area not centred down: y=$win_y"
  fps_ink="$(bright_pixels "$main_window" 0 0 200 24)"
  page_ink="$(bright_pixels "$main_window" 0 30 640 450)"
  echo "main window: client ${win_width}x${win_height} at ($win_x,$win_y); light pixels: $fps_ink in the frame-rate line, $page_ink on the page"
  [ "${fps_ink:-0}" -gt 100 ] || fail "no frame-rate line drawn ($fps_ink light pixels)"
  [ "${page_ink:-0}" -gt 5000 ] || fail "no page drawn ($page_ink light pixels)"
  press "$main_window" Escape
else
  fail "no main window"
fi
end_case
expect_bytes log.txt ''
expect_report

# Without text.txt the window opens and closes again, and the log says so.
start_case missing-text no-text
press "$prefs_window" Return
end_case
expect_bytes log.txt 'Error opening file for read\r\n'
[ ! -e "$case_dir/FPS.txt" ] || fail "FPS.txt was written"

[ "$failures" -eq 0 ] && echo "all Wine scenarios passed"
exit $((failures == 0 ? 0 : 1))
