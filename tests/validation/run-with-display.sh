#!/usr/bin/env bash
# Runs a program on a virtual X display of its own (xvfb-run), with the screen size given as
# --screen WIDTHxHEIGHT before the program (default 1920x1080): the validation host opens real
# editor windows, and the plug-in chooses its editor size from the screen width.
set -euo pipefail
screen="1920x1080"
if [ "${1:-}" = "--screen" ]; then
    screen="$2"
    shift 2
fi
exec xvfb-run -a -s "-screen 0 ${screen}x24 -nolisten tcp" "$@"
