# The X tests' own helpers, over the X session the bench shares (tools/x_session.sh).
source "$(cd "$(dirname "${BASH_SOURCE[0]}")/../../tools" && pwd)/x_session.sh"

# skip_without_wine EXE WHAT: ends the test as skipped (77) when Wine, Xvfb or the Windows build
# EXE is missing; WHAT says what then goes unchecked.
skip_without_wine() {
  local reason=
  command -v wine >/dev/null 2>&1 || reason="wine is not installed (apt-get install wine wine64)"
  command -v Xvfb >/dev/null 2>&1 || reason="${reason:-Xvfb is not installed (apt-get install xvfb)}"
  [ -f "$1" ] || reason="${reason:-$1 is not built ('make windows')}"
  [ -z "$reason" ] || { echo "SKIPPED: $reason; $2"; exit 77; }
}

# window_geometry WINDOW: sets win_x, win_y, win_width, win_height as the X server has them.
window_geometry() {
  win_x= win_y= win_width= win_height=
  [ -n "$1" ] || return 1  # xwininfo without an id would wait for a click
  eval "$(x_client xwininfo -id "$1" | awk '/Absolute upper-left X/ { print "win_x=" $NF }
    /Absolute upper-left Y/ { print "win_y=" $NF } /Width:/ { print "win_width=" $NF } /Height:/ { print "win_height=" $NF }')"
}

# wait_for_ink WINDOW: waits until the client area shows light pixels, then a second more for a
# few hundred frames (Wine's first frame can take seconds on a busy machine).
wait_for_ink() {
  [ -n "$1" ] || return 1  # import without a window would wait for a click
  for _ in $(seq 60); do
    [ "$(x_client import -window "$1" png:- | convert - -crop 640x480+0+0 -colorspace Gray -threshold 60% \
        -format '%[fx:mean>0]' info: 2>/dev/null)" = 1 ] &&
      { sleep 1; return 0; }
    sleep 0.5
  done
  return 1
}

# x_case NAME PAGE: the program started by $launch in a fresh folder with PAGE as "text.txt"
# ("none": no page), named "$target NAME"; sets $prefs to its preferences window (on Wayland,
# where X cannot see it, once its face is on the screen). end_x_case waits for it to end, with
# exit code 0.
x_case() {
  new_case "$target $1"
  if [ "$2" = none ]; then rm text.txt; else cp "$2" text.txt; fi
  ( timeout 90 "${launch[@]}" >stderr 2>&1; echo $? >exit_code ) &
  program_pid=$!
  if [ "${desktop_kind:-}" = weston ]; then
    wait_for_screen "button face" 50000 || fail "no preferences window"
  else
    prefs="$(wait_for_window "User Preferences" 60)" || fail "no preferences window"
  fi
}
end_x_case() { wait "$program_pid"; exit_code="$(cat exit_code)"; expect_exit_code 0; }

# screen_count COLOUR: how many pixels of the screen are of that colour ("button face", the
# preferences window's, or any ImageMagick colour), as the X server shows it.
screen_count() {
  local colour="$1"
  [ "$colour" = "button face" ] && colour="rgb(212,208,200)"
  x_client import -window root png:- |
    convert - \( +clone -fill "$colour" -colorize 100 \) -compose difference -composite -colorspace Gray \
      -threshold 0 -negate -precision 12 -format '%[fx:round(mean*w*h)]' info: 2>/dev/null
}

# wait_for_screen COLOUR COUNT: until the screen shows at least COUNT pixels of COLOUR (30 s).
wait_for_screen() {
  for _ in $(seq 60); do
    [ "$(screen_count "$1")" -ge "$2" ] 2>/dev/null && return 0
    sleep 0.5
  done
  return 1
}
