# A private X server and Wine prefix for whatever drives real windows (the bench, the X tests):
# start_x_server [WxHxDEPTH] sets DISPLAY; start_desktop puts a desktop on it. Windows are found
# by name and driven with real key presses (xdotool).

start_x_server() {
  local fd_file
  fd_file="$(mktemp)"
  Xvfb -displayfd 1 -screen 0 "${1:-1280x1024x24}" -nolisten tcp >"$fd_file" 2>/dev/null &
  x_server_pid=$!
  for _ in $(seq 100); do [ -s "$fd_file" ] && break; sleep 0.1; done
  [ -s "$fd_file" ] || { echo "FAIL: Xvfb did not start" >&2; exit 1; }
  export DISPLAY=":$(head -1 "$fd_file")"
  rm -f "$fd_file"
}

stop_x_server() {
  stop_desktop
  [ -z "${x_server_pid:-}" ] || { kill "$x_server_pid" && wait "$x_server_pid"; } 2>/dev/null
  return 0
}

# start_desktop NAME [WxHxDEPTH]: a private X server with a desktop from Debian's packages on it,
# as people use them:
#   bare     no window manager
#   openbox  openbox, a reparenting window manager
#   xfwm4    xfwm4 with its compositor on (in a D-Bus session of its own, for its settings)
#   weston   weston, a Wayland compositor, in a window of the X server (its x11 backend gives it
#            a keyboard and a pointer: real key presses reach it); sets WAYLAND_DISPLAY,
#            XDG_RUNTIME_DIR and SDL_VIDEODRIVER=wayland, so that SDL takes Wayland
# Its output goes to $desktop_log. Fails the script when the desktop does not come up.
start_desktop() {
  start_x_server "${2:-1280x1024x24}"
  desktop_kind="$1"
  desktop_log="$(mktemp "${TMPDIR:-/tmp}/fontloom-desktop.XXXXXX")"
  local size="${2:-1280x1024x24}"
  case "$desktop_kind" in
    bare) return 0 ;;
    openbox) setsid openbox --sm-disable >"$desktop_log" 2>&1 & ;;
    xfwm4) setsid dbus-run-session -- xfwm4 --compositor=on --sm-client-disable >"$desktop_log" 2>&1 & ;;
    weston)
      saved_runtime_dir="${XDG_RUNTIME_DIR:-}"
      export XDG_RUNTIME_DIR WAYLAND_DISPLAY=fontloom-weston SDL_VIDEODRIVER=wayland
      XDG_RUNTIME_DIR="$(mktemp -d "${TMPDIR:-/tmp}/fontloom-runtime.XXXXXX")"
      local width="${size%%x*}" rest="${size#*x}"
      setsid weston --backend=x11-backend.so --use-pixman --width="$width" --height="${rest%%x*}" \
        --socket="$WAYLAND_DISPLAY" --idle-time=0 >"$desktop_log" 2>&1 & ;;
    *) echo "FAIL: no desktop called $desktop_kind" >&2; exit 1 ;;
  esac
  desktop_pid=$!
  for _ in $(seq 100); do desktop_ready && return 0; sleep 0.1; done
  echo "FAIL: $desktop_kind did not come up: $(tail -5 "$desktop_log")" >&2
  exit 1
}

# A window manager says it runs on the root window; weston, with its socket, and a first frame.
desktop_ready() {
  if [ "$desktop_kind" = weston ]; then
    [ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ] && grep -q "launching '.*weston-desktop-shell'" "$desktop_log"
  else
    x_client xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"
  fi
}

stop_desktop() {
  [ -z "${desktop_pid:-}" ] || kill -- -"$desktop_pid" 2>/dev/null
  [ -z "${desktop_pid:-}" ] || wait "$desktop_pid" 2>/dev/null
  [ -z "${desktop_log:-}" ] || rm -f "$desktop_log"
  if [ "${desktop_kind:-}" = weston ]; then
    rm -rf "$XDG_RUNTIME_DIR"
    unset WAYLAND_DISPLAY SDL_VIDEODRIVER
    XDG_RUNTIME_DIR="$saved_runtime_dir"
    [ -n "$XDG_RUNTIME_DIR" ] || unset XDG_RUNTIME_DIR
  fi
  desktop_pid= desktop_log= desktop_kind=
  return 0
}

# x_client COMMAND...: runs an X client, again when the server dropped its connection (a busy
# Xvfb now and then closes a new one at once), so that a key press or a look is never lost to it.
x_client() {
  local err status
  err="$(mktemp)"
  for _ in 1 2 3 4 5; do
    "$@" 2>"$err"
    status=$?
    grep -qiE "open (display|X server)|xdo instance" "$err" || break
    sleep 0.1
  done
  rm -f "$err"
  return "$status"
}

# wait_for_window NAME_REGEX [SECONDS]: prints the window id once a window of that name is mapped.
wait_for_window() {
  local id
  for _ in $(seq $((${2:-30} * 5))); do
    id="$(x_client xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1)"
    [ -z "$id" ] || { echo "$id"; return 0; }
    sleep 0.2
  done
  return 1
}

# press WINDOW KEY...: real key presses to that window. When the press makes the window go,
# xdotool fails before it lets the key go, and the X server would hold it down for whoever comes
# next: the keys are let go again, on the server's own keyboard.
press() {
  local window="$1"
  shift
  x_client xdotool windowfocus --sync "$window" || true
  x_client xdotool key --window "$window" "$@"
  x_client xdotool keyup "$@" 2>/dev/null
  return 0
}

# make_wine_prefix DIR: a fresh WINEPREFIX in DIR that starts quietly: no Mono or Gecko
# installer dialogs, no debug chatter. Needs DISPLAY. stop_wine ends its wineserver.
make_wine_prefix() {
  export WINEPREFIX="$1" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  wineboot -i >/dev/null 2>&1
}

stop_wine() {
  [ -z "${WINEPREFIX:-}" ] || ! command -v wineserver >/dev/null 2>&1 || wineserver -k 2>/dev/null
  return 0
}
