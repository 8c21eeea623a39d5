#!/usr/bin/env bash
# The program on weston, a Wayland compositor, through SDL's Wayland driver (desktop_lib.sh):
# both windows drawn, Escape and a click end it, full screen survives the focus going away and
# coming back. And a Wayland display it cannot use (a compositor without a seat, where SDL 2.26
# would crash) is one plain line and exit code 5, with "log.txt" left alone.
source "$(dirname "$0")/desktop_lib.sh"
play_desktop weston

new_case "weston without a seat"
printf 'last run\r\n' >log.txt
runtime="$(mktemp -d "${TMPDIR:-/tmp}/fontloom-runtime.XXXXXX")"
XDG_RUNTIME_DIR="$runtime" setsid weston --backend=headless-backend.so --socket=fontloom-seatless --idle-time=0 \
  >weston.log 2>&1 &
seatless=$!
for _ in $(seq 50); do [ -S "$runtime/fontloom-seatless" ] && break; sleep 0.1; done
XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY=fontloom-seatless timeout 30 "$FONTLOOM_BIN" >stdout 2>stderr
exit_code=$?
kill -- -"$seatless"
rm -rf "$runtime"
expect_exit_code 5
[ "$(wc -l <stderr)" = 1 ] && grep -q "the display cannot be used (the Wayland compositor has no seat" stderr ||
  fail "not one plain line: $(cat stderr)"
expect_file_bytes log.txt 'last run\r\n'
finish
