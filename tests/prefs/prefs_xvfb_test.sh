#!/bin/bash
# The preferences window on a real X screen: Tab to Full Screen, Space checks it, Return; the main
# window must then cover the screen. Skipped without Xvfb/xdotool.
set -u
source "$FONTLOOM_SOURCE_DIR/tests/support/x_session.sh"
program="$FONTLOOM_BUILD_DIR/app/fontloom"
for tool in Xvfb xdotool xwininfo xprop; do
  command -v "$tool" >/dev/null || { echo "SKIP: no $tool"; exit 77; }
done
[ -x "$program" ] || { echo "SKIP: $program not built (FONTLOOM_NATIVE_PROGRAM=ON)"; exit 77; }

work="$(mktemp -d)"
trap 'kill "${app_pid:-}" 2>/dev/null; stop_x_server; rm -rf "$work"' EXIT
start_x_server
cd "$work" && echo "Some text for the page." >text.txt
"$program" >"$work/out.txt" 2>&1 &
app_pid=$!

prefs="$(wait_for_window "Fontloom : User Preferences" 30)" || { echo "FAIL: no preferences window"; exit 1; }
# A captioned window without a system menu asks the window manager for no close box: the
# Motif hints offer moving only (functions 0x4, no 0x20 close).
hints="$(x_client xprop -id "$prefs" _MOTIF_WM_HINTS)"
case "$hints" in
  *"= 0x3, 0x4,"*) echo "preferences window hints: ${hints#*= }" ;;
  *) echo "FAIL: the preferences window offers a close box: $hints"; exit 1 ;;
esac
sleep 0.5  # let the window take its first paint and the focus
press "$prefs" Tab space Return

# the main window may be made again as it goes full screen: ask for it until it stays put
main=""
win_width=0 win_height=0
for _ in $(seq 50); do
  main="$(x_client xdotool search --onlyvisible --name "^Fontloom$" 2>/dev/null | tail -1)"
  if [ -n "$main" ] && window_geometry "$main" 2>/dev/null && [ "$win_width" = 1280 ]; then break; fi
  sleep 0.2
done
[ -n "$main" ] || { echo "FAIL: the main window did not open"; cat "$work/out.txt"; exit 1; }
echo "main window ${win_width}x${win_height}"
press "$main" Escape
for _ in $(seq 50); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.2; done
kill -0 "$app_pid" 2>/dev/null && { echo "FAIL: Escape did not end the program"; exit 1; }
wait "$app_pid"
status=$?
if [ "$win_width" != 1280 ] || [ "$win_height" != 1024 ]; then
  echo "FAIL: main window ${win_width}x${win_height}, full screen (1280x1024) was chosen"
  exit 1
fi
[ "$status" = 0 ] || { echo "FAIL: exit status $status"; exit 1; }
echo "PASS: Full Screen chosen with Tab, Space, Return"
