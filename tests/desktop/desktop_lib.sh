# The program on the desktops people use, each started for real from Debian's packages
# (start_desktop, tools/x_session.sh) and driven with real key presses and clicks (xdotool):
# where its windows land, what their frames allow, their icon, the three ways out (Escape, a
# click, the close box), and full screen with the focus taken away and given back three times.
# Each *_desktop_test.sh sources this and plays it on its desktop.
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/../e2e/e2e_lib.sh"
source "$here/../support/x_session.sh"
source "$here/../../tools/prefs_keys.sh"
trap 'stop_x_server; [ "$failures" -gt 0 ] && echo "the cases are in $e2e_root" >&2 || rm -rf "$e2e_root"' EXIT
sample="$FONTLOOM_SOURCE_DIR/app/sample/text.txt"
for tool in xdotool xprop import; do
  command -v "$tool" >/dev/null 2>&1 || { echo "FAIL: $tool is not installed (tools/install-deps.sh)" >&2; exit 1; }
done

# expect_client_at WINDOW WHAT X Y WIDTH HEIGHT: the client area, as the X server has it, one
# pixel either way.
expect_client_at() {
  window_geometry "$1"
  [ "$win_width.$win_height" = "$5.$6" ] && [ $((win_x - $3)) -ge -1 ] && [ $((win_x - $3)) -le 1 ] &&
    [ $((win_y - $4)) -ge -1 ] && [ $((win_y - $4)) -le 1 ] ||
    fail "$2: the client area is ${win_width} x $win_height at ($win_x, $win_y), not $5 x $6 at ($3, $4)"
}

# expect_fixed_frame WINDOW WHAT: the window manager lets it be moved, and neither resized nor
# maximised; and it shows the class's 32 x 32 icon.
expect_fixed_frame() {
  local actions
  actions="$(x_client xprop -id "$1" _NET_WM_ALLOWED_ACTIONS)"
  [[ "$actions" = *_NET_WM_ACTION_MOVE* && "$actions" != *RESIZE* && "$actions" != *MAXIMIZE* ]] ||
    fail "$2: the frame allows ${actions#*= }"
  [[ "$(x_client xprop -id "$1" _NET_WM_ICON | head -1)" = *"Icon (32 x 32)"* ]] || fail "$2 shows no 32 x 32 icon"
}

# page_shown WINDOW: until the client area shows light pixels (20 s); the program keeps drawing
# flat out meanwhile, so no longer than that.
page_shown() {
  [ -n "$1" ] || return 1  # import without a window would wait for a click
  for _ in $(seq 80); do
    [ "$(x_client import -window "$1" png:- | convert - -crop 640x480+0+0 -colorspace Gray -threshold 60% \
        -format '%[fx:mean>0]' info: 2>/dev/null)" = 1 ] && return 0
    sleep 0.25
  done
  return 1
}

# The close box sits at the right end of the caption: in openbox's and xfwm4's own themes 11
# pixels in from the client area's right edge, half the caption up; in the frame libdecor's plugin
# draws on weston (a 24 pixel caption), 16 in and 12 up.
click_close_box() {
  local extents top
  if [ "$desktop_kind" = weston ]; then
    read -r win_width win_height win_x win_y <<<"$(black_box)"
    x_client xdotool mousemove --sync $((win_x + win_width - 16)) $((win_y - 12)) click 1
    return
  fi
  window_geometry "$1"
  extents="$(x_client xprop -id "$1" _NET_FRAME_EXTENTS)"
  top="$(awk -F', ' '{ print $3 }' <<<"${extents#*= }")"
  x_client xdotool mousemove --sync $((win_x + win_width - 11)) $((win_y - top / 2)) click 1
}

# box_of COLOUR: where the screen shows that colour, below weston's panel (the top 32 rows), as
# "WIDTH HEIGHT X Y": on weston, where the compositor put a window. black: the main window's
# page; "button face": the preferences window.
box_of() {
  local colour="$1" box
  [ "$colour" = "button face" ] && colour="rgb(212,208,200)"
  box="$(x_client import -window root png:- | convert - -crop 1280x992+0+32 +repage \
    \( +clone -fill "$colour" -colorize 100 \) -compose difference -composite -colorspace Gray -threshold 0 \
    -negate -trim -format '%w %h %X %Y' info: 2>/dev/null)"
  read -r w h x y <<<"$box"
  echo "$w $h $((x)) $((y + 32))"
}
black_box() { box_of black; }

# expect_framed WHAT COLOUR: on weston, the window whose face is COLOUR has a caption above it:
# the 16 rows over it are dark (libdecor's plugin draws the active window's caption black).
expect_framed() {
  local w h x y
  read -r w h x y <<<"$(box_of "$2")"
  [ "$(x_client import -window root png:- | convert - -crop "${w}x16+$x+$((y - 20))" -colorspace Gray \
      -format '%[fx:mean<0.25]' info: 2>/dev/null)" = 1 ] || fail "$1 has no frame"
}

# expect_page_on_black WHEN: full screen on a 1280 x 1024 screen: the 640 x 480 page doubled
# across and down to 1280 x 960, with ink, and 32 rows of pure black above and below (a desktop
# may take a moment to give the program the screen again: 10 s).
expect_page_on_black() {
  local shot="$e2e_root/screen.png"
  for _ in $(seq 40); do
    x_client import -window root "$shot"
    # white text on black: some ink, and far more black (another window's white is not a page)
    [ "$(convert "$shot" -crop 1280x960+0+32 -colorspace Gray -threshold 60% -format '%[fx:mean>0.01&&mean<0.3]' info:)" = 1 ] &&
      [ "$(convert "$shot" -crop 1280x32+0+0 -format '%[fx:maxima]' info:)" = 0 ] &&
      [ "$(convert "$shot" -crop 1280x32+0+992 -format '%[fx:maxima]' info:)" = 0 ] && return 0
    sleep 0.25
  done
  cp "$shot" "$e2e_root/not-the-page-$RANDOM.png"
  fail "$1: the screen does not show the page on black"
}

# The main window shows the page; "escape", "click" or "close-box" ends the program.
end_main_window() {
  local box
  case "$1" in
    escape) if [ "$desktop_kind" = weston ]; then x_client xdotool key Escape; else press "$main" Escape; fi ;;
    click)
      if [ "$desktop_kind" = weston ]; then
        read -r w h x y <<<"$(black_box)"
        x_client xdotool mousemove --sync $((x + w / 2)) $((y + h / 2)) click 1
      else
        x_client xdotool mousemove --window "$main" --sync 320 240 click 1
      fi ;;
    close-box) click_close_box "${main:-}" ;;
  esac
}

