#!/usr/bin/env bash
# Checks every GLSL source the saver compiles with glslangValidator, exactly as the build embedded
# it: the build leaves each program stage's text (the "points" vertex stage already assembled from
# its parts) as <symbol>.glsl in its embedded/ folder, so the list of shader files lives in the
# build alone. Stages are named by symbol: *VertexSource or *FragmentSource.
#
# Usage: scripts/validate-shaders.sh [embedded-dir]   (default: the build folder's src/embedded)
set -euo pipefail

repo_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
embedded="${1:-${ORVANE_BUILD_DIR:-$repo_root/build/mingw}/src/embedded}"
if ! command -v glslangValidator >/dev/null 2>&1; then
    echo "glslangValidator missing; install the Debian package glslang-tools" >&2
    exit 2
fi
if [ ! -f "$embedded/pointsVertexSource.glsl" ]; then
    echo "no embedded shader sources in $embedded; build first" >&2
    exit 2
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0

# Validates one stage (vert or frag); glslangValidator takes the stage from the file suffix.
check() {
    local stage="$1" file="$2"
    cp "$file" "$work/stage.$stage"
    if glslangValidator "$work/stage.$stage" >"$work/log" 2>&1; then
        echo "ok    $stage  $(basename "$file")"
    else
        echo "FAIL  $stage  $(basename "$file")"
        sed 's/^/      /' "$work/log"
        failures=$((failures + 1))
    fi
}

for file in "$embedded"/*VertexSource.glsl; do check vert "$file"; done
for file in "$embedded"/*FragmentSource.glsl; do check frag "$file"; done

# Link the two "points" stages so that a mismatched varying is caught too.
if [ "$failures" -eq 0 ]; then
    cp "$embedded/pointsVertexSource.glsl" "$work/points.vert"
    cp "$embedded/pointsFragmentSource.glsl" "$work/points.frag"
    if glslangValidator -l "$work/points.vert" "$work/points.frag" >"$work/log" 2>&1; then
        echo "ok    link  points"
    else
        echo "FAIL  link  points"
        sed 's/^/      /' "$work/log"
        failures=$((failures + 1))
    fi
fi

if [ "$failures" -ne 0 ]; then
    echo "$failures shader check(s) failed"
    exit 1
fi
echo "all shader checks passed"
