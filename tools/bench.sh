#!/usr/bin/env bash
# The frame-rate table: the program's own FPS.txt for each way of running it, on this machine,
# in one go. Usage: tools/bench.sh RELEASE_BUILD WINDOWS_BUILD [SECONDS] [REPEATS]
# Each run lasts about SECONDS (default 6) and is repeated REPEATS times (default 3); the table
# shows the median. Peak memory comes from /usr/bin/time -v.
set -u
source_dir="$(cd "$(dirname "$0")/.." && pwd)"
release="$(cd "${1:?release build folder}" && pwd)"
windows="$(cd "${2:?windows build folder}" && pwd)"
seconds="${3:-6}"
repeats="${4:-3}"
program="$release/app/fontloom"
exe="$windows/app/fontloom.exe"
work="$(mktemp -d "${TMPDIR:-/tmp}/fontloom-bench.XXXXXX")"
source "$source_dir/tests/support/x_session.sh"
trap 'stop_wine; stop_x_server; rm -rf "$work"' EXIT

median() { sort -n | awk '{ v[NR] = $1 } END { if (NR) print v[int((NR + 1) / 2)]; else print "-" }'; }
fps_of() { awk 'NR == 1 { print $1 }' "$1/FPS.txt" 2>/dev/null; }
rss_of() { awk -F: '/Maximum resident/ { gsub(/ /, "", $2); print int($2 / 1024) }' "$1/time.txt"; }

fresh_dir() {
  local dir
  dir="$(mktemp -d "$work/run.XXXXXX")"
  cp "$source_dir/app/sample/text.txt" "$dir/"
  echo "$dir"
}

# A frame count that lasts about $seconds at the rate a short trial run shows.
frames_for() {  # KEYS ENVIRONMENT...
  local keys="$1" dir rate
  shift
  dir="$(fresh_dir)"
  (cd "$dir" && env "$@" FONTLOOM_SIM="$keys; key ESCAPE after 300 frames" timeout 120 "$program" >/dev/null 2>&1)
  trial="$(fps_of "$dir")"
  awk -v r="${trial:-100}" -v s="$seconds" 'BEGIN { n = int(r * s); if (n < 300) n = 300; print n }'
}

# native NAME KEYS ENVIRONMENT...: the native program, driven by the sim script.
native() {
  local name="$1" keys="$2"
  shift 2
  local frames fps=() rss=() dir
  frames="$(frames_for "$keys" "$@")"
  for _ in $(seq "$repeats"); do
    dir="$(fresh_dir)"
    (cd "$dir" && env "$@" FONTLOOM_SIM="$keys; key ESCAPE after $frames frames" \
       timeout $((seconds * 5 + 60)) /usr/bin/time -v -o "$dir/time.txt" "$program" >/dev/null 2>&1)
    fps+=("$(fps_of "$dir")")
    rss+=("$(rss_of "$dir")")
  done
  record "$name" "$(printf '%s\n' "${fps[@]}" | median)" "$(printf '%s\n' "${rss[@]}" | median)"
}

# The copy ceiling: Clear + Present alone (bench/frame_bench), in frames per second.
ceiling() {
  local name="$1"
  shift
  local measured
  measured="$(env "$@" "$release/bench/frame_bench" --benchmark_filter=CopyCeiling --benchmark_min_time="$seconds" \
            --benchmark_repetitions="$repeats" --benchmark_report_aggregates_only=true 2>/dev/null |
          awk '$1 ~ /^BM_CopyCeiling(\/real_time)?(_median)?$/ {
                 for (i = 1; i <= NF; ++i) if ($i ~ /^frames\/s=/) { sub(/frames\/s=/, "", $i); rate = $i } }
               END { print rate }')"
  # Google Benchmark prints 5.8k/s: back to a plain number.
  measured="$(echo "$measured" | awk '{ v = $1; sub(/\/s$/, "", v); m = 1; if (v ~ /k$/) { m = 1000; sub(/k$/, "", v) } printf "%.2f", v * m }')"
  record "$name" "$measured" "-"
}

