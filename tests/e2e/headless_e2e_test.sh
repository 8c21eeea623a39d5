#!/usr/bin/env bash
# The real program, headless, played through the FONTLOOM_SIM script: what it leaves in
# "log.txt" and "FPS.txt", its exit code, the order of its calls, and that it releases
# everything it created, newest first.
source "$(cd "$(dirname "$0")" && pwd)/e2e_lib.sh"
source "$(cd "$(dirname "$0")/../../tools" && pwd)/prefs_keys.sh"

# The millisecond timer wraps past 2^32 during the run: each pass draws one frame, then finds
# the device lost and pauses 500 ms of the manual clock, so 20 frames in 10 s average 2.00 and
# the windows of just over a second hold 4 frames (the first, from 0 to 1500 ms), then 3.
wraps() {
  local start
  for start in 0 4294966096 4294966796 4294967295; do
    echo "clock-from-$start||clock $start; key RETURN; coop $(printf 'OK LOST %.0s' {1..20}) LOST; key ESCAPE after 20 frames||expect_file_bytes FPS.txt '2.00 Fontloom\r\n3 min\r\n4 max\r\n'"
  done
}

# The preferences window's three choices, pressed as the bench and the X tests press them
# (tools/prefs_keys.sh). With the hardware device taking only X8R8G8B8 and the Reference device
# nothing, each ends its own way: windowed HAL runs, Reference is refused, and full screen finds
# no 16-bit mode.
choices() {
  local devices="formats hal X8R8G8B8; formats ref"
  echo "choice-windowed||$devices; $(prefs_sim windowed); key ESCAPE after 5 frames||expect_report; expect_all_released"
  echo "choice-reference||$devices; $(prefs_sim reference); key ESCAPE after 5 frames|Failed to create the device : D3DERR_NOTAVAILABLE\r\n|expect_no_file FPS.txt; expect_all_released"
  echo "choice-full-screen||$devices; $(prefs_sim full_screen); key ESCAPE after 5 frames|fwFind16BitMode failed to find a usable mode\r\nFailed to create the device : D3DERR_INVALIDCALL\r\n|expect_no_file FPS.txt; expect_all_released"
}

