#!/bin/bash
# Runs the real saver for MINUTES (default 10) on each path under Wine on a virtual display: full
# screen on the GL path, full screen on the software path (Mesa told to offer OpenGL 3.2), and a
# 152x112 preview in the test build's preview host. Samples the saver's resident memory every 30 s,
# ends it as a user or the Settings dialog would, and prints the series, its slope and the exit code.
#   scripts/soak.sh [MINUTES]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/display.sh"
minutes="${1:-10}"
install_packages
cmake --preset mingw -B "$BUILD_DIR" -DBUILD_TESTING=ON >/dev/null
cmake --build "$BUILD_DIR" --target orvane preview_host >/dev/null
scr="$BUILD_DIR/src/orvane.scr"
start_display 1920x1080
fresh_wineserver

# Resident memory of the saver's process in KB, one sample every 30 s for the given seconds, from
# 30 s on (the first seconds are start-up, not the steady state the slope is about).
sample() {
    local seconds="$1" pid="$2" elapsed=30
    sleep 30
    while [ "$elapsed" -le "$seconds" ]; do
        printf '%s %s\n' "$elapsed" "$(awk '/^VmRSS/ {print $2}' "/proc/$pid/status" 2>/dev/null || echo 0)"
        [ "$elapsed" -lt "$seconds" ] || break
        sleep 30
        elapsed=$((elapsed + 30))
    done
}

# The series as "t:KB" and the least-squares slope in KB per minute.
report() {
    local label="$1" series="$2" code="$3"
    awk -v label="$label" -v code="$code" '
        { n++; t[n] = $1 / 60; m[n] = $2; st += t[n]; sm += m[n]; line = line sprintf(" %d:%d", $1, $2) }
        END {
            for (i = 1; i <= n; i++) { vt += (t[i] - st / n) ^ 2; cv += (t[i] - st / n) * (m[i] - sm / n) }
            printf "%-22s exit %s, slope %+.1f KB/min, RSS (s:KB)%s\n", label, code, vt ? cv / vt : 0, line
        }' <<<"$series"
}

full_screen() {
    local label="$1" code=0 series
    shift
    env "$@" wine "$scr" /s &
    local saver=$!
    series="$(sample $((minutes * 60)) "$saver")"
    end_saver "$saver" || code=$?
    report "$label" "$series" "$code"
}

full_screen "full screen, GL" WINEDEBUG=-all
full_screen "full screen, software" MESA_GL_VERSION_OVERRIDE=3.2
wine "$BUILD_DIR/tests/hosts/preview_host.exe" "$(winepath -w "$scr")" 152 112 $((minutes * 60 + 5)) /p \
    >"$BUILD_DIR/soak-preview.txt" 2>&1 &
host=$!
# The preview is the host's child: found by its command line, which names this build's file.
sleep 5
series="$(sample $((minutes * 60)) "$(pgrep -n -f "$(winepath -w "$scr" | sed 's/\\/./g') /p")")"
wait "$host" || true
report "preview 152x112" "$series" "$(sed -n 's/.*exit=\([^[:space:]]*\).*/\1/p' "$BUILD_DIR/soak-preview.txt")"
