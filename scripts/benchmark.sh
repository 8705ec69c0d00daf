#!/bin/bash
# Builds the benchmark tool and runs it under Wine on a virtual display, at 1920x1080 and at
# 3840x2160. Extra arguments go to every run (for example --frames 100). ORVANE_BUILD_DIR picks
# another build folder than build/mingw.
#
#   scripts/benchmark.sh --compare [REF] [--rounds N] [--only PART] [benchmark arguments]
#
# measures this tree against the git revision REF (by default HEAD, the last commit, taken as its
# full hash at the start, so that uncommitted work is measured against it) side by side: on a
# shared machine single figures move by 20 % and more, so both builds run alternately in every
# round on one display, and every figure (wall times, and the CPU time that follows the load far
# less) is the median over the rounds with the ratio new / REF. PART: gl
# (the benchmark tool at 1920x1080, 3840x2160 and the 152x112 preview, 3 rounds by default),
# startup (its start-up split at 1920x1080), two-monitors (the real saver on two 1920x1080
# monitors, 2 rounds), software (the software path's CPU) or pictures (the same frames from both
# builds); all of them by default. Tables go to stdout, progress to stderr.
# REF is built from `git archive` in build/bench-ref-<rev>, which later runs reuse.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/display.sh"

PARTS=(gl startup two-monitors software pictures)
SAVER_SECONDS=20
# glibc's heap under llvmpipe is bistable: in about half the runs, at random and for the same
# build, Mesa's per-frame buffers make the heap grow and shrink hundreds of times a frame (1.7
# million page faults in a 120-frame preview run instead of 50 thousand; frames 50 % slower). A
# fixed trim and mmap threshold keep every benchmark and saver run in the quiet state. Windows has
# no such heap; GLIBC_TUNABLES= (empty) measures without.
QUIET_HEAP="${GLIBC_TUNABLES-glibc.malloc.trim_threshold=1073741824:glibc.malloc.mmap_threshold=33554432}"

die() {
    log "benchmark --compare: $*"
    exit 1
}

# Builds the benchmark, capture and saver targets of REF in build/bench-ref-<rev>; sets REF_DIR.
build_reference() {
    local revision="$1"
    REF_DIR="$REPO/build/bench-ref-${revision:0:7}"
    local source="$REF_DIR-src"
    if [ "$(cat "$source/.orvane-revision" 2>/dev/null)" != "$revision" ]; then
        log "extracting $revision into $source"
        rm -rf "$source"
        mkdir -p "$source"
        git -C "$REPO" archive "$revision" | tar -x -C "$source"
        echo "$revision" >"$source/.orvane-revision"
    fi
    (cd "$source" && cmake --preset mingw -B "$REF_DIR" >/dev/null)
    cmake --build "$REF_DIR" --target benchmark capture orvane >&2
}

# Every round runs each ITEM on both builds back to back, the first one swapped every round so
# that neither always runs on the warmer (or busier) machine: "STEP BUILD ROUND ITEM", BUILD ref
# or new.
alternate() {
    local step="$1" rounds="$2" round item
    shift 2
    for round in $(seq "$rounds"); do
        for item in "$@"; do
            if [ $((round % 2)) -eq 1 ]; then
                "$step" ref "$round" "$item"
                "$step" new "$round" "$item"
            else
                "$step" new "$round" "$item"
                "$step" ref "$round" "$item"
            fi
        done
    done
}

wants() {
    [[ " ${WANTED[*]} " == *" $1 "* ]]
}

build_dir() {
    if [ "$1" = ref ]; then echo "$REF_DIR"; else echo "$BUILD_DIR"; fi
}

# One benchmark run, in OUT/<size>-<build>-<round>.txt, with the process's CPU time appended to
# the tool's figure lines: under load the wall times follow the machine, the CPU time far less.
benchmark_step() {
    local build="$1" round="$2" size="$3"
    local report="$OUT/${size// /}-$build-$round.txt" cpu user system TIMEFORMAT="%U %S"
    log "round $round: $build build, benchmark $size"
    # shellcheck disable=SC2086 # a size is "WxH" or "WxH --preview"
    cpu="$({ time GLIBC_TUNABLES="$QUIET_HEAP" "$REPO/scripts/wine-run.sh" \
        "$(build_dir "$build")/tools/benchmark.exe" --size $size \
        "${BENCHMARK_ARGS[@]}" >"$report" 2>&1; } 2>&1)" ||
        die "the $build build's benchmark failed at $size: $report"
    read -r user system <<<"$cpu"
    printf 'figure\tframe\tprocess CPU %s, s\t%s\n' user "$user" system "$system" >>"$report"
}

