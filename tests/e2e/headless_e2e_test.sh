#!/usr/bin/env bash
# The real program, headless, played through the FONTLOOM_SIM script: what it leaves in
# "log.txt" and "FPS.txt", its exit code, and that it releases everything it created.
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/e2e_lib.sh"

# Every object the program made is freed again by the end.
expect_all_released() {
  local kind created freed
  for kind in IDirect3D9 IDirect3DDevice9 ID3DXFont; do
    created="$(count_of "$kind:create")"
    freed="$(count_of "$kind:free")"
    [ "$created" = "$freed" ] || fail "$kind: $created created, $freed freed"
  done
}

# run SCRIPT: the program with the call counts written to counts.txt, the calls to trace.txt.
run() { run_program "counts $case_dir/counts.txt; trace $case_dir/trace.txt; clock 0; $1"; }

# expect_release_order CALLS: how the run ended, the last releases (font, device, Direct3D
# object, window and class) and log lines (OutputDebugStringA) of the trace.
expect_release_order() {
  local seen
  seen="$(grep -xE 'ID3DXFont:free|IDirect3DDevice9:free|IDirect3D9:free|DestroyWindow|UnregisterClassA|OutputDebugStringA' \
    "$case_dir/trace.txt" | tail -n "$(wc -w <<<"$1")" | tr '\n' ' ')"
  [ "$seen" = "$1 " ] || fail "the run ended with: $seen"
}

new_case cancel-by-escape
run "key ESCAPE"
expect_exit_code 0
expect_file_bytes log.txt 'Exiting\r\n\r\n'
expect_no_file FPS.txt
[ "$(count_of Present)" = 0 ] || fail "frames were presented"
[ "$(count_of RegisterClassA)" = 0 ] || fail "the main window's class was registered"

new_case okay-then-escape
run "key RETURN; key ESCAPE after 30 frames"
expect_exit_code 0
expect_file_bytes log.txt ''
expect_report
[ "$(count_of Present)" -ge 30 ] || fail "only $(count_of Present) frames"
expect_all_released
expect_release_order "ID3DXFont:free IDirect3DDevice9:free IDirect3D9:free DestroyWindow UnregisterClassA"

for ending in "click 100 100" "close"; do
  new_case "okay-then-${ending%% *}"
  run "key RETURN; $ending after 10 frames"
  expect_exit_code 0
  expect_file_bytes log.txt ''
  expect_report
  expect_all_released
done

# Any other key is ignored: the run goes on until Escape comes.
new_case other-key-ignored
run "key RETURN; key A after 5 frames; key SPACE after 6 frames; key ESCAPE after 40 frames"
expect_exit_code 0
[ "$(count_of Present)" -ge 40 ] || fail "ended after $(count_of Present) frames"
expect_report

new_case missing-text
rm "$case_dir/text.txt"
printf 'old report\r\n' >"$case_dir/FPS.txt"
run "key RETURN"
expect_exit_code 0
expect_file_bytes log.txt 'Error opening file for read\r\n'
expect_file_bytes FPS.txt 'old report\r\n'
[ "$(count_of Present)" = 0 ] || fail "the loop ran"
expect_all_released

# Lost for three polls, then not reset twice with the first reset failing.
new_case device-lost-then-not-reset
run "key RETURN; coop LOST LOST LOST NOTRESET NOTRESET; fail Reset; key ESCAPE after 20 frames"
expect_exit_code 0
expect_file_bytes log.txt ''
expect_report
[ "$(count_of OnLostDevice)" = 3 ] || fail "OnLostDevice $(count_of OnLostDevice) times"
[ "$(count_of Sleep)" -ge 3 ] || fail "slept $(count_of Sleep) times"
[ "$(count_of Reset)" = 2 ] || fail "Reset $(count_of Reset) times"
[ "$(count_of OnResetDevice)" = 1 ] || fail "OnResetDevice $(count_of OnResetDevice) times"
expect_all_released

