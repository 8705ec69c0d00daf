#!/bin/bash
# Measures what the test suite guards: plants each fault of tests/faults.txt, one at a time, builds,
# runs the suite until its first failure and restores the file. Prints one line per fault (the test
# that caught it, or MISSED) and a total. Takes long; it is not part of ctest.
#
#   scripts/plant-faults.sh [--only REGEX] [--tests REGEX] [--work DIR] [--at REVISION] [--list FILE]
#
# It works on a copy of the current work tree (uncommitted changes included), or of a committed
# revision with --at (to measure an earlier suite against today's list), in DIR (default
# build/plant-faults), with its own build and Wine prefix, so the tree itself is never touched and
# work can go on while it runs. --only picks faults by id, --tests limits the suite (ctest -R),
# --list reads another fault list than tests/faults.txt.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/display.sh"

only="."
tests="."
revision=""
list="$REPO/tests/faults.txt"
work="$REPO/build/plant-faults"
while [ $# -gt 0 ]; do
    case "$1" in
    --only) only="$2"; shift 2 ;;
    --tests) tests="$2"; shift 2 ;;
    --work) work="$2"; shift 2 ;;
    --at) revision="$2"; shift 2 ;;
    --list) list="$(realpath "$2")"; shift 2 ;;
    --in-copy) in_copy=1; shift ;;
    *) echo "unknown argument: $1" >&2; exit 2 ;;
    esac
done

# The fault list as records: id, file, find, replace (\n in find and replace stands for a line feed).
read_faults() {
    python3 - "$1" "$only" <<'EOF'
import re, sys
records, current = [], None
for line in open(sys.argv[1], encoding="utf-8"):
    line = line.rstrip("\n")
    if not line.strip() or line.startswith("#"):
        continue
    key, _, value = line.partition(":")
    value = value[1:] if value.startswith(" ") else value
    if key == "fault":
        current = {"fault": value}
        records.append(current)
    elif current is not None:
        current[key] = value
for record in records:
    if re.search(sys.argv[2], record["fault"]):
        print("\t".join(record.get(k, "") for k in ("fault", "file", "find", "replace")))
EOF
}

# Replaces the one occurrence of the find text; exit code 3 when it does not occur exactly once.
apply_fault() {
    python3 - "$@" <<'EOF'
import sys
path, find, replace = sys.argv[1], sys.argv[2].replace("\\n", "\n"), sys.argv[3].replace("\\n", "\n")
text = open(path, encoding="utf-8").read()
if text.count(find) != 1:
    sys.exit(3)
open(path, "w", encoding="utf-8").write(text.replace(find, replace))
EOF
}

# The suite, cheap tests first, stopping at the first failure; prints the failing test's name.
first_failure() {
    local output phase phases=("-E ^e2e_" "-R ^e2e_")
    # A chosen subset runs in one go: ctest keeps only the last -R.
    [ "$tests" = "." ] || phases=("-R $tests")
    for phase in "${phases[@]}"; do
        # shellcheck disable=SC2086
        output=$(cd "$BUILD_DIR" && ctest --stop-on-failure --timeout 300 $phase 2>&1) && continue
        local name
        name=$(grep -oE 'Test +#[0-9]+: [A-Za-z0-9_]+ .*(Failed|Timeout|Exception|Not Run)' <<<"$output" |
            head -n 1 | awk '{print $3}')
        # A failure ctest did not pin on a test (it could not run at all) still counts as one.
        echo "${name:-ctest}"
        return 0
    done
}

if [ -z "${in_copy:-}" ]; then
    install_packages
    rm -rf "$work"
    mkdir -p "$work/tree"
    if [ -n "$revision" ]; then
        git -C "$REPO" archive "$revision" | tar -xf - -C "$work/tree"
    else
        (cd "$REPO" && git ls-files -co --exclude-standard -z | xargs -0 tar --ignore-failed-read -cf - 2>/dev/null) |
            tar -xf - -C "$work/tree"
    fi
    # The copy runs this script (and its display helper) as it is now, whatever the revision held.
    cp "$REPO/scripts/plant-faults.sh" "$REPO/scripts/display.sh" "$work/tree/scripts/"
    cp "$list" "$work/faults.txt"
    # Its own build and Wine prefix: a wineserver killed here must not be another run's.
    exec env -u ORVANE_BUILD_DIR WINEPREFIX="$work/wine" \
        "$work/tree/scripts/plant-faults.sh" --in-copy --only "$only" --tests "$tests" --work "$work"
fi

# From here on REPO is the copy.
cd "$REPO"
build_all ON >"$work/build.log" 2>&1 || { echo "the unfaulted tree does not build; see $work/build.log"; exit 1; }
start_display 1920x1080
fresh_wineserver --warm
baseline=$(first_failure)
if [ -n "$baseline" ]; then
    echo "the unfaulted suite fails ($baseline); nothing to measure"
    exit 1
fi

caught=0
total=0
results="$work/results.txt"
: >"$results"
while IFS=$'\t' read -r id file find replace; do
    total=$((total + 1))
    cp "$file" "$work/original"
    if ! apply_fault "$file" "$find" "$replace"; then
        verdict="NOT APPLIED (text not found exactly once in $file)"
    elif ! build_all ON >"$work/build.log" 2>&1; then
        verdict="BUILD FAILED"
    else
        failed=$(first_failure)
        if [ -n "$failed" ]; then
            verdict="caught by $failed"
            caught=$((caught + 1))
        else
            verdict="MISSED"
        fi
    fi
    cp "$work/original" "$file"
    printf '%-34s %s\n' "$id" "$verdict" | tee -a "$results"
done < <(read_faults "$work/faults.txt")
printf 'caught %d of %d faults\n' "$caught" "$total" | tee -a "$results"
