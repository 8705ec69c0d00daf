#!/usr/bin/env bash
# Checks every GLSL source the saver compiles with glslangValidator.
# The "points" vertex stage is assembled exactly as the build does it:
# framework, anatomy, scanner, main, joined with one newline between files.
# Any other *_vertex.glsl / *_fragment.glsl in the directory is checked as a
# vertex / fragment stage on its own.
#
# Usage: scripts/validate-shaders.sh [shader-dir]   (default: src/shaders)
set -euo pipefail

repo_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
shader_dir="${1:-$repo_root/src/shaders}"
points_parts=(points_framework.glsl points_anatomy.glsl points_scanner.glsl points_main.glsl)

# Runs apt-get, waiting for another install to release the dpkg lock.
apt_wait() {
    local try
    for try in $(seq 1 60); do
        if apt-get -o DPkg::Lock::Timeout=60 "$@"; then
            return 0
        fi
        echo "apt-get $* failed (attempt $try), retrying in 10 s" >&2
        sleep 10
    done
    return 1
}

if ! command -v glslangValidator >/dev/null 2>&1; then
    if [ "$(id -u)" -ne 0 ]; then
        echo "glslangValidator missing; install the Debian package glslang-tools" >&2
        exit 2
    fi
    echo "installing glslang-tools"
    apt_wait update -qq
    export DEBIAN_FRONTEND=noninteractive
    apt_wait install -y -qq glslang-tools
fi

if [ ! -d "$shader_dir" ]; then
    echo "no shader directory: $shader_dir" >&2
    exit 2
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

failures=0

# Validates one source file as the given stage (vert or frag).
check() {
    local stage="$1" file="$2" label="$3"
    local log="$work/log"
    if glslangValidator -S "$stage" "$file" >"$log" 2>&1; then
        echo "ok    $stage  $label"
    else
        echo "FAIL  $stage  $label"
        sed 's/^/      /' "$log"
        failures=$((failures + 1))
    fi
}

# Assemble the point-cloud vertex source.
points_vertex="$work/points_vertex.glsl"
: >"$points_vertex"
first=1
part_lines=()
for part in "${points_parts[@]}"; do
    if [ ! -f "$shader_dir/$part" ]; then
        echo "FAIL  missing $part" >&2
        exit 1
    fi
    if [ "$first" -eq 0 ]; then
        printf '\n' >>"$points_vertex"
    fi
    start=$(($(wc -l <"$points_vertex") + 1))
    cat "$shader_dir/$part" >>"$points_vertex"
    part_lines+=("$part from line $start")
    first=0
done
check vert "$points_vertex" "points vertex (assembled from ${#points_parts[@]} parts)"
if [ "$failures" -ne 0 ]; then
    # Error lines refer to the assembled source; show where each part begins.
    printf '      %s\n' "${part_lines[@]}"
fi

# Standalone stages, named by suffix; points_fragment.glsl is among them.
shopt -s nullglob
standalone=("$shader_dir"/*_vertex.glsl "$shader_dir"/*_fragment.glsl)
if [ ! -f "$shader_dir/points_fragment.glsl" ]; then
    echo "FAIL  missing points_fragment.glsl" >&2
    exit 1
fi
for file in "${standalone[@]}"; do
    case "$file" in
        *_vertex.glsl) check vert "$file" "$(basename "$file")" ;;
        *_fragment.glsl) check frag "$file" "$(basename "$file")" ;;
    esac
done

# Link the two "points" stages so that a mismatched varying is caught too
# (only when both compiled, so one fault is not reported twice).
if [ "$failures" -ne 0 ]; then
    echo "$failures shader check(s) failed"
    exit 1
fi
cp "$points_vertex" "$work/points.vert"
cp "$shader_dir/points_fragment.glsl" "$work/points.frag"
if glslangValidator -l "$work/points.vert" "$work/points.frag" >"$work/log" 2>&1; then
    echo "ok    link  points"
else
    echo "FAIL  link  points"
    sed 's/^/      /' "$work/log"
    failures=$((failures + 1))
fi

if [ "$failures" -ne 0 ]; then
    echo "$failures shader check(s) failed"
    exit 1
fi
echo "all shader checks passed"
