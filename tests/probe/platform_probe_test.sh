#!/usr/bin/env bash
# The platform as the program sees it: the probe (platform_probe.cpp) records window rectangles,
# the messages of windows and the queue, DrawTextA's answers and the preferences window played
# with real key presses and clicks (xdotool) in a private X server. platform_probe_answers.txt is the Windows build's recording under Wine, less
# Wine's known differences from the real platform (below). Run plainly, the native build must
# answer the same; run as "platform_probe_test.sh wine" (the platform_probe_wine_test), the Windows
# build is recorded again and must still give that file (FONTLOOM_PROBE_RECORD=1 rewrites it).
set -u
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../support/x_session.sh"
mode="${1:-native}"
answers="$here/platform_probe_answers.txt"
native="${FONTLOOM_BUILD_DIR:?}/tests/probe/platform_probe"
exe="${FONTLOOM_SOURCE_DIR:?}/${FONTLOOM_WINDOWS_BUILD:-build-win}/tests/probe/platform_probe.exe"
command -v xdotool >/dev/null 2>&1 || { echo "FAIL: xdotool is not installed" >&2; exit 1; }
if [ "$mode" = wine ]; then
  skip_without_wine "$exe" "the recorded answers were not checked against the Windows build"
else
  [ -x "$native" ] || { echo "FAIL: $native is not built" >&2; exit 1; }
fi

# Known differences of Wine, as sed expressions that turn Wine's line into the real platform's:
# - Wine's caption is 19 px; the platform's classic caption is 20 (a 640 x 480 overlapped window
#   has a 634 x 454 client area). Every other height is written less the caption, so this is
#   the one line it shows in.
# - Glyphs: Wine draws them half a pixel blurred, which is why DrawTextA's numbers are compared here and
#   no pixels are.
# - CB_SETCURSEL past the end of the list clears the selection (as documented: CB_ERR, and the
#   selection is cleared); Wine keeps it (the 2 selected before).
known_wine_differences='s/^metrics SM_CYCAPTION 19$/metrics SM_CYCAPTION 20/
s/^\(list answers.*; past the end: -1\) 2 /\1 -1 /'

# The sequences played in the preferences window (xdotool key names, and clicks in client
# coordinates: see play), one a line; the probe takes the F9 or F8 after each as its end. The
# list has six entries. The choices that Okay stores stay for the sequences after it, as in the
# program.
sequences=(
  "Return"
  "Escape"
  "Tab Return"
  "Tab Up Return"
  "Tab Tab Tab Tab Tab Tab Tab Return"
  "Tab Tab Down Tab"
  "Tab space Tab Tab"
  "shift+Tab Return"
  "shift+Tab shift+Tab shift+Tab Left"
  "space Down Left Return"
  "Tab Down Down Tab Down Tab Tab shift+Tab"
  "Tab Tab Tab Tab Tab Down Return"
  "Tab Tab Tab Tab Tab End"
  "Tab Tab Tab Tab Tab End Home Down"
  "Tab Tab Tab Tab Tab Next"
  "Tab Tab Tab Tab Tab Next Next Prior"
  "Tab Tab Tab Tab Tab F4"
  "Tab Tab Tab Tab Tab F4 Down Down Return"
  "Tab Tab Tab Tab alt+Down Down Escape Return"
  "Tab Tab Tab Tab Tab alt+Down End Return Return"
  "Tab Tab Tab Tab Tab F4 Next Tab"
  "Tab Tab Tab Tab Tab F4 Home Next Escape Escape"
  "Tab Tab Tab Tab Tab F4 Up F4 Right Tab Return"
  "Tab Tab Tab Tab Tab alt+Up Next Next Return Prior shift+Tab space"
  "Tab Tab Tab Tab Tab Tab space"
  "Tab Tab Tab Tab Tab Tab Tab Right Down Left Return"
  "Tab Tab Right Right Up Tab space"
  "click:120,47 click:260,75 click:100,145 click:100,176 click:130,252"
  "Escape"
  "click:120,75 click:260,47 click:150,30 click:341,252"
  "click:100,145 click:351,178 click:100,176"
  "click:100,145 click:351,178 click:351,178 click:351,166 click:100,163"
  "Tab click:100,180"
  "click:100,145 click:120,47"
  "down:130,252 up:130,300"
  "click:120,75 click:290,252"
)

