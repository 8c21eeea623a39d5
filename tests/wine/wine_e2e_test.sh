#!/usr/bin/env bash
# The program in a private X server, driven with real key presses: the native build (SDL, real X
# windows), then the Windows build under Wine, play the same scenarios and must leave the same
# files, and the photographs of their main windows must break into the same lines of text. The
# native build is also seen from X: its Motif hints, and full screen covering the screen.
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../e2e/e2e_lib.sh"
source "$here/../support/x_session.sh"
source "$here/../../tools/prefs_keys.sh"
exe="${FONTLOOM_SOURCE_DIR:?}/${FONTLOOM_WINDOWS_BUILD:-build-win}/app/fontloom.exe"
trap 'stop_wine; stop_x_server; [ "$failures" -gt 0 ] || rm -rf "$e2e_root"' EXIT

# play TARGET COMMAND...: the scenarios, with the program started by COMMAND.
play() {
  target="$1"
  shift
  launch=("$@")
  x_case escape-in-preferences "$FONTLOOM_SOURCE_DIR/app/sample/text.txt"
  press "$prefs" Escape
  end_x_case
  expect_file_bytes log.txt 'Exiting\r\n\r\n'
  expect_no_file FPS.txt

  x_case missing-text none
  press "$prefs" Return
  end_x_case
  expect_file_bytes log.txt 'Error opening file for read\r\n'
  expect_no_file FPS.txt

  # Return takes the defaults (windowed, HAL): a client area of 640 x 480, centred across and
  # a caption's height below the middle, shows the page; its photograph goes to TARGET.pgm.
  x_case return-then-escape "$here/parity_page.txt"
  press "$prefs" $(prefs_x windowed)
  if main="$(wait_for_window "^Fontloom$" 30)"; then
    wait_for_ink "$main" || fail "the main window stays dark"
    window_geometry "$main"
    echo "$target: client ${win_width}x${win_height} at ($win_x,$win_y)"
    local below=$((win_y * 2 + win_height - 1024))
    [ "$win_width.$win_height" = 640.480 ] && [ $((win_x * 2 + win_width)) = 1280 ] && [ "$below" -ge 0 ] &&
      [ "$below" -le 60 ] || fail "the client area is not 640 x 480 and centred"
    x_client import -window "$main" png:- | convert - -crop 640x480+0+0 +repage -colorspace Gray "$e2e_root/$target.pgm"
    # WS_OVERLAPPED | WS_SYSMENU: move and close (functions 0x4 | 0x20), border, title and system
    # menu (decorations 0x2 | 0x8 | 0x10); no minimise, maximise or sizing. Wine asks on its own.
    [ "$target" = Wine ] || [[ "$(x_client xprop -id "$main" _MOTIF_WM_HINTS)" = *"= 0x3, 0x24, 0x1a, 0x0, 0x0" ]] ||
      fail "the main window asks the window manager for more than moving and closing"
    press "$main" Escape
  else
    fail "no main window"
  fi
  end_x_case
  expect_file_bytes log.txt ''
  expect_report

  # Full screen covers the X screen. Wine's device cannot take the screen of Xvfb
  # (D3DERR_NOTAVAILABLE), so only the native build is asked.
  [ "$target" = native ] || return 0
  x_case full-screen "$FONTLOOM_SOURCE_DIR/app/sample/text.txt"
  press "$prefs" $(prefs_x full_screen)
  main="$(wait_for_window "^Fontloom$" 30)" || fail "no main window"
  sleep 0.5  # let the change of mode settle
  window_geometry "$main"
  [ "${win_width}x$win_height" = 1280x1024 ] || fail "full screen is ${win_width}x$win_height"
  press "$main" Escape
  end_x_case
  expect_report
}

start_x_server
play native env FONTLOOM_HEADLESS=0 "$FONTLOOM_BIN"
[ "$failures" = 0 ] || finish
skip_without_wine "$exe" "the Windows build was not run, nor compared with the native one"
make_wine_prefix "$e2e_root/prefix"
cp "$exe" "$e2e_root/fontloom.exe"
play Wine wine "$e2e_root/fontloom.exe"
# The eye must see a page moved by three rows, or its "alike" means nothing.
convert "$e2e_root/native.pgm" -roll +0+3 "$e2e_root/moved.pgm"
python3 "$here/page_lines.py" "$e2e_root/native.pgm" "$e2e_root/moved.pgm" >/dev/null && fail "page_lines.py sees no move"
python3 "$here/page_lines.py" "$e2e_root/native.pgm" "$e2e_root/Wine.pgm" || fail "the two builds lay the page out differently"
finish
