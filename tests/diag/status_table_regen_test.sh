#!/usr/bin/env bash
# The committed diag/status_name_table.cpp is exactly what tools/gen_status_names.py makes
# of the published headers' status constants: regenerate it into a temporary folder
# (twice, under different hash seeds, so that no ordering of Python's sets or dicts can
# leak into the output) and require identical bytes.
#
# FONTLOOM_SOURCE_DIR: the repository (default: two folders up from this script).
# FONTLOOM_STATUS_HEADERS: the folder of .tsv files (default: tools/status-headers).
set -euo pipefail

source_dir="${FONTLOOM_SOURCE_DIR:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}"
headers="${FONTLOOM_STATUS_HEADERS:-$source_dir/tools/status-headers}"
generator="$source_dir/tools/gen_status_names.py"
committed="$source_dir/diag/status_name_table.cpp"

if [ ! -f "$headers/winerror.tsv" ]; then
    echo "status_table_regen_test: no status constants in $headers (set FONTLOOM_STATUS_HEADERS)" >&2
    exit 1
fi

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

PYTHONHASHSEED=0 python3 "$generator" "$headers" "$scratch/first.cpp"
PYTHONHASHSEED=4242 python3 "$generator" "$headers" "$scratch/second.cpp"

if ! cmp -s "$scratch/first.cpp" "$scratch/second.cpp"; then
    echo "status_table_regen_test: two runs of the generator differ" >&2
    diff "$scratch/first.cpp" "$scratch/second.cpp" | head -20 >&2
    exit 1
fi
if ! cmp -s "$scratch/first.cpp" "$committed"; then
    echo "status_table_regen_test: diag/status_name_table.cpp is not what the generator makes;" >&2
    echo "run: python3 tools/gen_status_names.py" >&2
    diff "$committed" "$scratch/first.cpp" | head -20 >&2
    exit 1
fi
echo "status_table_regen_test: diag/status_name_table.cpp matches the generator ($(wc -l < "$committed") lines)"
