#!/bin/bash
# Packs one orvane.scr into the installer: make-msi.sh <orvane.scr> <version> <output folder>
# Writes <output>/orvane.scr (signed when ORVANE_SIGN_PFX names a code-signing certificate) and
# <output>/orvane-<version>-x64.msi (signed too), and prints whether they are signed.
#   ORVANE_SIGN_PFX        PKCS#12 file with the certificate and its key
#   ORVANE_SIGN_PASSWORD   its password (may be empty)
#   ORVANE_SIGN_TIMESTAMP  a time-stamping URL; without it the signatures carry no time stamp
# Needs wixl, msibuild (msitools), faketime and, for signing, osslsigncode (Debian packages).
set -euo pipefail
REPO="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
scr="$1"
version="$2"
output="$3"
msi="orvane-$version-x64.msi"

# Signs a file in place; the certificate's chain is checked by Windows, not here.
sign() {
    local file="$1" description="$2"
    # The password goes through a file in the private staging folder, not the process list.
    printf '%s' "${ORVANE_SIGN_PASSWORD:-}" >"$stage/password"
    local arguments=(sign -pkcs12 "$ORVANE_SIGN_PFX" -readpass "$stage/password" -h sha256
        -n "$description" -i "https://www.orvane.example/support" -in "$file" -out "$file.signed")
    if [ -n "${ORVANE_SIGN_TIMESTAMP:-}" ]; then
        arguments+=(-ts "$ORVANE_SIGN_TIMESTAMP")
    fi
    osslsigncode "${arguments[@]}" >/dev/null
    mv "$file.signed" "$file"
}

mkdir -p "$output"
stage="$(mktemp -d)"
trap 'rm -rf "$stage"' EXIT
cp "$scr" "$stage/orvane.scr"
cp "$REPO/src/resources/orvane.ico" "$stage/orvane.ico"
if [ -n "${ORVANE_SIGN_PFX:-}" ]; then
    sign "$stage/orvane.scr" "Orvane screen saver"
fi
# The cabinet keeps file times: take them from the commit, so the same commit packs the same bytes.
stamp="$(git -C "$REPO" log -1 --format=%ct 2>/dev/null || echo 0)"
touch -d "@$stamp" "$stage/orvane.scr" "$stage/orvane.ico"
# The same inputs give the same package: the product code follows the version, the package code
# the version and the file, and wixl's clock (the database's creation time) is the commit's.
code() {
    python3 -c "import sys, uuid
print('{%s}' % str(uuid.uuid5(uuid.UUID('9e0e36b1-260d-4721-8266-0b857bac3525'), sys.argv[1])).upper())" "$1"
}
product="$(code "$version")"
package="$(code "$version $(sha256sum <"$stage/orvane.scr")")"
(cd "$stage" && faketime "@$stamp" wixl -a x64 -D Version="$version" -D ProductCode="$product" \
    -D ScreenSaver=orvane.scr -D Icon=orvane.ico -o "$msi" "$REPO/packaging/orvane.wxs")
msibuild "$stage/$msi" -s "Orvane screen saver $version" Orvane "x64;1033" "$package"
if [ -n "${ORVANE_SIGN_PFX:-}" ]; then
    sign "$stage/$msi" "Orvane screen saver $version"
    echo "signed with $ORVANE_SIGN_PFX: orvane.scr and $msi"
else
    echo "UNSIGNED: orvane.scr and $msi carry no signature (set ORVANE_SIGN_PFX to sign them)"
fi
cp "$stage/orvane.scr" "$stage/$msi" "$output/"
