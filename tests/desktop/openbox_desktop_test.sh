#!/usr/bin/env bash
# The program on openbox, a reparenting window manager (desktop_lib.sh).
source "$(dirname "$0")/desktop_lib.sh"
play_desktop openbox
finish
