#!/usr/bin/env bash
# The headless scenarios again, and every reliability scenario built on the same harness, on the
# program built with AddressSanitizer and UndefinedBehaviorSanitizer (`make sanitize`): any
# report ends the run with another exit code.
here="$(cd "$(dirname "$0")" && pwd)"
export FONTLOOM_PROGRAM_BUILD="${FONTLOOM_SOURCE_DIR:?}/${FONTLOOM_SANITIZE_BUILD:-build-asan}"
[ -x "$FONTLOOM_PROGRAM_BUILD/app/fontloom" ] || { echo "FAIL: no sanitizer build in $FONTLOOM_PROGRAM_BUILD ('make sanitize')" >&2; exit 1; }
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:exitcode=99" UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:exitcode=99"
export LSAN_OPTIONS="suppressions=$here/lsan.supp:print_suppressions=0"
failed=0
for script in "$here/headless_e2e_test.sh" $(grep -l 'e2e/e2e_lib.sh' "$here"/../reliability/*_test.sh); do
  echo "== $(basename "$script")"
  bash "$script" || failed=1
done
exit "$failed"
