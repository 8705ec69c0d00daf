#!/bin/bash
# Runs one Windows program under Wine with the project's prefix; used by ctest as the emulator.
# The program's exit code is this script's exit code.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
# Wine's helper processes (wineserver, explorer) outlive the program and inherit its output: give
# them a file rather than ctest's pipe, or ctest waits for them until its timeout.
output="$(mktemp)"
wine "$@" </dev/null >"$output" 2>&1
status=$?
tr -d '\r' <"$output"
rm -f "$output"
exit $status
