#!/usr/bin/env bash
# The program on xfwm4 with its compositor on (desktop_lib.sh).
source "$(dirname "$0")/desktop_lib.sh"
play_desktop xfwm4
finish