# The Windows build under Wine, driven with real key presses for $seconds.
wine_run() {
  local fps=() rss=() dir window
  make_wine_prefix "$work/prefix"
  for _ in $(seq "$repeats"); do
    dir="$(fresh_dir)"
    cp "$exe" "$dir/"
    (cd "$dir" && /usr/bin/time -v -o "$dir/time.txt" wine fontloom.exe >/dev/null 2>&1) &
    local pid=$!
    window="$(wait_for_window "User Preferences" 60)" && press "$window" Return
    window="$(wait_for_window "^Fontloom$" 30)" && sleep "$seconds" && press "$window" Escape
    wait "$pid"
    fps+=("$(fps_of "$dir")")
    rss+=("$(rss_of "$dir")")
  done
  record "Windows build under Wine, Xvfb, HAL" "$(printf '%s\n' "${fps[@]}" | median)" \
    "$(printf '%s\n' "${rss[@]}" | median)"
}

# Start-up: from launch to the preferences window being on the X screen.
startup_ms() {
  local dir start window
  dir="$(fresh_dir)"
  start=$(date +%s%N)
  (cd "$dir" && env "$@" >/dev/null 2>&1) &
  local pid=$!
  window="$(wait_for_window "User Preferences" 60)"
  echo $(( ($(date +%s%N) - start) / 1000000 ))
  press "$window" Escape
  wait "$pid"
}

names=()
declare -A rate memory
record() {
  names+=("$1")
  rate["$1"]="$2"
  memory["$1"]="$3"
}

HAL_KEYS="key RETURN"
REF_KEYS="key TAB; key DOWN; key RETURN"  # the device-type group, Reference, Okay
native "native, headless, HAL" "$HAL_KEYS" FONTLOOM_HEADLESS=1
native "native, headless, Reference" "$REF_KEYS" FONTLOOM_HEADLESS=1
ceiling "copy ceiling, headless" FONTLOOM_HEADLESS=1
start_x_server
native "native, Xvfb, HAL" "$HAL_KEYS" FONTLOOM_HEADLESS=0
ceiling "copy ceiling, Xvfb" FONTLOOM_HEADLESS=0
native_start="$(startup_ms FONTLOOM_HEADLESS=0 "$program")"
if command -v wine >/dev/null 2>&1 && [ -f "$exe" ]; then
  wine_run
  wine_start="$(cd "$work" && startup_ms wine "$exe")"
else
  echo "(Wine or $exe missing: the Windows build was not measured)"
fi

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (a + 0 > 0 && b + 0 > 0) printf "%.2f", a / b; else print "-" }'; }
echo
echo "Fontloom frame rates: $(nproc) x $(awk -F: '/model name/ { sub(/^ /, "", $2); print $2; exit }' /proc/cpuinfo), $(date -u +%Y-%m-%d)"
echo "median of $repeats runs of about $seconds s, the full sample page (app/sample/text.txt)"
echo
printf '| %-38s | %12s | %13s |\n' "run" "frames/s" "peak RSS (MB)"
printf '|%s|%s|%s|\n' "----------------------------------------" "--------------" "---------------"
for name in "${names[@]}"; do
  printf '| %-38s | %12s | %13s |\n' "$name" "${rate[$name]}" "${memory[$name]}"
done
echo
echo "native headless HAL / headless ceiling: $(ratio "${rate["native, headless, HAL"]}" "${rate["copy ceiling, headless"]}")"
echo "native headless HAL / Reference:        $(ratio "${rate["native, headless, HAL"]}" "${rate["native, headless, Reference"]}")"
echo "native Xvfb HAL / Xvfb ceiling:         $(ratio "${rate["native, Xvfb, HAL"]}" "${rate["copy ceiling, Xvfb"]}")"
echo "native Xvfb HAL / Wine:                 $(ratio "${rate["native, Xvfb, HAL"]}" "${rate["Windows build under Wine, Xvfb, HAL"]:-}")"
echo "start-up to the preferences window:     native ${native_start} ms, Wine ${wine_start:--} ms"
