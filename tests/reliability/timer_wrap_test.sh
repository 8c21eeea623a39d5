#!/usr/bin/env bash
# The millisecond timer wraps past 2^32 during the run: "FPS.txt" is the same as for a run that
# starts at 0. Each pass draws one frame and then finds the device lost, which pauses 500 ms of
# the manual clock: 20 frames in 10 s average 2.00, and the windows of just over a second hold
# 4 frames (the first, from 0 to 1500 ms) and 3 (each later one).
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../e2e/e2e_lib.sh"

passes="$(for i in $(seq 20); do printf 'OK LOST '; done)"
for start in 0 4294966096 4294966796 4294967295; do
  new_case "clock-from-$start"
  run_program "clock $start; key RETURN; coop $passes LOST; key ESCAPE after 20 frames"
  expect_exit_code 0
  expect_file_bytes log.txt ''
  expect_file_bytes FPS.txt '2.00 Fontloom\r\n3 min\r\n4 max\r\n'
done

finish
