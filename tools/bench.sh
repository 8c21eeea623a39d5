#!/usr/bin/env bash
# The frame-rate table: the program's own FPS.txt for each way of running it, on this machine,
# in one go. Usage: tools/bench.sh RELEASE_BUILD WINDOWS_BUILD [SECONDS] [REPEATS] [CHART]
# Each run lasts about SECONDS (default 6) and is repeated REPEATS times (default 3); the table
# shows the median. Peak memory comes from /usr/bin/time -v. CHART (default
# RELEASE_BUILD/frame-rates.png) is the table drawn by gnuplot. BENCH_BASELINE=path/to/fontloom
# adds that program's native rows, measured in the same run: before and after a change.
set -u
source_dir="$(cd "$(dirname "$0")/.." && pwd)"
release="$(cd "${1:?release build folder}" && pwd)"
windows="$(cd "${2:?windows build folder}" && pwd)"
seconds="${3:-6}"
repeats="${4:-3}"
chart="${5:-$release/frame-rates.png}"
program="$release/app/fontloom"
exe="$windows/app/fontloom.exe"
work="$(mktemp -d "${TMPDIR:-/tmp}/fontloom-bench.XXXXXX")"
source "$source_dir/tools/x_session.sh"
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

# native NAME KEYS ENVIRONMENT...: the native program ($program), driven by the sim script.
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

# ceiling NAME BENCHMARK ENVIRONMENT...: the copy ceiling, Clear + Present alone of frames that
# change every time (bench/frame_bench: BM_CopyCeiling windowed, BM_CopyCeilingFullScreen), or
# of the same frame again (BM_UnchangedFullScreen), in frames per second.
ceiling() {
  local name="$1" benchmark="$2"
  shift 2
  local measured
  measured="$(env "$@" "$release/bench/frame_bench" --benchmark_filter="^$benchmark/" --benchmark_min_time="$seconds" \
            --benchmark_repetitions="$repeats" --benchmark_report_aggregates_only=true 2>/dev/null |
          awk -v b="$benchmark" '$1 == b "/real_time_median" || $1 == b "/real_time" {
                 for (i = 1; i <= NF; ++i) if ($i ~ /^frames\/s=/) { sub(/frames\/s=/, "", $i); rate = $i } }
               END { print rate }')"
  # Google Benchmark prints 5.8k/s: back to a plain number.
  measured="$(echo "$measured" | awk '{ v = $1; sub(/\/s$/, "", v); m = 1; if (v ~ /k$/) { m = 1000; sub(/k$/, "", v) } printf "%.2f", v * m }')"
  record "$name" "$measured" "-"
}