# windowed_case END: Return takes the defaults; the main window shows the page; END ends it, with
# an empty "log.txt" and the report. On an X desktop the Escape case also looks at both windows'
# places, frames and icons: Win32's arithmetic on a 1280 x 1024 screen puts the main window's
# client area (640 x 480 in a 3 px frame under a 20 px caption, 646 x 506 outside, centred) at
# (320, 282), and the preferences window's (420 x 300 outside, the same frame, centred) 414 x 274
# at (433, 385).
windowed_case() {
  x_case "windowed, ends with $1" "$sample"
  if [ "$desktop_kind" = weston ]; then
    sleep 0.3  # the frame comes at the window's next commit, before it waits for input again
    [ "$1" = escape ] && expect_framed "the preferences window" "button face"
    x_client xdotool key $(prefs_x windowed)
    wait_for_screen black 100000 && wait_for_screen white 2000 || fail "no page in the main window"
  else
    if [ "$1" = escape ]; then
      expect_client_at "$prefs" "the preferences window" 433 385 414 274
      expect_fixed_frame "$prefs" "the preferences window"
    fi
    press "$prefs" $(prefs_x windowed)
    main="$(wait_for_window "^Fontloom$" 30)" || fail "no main window"
    page_shown "$main" || fail "the main window stays dark"
    if [ "$1" = escape ]; then
      expect_client_at "$main" "the main window" 320 282 640 480
      expect_fixed_frame "$main" "the main window"
    fi
  fi
  end_main_window "$1"
  end_x_case
  expect_file_bytes log.txt ''
  expect_report
}

# take_focus_away: another window takes the focus (a new one the first time); give_focus_back:
# the program's window has it again, by alt+Tab on X, and on weston by closing the other one.
take_focus_away() {
  if [ "$desktop_kind" = weston ]; then
    weston-simple-shm >/dev/null 2>&1 &
    other_pid=$!
    sleep 0.5  # its window is made and takes the focus
  elif [ -z "${other:-}" ]; then
    xmessage -geometry 1280x1024+0+0 "another window" >/dev/null 2>&1 &
    other_pid=$!
    other="$(wait_for_window "^xmessage$" 10)" || fail "no other window"
  else
    x_client xdotool windowactivate --sync "$other"
  fi
  sleep 0.5  # the program sees the focus go, and its device is lost
}
give_focus_back() {
  if [ "$desktop_kind" = weston ]; then
    kill "$other_pid"
    wait "$other_pid" 2>/dev/null
  else
    x_client xdotool key alt+Tab
  fi
}

# Full screen, covered by another window that takes the focus, then given it back, three
# times: each time the device is lost and reset, and the screen shows the page on pure black.
full_screen_case() {
  local saved=("${launch[@]}")
  launch=(env FONTLOOM_SIM="counts counts.txt" "${launch[@]}")
  x_case "full screen, the focus away and back three times" "$sample"
  launch=("${saved[@]}")
  if [ "$desktop_kind" = weston ]; then
    x_client xdotool key $(prefs_x full_screen)
  else
    press "$prefs" $(prefs_x full_screen)
    main="$(wait_for_window "^Fontloom$" 30)" || fail "no main window"
  fi
  expect_page_on_black "full screen"
  other= other_pid=
  for round in 1 2 3; do
    take_focus_away
    give_focus_back
    expect_page_on_black "focus given back, time $round"
  done
  [ "$desktop_kind" = weston ] || kill "$other_pid"
  end_main_window escape
  end_x_case
  expect_report
  expect_all_released  # the controls' font too: the preferences window was painted
  grep -qx "Reset 3" counts.txt || fail "the device was reset $(sed -n 's/^Reset //p' counts.txt) times, not 3"
}

# play_desktop NAME: every case on that desktop.
play_desktop() {
  start_desktop "$1"
  target="$1"
  launch=(env FONTLOOM_HEADLESS=0 "$FONTLOOM_BIN")
  windowed_case escape
  windowed_case click
  windowed_case close-box
  full_screen_case
}
