# A private X server for tests that drive real windows: start_x_server sets DISPLAY.
# Windows are found by name and driven with real key presses (xdotool).

start_x_server() {
  local fd_file
  fd_file="$(mktemp)"
  Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp >"$fd_file" 2>/dev/null &
  x_server_pid=$!
  for _ in $(seq 100); do
    [ -s "$fd_file" ] && break
    sleep 0.1
  done
  if [ ! -s "$fd_file" ]; then
    echo "FAIL: Xvfb did not start" >&2
    exit 1
  fi
  export DISPLAY=":$(head -1 "$fd_file")"
  rm -f "$fd_file"
}

stop_x_server() {
  [ -n "${x_server_pid:-}" ] || return 0
  kill "$x_server_pid" 2>/dev/null
  wait "$x_server_pid" 2>/dev/null || true
}

# wait_for_window NAME_REGEX [SECONDS]: prints the window id once a window of that name is mapped.
wait_for_window() {
  local id
  for _ in $(seq $((${2:-30} * 5))); do
    id="$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1)"
    if [ -n "$id" ]; then
      echo "$id"
      return 0
    fi
    sleep 0.2
  done
  return 1
}

# press WINDOW KEY...: real key presses to that window.
press() {
  local window="$1"
  shift
  xdotool windowfocus --sync "$window" 2>/dev/null || true
  xdotool key --window "$window" "$@" 2>/dev/null  # the window may be gone before the key is up
}

# window_geometry WINDOW: sets win_x, win_y, win_width, win_height as the X server has them.
window_geometry() {
  eval "$(xwininfo -id "$1" | awk '
    /Absolute upper-left X/ { print "win_x=" $NF }
    /Absolute upper-left Y/ { print "win_y=" $NF }
    /Width:/ { print "win_width=" $NF }
    /Height:/ { print "win_height=" $NF }')"
}

# bright_pixels WINDOW X Y W H: how many pixels of that part of the window are light grey to white.
bright_pixels() {
  local shot
  shot="$(mktemp --suffix=.png)"
  import -window "$1" -crop "$4x$5+$2+$3" +repage "$shot" 2>/dev/null
  convert "$shot" -colorspace Gray -threshold 60% -format "%[fx:int(mean*w*h+0.5)]" info: 2>/dev/null
  rm -f "$shot"
}
