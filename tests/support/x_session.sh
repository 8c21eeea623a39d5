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
  eval "$(x_client xwininfo -id "$1" | awk '/Absolute upper-left X/ { print "win_x=" $NF }
    /Absolute upper-left Y/ { print "win_y=" $NF } /Width:/ { print "win_width=" $NF } /Height:/ { print "win_height=" $NF }')"
}

# wait_for_ink WINDOW: waits until the client area shows light pixels, then a second more for a
# few hundred frames (Wine's first frame can take seconds on a busy machine).
wait_for_ink() {
  for _ in $(seq 60); do
    [ "$(x_client import -window "$1" png:- | convert - -crop 640x480+0+0 -colorspace Gray -threshold 60% \
        -format '%[fx:mean>0]' info: 2>/dev/null)" = 1 ] &&
      { sleep 1; return 0; }
    sleep 0.5
  done
  return 1
}
