#!/bin/bash
# Runs ctest on the current X display with a fresh wineserver bound to it.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
ensure_wine_prefix
wineserver -k 2>/dev/null
wineserver -p 60
# Start Wine's services once, away from ctest's output pipes.
wine wineboot </dev/null >/dev/null 2>&1
cd "$BUILD_DIR" && ctest --output-on-failure --timeout 300 "$@"
status=$?
wineserver -k 2>/dev/null
exit $status
