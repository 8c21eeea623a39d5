# Shared by the end-to-end scenarios: each runs the real program in a fresh working folder
# (headless, steered by the platform's FONTLOOM_SIM script) and checks the files it leaves.
set -u

# FONTLOOM_PROGRAM_BUILD picks another build of the program (the sanitizer build), and
# FONTLOOM_RUNNER a command to run it under (valgrind).
FONTLOOM_BIN="${FONTLOOM_PROGRAM_BUILD:-${FONTLOOM_BUILD_DIR:?}}/app/fontloom"
[ -x "$FONTLOOM_BIN" ] || { echo "FAIL: the program $FONTLOOM_BIN is not built" >&2; exit 1; }
failures=0
cases=0
e2e_root="$(mktemp -d "${TMPDIR:-/tmp}/fontloom-e2e.XXXXXX")"
# The case folders stay only for a look after a failure.
trap '[ "$failures" -gt 0 ] && echo "the cases are in $e2e_root" >&2 || rm -rf "$e2e_root"' EXIT

# new_case NAME: a fresh working folder with the sample page, entered; sets $case_dir.
new_case() {
  case_name="$1"
  cases=$((cases + 1))
  case_dir="$(mktemp -d "$e2e_root/case.XXXXXX")" && cp "${FONTLOOM_SOURCE_DIR:?}/app/sample/text.txt" "$case_dir/" && cd "$case_dir"
}

# start_program SCRIPT: the program headless in $case_dir, in the background, its call counts
# going to counts.txt and its calls to trace.txt; wait_program sets $exit_code (124: timed out).
start_program() {
  ( cd "$case_dir" && FONTLOOM_HEADLESS=1 FONTLOOM_SIM="counts counts.txt; trace trace.txt; $1" SDL_AUDIODRIVER=dummy \
      exec timeout "${E2E_TIMEOUT:-300}" ${FONTLOOM_RUNNER:-} "$FONTLOOM_BIN" >stdout 2>stderr ) &
  program_pid=$!
}
wait_program() { wait "$program_pid"; exit_code=$?; }
run_program() { start_program "$1"; wait_program; }
program_running() { kill -0 "$program_pid" 2>/dev/null; }

# wait_for_lines FILE N: until FILE holds N lines; false when the program ended or a minute went by.
wait_for_lines() {
  local tries=0
  while [ "$(cat "$case_dir/$1" 2>/dev/null | wc -l)" -lt "$2" ]; do
    program_running && [ $((tries += 1)) -le 6000 ] || return 1
    sleep 0.01
  done
}

fail() {
  echo "FAIL [$case_name]: $*" >&2
  [ -f "$case_dir/stderr" ] && sed 's/^/  stderr: /' "$case_dir/stderr" | head -20 >&2
  failures=$((failures + 1))
}

expect_exit_code() { [ "$exit_code" -eq "$1" ] || fail "exit code $exit_code, expected $1"; }
expect_no_file() { [ ! -e "$case_dir/$1" ] || fail "$1 exists"; }
# expect_file_bytes FILE PRINTF_FORMAT: the file holds exactly these bytes.
expect_file_bytes() {
  cmp -s <(printf "$2") "$case_dir/$1" ||
    fail "$1 holds $(od -c "$case_dir/$1" 2>&1 | head -5 | tr '\n' ' '), expected $(printf "$2" | od -c | head -5 | tr '\n' ' ')"
}
# The report: "<average> Fontloom", "<n> min", "<n> max", each line ending in CR LF.
expect_report() {
  local re=$'^(-?[0-9]+\\.[0-9]{2}|-?inf|-?nan) Fontloom\r\n-?[0-9]+ min\r\n-?[0-9]+ max\r\nx$'  # x: the end of the file
  [[ "$(cat "$case_dir/FPS.txt" 2>/dev/null; echo x)" =~ $re ]] ||
    fail "FPS.txt is not a three-line report: $(od -c "$case_dir/FPS.txt" 2>&1 | head -8 | tr '\n' ' ')"
}

# count_of NAME: the call count of the run. expect_count NAME TEST N: e.g. expect_count Present -ge 30.
count_of() { awk -v name="$1" '$1 == name { n = $2 } END { print n + 0 }' "$case_dir/counts.txt" 2>/dev/null || echo 0; }
expect_count() { [ "$(count_of "$1")" "$2" "$3" ] || fail "$1 $(count_of "$1") times, expected $2 $3"; }

# Every object the program made is freed again by the end.
expect_all_released() {
  local kind
  for kind in IDirect3D9 IDirect3DDevice9 ID3DXFont; do
    [ "$(count_of "$kind:create")" = "$(count_of "$kind:free")" ] || fail "$kind: $(count_of "$kind:create") made, $(count_of "$kind:free") freed"
  done
}

# expect_calls NAME... -- CALL...: the trace, kept to the calls named, is exactly CALL...
expect_calls() {
  local names=()
  while [ "$1" != -- ]; do names+=(-e "$1"); shift; done
  shift
  [ "$(grep -xF "${names[@]}" "$case_dir/trace.txt" | tr '\n' ' ')" = "$* " ] || fail "the calls were: $(grep -xF "${names[@]}" "$case_dir/trace.txt" | tr '\n' ' ')"
}

# expect_last_calls CALL...: the run ended with these releases (font, device, Direct3D object,
# window, class) and log lines (OutputDebugStringA), in this order.
expect_last_calls() {
  local seen
  seen="$(grep -xE 'ID3DXFont:free|IDirect3DDevice9:free|IDirect3D9:free|DestroyWindow|UnregisterClassA|OutputDebugStringA' \
    "$case_dir/trace.txt" | tail -n $# | tr '\n' ' ')"
  [ "$seen" = "$* " ] || fail "the run ended with: $seen"
}

# run_table: one scenario a line of standard input, "NAME|SETUP|SIM SCRIPT|LOG BYTES|CHECKS":
# SETUP runs in a fresh case folder with the sample page, then the program; its exit code must be
# 0 and log.txt hold exactly LOG BYTES (a printf format; "*": anything), then the CHECKS run.
# `during CMD` in SETUP runs CMD once the running program has logged 50 lines.
during() { during_cmd="$1"; }
run_table() {
  local name setup script log checks
  while IFS='|' read -r name setup script log checks; do
    case "$name" in '' | '#'*) continue ;; esac
    new_case "$name"
    during_cmd=
    eval "$setup"
    start_program "$script"
    if [ -n "$during_cmd" ]; then
      wait_for_lines log.txt 50 || fail "the program logged nothing while it ran"
      eval "$during_cmd"
      program_running || fail "the program ended before: $during_cmd"
    fi
    wait_program
    expect_exit_code 0
    [ "$log" = '*' ] || expect_file_bytes log.txt "$log"
    eval "$checks"
  done
}

finish() {
  [ "$failures" -eq 0 ] && echo "all $cases scenarios passed"
  exit $((failures == 0 ? 0 : 1))
}
