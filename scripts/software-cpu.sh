#!/bin/bash
# The software path's processor time, two saver builds against each other. Each .scr runs full
# screen on the software path (Mesa told to offer OpenGL 3.2), A and B alternately, 2 rounds each,
# at 1920x1080 and at 3840x2160, every run on a fresh virtual display (one left behind by an
# earlier saver can hand the next one a stray deactivation that ends it). A run is measured from
# 2 s after its start (start-up is not the steady state) for SECONDS (default 20), then ended with
# a key as a user would. Prints per run the CPU share (CPU seconds / SECONDS) of the saver and of
# the X server (which puts the window's pixels on screen), and per size the ratio B / A.
#
# Under load the saver draws fewer than its 30 frames a second, so the ratio is taken per frame
# where frames can be counted: as root with perf, a probe on Wine's ReleaseDC (the saver releases
# the window's DC once a frame) counts them, and is removed at the end. Elsewhere the ratio is of
# the CPU shares, and says so.
#   scripts/software-cpu.sh <scr-a> <scr-b> [seconds]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/display.sh"

# One run on a display of its own (run in a subshell): prints "<saver CPU s> <X server CPU s>
# <frames or ->", or "ended <exit code>" when the saver was gone before the measurement's end.
measure() {
    local size="$1" scr="$2" seconds="$3" saver before xbefore after xafter frames=- result code=0
    start_display "$size"
    fresh_wineserver --warm
    MESA_GL_VERSION_OVERRIDE=3.2 wine "$scr" /s </dev/null >/dev/null 2>&1 &
    saver=$!
    sleep 2
    before="$(cpu_seconds "$saver")" xbefore="$(cpu_seconds "$XVFB_PID")"
    if [ -n "${FRAME_PROBE:-}" ]; then
        frames="$(perf stat -x, -e "$FRAME_PROBE" -p "$saver" -- sleep "$seconds" 2>&1 >/dev/null |
            awk -F, -v event="$FRAME_PROBE" '$3 == event { print $1 + 0 }')"
    else
        sleep "$seconds"
    fi
    after="$(cpu_seconds "$saver")" xafter="$(cpu_seconds "$XVFB_PID")"
    if kill -0 "$saver" 2>/dev/null; then
        end_saver "$saver" || log "$scr ended with exit code $? after the key"
        result="$(awk -v s="$after" -v sb="$before" -v x="$xafter" -v xb="$xbefore" -v f="${frames:--}" \
            'BEGIN { printf "%.3f %.3f %s", s - sb, x - xb, f }')"
    else
        wait "$saver" || code=$?
        result="ended $code"
    fi
    # Gone before the result is read, so the next run's display finds no wineserver of this one.
    stop_display
    echo "$result"
}

if [ $# -lt 2 ] || [ ! -f "$1" ] || [ ! -f "$2" ]; then
    echo "usage: $0 <scr-a> <scr-b> [seconds]" >&2
    exit 2
fi
seconds="${3:-20}"
if ! [[ "$seconds" =~ ^[1-9][0-9]*$ ]]; then
    echo "seconds must be a whole number above 0" >&2
    exit 2
fi
a="$(realpath "$1")" b="$(realpath "$2")"

win32u="$(find /usr/lib -path '*x86_64-unix/win32u.so' 2>/dev/null | head -n 1)"
export FRAME_PROBE=""
if [ "$(id -u)" -eq 0 ] && command -v perf >/dev/null && [ -n "$win32u" ] &&
    perf probe -q -x "$win32u" --add orvane_frame=NtUserReleaseDC 2>/dev/null; then
    FRAME_PROBE="probe_win32u:orvane_frame"
    trap 'perf probe -q -d "$FRAME_PROBE" 2>/dev/null || true' EXIT
else
    log "frames are not counted (needs root, perf and Wine's win32u.so): ratios are of CPU shares"
fi

for size in 1920x1080 3840x2160; do
    results=""
    for round in 1 2; do
        for build in a b; do
            scr="$a"
            [ "$build" = a ] || scr="$b"
            cpu="" xcpu="" frames=""
            read -r cpu xcpu frames < <(measure "$size" "$scr" "$seconds") || true
            if [ "$cpu" = ended ] || [ -z "$cpu" ]; then
                printf '%-9s %s round %d: ended early, exit code %s  (%s)\n' "$size" "$build" "$round" \
                    "${xcpu:-?}" "$scr"
                continue
            fi
            awk -v size="$size" -v build="$build" -v round="$round" -v s="$cpu" -v x="$xcpu" -v f="$frames" \
                -v t="$seconds" -v scr="$scr" 'BEGIN {
                    printf "%-9s %s round %d: saver %.3f CPU share", size, build, round, s / t
                    if (f > 0) printf ", %.1f frames/s, %.2f ms CPU/frame", f / t, 1000 * s / f
                    printf "; X server %.3f  (%s)\n", x / t, scr
                }'
            results+="$build $cpu $xcpu $frames"$'\n'
        done
    done
    awk -v size="$size" -v t="$seconds" '
        NF == 4 { cpu[$1] += $2; x[$1] += $3; n[$1]++; frames[$1] += $4; if ($4 <= 0) uncounted = 1 }
        END {
            if (!n["a"] || !n["b"] || !cpu["a"]) { printf "%-9s ratio b/a: not enough runs measured\n", size; exit }
            shareA = cpu["a"] / n["a"] / t; shareB = cpu["b"] / n["b"] / t
            if (!uncounted && frames["b"] > 0) {
                perA = 1000 * cpu["a"] / frames["a"]; perB = 1000 * cpu["b"] / frames["b"]
                printf "%-9s ratio b/a %.3f per frame (%.2f / %.2f ms)", size, perB / perA, perB, perA
            } else {
                printf "%-9s ratio b/a %.3f of CPU shares", size, shareB / shareA
            }
            printf "; saver share a %.3f, b %.3f; X server a %.3f, b %.3f\n", shareA, shareB,
                x["a"] / n["a"] / t, x["b"] / n["b"] / t
        }' <<<"$results"
done