# "cpu sample: <CPU seconds of the process so far, all threads> <SwapBuffers logged so far>".
cpu_sample() {
    [ -e "/proc/$1" ] || die "the saver (process $1) is gone"
    echo "cpu sample: $(cpu_seconds "$1") $(grep -c glxdrv_wglSwapBuffers "$2")"
}

# The real saver full screen on both monitors for SAVER_SECONDS, with Wine logging every
# SwapBuffers: one main-loop pass draws and swaps each window once, so the time from one swap of
# a window to its next is the pass time.
saver_step() {
    local build="$1" round="$2" trace="$OUT/saver-$1-$2.txt" code=0
    log "round $round: $build build, saver on two monitors for $SAVER_SECONDS s"
    GLIBC_TUNABLES="$QUIET_HEAP" WINEDEBUG=-all,+timestamp,+wgl \
        wine "$(build_dir "$build")/src/orvane.scr" /s </dev/null >/dev/null 2>"$trace" &
    local saver=$! samples
    # The saver's CPU per pass, from after its start-up to the end.
    sleep 5
    samples="$(cpu_sample "$saver" "$trace")"
    sleep $((SAVER_SECONDS - 5))
    kill -0 "$saver" 2>/dev/null || die "the $build build's saver ended before $SAVER_SECONDS s: $trace"
    samples+=$'\n'"$(cpu_sample "$saver" "$trace")"
    end_saver "$saver" || code=$?
    [ "$code" -eq 0 ] || die "the $build build's saver ended with $code: $trace"
    echo "$samples" >>"$trace"
}

# The reports of one size and build, a line per round.
reports() {
    local size="${1// /}" build="$2" round
    for round in $(seq "$ROUNDS"); do
        echo "$OUT/$size-$build-$round.txt"
    done
}

table() {
    local kind="$1" title="$2" prefix="$3"
    local ref_runs new_runs
    mapfile -t ref_runs < <(reports "$prefix" ref)
    mapfile -t new_runs < <(reports "$prefix" new)
    /usr/bin/python3 "$REPO/scripts/benchmark_table.py" "$kind" "$title" \
        --ref "${ref_runs[@]}" --new "${new_runs[@]}" || die "could not read the reports in $OUT"
}

