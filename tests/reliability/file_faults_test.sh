#!/usr/bin/env bash
# "log.txt" and "FPS.txt" that are directories, FIFOs with nobody at the other end or a full
# disk, or are deleted or replaced while the program runs, and another process appending to
# "log.txt" meanwhile: the program neither waits nor stops, exits 0, loses no line it could
# write and tears none, and says on the debugger output (standard error here) when the log
# cannot be opened.
source "$(cd "$(dirname "$0")" && pwd)/../e2e/e2e_lib.sh"

# A draw that fails logs "Error Drawing font", so the long runs log two lines a frame.
long="key RETURN; fail DrawTextA always; key ESCAPE after 2000 frames"
short="key RETURN; fail DrawTextA times 3; key ESCAPE after 10 frames"
plain="key RETURN; key ESCAPE after 10 frames"

# lines_of PATTERN: the lines of log.txt that are PATTERN, whole.
lines_of() { LC_ALL=C grep -c -x -E "$1"$'\r' log.txt; }
# Every line of log.txt is one of the program's or one of the writer's, whole.
expect_whole_lines() {
  [ "$(LC_ALL=C grep -c -v -x -E $'(Error Drawing font|other [0-9]+|replacement)\r' log.txt)" = 0 ] || fail "torn lines in log.txt"
}
# stderr_has N LINE: LINE is N lines of standard error.
stderr_has() { [ "$(grep -c -x "$2" stderr)" = "$1" ] || fail "'$2' is not $1 lines of stderr"; }
left_alone() { [ "$1" "$2" ] && { [ "$1" != -d ] || [ -z "$(ls -A "$2")" ]; } || fail "$2 was changed"; }
fps_fate() { printf 'old report\r\n' >FPS.txt; during "$1"; }

run_table <<EOF
log-is-a-directory|mkdir log.txt|$short|*|expect_report; left_alone -d log.txt; stderr_has 3 'Error Drawing font'; stderr_has 3 'Error writing to log file'
fps-is-a-directory|mkdir FPS.txt|$plain||left_alone -d FPS.txt; expect_count Present -ge 10
log-is-a-fifo|mkfifo log.txt|$short|*|expect_report; left_alone -p log.txt; stderr_has 3 'Error writing to log file'
fps-is-a-fifo|mkfifo FPS.txt|$plain||left_alone -p FPS.txt
# A full disk: the files open but the writes fail, which is ignored without a word.
disk-full|ln -s /dev/full log.txt; ln -s /dev/full FPS.txt|$short|*|stderr_has 3 'Error Drawing font'; stderr_has 0 'Error writing to log file'; left_alone -L log.txt; left_alone -L FPS.txt
# Deleted mid-run: the next line creates it again; the lines before went with the old file.
log-deleted-while-running|during 'rm log.txt'|$long|*|expect_report; expect_whole_lines; [ 0 -lt "\$(lines_of 'Error Drawing font')" ] && [ "\$(lines_of 'Error Drawing font')" -lt "\$(count_of DrawTextA)" ] || fail "log.txt was not deleted, or not made again"
# Replaced mid-run: the program appends to the new file and keeps what it holds.
log-replaced-while-running|during "printf 'replacement\r\n' >new-log && mv new-log log.txt"|$long|*|expect_whole_lines; [ "\$(head -1 log.txt)" = \$'replacement\r' ] && [ "\$(lines_of 'Error Drawing font')" -gt 0 ] || fail "log.txt is not the replacement with lines after it"
# FPS.txt deleted or replaced mid-run (by something longer than a report): the report at the end is whole, with nothing of the replacement left behind.
fps-deleted-while-running|fps_fate 'rm FPS.txt'|$long|*|expect_report
fps-replaced-while-running|fps_fate "printf %05000d 0 >new-fps && mv new-fps FPS.txt"|$long|*|expect_report
EOF

# Another process appends its own numbered lines while the program logs: every line of both is
# there once, whole, the writer's in order, and the two really ran at the same time.
new_case another-writer-appends
start_program "$long"
wait_for_lines log.txt 20 || fail "the program logged nothing while it ran"
( i=0; while [ ! -e stop ]; do i=$((i + 1)); printf 'other %d\r\n' "$i" >>log.txt; done; echo "$i" >written ) &
writer=$!
wait_program
touch stop && wait "$writer"
expect_exit_code 0
expect_report
expect_whole_lines
[ "$(lines_of 'Error Drawing font')" = "$(count_of DrawTextA)" ] || fail "$(lines_of 'Error Drawing font') lines for $(count_of DrawTextA) failed draws"
LC_ALL=C awk -v written="$(cat written)" '/^other / && $2 + 0 != ++n { bad = 1 } /^Error/ && n { after = 1 }
    END { exit bad || n != written || !after }' log.txt || fail "the writer's lines are not all there in order, among the program's"

finish