# Lost and back between two passes: the font is told before the reset, which it would block
# otherwise, and the frames go on (a loop that never draws again times out).
new_case not-reset-without-lost
E2E_TIMEOUT=30 run "key RETURN; coop NOTRESET; key ESCAPE after 20 frames"
expect_exit_code 0
expect_file_bytes log.txt ''
[ "$(count_of OnLostDevice) $(count_of Reset) $(count_of OnResetDevice)" = "1 1 1" ] ||
  fail "OnLostDevice, Reset, OnResetDevice: $(count_of OnLostDevice) $(count_of Reset) $(count_of OnResetDevice) times"

# A Present that finds the device lost is a lost device, not a failure.
new_case present-device-lost
run "key RETURN; present OK OK DEVICELOST; key ESCAPE after 20 frames"
expect_exit_code 0
expect_file_bytes log.txt ''
[ "$(count_of OnLostDevice)" = 1 ] || fail "OnLostDevice $(count_of OnLostDevice) times"
[ "$(count_of Reset)" = 1 ] || fail "Reset $(count_of Reset) times"
expect_report

new_case clear-fails
run "key RETURN; fail Clear after 5 status 0x8876086C"
expect_exit_code 0
expect_file_bytes log.txt 'Error rendering : D3DERR_INVALIDCALL\r\n'
expect_report
expect_all_released

# Start-up failures: each logged once, with everything made before it released.
new_case window-class-fails
run "key RETURN; fail RegisterClassA"
expect_exit_code 0
expect_file_bytes log.txt 'Error registering window class\r\nFailed to create Window : E_FAIL\r\n'
expect_no_file FPS.txt

new_case window-fails
run "key RETURN; fail CreateWindowExA class \"fw class\""
expect_exit_code 0
expect_file_bytes log.txt 'Error opening window\r\nFailed to create Window : E_FAIL\r\n'
expect_no_file FPS.txt
expect_all_released
expect_release_order "OutputDebugStringA UnregisterClassA OutputDebugStringA"

new_case direct3d-fails
run "key RETURN; fail Direct3DCreate9 after 1"
expect_exit_code 0
expect_file_bytes log.txt 'Failed to create D3D : E_FAIL\r\n'
expect_all_released

new_case device-fails
run "key RETURN; fail CreateDevice status 0x8876086C"
expect_exit_code 0
expect_file_bytes log.txt 'Failed to create the device : D3DERR_INVALIDCALL\r\n'
expect_no_file FPS.txt
expect_all_released
expect_release_order "IDirect3D9:free DestroyWindow UnregisterClassA OutputDebugStringA"

new_case full-screen-without-16-bit-modes
run "formats hal X8R8G8B8; key TAB; key SPACE; key RETURN; key ESCAPE after 5 frames"
expect_exit_code 0
expect_file_bytes log.txt 'fwFind16BitMode failed to find a usable mode\r\nFailed to create the device : D3DERR_INVALIDCALL\r\n'
expect_all_released

new_case font-fails
run "key RETURN; fail D3DXCreateFontA"
expect_exit_code 0
expect_file_bytes log.txt ''
expect_no_file FPS.txt
expect_all_released
expect_release_order "IDirect3DDevice9:free IDirect3D9:free DestroyWindow UnregisterClassA"

# Headless forbidden and no display: a plain message and exit code 4 before anything else, so
# the last run's log is kept.
new_case no-display
printf 'last run\r\n' >"$case_dir/log.txt"
( cd "$case_dir" && exec env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER FONTLOOM_HEADLESS=0 timeout 60 \
    ${FONTLOOM_RUNNER:-} "$FONTLOOM_BIN" >"$case_dir/stdout" 2>"$case_dir/stderr" )
exit_code=$?
expect_exit_code 4
grep -q "no display (DISPLAY is not set).*xvfb-run -s '-screen 0 1280x1024x24'.*FONTLOOM_HEADLESS=1" \
  "$case_dir/stderr" || fail "no plain message"
expect_file_bytes log.txt 'last run\r\n'

new_case bad-script
run_program "no-such-command 1"
expect_exit_code 2
grep -q "no-such-command" "$case_dir/stderr" || fail "the bad command is not named"
expect_no_file log.txt

finish
