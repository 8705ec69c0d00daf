#!/bin/bash
# Builds the benchmark tool and runs it under Wine on a virtual display, at 1920x1080 and at
# 3840x2160. Extra arguments go to every run (for example --frames 100). ORVANE_BUILD_DIR picks
# another build folder than build/mingw.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

if [ "${1:-}" != "--on-display" ]; then
    install_packages
    cmake --preset mingw -B "$BUILD_DIR" >/dev/null
    cmake --build "$BUILD_DIR" --target benchmark
    exec xvfb-run -a -s "-screen 0 1920x1080x24 -noreset" "$0" --on-display "$@"
fi
shift

ensure_wine_prefix
# A kept-alive wineserver stays bound to the display it started with.
wineserver -k 2>/dev/null || true
for size in 1920x1080 3840x2160; do
    log "benchmark at $size"
    "$REPO/scripts/wine-run.sh" "$BUILD_DIR/tools/benchmark.exe" --size "$size" "$@"
    echo
done
wineserver -k 2>/dev/null || true
