#!/bin/bash
# Installs what is missing, builds the saver and runs it full screen under Wine: on $DISPLAY when
# there is one, otherwise for a few seconds on a virtual display, saving a screenshot.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/display.sh"
install_packages
build_all OFF
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    ensure_wine_prefix
    log "running the saver on $DISPLAY; a key, a click or a mouse move ends it"
    exec wine "$BUILD_DIR/src/orvane.scr" /s
fi
start_display 1920x1080
"$REPO/scripts/show-saver-headless.sh"
