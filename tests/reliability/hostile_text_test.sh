#!/usr/bin/env bash
# Whatever "text.txt" holds, the program starts, draws what it can, exits 0 and logs only what
# it must. Frames are compared as pictures: with the manual clock the page is the same every run.
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../e2e/e2e_lib.sh"
export FONTLOOM_FRAME_PNG=frame.png

# run_page: the page shown for 30 frames, then Escape.
run_page() { run_program "clock 0; key RETURN; key ESCAPE after 30 frames"; }

# shown_file FILE: the frame for a text.txt that is a copy of FILE, as a file path.
shown_file() {
  new_case "reference page"
  cp "$1" "$case_dir/text.txt"
  run_page
  echo "$case_dir/frame.png"
}

# shown_page PRINTF_FORMAT: the frame for a text.txt of exactly these bytes.
shown_page() {
  local page
  page="$(mktemp)"
  printf "$1" >"$page"
  shown_file "$page"
  rm -f "$page"
}

expect_clean_run() {
  expect_exit_code 0
  expect_file_bytes log.txt ''
  expect_report
  [ -f "$case_dir/frame.png" ] || fail "no frame was presented"
}

# Something was drawn: the page is not the empty one.
expect_ink() {
  cmp -s "$empty_page" "$case_dir/frame.png" && fail "nothing of the page was drawn"
}

expect_same_frame() {
  cmp -s "$1" "$case_dir/frame.png" || fail "the page differs from $2"
}

# Without a page to show, nothing runs and the old report stays.
expect_unreadable() {
  printf 'old report\r\n' >"$case_dir/FPS.txt"
  run_page
  expect_exit_code 0
  expect_file_bytes log.txt 'Error opening file for read\r\n'
  expect_file_bytes FPS.txt 'old report\r\n'
  expect_no_file frame.png
}

empty_page="$(shown_page '')"
short_page="$(shown_page 'abc def')"
longer_page="$(shown_page 'abc def xyz')"
cmp -s "$short_page" "$longer_page" && fail "the harness cannot tell two pages apart"

new_case empty
: >"$case_dir/text.txt"
run_page
expect_clean_run
expect_same_frame "$empty_page" "an empty page"

new_case only-line-breaks
printf '\r\n\n\r\n\n\n' >"$case_dir/text.txt"
run_page
expect_clean_run
expect_same_frame "$empty_page" "an empty page"

new_case nul-in-the-middle
printf 'abc def\0 xyz' >"$case_dir/text.txt"
run_page
expect_clean_run
expect_same_frame "$short_page" "the text before the NUL"

new_case random-bytes
LC_ALL=C awk 'BEGIN { srand(10); for (i = 0; i < 6000; i++) printf "%c", 1 + int(rand() * 255) }' \
  >"$case_dir/text.txt"
run_page
expect_clean_run
expect_ink

new_case carriage-return-line-ends
printf 'first line\rsecond line\rthird\r' >"$case_dir/text.txt"
run_page
expect_clean_run
expect_same_frame "$(shown_page 'first linesecond linethird')" "the lines run together (a lone CR draws nothing)"

new_case one-long-word
head -c 10000 /dev/zero | tr '\0' 'W' >"$case_dir/text.txt"
run_page
expect_clean_run
expect_ink

# Around the 4000-byte limit. Only the start of a page fits the window, so the bytes near the
# limit are brought into view: lone CRs take no room, and the page is "ab", a line break, 3995
# CRs, then "cd" as its 3999th and 4000th bytes after CR LF translation. What follows the limit
# ("EF...") must not show, and "d" must.
crs() { head -c "$1" /dev/zero | tr '\0' '\r'; }
# limit_page LINE_BREAK SIZE: that page, padded with more text to exactly SIZE bytes.
limit_page() {
  { printf "ab$1"; crs 3995; printf 'cd'; if [ "$1" = '\n' ]; then yes 'EF GH'; else yes $'EF GH\r'; fi; } |
    head -c "$2"
}
limit_reference="$(mktemp -d "${TMPDIR:-/tmp}/fontloom-e2e.XXXXXX")"
{ printf 'ab\n'; crs 3995; printf 'cd'; } >"$limit_reference/page"
[ "$(stat -c %s "$limit_reference/page")" = 4000 ] || fail "the reference page is not 4000 bytes"
limit_frame="$(shown_file "$limit_reference/page")"
cmp -s "$limit_frame" "$(shown_page 'ab\n')" && fail "the harness cannot see the end of the page"
{ printf 'ab\n'; crs 3994; printf 'cdE'; } >"$limit_reference/one-more"  # an E after cd, within the limit
cmp -s "$limit_frame" "$(shown_file "$limit_reference/one-more")" && fail "the harness cannot see a byte past the limit"
head -c 3999 "$limit_reference/page" >"$limit_reference/one-less"
one_less_frame="$(shown_file "$limit_reference/one-less")"
cmp -s "$limit_frame" "$one_less_frame" && fail "the harness cannot see the last byte"

# LF: the limit is the 4000th byte of the file. CR LF: its one CR LF arrives as one byte, so a
# file of 4000 bytes is shown whole (it ends in "c") and one of 4001 or more up to the "d".
for size in 4000 4001 8000; do
  for ending in '\n' '\r\n'; do
    new_case "$size-bytes-$ending"
    limit_page "$ending" "$size" >"$case_dir/text.txt"
    [ "$(stat -c %s "$case_dir/text.txt")" = "$size" ] || fail "the file is not $size bytes"
    run_page
    expect_clean_run
    if [ "$ending" = '\r\n' ] && [ "$size" = 4000 ]; then
      # One byte short of the reference after translation: it ends in "c".
      expect_same_frame "$one_less_frame" "the page that ends in c"
    else
      expect_same_frame "$limit_frame" "the page of its first 4000 bytes"
    fi
  done
done

# 100 MB: the page is its first 4000 bytes, and start-up does not read the rest (the run ends
# well within the harness's timeout).
new_case 100-megabytes
limit_page '\n' 100000000 >"$case_dir/text.txt"
[ "$(stat -c %s "$case_dir/text.txt")" = 100000000 ] || fail "the file is not 100 MB"
run_page
expect_clean_run
expect_same_frame "$limit_frame" "the page of its first 4000 bytes"
rm -f "$case_dir/text.txt"  # case folders stay for a look after a failure; this one need not
rm -rf "$limit_reference"

# A FIFO that nobody writes reads as an empty page instead of waiting for a writer.
new_case fifo
rm "$case_dir/text.txt" && mkfifo "$case_dir/text.txt"
run_page
expect_clean_run
expect_same_frame "$empty_page" "an empty page"

new_case directory
rm "$case_dir/text.txt" && mkdir "$case_dir/text.txt"
expect_unreadable

new_case dangling-link
rm "$case_dir/text.txt" && ln -s "$case_dir/nowhere" "$case_dir/text.txt"
expect_unreadable

finish
