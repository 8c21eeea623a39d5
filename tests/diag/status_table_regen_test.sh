#!/usr/bin/env bash
# The committed diag/status_name_table.cpp is exactly what tools/gen_status_names.py makes of
# the published headers' status constants, under two hash seeds (no ordering of Python's sets
# or dicts may leak into the output). FONTLOOM_STATUS_HEADERS: the folder of .tsv files.
set -euo pipefail
source_dir="${FONTLOOM_SOURCE_DIR:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}"
headers="${FONTLOOM_STATUS_HEADERS:-$source_dir/tools/status-headers}"
[ -f "$headers/winerror.tsv" ] || { echo "FAIL: no status constants in $headers (set FONTLOOM_STATUS_HEADERS)" >&2; exit 1; }
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
for seed in 0 4242; do
  PYTHONHASHSEED=$seed python3 "$source_dir/tools/gen_status_names.py" "$headers" "$scratch/$seed.cpp"
  if ! cmp -s "$scratch/$seed.cpp" "$source_dir/diag/status_name_table.cpp"; then
    echo "FAIL: diag/status_name_table.cpp is not what the generator makes (hash seed $seed); run: python3 tools/gen_status_names.py" >&2
    diff "$source_dir/diag/status_name_table.cpp" "$scratch/$seed.cpp" | head -20 >&2
    exit 1
  fi
done
echo "diag/status_name_table.cpp matches the generator"