compare() {
    local command
    command="$(printf '%q ' "$0" "$@")"
    command="${command% }"
    shift
    local ref=HEAD only=""
    ROUNDS=3
    BENCHMARK_ARGS=()
    if [ $# -gt 0 ] && [[ "$1" != -* ]]; then
        ref="$1"
        shift
    fi
    while [ $# -gt 0 ]; do
        case "$1" in
        --rounds | --only)
            [ $# -ge 2 ] || die "$1 needs a value"
            if [ "$1" = --rounds ]; then ROUNDS="$2"; else only="$2"; fi
            shift 2
            ;;
        *)
            BENCHMARK_ARGS+=("$1")
            shift
            ;;
        esac
    done
    [[ "$ROUNDS" =~ ^[1-9][0-9]*$ ]] || die "--rounds wants a whole number of at least 1, not '$ROUNDS'"
    if [ -n "$only" ] && [[ " ${PARTS[*]} " != *" $only "* ]]; then
        die "--only wants one of ${PARTS[*]}, not '$only'"
    fi
    WANTED=("${PARTS[@]}")
    [ -z "$only" ] || WANTED=("$only")
    local revision
    revision="$(git -C "$REPO" rev-parse --verify --quiet "$ref^{commit}")" || die "'$ref' is not a revision"

    install_packages
    build_reference "$revision"
    cmake --preset mingw -B "$BUILD_DIR" >/dev/null
    cmake --build "$BUILD_DIR" --target benchmark capture orvane >&2
    OUT="$BUILD_DIR/bench-compare"
    rm -rf "$OUT"
    mkdir -p "$OUT"

    local changed
    changed="$(git -C "$REPO" --no-optional-locks status --porcelain --untracked-files=no | wc -l)"
    echo "command:   $command"
    echo "reference: $(git -C "$REPO" log -1 --format='%H %s' "$revision")  ($REF_DIR)"
    echo "new:       $(git -C "$REPO" log -1 --format='%H %s' HEAD) + $changed changed files  ($BUILD_DIR)"
    echo "heap:      GLIBC_TUNABLES=$QUIET_HEAP for the benchmark and the saver"
    echo "load:      $(cut -d' ' -f1-3 /proc/loadavg) at the start; runs in $OUT"
    echo

    # Two 1920x1080 monitors for the saver (the Wine prefix takes them from the RandR monitor list);
    # the off-screen tools do not mind the layout.
    start_display 3840x1080 "MAIN 1920/508x1080/286+0+0 screen" "SIDE1 1920/508x1080/286+1920+0 none"
    fresh_wineserver
    # Wine's own start (wineserver, the desktop process) would otherwise count in round 1's start-up.
    "$REPO/scripts/wine-run.sh" "$REF_DIR/tools/benchmark.exe" --size 64x64 --frames 1 >/dev/null ||
        die "the reference build's benchmark does not run"
    local failed=0
    if wants gl || wants startup; then
        # Start-up alone needs only a few frames; a --frames among the arguments comes later and wins.
        local frames=10 sizes=("1920x1080")
        if wants gl; then
            frames=100
            sizes=("1920x1080" "3840x2160" "152x112 --preview")
        fi
        BENCHMARK_ARGS=(--frames "$frames" "${BENCHMARK_ARGS[@]}")
        alternate benchmark_step "$ROUNDS" "${sizes[@]}"
        if wants gl; then
            table frame "1920x1080 full screen: wall ms, median of $ROUNDS" 1920x1080
            table frame "3840x2160 full screen: wall ms, median of $ROUNDS" 3840x2160
            table frame "152x112 preview: wall ms, median of $ROUNDS" "152x112 --preview"
        fi
        wants startup && table startup "start-up at 1920x1080: ms, median of $ROUNDS" 1920x1080
    fi
    if wants two-monitors; then
        alternate saver_step 2 two-monitors
        local ref_traces=("$OUT/saver-ref-1.txt" "$OUT/saver-ref-2.txt")
        /usr/bin/python3 "$REPO/scripts/benchmark_table.py" passes \
            "saver /s on two 1920x1080 monitors, ${SAVER_SECONDS} s: median of 2" \
            --ref "${ref_traces[@]}" --new "$OUT/saver-new-1.txt" "$OUT/saver-new-2.txt" ||
            die "could not read the saver's traces in $OUT"
    fi
    if wants software; then
        # The software path's CPU time, by its own script; its absence is no failure.
        fresh_wineserver
        if [ -x "$REPO/scripts/software-cpu.sh" ]; then
            echo "software path: a is the reference build, b the new one"
            "$REPO/scripts/software-cpu.sh" "$REF_DIR/src/orvane.scr" "$BUILD_DIR/src/orvane.scr" ||
                die "scripts/software-cpu.sh failed"
        else
            echo "software path: skipped, scripts/software-cpu.sh is not in this tree"
        fi
        fresh_wineserver
        echo
    fi
    if wants pictures; then
        echo "same pictures: new build (ours) against the reference build"
        PYTHONDONTWRITEBYTECODE=1 /usr/bin/python3 "$REPO/scripts/compare-captures.py" \
            --capture "$BUILD_DIR/tools/capture.exe" --against-capture "$REF_DIR/tools/capture.exe" \
            --runner "$REPO/scripts/wine-run.sh" --out "$OUT/pictures" || failed=1
        echo
    fi
    echo "load:      $(cut -d' ' -f1-3 /proc/loadavg) at the end"
    exit "$failed"
}

if [ "${1:-}" = "--compare" ]; then
    compare "$@"
fi

install_packages
cmake --preset mingw -B "$BUILD_DIR" >/dev/null
cmake --build "$BUILD_DIR" --target benchmark
start_display 1920x1080
fresh_wineserver
for size in 1920x1080 3840x2160; do
    log "benchmark at $size"
    "$REPO/scripts/wine-run.sh" "$BUILD_DIR/tools/benchmark.exe" --size "$size" "$@"
    echo
done
