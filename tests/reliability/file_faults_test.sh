#!/usr/bin/env bash
# "log.txt" and "FPS.txt" that are directories, or are deleted or replaced while the program
# runs, and another process appending to "log.txt" meanwhile: the program goes on, exits 0,
# loses no line it could write and tears none, and says on the debugger output (standard error
# here) when the log cannot be written.
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../e2e/e2e_lib.sh"

# A draw that fails logs "Error Drawing font", so these runs log two lines a frame.
long_run="counts counts.txt; key RETURN; fail DrawTextA always; key ESCAPE after 2000 frames"
short_run="counts counts.txt; key RETURN; fail DrawTextA times 3; key ESCAPE after 10 frames"

# Every line of log.txt is one of the program's or one of the writer's, whole.
expect_whole_lines() {
  local torn
  torn="$(LC_ALL=C grep -c -v -E '^(Error Drawing font|other [0-9]+|replacement)'$'\r''$' "$case_dir/log.txt")"
  [ "$torn" = 0 ] || fail "$torn lines of log.txt are torn: $(LC_ALL=C grep -v -E $'^(Error Drawing font|other [0-9]+|replacement)\r$' "$case_dir/log.txt" | head -3 | od -c | head -4 | tr '\n' ' ')"
}

program_lines() { LC_ALL=C grep -c $'^Error Drawing font\r$' "$case_dir/log.txt"; }

new_case log-is-a-directory
rm -f "$case_dir/log.txt" && mkdir "$case_dir/log.txt"
run_program "$short_run"
expect_exit_code 0
expect_report
[ -d "$case_dir/log.txt" ] && [ -z "$(ls -A "$case_dir/log.txt")" ] || fail "the log.txt directory was changed"
[ "$(grep -c '^Error Drawing font$' "$case_dir/stderr")" = 3 ] || fail "the failed draws did not reach the debugger output"
[ "$(grep -c '^Error writing to log file$' "$case_dir/stderr")" = 3 ] || fail "the unwritable log was not reported 3 times"

new_case fps-is-a-directory
mkdir "$case_dir/FPS.txt"
run_program "counts counts.txt; key RETURN; key ESCAPE after 10 frames"
expect_exit_code 0
expect_file_bytes log.txt ''
[ -d "$case_dir/FPS.txt" ] && [ -z "$(ls -A "$case_dir/FPS.txt")" ] || fail "the FPS.txt directory was changed"
[ "$(count_of Present)" -ge 10 ] || fail "the loop did not run"

# FIFOs with nobody at the other end: the program does not wait for a reader.
new_case log-is-a-fifo
rm -f "$case_dir/log.txt" && mkfifo "$case_dir/log.txt"
run_program "$short_run"
expect_exit_code 0
expect_report
[ -p "$case_dir/log.txt" ] || fail "the log.txt FIFO was replaced"
[ "$(grep -c '^Error writing to log file$' "$case_dir/stderr")" = 3 ] || fail "the unwritable log was not reported 3 times"

new_case fps-is-a-fifo
mkfifo "$case_dir/FPS.txt"
run_program "counts counts.txt; key RETURN; key ESCAPE after 10 frames"
expect_exit_code 0
expect_file_bytes log.txt ''
[ -p "$case_dir/FPS.txt" ] || fail "the FPS.txt FIFO was replaced"

# A full disk: the files open but the writes fail, which is ignored without a word.
if [ -w /dev/full ]; then
  new_case disk-full
  ln -s /dev/full "$case_dir/log.txt" && ln -s /dev/full "$case_dir/FPS.txt"
  run_program "$short_run"
  expect_exit_code 0
  [ "$(grep -c '^Error Drawing font$' "$case_dir/stderr")" = 3 ] || fail "the failed draws did not reach the debugger output"
  grep -q 'Error writing to log file' "$case_dir/stderr" && fail "a failed write was reported as a failed open"
  [ -L "$case_dir/log.txt" ] && [ -L "$case_dir/FPS.txt" ] || fail "the links were replaced"
else
  echo "note: no /dev/full here; the full-disk case did not run"
fi

# Deleted mid-run: the next line creates it again; the lines before went with the old file.
new_case log-deleted-while-running
start_program "$long_run"
wait_for_lines log.txt 50 || fail "the program logged nothing while it ran"
rm -f "$case_dir/log.txt"
program_running || fail "the program ended before the log was deleted"
wait_program
expect_exit_code 0
expect_report
[ -f "$case_dir/log.txt" ] || fail "log.txt was not created again"
expect_whole_lines
lines="$(program_lines)"
[ "$lines" -gt 0 ] && [ "$lines" -lt "$(count_of DrawTextA)" ] ||
  fail "$lines lines after the deletion, of $(count_of DrawTextA) draws"

# Replaced mid-run: the program appends to the new file and keeps what it holds.
new_case log-replaced-while-running
start_program "$long_run"
wait_for_lines log.txt 50 || fail "the program logged nothing while it ran"
printf 'replacement\r\n' >"$case_dir/new-log" && mv "$case_dir/new-log" "$case_dir/log.txt"
program_running || fail "the program ended before the log was replaced"
wait_program
expect_exit_code 0
expect_whole_lines
[ "$(head -c 13 "$case_dir/log.txt")" = $'replacement\r' ] || fail "the replacement's line was overwritten"
[ "$(program_lines)" -gt 0 ] || fail "nothing was appended to the replacement"

# FPS.txt deleted or replaced mid-run (by something longer than a report): the report at the
# end is whole, with nothing of the replacement left behind.
for fate in deleted replaced; do
  new_case "fps-$fate-while-running"
  printf 'old report\r\n' >"$case_dir/FPS.txt"
  start_program "$long_run"
  wait_for_lines log.txt 50 || fail "the program logged nothing while it ran"
  if [ "$fate" = deleted ]; then
    rm "$case_dir/FPS.txt"
  else
    head -c 5000 /dev/zero | tr '\0' 'R' >"$case_dir/new-fps" && mv "$case_dir/new-fps" "$case_dir/FPS.txt"
  fi
  program_running || fail "the program ended before FPS.txt was $fate"
  wait_program
  expect_exit_code 0
  expect_report
done

# Another process appends its own numbered lines while the program logs: every line of both
# is there once, whole, the writer's in order, and the two really ran at the same time.
new_case another-writer-appends
start_program "$long_run"
wait_for_lines log.txt 20 || fail "the program logged nothing while it ran"
(
  i=0
  while [ ! -e "$case_dir/stop" ]; do
    i=$((i + 1))
    printf 'other %d\r\n' "$i" >>"$case_dir/log.txt"
  done
  echo "$i" >"$case_dir/written"
) &
writer_pid=$!
wait_program
touch "$case_dir/stop"
wait "$writer_pid"
expect_exit_code 0
expect_report
expect_whole_lines
written="$(cat "$case_dir/written")"
[ "$(program_lines)" = "$(count_of DrawTextA)" ] ||
  fail "$(program_lines) of the program's lines in log.txt, $(count_of DrawTextA) draws failed"
LC_ALL=C awk -v written="$written" '
    /^other / { n++; if ($2 + 0 != n) { print "line " NR ": other " $2 ", expected " n; bad = 1 } }
    /^Error Drawing font/ { if (n > 0) after = 1 }
    END { if (n != written) { print n " of the writer'\''s " written " lines"; bad = 1 }
          if (!after) { print "no line of the program came after one of the writer"; bad = 1 }
          exit bad }' "$case_dir/log.txt" >"$case_dir/writer-check" ||
  fail "the writer's lines: $(head -3 "$case_dir/writer-check" | tr '\n' ' ')"

finish
