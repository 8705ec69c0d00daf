#!/bin/bash
# Runs ctest on the current X display with a fresh wineserver bound to it.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/display.sh"
# Wine's services started once, away from ctest's output pipes.
fresh_wineserver --warm
cd "$BUILD_DIR" && ctest --output-on-failure --timeout 300 "$@"
status=$?
wineserver -k 2>/dev/null
exit $status
