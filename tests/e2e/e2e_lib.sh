# Shared by the end-to-end scenarios: each runs the real program in a fresh working folder,
# headless, steered by the platform's FONTLOOM_SIM script, and checks the files it leaves.
set -u

# FONTLOOM_PROGRAM_BUILD picks another build of the program (the sanitizer build), and
# FONTLOOM_RUNNER a command to run it under (valgrind).
FONTLOOM_BIN="${FONTLOOM_PROGRAM_BUILD:-${FONTLOOM_BUILD_DIR:?}}/app/fontloom"
SAMPLE_TEXT="${FONTLOOM_SOURCE_DIR:?}/app/sample/text.txt"
failures=0

if [ ! -x "$FONTLOOM_BIN" ]; then
  echo "FAIL: the program $FONTLOOM_BIN is not built" >&2
  exit 1
fi

# new_case NAME: a fresh working folder with the sample page; sets $case_dir.
new_case() {
  case_name="$1"
  case_dir="$(mktemp -d "${TMPDIR:-/tmp}/fontloom-e2e.XXXXXX")"
  cp "$SAMPLE_TEXT" "$case_dir/text.txt"
}

# start_program SCRIPT: starts the program headless in $case_dir, in the background; sets
# $program_pid. wait_program then sets $exit_code (124 when it ran E2E_TIMEOUT seconds).
start_program() {
  ( cd "$case_dir" && FONTLOOM_HEADLESS=1 FONTLOOM_SIM="$1" SDL_AUDIODRIVER=dummy \
      exec timeout "${E2E_TIMEOUT:-300}" ${FONTLOOM_RUNNER:-} "$FONTLOOM_BIN" >"$case_dir/stdout" 2>"$case_dir/stderr" ) &
  program_pid=$!
}

wait_program() {
  wait "$program_pid"
  exit_code=$?
}

# run_program SCRIPT: runs the program headless in $case_dir; sets $exit_code.
run_program() {
  start_program "$1"
  wait_program
}

# program_running: the program started by start_program has not ended yet.
program_running() {
  kill -0 "$program_pid" 2>/dev/null
}

# wait_for_lines FILE N: until FILE in $case_dir holds N lines; false when the program ended or
# a minute went by first.
wait_for_lines() {
  local tries=0
  while [ "$(cat "$case_dir/$1" 2>/dev/null | wc -l)" -lt "$2" ]; do
    program_running && [ "$tries" -lt 6000 ] || return 1
    sleep 0.01
    tries=$((tries + 1))
  done
}

fail() {
  echo "FAIL [$case_name]: $*" >&2
  if [ -f "$case_dir/stderr" ]; then sed 's/^/  stderr: /' "$case_dir/stderr" | head -20 >&2; fi
  failures=$((failures + 1))
}

expect_exit_code() {
  [ "$exit_code" -eq "$1" ] || fail "exit code $exit_code, expected $1"
}

# expect_file_bytes FILE PRINTF_FORMAT: the file holds exactly these bytes.
expect_file_bytes() {
  local expected
  expected="$(mktemp)"
  printf "$2" >"$expected"
  if [ ! -f "$case_dir/$1" ]; then
    fail "$1 is missing"
  elif ! cmp -s "$expected" "$case_dir/$1"; then
    fail "$1 holds $(od -c "$case_dir/$1" | head -5 | tr '\n' ' '), expected $(od -c "$expected" | head -5 | tr '\n' ' ')"
  fi
  rm -f "$expected"
}

expect_no_file() {
  [ ! -e "$case_dir/$1" ] || fail "$1 exists"
}

# The report: "<average> Fontloom", "<n> min", "<n> max", each line ending in CR LF.
expect_report() {
  local report="$case_dir/FPS.txt"
  [ -f "$report" ] || { fail "FPS.txt is missing"; return; }
  if ! LC_ALL=C awk 'BEGIN { ok = 1 }
      NR == 1 && $0 !~ /^(-?[0-9]+\.[0-9][0-9]|-?inf|-?nan) Fontloom\r$/ { ok = 0 }
      NR == 2 && $0 !~ /^-?[0-9]+ min\r$/ { ok = 0 }
      NR == 3 && $0 !~ /^-?[0-9]+ max\r$/ { ok = 0 }
      END { exit !(ok && NR == 3) }' "$report"; then
    fail "FPS.txt is not a three-line report: $(od -c "$report" | head -8 | tr '\n' ' ')"
  fi
}

# count_of NAME: the call count the run wrote with the script's `counts` command.
count_of() {
  awk -v name="$1" '$1 == name { print $2; found = 1 } END { if (!found) print 0 }' "$case_dir/counts.txt"
}

finish() {
  [ "$failures" -eq 0 ] && echo "all scenarios passed"
  exit $((failures == 0 ? 0 : 1))
}
