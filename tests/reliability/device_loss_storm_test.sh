#!/usr/bin/env bash
# Thousands of device losses in one run: the loop stays alive and keeps presenting, the font is
# told of every loss (before any reset) and of every reset that succeeded (and only those), a failed reset is
# retried, nothing is logged and every object made is released. The manual clock turns each
# 500 ms pause into time that passes at once, so the storm takes seconds.
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../e2e/e2e_lib.sh"

cycles=2000
failed_resets=701

expect_all_released() {
  local kind
  for kind in IDirect3DDevice9 ID3DXFont; do
    [ "$(count_of "$kind:create")" = 1 ] || fail "$kind: $(count_of "$kind:create") made (a reset keeps both)"
  done
  for kind in IDirect3D9 IDirect3DDevice9 ID3DXFont; do
    [ "$(count_of "$kind:create")" = "$(count_of "$kind:free")" ] ||
      fail "$kind: $(count_of "$kind:create") created, $(count_of "$kind:free") freed"
  done
}

# expect_count NAME N
expect_count() {
  [ "$(count_of "$1")" = "$2" ] || fail "$1 $(count_of "$1") times, expected $2"
}

expect_calm_end() {
  expect_exit_code 0
  expect_file_bytes log.txt ''
  expect_report
  expect_all_released
  [ "$(count_of Present)" -ge $((cycles + 10)) ] || fail "the loop stopped after $(count_of Present) frames"
}

# A short page: the storm is about the device, and frames of the whole page would make it slow
# in the sanitizer build.
storm_case() {
  new_case "$1"
  printf 'Storm' >"$case_dir/text.txt"
}

# repeat N TEXT
repeat() { local i; for ((i = 0; i < $1; i++)); do printf '%s' "$2"; done; }

# As the device reports it: lost, then not reset twice, then usable for one frame; the first
# resets fail (an odd number, so that one cycle has one failed and one good reset).
storm_case scripted-storm
run_program "counts counts.txt; clock 0; key RETURN; fail Reset times $failed_resets;
  coop $(repeat "$cycles" 'LOST NOTRESET NOTRESET OK '); key ESCAPE after $((cycles + 10)) frames"
expect_calm_end
# Told of each loss, and again before the second reset of each cycle whose first one took.
expect_count OnLostDevice $((2 * cycles - (failed_resets + 1) / 2))
expect_count Sleep "$cycles"
expect_count Reset $((2 * cycles))
expect_count OnResetDevice $((2 * cycles - failed_resets))

# Lost for real by Present, every other frame: the device itself then wants a Reset, which
# fails for a while and is retried on each pass until it takes.
storm_case presented-storm
run_program "counts counts.txt; clock 0; key RETURN; fail Reset times $failed_resets;
  present $(repeat "$cycles" 'DEVICELOST OK '); key ESCAPE after $((2 * cycles + 10)) frames"
expect_calm_end
expect_count OnLostDevice "$cycles"
expect_count Reset $((cycles + failed_resets))
expect_count OnResetDevice "$cycles"

finish
