#!/bin/bash
# Installs what is missing, builds everything and runs every test on a virtual display.
# Extra arguments go to ctest (for example -R window to run a subset).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
install_packages
build_all ON
exec xvfb-run -a -s "-screen 0 1920x1080x24 -noreset" "$REPO/scripts/run-tests-on-display.sh" "$@"
