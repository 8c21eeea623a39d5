#!/usr/bin/env bash
# One whole run under valgrind: preferences, some frames of the page, Escape, shutdown.
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/e2e_lib.sh"
if ! command -v valgrind >/dev/null 2>&1; then
  echo "SKIPPED: valgrind is not installed"
  exit 77
fi
new_case under-valgrind
FONTLOOM_RUNNER="valgrind --quiet --suppressions=$here/valgrind.supp --error-exitcode=99 --leak-check=full --errors-for-leak-kinds=definite --show-leak-kinds=definite"
run_program "key RETURN; key ESCAPE after 20 frames"
expect_exit_code 0
expect_file_bytes log.txt ''
expect_report
finish
