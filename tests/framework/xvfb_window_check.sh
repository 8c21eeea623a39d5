#!/bin/bash
# The program's main window on a real X server, windowed and full screen: its size as X has it,
# the frame it asks the window manager for, and a real Escape (XTEST) ending the run.
set -u
program="$FONTLOOM_BUILD_DIR/app/fontloom"
source "$FONTLOOM_SOURCE_DIR/tests/support/x_session.sh"
work=$(mktemp -d)
trap 'stop_x_server; rm -rf "$work"' EXIT
start_x_server
cp "$FONTLOOM_SOURCE_DIR/app/sample/text.txt" "$work/"
fails=0

# check MODE SIZE [HINTS] -- KEYS: the keys pick the mode in the preferences window.
check() {
    (cd "$work" && FONTLOOM_HEADLESS=0 timeout 60 "$program" >"$work/out" 2>&1) &
    local pid=$! mode=$1 size=$2 hints=$3 prefs window
    shift 4
    prefs=$(wait_for_window 'User Preferences$' 30) && press "$prefs" "$@"
    window=$(wait_for_window '^Fontloom$' 30) || { echo "FAIL ($mode): no main window"; fails=1; }
    sleep 0.5  # let a full-screen change settle
    window_geometry "$window"
    [ "${win_width}x$win_height" = "$size" ] || { echo "FAIL ($mode): X has ${win_width}x$win_height"; fails=1; }
    if [ -n "$hints" ] && [[ "$(x_client xprop -id "$window" _MOTIF_WM_HINTS)" != *"= $hints" ]]; then
        echo "FAIL ($mode): the Motif hints are not $hints"; fails=1
    fi
    press "$window" Escape
    wait "$pid" || { echo "FAIL ($mode): Escape did not end the run well"; cat "$work/out"; fails=1; }
}

# WS_OVERLAPPED | WS_SYSMENU: move and close (functions 0x4 | 0x20), border, title and the system
# menu (decorations 0x2 | 0x8 | 0x10); no minimise, maximise or sizing.
check windowed 640x480 "0x3, 0x24, 0x1a, 0x0, 0x0" -- Return
check full 1280x1024 "" -- Tab space Return
[ "$fails" = 0 ] && echo "ok: the main window on X, windowed and full screen"
exit $fails
