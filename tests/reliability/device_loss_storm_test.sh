#!/usr/bin/env bash
# Thousands of device losses in one run, on a short page: the loop stays alive and keeps
# presenting, the font is told of every loss (before any reset) and of every reset that took
# (and only those), a failed reset is retried, nothing is logged and every object is released,
# the device and the font made once. The manual clock turns each 500 ms pause into time that
# passes at once, so the storm takes seconds.
source "$(cd "$(dirname "$0")" && pwd)/../e2e/e2e_lib.sh"

n=2000
failed=701  # an odd number of failed resets, so that one cycle has one failed and one good reset
start="printf Storm >text.txt|clock 0; key RETURN; fail Reset times $failed"
calm="expect_report; expect_all_released; expect_count IDirect3DDevice9:create = 1; expect_count ID3DXFont:create = 1"
# scripted: as the device reports it, lost, then not reset twice, then usable for one frame. The
# font is told of each loss, and again before the second reset of each cycle whose first took.
# presented: lost for real by Present, every other frame; the device then wants a Reset, which
# fails for a while and is retried on each pass until it takes.
run_table <<EOF
scripted-storm|$start; coop $(printf 'LOST NOTRESET NOTRESET OK %.0s' $(seq $n)); key ESCAPE after $((n + 10)) frames||$calm; expect_count Present -ge $((n + 10)); expect_count OnLostDevice = $((2 * n - (failed + 1) / 2)); expect_count Sleep = $n; expect_count Reset = $((2 * n)); expect_count OnResetDevice = $((2 * n - failed))
presented-storm|$start; present $(printf 'DEVICELOST OK %.0s' $(seq $n)); key ESCAPE after $((2 * n + 10)) frames||$calm; expect_count Present -ge $((2 * n + 10)); expect_count OnLostDevice = $n; expect_count Reset = $((n + failed)); expect_count OnResetDevice = $n
EOF
finish
