#!/bin/bash
# Installs what is missing, builds everything and runs every test on a virtual display.
# Extra arguments go to ctest (for example -R window to run a subset).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/display.sh"
install_packages
build_all ON
start_display 1920x1080
"$REPO/scripts/run-tests-on-display.sh" "$@"
