#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz/) with clang, AddressSanitizer and UndefinedBehaviorSanitizer
# in their own tree and runs each for a while from the seed corpus in fuzz/corpus/.
#   tools/fuzz.sh BUILD_DIR SECONDS_EACH
# Exit 0: nothing found; 1: a target crashed, leaked, hung or broke a check (the input that did
# it is kept in BUILD_DIR/fuzz-findings/); 77: no clang with libFuzzer here.
set -u
source_dir="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:?usage: tools/fuzz.sh BUILD_DIR SECONDS_EACH}"
mkdir -p "$build" && build="$(cd "$build" && pwd)"  # the log target works in a folder of its own
seconds="${2:?usage: tools/fuzz.sh BUILD_DIR SECONDS_EACH}"
targets="text_layout log_line sim_script"

probe="$(mktemp -d)"
trap 'rm -rf "$probe"' EXIT
echo 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }' >"$probe/probe.cpp"
if ! command -v clang++ >/dev/null 2>&1 ||
   ! clang++ -fsanitize=fuzzer,address,undefined "$probe/probe.cpp" -o "$probe/probe" >/dev/null 2>&1; then
  echo "SKIPPED: no clang++ with libFuzzer (-fsanitize=fuzzer) on this machine"
  exit 77
fi

if [ ! -f "$build/CMakeCache.txt" ]; then
  generator=""
  command -v ninja >/dev/null 2>&1 && generator="-G Ninja"
  cmake -S "$source_dir" -B "$build" $generator -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DFONTLOOM_SANITIZE=ON -DFONTLOOM_FUZZ=ON >/dev/null ||
    { echo "FAIL: cannot configure the fuzz build in $build" >&2; exit 1; }
fi
cmake --build "$build" -j "${FUZZ_JOBS:-2}" --target fuzzers >"$build/fuzz-build.log" 2>&1 ||
  { tail -30 "$build/fuzz-build.log" >&2; echo "FAIL: the fuzz targets do not build" >&2; exit 1; }

# fontconfig keeps its configuration for the life of the process (as in the sanitized e2e runs).
export LSAN_OPTIONS="suppressions=$source_dir/tests/e2e/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export ASAN_OPTIONS="detect_leaks=1"
failures=0
for target in $targets; do
  corpus="$build/fuzz-corpus/$target"  # grows run by run; the repository's seeds stay as they are
  findings="$build/fuzz-findings/$target-"
  mkdir -p "$corpus" "$(dirname "$findings")"
  if "$build/fuzz/${target}_fuzz" -max_total_time="$seconds" -timeout=10 -max_len=4200 -print_final_stats=1 \
      -artifact_prefix="$findings" "$corpus" "$source_dir/fuzz/corpus/$target" >"$build/fuzz-$target.log" 2>&1; then
    echo "$target: $(grep -E '^stat::number_of_executed_units' "$build/fuzz-$target.log" | awk '{print $2}') inputs in ${seconds}s, nothing found"
  else
    echo "FAIL: $target found a fault; the input is in $(dirname "$findings"):" >&2
    grep -E 'ERROR|check failed|runtime error|SUMMARY|Test unit written' "$build/fuzz-$target.log" | head -10 >&2
    failures=$((failures + 1))
  fi
done
exit $((failures == 0 ? 0 : 1))