# wine_run NAME KEY...: the Windows build under Wine, the preferences set with real key presses
# (then Return), running for $seconds.
wine_run() {
  local name="$1" fps=() rss=() dir window key
  shift
  [ -n "${WINEPREFIX:-}" ] || make_wine_prefix "$work/prefix"
  for _ in $(seq "$repeats"); do
    dir="$(fresh_dir)"
    cp "$exe" "$dir/"
    (cd "$dir" && /usr/bin/time -v -o "$dir/time.txt" timeout $((seconds * 5 + 60)) wine fontloom.exe >/dev/null 2>&1) &
    local pid=$!
    if window="$(wait_for_window "User Preferences" 60)"; then
      for key in "$@" Return; do press "$window" "$key"; done
    fi
    window="$(wait_for_window "^Fontloom$" 30)" && sleep "$seconds" && press "$window" Escape
    wait "$pid"
    fps+=("$(fps_of "$dir")")
    rss+=("$(rss_of "$dir")")
    grep -q . "$dir/log.txt" 2>/dev/null && wine_log="$(tr -d '\r' <"$dir/log.txt" | head -1)"
  done
  record "$name" "$(printf '%s\n' "${fps[@]}" | median)" "$(printf '%s\n' "${rss[@]}" | median)"
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

# both NAME KEYS ENVIRONMENT...: the row "native, NAME" and, with BENCH_BASELINE, right after it
# the same run of that build as "baseline, NAME". Only the windowed rows: Return alone means the
# same to every build, while builds from before the preferences window started with the focus on
# itself need other keys for full screen.
both() {
  local name="$1"
  shift
  program="$release/app/fontloom"
  native "native, $name" "$@"
  [ -n "${BENCH_BASELINE:-}" ] || return 0
  program="$BENCH_BASELINE"
  native "baseline, $name" "$@"
  program="$release/app/fontloom"
}

# The preferences window starts with the focus on itself, as under Windows; the first Tab reaches
# the Full Screen radio button, which takes the check with the focus.
HAL_KEYS="key RETURN"
REF_KEYS="key TAB; key TAB; key TAB; key DOWN; key RETURN"  # Reference, Okay
FULL_KEYS="key TAB; key SPACE; key RETURN"           # Full Screen, Okay: a 640 x 480 R5G6B5 back buffer
load_before="$(cut -d' ' -f1 /proc/loadavg)"
program="$release/app/fontloom"
both "headless, HAL" "$HAL_KEYS" FONTLOOM_HEADLESS=1
native "native, headless, Reference" "$REF_KEYS" FONTLOOM_HEADLESS=1
native "native, headless, full screen, HAL" "$FULL_KEYS" FONTLOOM_HEADLESS=1
ceiling "copy ceiling, headless" BM_CopyCeiling FONTLOOM_HEADLESS=1
ceiling "copy ceiling, headless, full screen" BM_CopyCeilingFullScreen FONTLOOM_HEADLESS=1
ceiling "unchanged frame, headless, full screen" BM_UnchangedFullScreen FONTLOOM_HEADLESS=1
start_x_server
both "Xvfb, HAL" "$HAL_KEYS" FONTLOOM_HEADLESS=0
native "native, Xvfb, full screen, HAL" "$FULL_KEYS" FONTLOOM_HEADLESS=0
ceiling "copy ceiling, Xvfb" BM_CopyCeiling FONTLOOM_HEADLESS=0
ceiling "copy ceiling, Xvfb, full screen" BM_CopyCeilingFullScreen FONTLOOM_HEADLESS=0
native_start="$(startup_ms FONTLOOM_HEADLESS=0 "$program")"
if command -v wine >/dev/null 2>&1 && [ -f "$exe" ]; then
  wine_run "Windows build under Wine, Xvfb, HAL"
  wine_start="$(cd "$work" && startup_ms wine "$exe")"
else
  echo "(Wine or $exe missing: the Windows build was not measured)"
fi
# Xvfb has one display mode, so Wine's Direct3D takes a full-screen 640 x 480 R5G6B5 device only
# on a screen that already is that mode (on 1280 x 1024 it answers D3DERR_NOTAVAILABLE). Both
# builds run full screen on such a screen, side by side.
stop_wine
stop_x_server
start_x_server 640x480x16
native "native, Xvfb 640 x 480 x 16, full screen" "$FULL_KEYS" FONTLOOM_HEADLESS=0
if command -v wine >/dev/null 2>&1 && [ -f "$exe" ]; then
  wine_log=""
  wine_run "Windows build under Wine, Xvfb 640 x 480 x 16, full screen" Tab space
  wine_full_log="$wine_log"
fi
stop_wine
stop_x_server
# Wayland: weston in a window of Xvfb (start_desktop), the program on SDL's Wayland driver.
start_desktop weston
native "native, weston (Wayland), HAL" "$HAL_KEYS" FONTLOOM_HEADLESS=0
native "native, weston (Wayland), full screen, HAL" "$FULL_KEYS" FONTLOOM_HEADLESS=0
stop_x_server
load_after="$(cut -d' ' -f1 /proc/loadavg)"

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (a + 0 > 0 && b + 0 > 0) printf "%.2f", a / b; else print "-" }'; }
ratios=(
  "native headless HAL / headless ceiling|native, headless, HAL|copy ceiling, headless"
  "headless full screen / its ceiling|native, headless, full screen, HAL|copy ceiling, headless, full screen"
  "native headless HAL / Reference|native, headless, HAL|native, headless, Reference"
  "native Xvfb HAL / Xvfb ceiling|native, Xvfb, HAL|copy ceiling, Xvfb"
  "Xvfb full screen / its ceiling|native, Xvfb, full screen, HAL|copy ceiling, Xvfb, full screen"
  "Xvfb full screen / Xvfb windowed|native, Xvfb, full screen, HAL|native, Xvfb, HAL"
  "native Xvfb HAL / Wine|native, Xvfb, HAL|Windows build under Wine, Xvfb, HAL"
  "native / Wine, 640 x 480 x 16 full screen|native, Xvfb 640 x 480 x 16, full screen|Windows build under Wine, Xvfb 640 x 480 x 16, full screen"
  "Wayland windowed / Xvfb windowed|native, weston (Wayland), HAL|native, Xvfb, HAL"
)
[ -n "${BENCH_BASELINE:-}" ] && ratios+=(
  "headless windowed / baseline|native, headless, HAL|baseline, headless, HAL"
  "Xvfb windowed / baseline|native, Xvfb, HAL|baseline, Xvfb, HAL"
)
title="Fontloom frame rates: $(nproc) x $(awk -F: '/model name/ { sub(/^ /, "", $2); print $2; exit }' /proc/cpuinfo), $(date -u +%Y-%m-%d)"
echo
echo "$title"
echo "median of $repeats runs of about $seconds s, the full sample page (app/sample/text.txt);"
echo "full screen: 640 x 480 R5G6B5 on a 1280 x 1024 screen; load average $load_before before, $load_after after"
echo
printf '| %-60s | %12s | %13s |\n' "run" "frames/s" "peak RSS (MB)"
printf '|%s|%s|%s|\n' "--------------------------------------------------------------" "--------------" "---------------"
for name in "${names[@]}"; do
  printf '| %-60s | %12s | %13s |\n' "$name" "${rate[$name]:--}" "${memory[$name]:--}"
done
echo
data="$work/ratios.dat"
: >"$data"
for entry in "${ratios[@]}"; do
  IFS='|' read -r label top bottom <<<"$entry"
  value="$(ratio "${rate[$top]:-}" "${rate[$bottom]:-}")"
  printf '%-44s %s\n' "$label:" "$value"
  printf '"%s" %s\n' "$label" "${value/#-/0}" >>"$data"
done
printf '%-44s %s\n' "start-up to the preferences window:" "native ${native_start} ms, Wine ${wine_start:--} ms"
[ -n "${wine_full_log:-}" ] && printf '%-44s %s\n' "Wine full screen, log.txt:" "$wine_full_log"

runs="$work/runs.dat"
for name in "${names[@]}"; do
  fps="${rate[$name]:-0}" mb="${memory[$name]:-0}"
  printf '"%s" %s %s\n' "$name" "${fps/#-/0}" "${mb/#-/0}"
done >"$runs"
if command -v gnuplot >/dev/null 2>&1; then
  gnuplot -e "runs='$runs'; ratios='$data'; out='$chart'; heading='$title'" "$source_dir/tools/bench_chart.gp" &&
    echo "chart: $chart"
else
  echo "(gnuplot missing: no chart)"
fi