# play KEY|click:X,Y|down:X,Y|up:X,Y...: real key presses (XTEST) to the focused window, so that
# Shift is really held, and the left button pressed, released or both at a point of the
# preferences window's client area: 420 x 300 centred on the screen, its client area inside a
# 3 px frame under the caption.
play() {
  local token x y keys=()
  for token in "$@" .; do
    case "$token" in
      *:* | .) [ ${#keys[@]} = 0 ] || x_client xdotool key --delay 20 "${keys[@]}"; keys=() ;;&
      *:*)
        IFS=, read -r x y <<<"${token#*:}"
        x_client xdotool mousemove $((433 + x)) $((365 + caption + y)) \
          $(case "$token" in click:*) echo click 1 ;; down:*) echo mousedown 1 ;; *) echo mouseup 1 ;; esac)
        sleep 0.1 ;;
      .) ;;
      *) keys+=("$token") ;;
    esac
  done
}

work="$(mktemp -d "${TMPDIR:-/tmp}/fontloom-probe.XXXXXX")"
trap 'stop_wine; stop_x_server; rm -rf "$work"' EXIT

# record NAME COMMAND...: runs the probe in $work/NAME, plays every sequence, keeps what it wrote
# (less the carriage returns of the Windows C runtime) in $work/NAME.txt.
record() {
  local name=$1 dir="$work/$1" n started=$SECONDS
  shift
  mkdir -p "$dir"
  ( cd "$dir" && { timeout 300 "$@" rects windows text dialog "${#sequences[@]}" >out 2>err & echo $! >pid; wait $!; echo $? >status; } ) &
  local pid=$!
  for n in $(seq "${#sequences[@]}"); do
    for _ in $(seq 600); do { [ -e "$dir/ready.$n" ] || [ -e "$dir/status" ]; } && break; sleep 0.05; done
    caption="$(tr -d '\r' <"$dir/out" | awk '/^metrics SM_CYCAPTION/ { print $3; exit }')"
    if ! x_client timeout 20 xdotool search --sync --onlyvisible --name "^Probe $n : User Preferences$" \
         windowfocus --sync %1; then
      echo "FAIL [$name]: no preferences window for sequence $n" >&2
      kill "$(cat "$dir/pid")" 2>/dev/null
      break
    fi
    if [ "$name$n" = native1 ]; then  # the preferences window offers moving only: no close box
      hints="$(x_client xprop -id "$(x_client xdotool getwindowfocus)" _MOTIF_WM_HINTS)"
      [ "${hints#*= }" = "0x3, 0x4, 0xa, 0x0, 0x0" ] || { echo "FAIL: the preferences window asks for $hints" >&2; failed=1; }
    fi
    # shellcheck disable=SC2086  # a sequence is a list of key names and clicks
    play ${sequences[$((n - 1))]} "$([ $((n % 2)) = 1 ] && echo F9 || echo F8)"
    touch "$dir/sent.$n"
  done
  wait "$pid"
  echo "$name: $((SECONDS - started)) s"
  tr -d '\r' <"$dir/out" >"$work/$name.txt"
  [ "$(cat "$dir/status")" = 0 ] || { echo "FAIL [$name]: the probe ended with $(cat "$dir/status"): $(head -c 300 "$dir/err")" >&2; return 1; }
}

start_x_server
if [ "$mode" = wine ]; then
  # One prefix serves every run (a fresh one costs Wine's first boot). Its windows are not left to
  # a window manager: there is none, and Wine would wait 2 s for one whenever a window goes.
  prefix="$FONTLOOM_BUILD_DIR/tests/probe/wine-prefix"
  if [ -f "$prefix/user.reg" ] && grep -q '"Managed"="N"' "$prefix/user.reg"; then
    export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  else
    make_wine_prefix "$prefix"
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  fi
  cp "$exe" "$work/platform_probe.exe"
  record wine wine "$work/platform_probe.exe" || exit 1
  sed -i -e "$known_wine_differences" "$work/wine.txt"
else
  record native env FONTLOOM_HEADLESS=0 "$native" || exit 1
fi
for n in $(seq "${#sequences[@]}"); do sed -i "s/^$n: /$n [${sequences[$((n - 1))]}]: /" "$work/$mode.txt"; done
if [ "$mode" = wine ] && [ "${FONTLOOM_PROBE_RECORD:-0}" = 1 ]; then cp "$work/wine.txt" "$answers"; fi
[ "${failed:-0}" = 0 ] || exit 1
if diff -u --label "Wine's recorded answers" --label "$mode" "$answers" "$work/$mode.txt"; then
  echo "$mode answers as recorded under Wine: $(wc -l <"$answers") lines, ${#sequences[@]} key sequences"
else
  echo "FAIL: $mode answers otherwise than the Windows build under Wine (above)" >&2
  exit 1
fi