loss="OnLostDevice Reset OnResetDevice --"
run_table < <(wraps; choices; cat <<'TABLE'
# Each adapter the script makes is one the preferences window asks about.
three-adapters||adapters 3; key RETURN; key ESCAPE after 5 frames||expect_report; expect_count GetAdapterIdentifier = 3
cancel-by-escape|printf "last run\r\n" >log.txt|key ESCAPE|Exiting\r\n\r\n|expect_no_file FPS.txt; expect_count Present = 0; expect_count RegisterClassA = 0
# No preferences window (no class, or no window): the run ends as a cancel does, the class unregistered.
prefs-class-fails||key RETURN; fail RegisterClassExA|Error registering window class\r\nExiting\r\n\r\n|expect_no_file FPS.txt; expect_count CreateWindowExA = 0
prefs-window-fails||key RETURN; fail CreateWindowExA|Exiting\r\n\r\n|expect_no_file FPS.txt; expect_calls RegisterClassExA CreateWindowExA UnregisterClassA -- RegisterClassExA CreateWindowExA UnregisterClassA
# No time passes on the manual clock without a pause: an infinite average, and no window closed.
okay-then-escape||clock 0; key RETURN; key ESCAPE after 30 frames||expect_file_bytes FPS.txt 'inf Fontloom\r\n2147483647 min\r\n0 max\r\n'; expect_count Present -ge 30; expect_all_released; expect_last_calls ID3DXFont:free IDirect3DDevice9:free IDirect3D9:free DestroyWindow UnregisterClassA
# FONTLOOM_FRAME_PNG: the frame last shown is written when the device goes; a frame drawn and not
# shown (its Present failed) is not.
frame-dump|export FONTLOOM_FRAME_PNG=frame.png|clock 0; key RETURN; key ESCAPE after 5 frames||unset FONTLOOM_FRAME_PNG; [[ "$(file -b frame.png)" = "PNG image data, 640 x 480"* ]] || fail "frame.png: $(file -b frame.png)"
frame-dump-not-shown|export FONTLOOM_FRAME_PNG=frame.png|clock 0; key RETURN; fail Present after 5|Error rendering : D3DERR_INVALIDCALL\r\n|unset FONTLOOM_FRAME_PNG; expect_no_file frame.png
okay-then-click||clock 0; key RETURN; click 100 100 after 10 frames||expect_report; expect_all_released
okay-then-close||clock 0; key RETURN; close after 10 frames||expect_report; expect_all_released
# Any other key is ignored: the run goes on until Escape comes.
other-key-ignored||clock 0; key RETURN; key A after 5 frames; key SPACE after 6 frames; key ESCAPE after 40 frames||expect_report; expect_count Present -ge 40; expect_count DefWindowProcA -gt 0
missing-text|rm text.txt; printf 'old report\r\n' >FPS.txt|key RETURN|Error opening file for read\r\n|expect_file_bytes FPS.txt 'old report\r\n'; expect_count Present = 0; expect_all_released
# Lost for three polls (the font told each time, a pause each), then not reset twice with the
# first reset failing: the font is restored only after the reset that took.
lost-then-not-reset||clock 0; key RETURN; coop LOST LOST LOST NOTRESET NOTRESET; fail Reset; key ESCAPE after 20 frames||expect_report; expect_all_released; expect_count Sleep -ge 3; expect_calls $loss OnLostDevice OnLostDevice OnLostDevice Reset Reset OnResetDevice
# Lost and back between two passes: the font is told before the reset, which it would block
# otherwise, and the frames go on (a loop that never draws again times out).
not-reset-without-lost||clock 0; key RETURN; coop NOTRESET; key ESCAPE after 20 frames||expect_calls $loss OnLostDevice Reset OnResetDevice
# A Present that finds the device lost is a lost device, not a failure.
present-device-lost||clock 0; key RETURN; present OK OK DEVICELOST; key ESCAPE after 20 frames||expect_report; expect_calls $loss OnLostDevice Reset OnResetDevice
clear-fails||clock 0; key RETURN; fail Clear after 5 status 0x8876086C|Error rendering : D3DERR_INVALIDCALL\r\n|expect_report; expect_all_released; expect_count Present = 5
cooperative-level-fails||clock 0; key RETURN; coop OK OK 0x80004005|Error rendering : E_FAIL\r\n|expect_report; expect_count Present = 2
# Start-up failures: each logged once, with everything made before it released.
window-class-fails||key RETURN; fail RegisterClassA|Error registering window class\r\nFailed to create Window : E_FAIL\r\n|expect_no_file FPS.txt
window-fails||key RETURN; fail CreateWindowExA class "fw class"|Error opening window\r\nFailed to create Window : E_FAIL\r\n|expect_no_file FPS.txt; expect_all_released; expect_last_calls OutputDebugStringA UnregisterClassA OutputDebugStringA
direct3d-fails||key RETURN; fail Direct3DCreate9 after 1|Failed to create D3D : E_FAIL\r\n|expect_all_released; expect_last_calls DestroyWindow UnregisterClassA OutputDebugStringA
device-fails||key RETURN; fail CreateDevice status 0x8876086C|Failed to create the device : D3DERR_INVALIDCALL\r\n|expect_no_file FPS.txt; expect_all_released; expect_last_calls IDirect3D9:free DestroyWindow UnregisterClassA OutputDebugStringA
font-fails||key RETURN; fail D3DXCreateFontA||expect_no_file FPS.txt; expect_all_released; expect_last_calls IDirect3DDevice9:free IDirect3D9:free DestroyWindow UnregisterClassA
# The main window cannot be destroyed at the end: both steps of closing it say so, the report is written.
destroy-fails||clock 0; key RETURN; fail DestroyWindow after 1; key ESCAPE after 5 frames|Destroy Window Failed\r\nError unregistering window class\r\n|expect_report
TABLE
)

# Headless forbidden and no display: a plain message and exit code 4 before anything else, so
# the last run's log is kept.
new_case no-display
printf 'last run\r\n' >log.txt
env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER FONTLOOM_HEADLESS=0 timeout 60 ${FONTLOOM_RUNNER:-} "$FONTLOOM_BIN" >stdout 2>stderr
exit_code=$?
expect_exit_code 4
grep -q "no display (DISPLAY is not set).*xvfb-run -s '-screen 0 1280x1024x24'.*FONTLOOM_HEADLESS=1" stderr || fail "no plain message"
expect_file_bytes log.txt 'last run\r\n'

# A display that is named and cannot be reached: one line, exit code 5, the log kept; not a run
# on no display at all.
new_case unusable-display
printf 'last run\r\n' >log.txt
env -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER -u FONTLOOM_HEADLESS DISPLAY=:4093 timeout 60 ${FONTLOOM_RUNNER:-} \
  "$FONTLOOM_BIN" >stdout 2>stderr
exit_code=$?
expect_exit_code 5
[ "$(wc -l <stderr)" = 1 ] && grep -q "the display cannot be used (DISPLAY=:4093: .*xvfb-run" stderr ||
  fail "not one plain line: $(cat stderr)"
expect_file_bytes log.txt 'last run\r\n'

# FONTLOOM_HEADLESS=1 runs headless whatever DISPLAY says, even a display that cannot be used.
new_case headless-over-a-display
DISPLAY=:4093 run_program "key RETURN; key ESCAPE after 5 frames"
expect_exit_code 0
expect_report

new_case bad-script
run_program "no-such-command 1"
expect_exit_code 2
grep -q "no-such-command" stderr || fail "the bad command is not named"
expect_no_file log.txt

finish
