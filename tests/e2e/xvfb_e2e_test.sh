#!/usr/bin/env bash
# The native program with its SDL windows in a private X server, driven with real key presses.
set -u
source "$(cd "$(dirname "$0")" && pwd)/../support/x_scenarios.sh"

program="${FONTLOOM_BUILD_DIR:?}/app/fontloom"
[ -x "$program" ] || { echo "FAIL: $program is not built" >&2; exit 1; }

x_target=native
x_work="$(mktemp -d "${TMPDIR:-/tmp}/fontloom-xvfb.XXXXXX")"
trap 'stop_x_server; rm -rf "$x_work"' EXIT

launch_program() {
  ( cd "$1" && FONTLOOM_HEADLESS=0 timeout 60 "$program" >"$1/stderr" 2>&1; echo $? >"$1/exit_code" )
}

start_x_server
run_x_scenarios
