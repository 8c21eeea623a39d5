#!/usr/bin/env bash
# The headless scenarios again, on the program built with AddressSanitizer and
# UndefinedBehaviorSanitizer (`make sanitize`): any report ends the run with another exit code.
here="$(cd "$(dirname "$0")" && pwd)"
build="${FONTLOOM_SOURCE_DIR:?}/${FONTLOOM_SANITIZE_BUILD:-build-asan}"
if [ ! -x "$build/app/fontloom" ]; then
  echo "FAIL: no sanitizer build in $build ('make sanitize')" >&2
  exit 1
fi
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:exitcode=99"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:exitcode=99"
export LSAN_OPTIONS="suppressions=$here/lsan.supp:print_suppressions=0"
FONTLOOM_PROGRAM_BUILD="$build" exec bash "$here/headless_e2e_test.sh"
