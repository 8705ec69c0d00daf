#!/bin/bash
# Builds a release from a clean build folder into out/release: orvane.scr, orvane-<version>-x64.msi
# and SHA256SUMS. The version is the CMake project version. Signing: see scripts/make-msi.sh.
# Refuses a work tree with uncommitted changes.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
install_packages

# One set of files per commit: a tree with changes that are not committed (untracked sources
# included, as the build globs them) would be built under the commit's name.
if git -C "$REPO" rev-parse --git-dir >/dev/null 2>&1 && [ -n "$(git -C "$REPO" status --porcelain)" ]; then
    git -C "$REPO" status --short >&2
    echo "release.sh: the work tree has changes that are not committed; commit or stash them first" >&2
    exit 1
fi

BUILD_DIR="$REPO/build/release"
rm -rf "$BUILD_DIR"
log "building a release orvane.scr in $BUILD_DIR"
cmake --preset mingw -B "$BUILD_DIR" -DBUILD_TESTING=OFF >/dev/null
cmake --build "$BUILD_DIR" --target orvane
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$BUILD_DIR/CMakeCache.txt")"

out="$REPO/out/release"
rm -rf "$out"
"$REPO/scripts/make-msi.sh" "$BUILD_DIR/src/orvane.scr" "$version" "$out"
(cd "$out" && sha256sum orvane.scr "orvane-$version-x64.msi" >SHA256SUMS)
log "release $version in $out:"
(cd "$out" && ls -l && cat SHA256SUMS)
