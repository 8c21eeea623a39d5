# A private X server and Wine prefix for whatever drives real windows (the bench, the X tests):
# start_x_server [WxHxDEPTH] sets DISPLAY. Windows are found by name and driven with real key
# presses (xdotool).

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
  [ -z "${x_server_pid:-}" ] || { kill "$x_server_pid" && wait "$x_server_pid"; } 2>/dev/null
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

# press WINDOW KEY...: real key presses to that window (which may be gone before the key is up).
press() {
  x_client xdotool windowfocus --sync "$1" || true
  x_client xdotool key --window "$@"
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
