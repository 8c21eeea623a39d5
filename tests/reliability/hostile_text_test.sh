#!/usr/bin/env bash
# Whatever "text.txt" holds, the program starts, draws what it can, exits 0 and logs only what
# it must. Frames are compared as pictures: with the manual clock the page is the same every run.
source "$(cd "$(dirname "$0")" && pwd)/../e2e/e2e_lib.sh"
export FONTLOOM_FRAME_PNG=frame.png
page="clock 0; key RETURN; key ESCAPE after 30 frames"

# frame_of COMMAND: the frame shown for the text.txt that COMMAND writes, as a file path.
frame_of() { new_case "reference page"; eval "$1" >text.txt; run_program "$page"; echo "$case_dir/frame.png"; }
crs() { head -c "$1" /dev/zero | tr '\0' '\r'; }
# Around the 4000-byte limit. Only the start of a page fits the window, so the bytes near the
# limit are brought into view: lone CRs take no room, and the page is "ab", a line break, 3995
# CRs, then "cd" as its 3999th and 4000th bytes after CR LF translation. What follows the limit
# ("EF...") must not show, and "d" must.
# limit_page LINE_BREAK SIZE: that page, padded with more text to exactly SIZE bytes.
limit_page() {
  { printf "ab$1"; crs 3995; printf 'cd'; if [ "$1" = '\n' ]; then yes 'EF GH'; else yes $'EF GH\r'; fi; } | head -c "$2"
}

empty="$(frame_of :)"
short="$(frame_of "printf 'abc def'")"
cmp -s "$short" "$(frame_of "printf 'abc def xyz'")" && fail "the harness cannot tell two pages apart"
limit="$(frame_of "limit_page '\n' 4000")"
cmp -s "$limit" "$(frame_of "printf 'ab\n'")" && fail "the harness cannot see the end of the page"
cmp -s "$limit" "$(frame_of "printf 'ab\n'; crs 3994; printf cdE")" && fail "the harness cannot see a byte past the limit"
ends_in_c="$(frame_of "limit_page '\n' 3999")"
cmp -s "$limit" "$ends_in_c" && fail "the harness cannot see the last byte"

clean="expect_report; [ -f frame.png ] || fail 'no frame was presented'; [ ! -s stderr ] || fail 'it said something'"
same() { cmp -s "$1" frame.png || fail "the page differs from $2"; }
ink() { cmp -s "$empty" frame.png && fail "nothing of the page was drawn"; }
unreadable="Error opening file for read\r\n|expect_file_bytes FPS.txt 'old report\r\n'; expect_no_file frame.png"
# LF: the limit is the 4000th byte of the file. CR LF: its one CR LF arrives as one byte, so a
# file of 4000 bytes is shown whole (it ends in "c") and one of 4001 or more up to the "d".
# 100 MB: the page is its first 4000 bytes, and start-up does not read the rest (the run ends
# well within the harness's timeout). A FIFO that nobody writes reads as an empty page instead
# of waiting for a writer. Without a page to show, nothing runs and the old report stays.
run_table <<EOF
empty|: >text.txt|$page||$clean; same $empty 'an empty page'
only-line-breaks|printf '\r\n\n\r\n\n\n' >text.txt|$page||$clean; same $empty 'an empty page'
nul-in-the-middle|printf 'abc def\0 xyz' >text.txt|$page||$clean; same $short 'the text before the NUL'
random-bytes|LC_ALL=C awk 'BEGIN { srand(10); for (i = 0; i < 6000; i++) printf "%c", 1 + int(rand() * 255) }' >text.txt|$page||$clean; ink
carriage-return-line-ends|printf 'first line\rsecond line\rthird\r' >text.txt|$page||$clean; same $(frame_of "printf 'first linesecond linethird'") 'the lines run together (a lone CR draws nothing)'
one-long-word|printf 'W%.0s' {1..10000} >text.txt|$page||$clean; ink
$(for size in 4000 4001 8000; do for ending in '\n' '\r\n'; do
    echo "$size-bytes-$ending|limit_page '$ending' $size >text.txt|$page||$clean; same $([ "$ending$size" = '\r\n4000' ] && echo "$ends_in_c 'the page that ends in c'" || echo "$limit 'the page of its first 4000 bytes'")"
  done; done)
100-megabytes|limit_page '\n' 100000000 >text.txt|$page||$clean; same $limit 'the page of its first 4000 bytes'
fifo|rm text.txt; mkfifo text.txt|$page||$clean; same $empty 'an empty page'
directory|rm text.txt; mkdir text.txt; printf 'old report\r\n' >FPS.txt|$page|$unreadable
dangling-link|ln -sf nowhere text.txt; printf 'old report\r\n' >FPS.txt|$page|$unreadable
EOF
finish
