#!/bin/bash
# The main window on a real X server: its size as X reports it, windowed and full screen, the
# frame it asks the window manager for, and a real key press (XTEST, through xdotool) reaching
# MainWindowProc.
set -u
probe="$FONTLOOM_BUILD_DIR/tests/window_probe"
for tool in Xvfb xdotool xwininfo xprop; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed (xvfb, xdotool, x11-utils)"; exit 1; }
done
[ -x "$probe" ] || { echo "FAIL: $probe is not built"; exit 1; }

source "$FONTLOOM_SOURCE_DIR/tests/support/x_session.sh"
work=$(mktemp -d)
probe_pid=""
cleanup() {
    [ -n "$probe_pid" ] && kill "$probe_pid" 2>/dev/null
    stop_x_server
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
start_x_server
cd "$work"
fails=0

# check MODE EXPECTED_GEOMETRY [EXPECTED_HINTS]: open the probe, compare X's geometry and the Motif
# hints, press Escape, see it quit.
check() {
    local mode=$1 expected=$2 hints=${3:-}
    FONTLOOM_HEADLESS=0 "$probe" "$mode" >"$work/probe.out" 2>&1 &
    probe_pid=$!
    local window=""
    for _ in $(seq 100); do
        window=$(x_client xdotool search --onlyvisible --name '^Fontloom probe$' 2>/dev/null | head -n1)
        [ -n "$window" ] && grep -q '^open' "$work/probe.out" && break
        sleep 0.1
    done
    if [ -z "$window" ]; then
        echo "FAIL ($mode): no window named 'Fontloom probe' appeared"; cat "$work/probe.out"; fails=1; return
    fi
    sleep 0.3  # let a full-screen change settle
    local info geometry
    info=$(x_client xwininfo -id "$window")
    geometry="$(awk '/Width:/ {print $2}' <<<"$info")x$(awk '/Height:/ {print $2}' <<<"$info")"
    if [ "$geometry" = "$expected" ]; then
        echo "ok ($mode): X reports the window's client area as $geometry"
    else
        echo "FAIL ($mode): X reports $geometry, expected $expected"; echo "$info"; fails=1
    fi

    if [ -n "$hints" ]; then
        local asked
        asked=$(x_client xprop -id "$window" _MOTIF_WM_HINTS)
        case "$asked" in
            *"= $hints") echo "ok ($mode): the frame asked for: $hints" ;;
            *) echo "FAIL ($mode): the Motif hints are '$asked', expected $hints"; fails=1 ;;
        esac
    fi

    x_client xdotool windowfocus --sync "$window" || x_client xdotool windowfocus "$window"
    x_client xdotool key Escape
    for _ in $(seq 100); do kill -0 "$probe_pid" 2>/dev/null || break; sleep 0.1; done
    if kill -0 "$probe_pid" 2>/dev/null; then
        echo "FAIL ($mode): the probe still runs 10 s after Escape"; fails=1
    else
        wait "$probe_pid"
        local status=$?
        if [ "$status" = 0 ] && grep -q '^quit$' "$work/probe.out"; then
            echo "ok ($mode): Escape from xdotool reached MainWindowProc"
        else
            echo "FAIL ($mode): the probe ended with $status"; fails=1
        fi
    fi
    probe_pid=""
    cat "$work/probe.out"
}

# WS_OVERLAPPED | WS_SYSMENU: move and close (functions 0x4 | 0x20), border, title and the system
# menu (decorations 0x2 | 0x8 | 0x10); no minimise, maximise or sizing.
check windowed 640x480 "0x3, 0x24, 0x1a, 0x0, 0x0"
check full 1280x1024
exit $fails
