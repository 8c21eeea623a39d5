# The program driven with real key presses in a private X server. The Windows build under Wine
# and the native build play the same scenarios; the caller sets
#   launch_program DIR  - starts the program in DIR and waits for it (exit code in DIR/exit_code)
# and may set x_case_setup DIR to prepare a folder. Then it calls run_x_scenarios.
source "$(dirname "${BASH_SOURCE[0]}")/x_session.sh"

x_failures=0

x_fail() {
  echo "FAIL [$case_name]: $*" >&2
  x_failures=$((x_failures + 1))
}

# start_case NAME [no-text]: a fresh folder; starts the program there and waits for its first window.
start_case() {
  case_name="$1"
  case_dir="$x_work/$1"
  mkdir -p "$case_dir"
  [ "${2:-}" = no-text ] || cp "${FONTLOOM_SOURCE_DIR:?}/app/sample/text.txt" "$case_dir/text.txt"
  launch_program "$case_dir" &
  case_pid=$!
  prefs_window="$(wait_for_window "User Preferences" 60)" || x_fail "no preferences window"
}

end_case() {
  wait "$case_pid"
  local code
  code="$(cat "$case_dir/exit_code" 2>/dev/null)"
  [ "$code" = 0 ] || x_fail "exit code ${code:-missing}"
  if [ "$x_failures" -gt 0 ] && [ -s "$case_dir/stderr" ]; then
    echo "--- [$case_name] the program's stderr:" >&2
    head -20 "$case_dir/stderr" >&2
  fi
}

expect_bytes() {
  if [ ! -f "$case_dir/$1" ]; then
    x_fail "$1 is missing"
  elif [ "$(od -An -c "$case_dir/$1" | tr -s ' \n' ' ')" != "$(printf "$2" | od -An -c | tr -s ' \n' ' ')" ]; then
    x_fail "$1 holds: $(od -An -c "$case_dir/$1" | head -3 | tr -s ' \n' ' ')"
  fi
}

expect_report() {
  LC_ALL=C awk 'NR == 1 && !/^[0-9]+\.[0-9][0-9] Fontloom\r$/ { bad = 1 }
                NR == 2 && !/^[0-9]+ min\r$/ { bad = 1 }
                NR == 3 && !/^[0-9]+ max\r$/ { bad = 1 }
                END { exit bad || NR != 3 }' "$case_dir/FPS.txt" 2>/dev/null ||
    x_fail "FPS.txt is not a three-line report"
}

run_x_scenarios() {
  # Escape in the preferences window: nothing opens, the log says why.
  start_case escape-in-preferences
  press "$prefs_window" Escape
  end_case
  expect_bytes log.txt 'Exiting\r\n\r\n'
  [ ! -e "$case_dir/FPS.txt" ] || x_fail "FPS.txt was written"

  # Return takes the defaults (windowed, HAL); the page is drawn; Escape ends it.
  start_case return-then-escape
  press "$prefs_window" Return
  local main_window
  if main_window="$(wait_for_window "^Fontloom$" 30)"; then
    wait_for_ink "$main_window" 30 || x_fail "the main window stays dark"
    window_geometry "$main_window"
    [ "$win_width" = 640 ] && [ "$win_height" = 480 ] || x_fail "client area ${win_width}x${win_height}"
    # The outer window is centred, so the client area sits a caption's height below the middle.
    [ $((win_x * 2 + win_width)) -eq 1280 ] || x_fail "client area not centred across: x=$win_x"
    local offset=$((win_y * 2 + win_height - 1024))
    [ "$offset" -ge 0 ] && [ "$offset" -le 60 ] || x_fail "client area not centred down: y=$win_y"
    local fps_ink page_ink
    fps_ink="$(bright_pixels "$main_window" 0 0 200 24)"
    page_ink="$(bright_pixels "$main_window" 0 30 640 450)"
    echo "$x_target main window: client ${win_width}x${win_height} at ($win_x,$win_y); light pixels: $fps_ink in the frame-rate line, $page_ink on the page"
    [ "${fps_ink:-0}" -gt 100 ] || x_fail "no frame-rate line drawn ($fps_ink light pixels)"
    [ "${page_ink:-0}" -gt 5000 ] || x_fail "no page drawn ($page_ink light pixels)"
    press "$main_window" Escape
  else
    x_fail "no main window"
  fi
  end_case
  expect_bytes log.txt ''
  expect_report

  # Without text.txt the window opens and closes again, and the log says so.
  start_case missing-text no-text
  press "$prefs_window" Return
  end_case
  expect_bytes log.txt 'Error opening file for read\r\n'
  [ ! -e "$case_dir/FPS.txt" ] || x_fail "FPS.txt was written"

  [ "$x_failures" -eq 0 ] && echo "all $x_target scenarios passed"
  return $((x_failures == 0 ? 0 : 1))
}
