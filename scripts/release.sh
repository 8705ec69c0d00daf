#!/bin/bash
# Builds a release from a clean build folder into out/release: orvane.scr, orvane-<version>-x64.msi
# and SHA256SUMS. The version is the CMake project version. Signing: see scripts/make-msi.sh.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
install_packages

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
