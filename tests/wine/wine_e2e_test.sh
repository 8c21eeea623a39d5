#!/usr/bin/env bash
# The Windows build under Wine in a private X server, driven with real key presses: the same
# files and the same main window as the native program gives.
set -u
source "$(cd "$(dirname "$0")" && pwd)/../support/x_scenarios.sh"

exe="${FONTLOOM_SOURCE_DIR:?}/${FONTLOOM_WINDOWS_BUILD:-build-win}/app/fontloom.exe"
if ! command -v wine >/dev/null 2>&1; then
  echo "SKIPPED: wine is not installed (apt-get install wine wine64); the Windows build was not run"
  exit 77
fi
if [ ! -f "$exe" ]; then
  echo "FAIL: $exe is not built ('make windows')" >&2
  exit 1
fi

x_target=Wine
x_work="$(mktemp -d "${TMPDIR:-/tmp}/fontloom-wine.XXXXXX")"
trap 'stop_wine; stop_x_server; rm -rf "$x_work"' EXIT

launch_program() {
  cp "$exe" "$1/"
  ( cd "$1" && timeout 60 wine fontloom.exe >/dev/null 2>&1; echo $? >"$1/exit_code" )
}

start_x_server
make_wine_prefix "$x_work/prefix"
run_x_scenarios
