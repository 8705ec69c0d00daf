# What the scripts that run the saver share: a virtual display of their own, a fresh wineserver
# bound to it, ending the saver as a user would and a process's CPU time. Source it in place of
# common.sh, which it brings in.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

# start_display WxH [MONITOR...]: an Xvfb on a free display number, exported as DISPLAY and stopped
# when the shell exits. A MONITOR is the words of `xrandr --setmonitor` ("NAME W/MMxH/MM+X+Y
# OUTPUT"); one must claim the output "screen". -noreset keeps the monitor list when the last
# client leaves.
start_display() {
    local size="$1" number monitor
    shift
    number="$(mktemp)"
    Xvfb -displayfd 3 -screen 0 "${size}x24" -noreset -nolisten tcp 3>"$number" >/dev/null 2>&1 &
    XVFB_PID=$!
    trap stop_display EXIT
    for _ in $(seq 300); do
        [ -s "$number" ] && break
        sleep 0.1
    done
    [ -s "$number" ] || { log "Xvfb did not start"; exit 1; }
    DISPLAY=":$(head -1 "$number")" && export DISPLAY
    rm -f "$number"
    for monitor in "$@"; do
        # shellcheck disable=SC2086 # the words of one monitor
        xrandr --setmonitor $monitor >/dev/null
    done
}

# Also clears the exit trap, so that a caller can stop its display first and print after.
stop_display() {
    trap - EXIT
    wineserver -k 2>/dev/null || true
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
}

# fresh_wineserver [--warm]: a wineserver kept alive from another display or monitor layout would
# serve this one wrongly. --warm starts one bound to this display with Wine's services, so that
# Wine's own start-up stays out of what follows.
fresh_wineserver() {
    ensure_wine_prefix
    wineserver -k 2>/dev/null || true
    if [ "${1:-}" = --warm ]; then
        wineserver -p 60
        wine wineboot </dev/null >/dev/null 2>&1 || true
    fi
}

# end_saver PID: a key on the saver's window, focused first (a key sent while X's focus is None is
# lost); returns the saver's exit code once it has gone, killing it when it has not after 20 s.
end_saver() {
    timeout 30 xdotool search --sync --onlyvisible --name '^Orvane$' windowfocus --sync key space \
        >/dev/null 2>&1 || true
    timeout 20 tail --pid="$1" -f /dev/null || kill "$1" 2>/dev/null || true
    wait "$1"
}

# cpu_seconds PID: the process's CPU seconds so far, all threads, or 0 once it is gone.
cpu_seconds() {
    local stat
    stat="$(cat "/proc/$1/stat" 2>/dev/null)" || { echo 0; return 0; }
    # utime and stime follow the command name, which ends in ")" and may hold spaces.
    awk -v hz="$(getconf CLK_TCK)" '{ printf "%.3f\n", ($12 + $13) / hz }' <<<"${stat##*) }"
}
