#!/usr/bin/env bash
# A long run of the native program, headless, with the sample page: resident memory must stay
# flat and the frame rate steady.
#   tools/soak.sh BUILD_DIR SECONDS
# Memory: VmRSS from /proc every second; after the warm-up (a fifth of the run, at least 2 s) no
# sample may exceed the warm-up value by more than SOAK_RSS_SLACK_KB (default 4096).
# Frame rate: the program's own FPS.txt; its slowest second may not fall below SOAK_MIN_RATIO
# (default 0.15: the machine is shared) of its fastest, nor its average below half of a short trial run's.
set -u
source_dir="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:?usage: tools/soak.sh BUILD_DIR SECONDS}" && pwd)" || exit 1
seconds="${2:?usage: tools/soak.sh BUILD_DIR SECONDS}"
slack_kb="${SOAK_RSS_SLACK_KB:-4096}"
min_ratio="${SOAK_MIN_RATIO:-0.15}"
program="$build/app/fontloom"
[ -x "$program" ] || { echo "FAIL: the program $program is not built" >&2; exit 1; }
work="$(mktemp -d "${TMPDIR:-/tmp}/fontloom-soak.XXXXXX")"
trap 'rm -rf "$work"' EXIT

# start DIR FRAMES: the program in DIR for FRAMES frames; sets $pid.
start() {
  mkdir -p "$1" && cp "$source_dir/app/sample/text.txt" "$1/"
  ( cd "$1" && FONTLOOM_HEADLESS=1 SDL_AUDIODRIVER=dummy FONTLOOM_SIM="key RETURN; key ESCAPE after $2 frames" \
      exec "$program" >stdout 2>stderr ) &
  pid=$!
}
field() { awk -v line="$2" 'NR == line { print $1 }' "$1/FPS.txt" 2>/dev/null; }

start "$work/trial" 3000
wait "$pid"
trial_rate="$(field "$work/trial" 1)"
[ -n "$trial_rate" ] || { echo "FAIL: the trial run wrote no FPS.txt" >&2; exit 1; }
frames="$(awk -v r="$trial_rate" -v s="$seconds" 'BEGIN { n = int(r * s); print n < 1000 ? 1000 : n }')"

start "$work/soak" "$frames"
warm_up=$((seconds / 5 > 2 ? seconds / 5 : 2))
deadline=$((seconds * 5 + 60))
samples=()
elapsed=0
while kill -0 "$pid" 2>/dev/null; do
  rss="$(awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status" 2>/dev/null)"
  [ -n "$rss" ] && samples+=("$elapsed $rss")
  if [ "$elapsed" -ge "$deadline" ]; then
    kill "$pid"
    echo "FAIL: still running after ${deadline}s" >&2
    exit 1
  fi
  sleep 1
  elapsed=$((elapsed + 1))
done
wait "$pid"
code=$?
failures=0
[ "$code" -eq 0 ] || { echo "FAIL: exit code $code" >&2; sed 's/^/  stderr: /' "$work/soak/stderr" | head >&2; failures=$((failures + 1)); }
[ -s "$work/soak/log.txt" ] && { echo "FAIL: the run logged: $(head -3 "$work/soak/log.txt")" >&2; failures=$((failures + 1)); }

verdict="$(printf '%s\n' "${samples[@]}" | awk -v warm="$warm_up" -v slack="$slack_kb" '
    $1 <= warm { base = $2 } $1 > warm { n++; last = $2; if ($2 > top) top = $2 }
    END { if (!base || !n) { print "FAIL too few samples"; exit }
          printf "%s rss after warm-up %d kB, highest later %d kB, last %d kB (%d samples)\n",
                 (top - base > slack ? "FAIL" : "ok"), base, top, last, n }')"
average="$(field "$work/soak" 1)"; slowest="$(field "$work/soak" 2)"; fastest="$(field "$work/soak" 3)"
rate="$(awk -v a="$average" -v lo="$slowest" -v hi="$fastest" -v trial="$trial_rate" -v ratio="$min_ratio" 'BEGIN {
    ok = hi > 0 && lo >= ratio * hi && a >= 0.5 * trial
    printf "%s frames/s average %s (trial %s), slowest second %d, fastest %d\n", ok ? "ok" : "FAIL", a, trial, lo, hi }')"
echo "soak of ${elapsed}s (${seconds}s asked), $frames frames: $verdict"
echo "soak of ${elapsed}s (${seconds}s asked), $frames frames: $rate"
case "$verdict$rate" in *FAIL*) failures=$((failures + 1)) ;; esac
exit $((failures == 0 ? 0 : 1))
