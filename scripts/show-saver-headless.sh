#!/bin/bash
# Shows the saver for a few seconds on the current (virtual) display, saves a screenshot, ends the
# saver with a key press and reports its exit code.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/display.sh"
seconds="${ORVANE_SHOW_SECONDS:-5}"
fresh_wineserver
mkdir -p "$REPO/out"
shot="$REPO/out/orvane-screenshot.png"
wine "$BUILD_DIR/src/orvane.scr" /s &
saver=$!
if ! timeout 30 xdotool search --sync --onlyvisible --name '^Orvane$' >/dev/null; then
    log "the saver window did not appear"
    kill "$saver" 2>/dev/null
    exit 1
fi
sleep "$seconds"
import -window root "$shot"
end_saver "$saver"
status=$?
wineserver -k 2>/dev/null
log "saver exit code: $status"
echo "$shot"
exit $status
