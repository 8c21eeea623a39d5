#!/usr/bin/env bash
# One whole run under valgrind: preferences, some frames of the page, Escape, shutdown.
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/e2e_lib.sh"
command -v valgrind >/dev/null || { echo "SKIPPED: valgrind is not installed"; exit 77; }
FONTLOOM_RUNNER="valgrind --quiet --suppressions=$here/valgrind.supp --error-exitcode=99 --leak-check=full --errors-for-leak-kinds=definite --show-leak-kinds=definite"
run_table <<<"under-valgrind||key RETURN; key ESCAPE after 20 frames||expect_report"
finish
