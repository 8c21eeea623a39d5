#!/usr/bin/env bash
# page_lines.py, the parity test's eye, on pictures whose lines are known: it finds them, it
# reports a line moved or widened past the tolerance, and it refuses a broken file.
set -u
command -v python3 >/dev/null 2>&1 || { echo "SKIPPED: python3 is not installed"; exit 77; }
tool="$(cd "$(dirname "$0")" && pwd)/page_lines.py"
work="$(mktemp -d "${TMPDIR:-/tmp}/fontloom-page-lines.XXXXXX")"
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# picture NAME KIND BOX...: a 640 x 480 black P5 (pgm) or P6 (ppm) with white boxes "x y w h".
picture() {
  python3 - "$work/$1" "$2" "${@:3}" <<'EOF'
import sys
path, kind, boxes = sys.argv[1], sys.argv[2], [tuple(map(int, b.split())) for b in sys.argv[3:]]
rows = [bytearray(640) for _ in range(480)]
for x, y, w, h in boxes:
    for yy in range(y, y + h):
        rows[yy][x:x + w] = b"\xc8" * w
with open(path, "wb") as f:
    if kind == "ppm":
        f.write(b"P6\n# made by the test\n640 480\n255\n" + b"".join(bytes(v for p in r for v in (p, p, 0)) for r in rows))
    else:
        f.write(b"P5 640 480 255\n" + b"".join(bytes(r) for r in rows))
EOF
}

# The frame-rate line (top bottom left right), a page line of two words, a blank line's gap, one more line.
picture native.ppm ppm "2 4 110 14" "1 33 300 14" "320 35 100 12" "0 77 250 16"
picture same.pgm pgm "1 3 80 14" "0 32 300 14" "319 34 104 12" "0 76 251 16"
picture moved.pgm pgm "2 4 110 14" "1 33 420 14" "0 79 250 16"
picture wider.pgm pgm "2 4 110 14" "1 33 424 14" "0 77 250 16"
picture fewer.pgm pgm "2 4 110 14" "1 33 420 14"

expected="fps 4 18 2 112
line 33 47 1 420
line 77 93 0 250"
[ "$(python3 "$tool" lines "$work/native.ppm")" = "$expected" ] ||
  fail "lines of native.ppm: $(python3 "$tool" lines "$work/native.ppm" | tr '\n' ';')"

python3 "$tool" compare "$work/native.ppm" "$work/same.pgm" >"$work/out" ||
  fail "1 px up and left, 4 px wider: reported as different: $(grep DIFFERS "$work/out" | tr '\n' ';')"
for case in "moved:line 2: top 77 native, 79 wine" "wider:line 1: inked width 419 native, 424 wine" \
            "fewer:2 page lines native, 1 wine"; do
  name="${case%%:*}"
  if python3 "$tool" compare "$work/native.ppm" "$work/$name.pgm" >"$work/out"; then
    fail "$name.pgm compares as the same"
  elif ! grep -qF "DIFFERS: ${case#*:}" "$work/out"; then
    fail "$name.pgm: expected '${case#*:}', got: $(grep DIFFERS "$work/out" | tr '\n' ';')"
  fi
done

# A cut-off file, a PNG and a missing file: exit code 2 and one line naming the fault.
head -c 5000 "$work/native.ppm" >"$work/short.ppm"
printf '\x89PNG\r\n\x1a\n' >"$work/shot.png"
for bad in short.ppm shot.png missing.ppm; do
  python3 "$tool" lines "$work/$bad" >"$work/out" 2>"$work/err"
  code=$?
  [ "$code" = 2 ] && grep -q "^page_lines: .*$bad" "$work/err" ||
    fail "$bad: exit code $code, said: $(cat "$work/err")"
done

[ "$failures" = 0 ] && echo "page_lines.py finds, compares and refuses as it should"
exit $((failures == 0 ? 0 : 1))
