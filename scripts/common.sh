# Shared by the project's scripts: package installation, the Wine prefix and the build.
# Source it; it sets REPO, BUILD_DIR and the Wine environment.

REPO="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# ORVANE_BUILD_DIR picks another build folder (parallel work needs separate ones).
BUILD_DIR="${ORVANE_BUILD_DIR:-$REPO/build/mingw}"

# A project-local prefix unless the caller chose one (parallel work needs separate prefixes,
# because a kept-alive wineserver stays bound to the display it started with).
export WINEPREFIX="${WINEPREFIX:-$REPO/.wine}"
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono/Gecko prompts, and a crash ends the process with its exception code instead of
# opening winedbg and hanging.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winedbg.exe=d}"

PACKAGES=(
    cmake ninja-build g++-mingw-w64-x86-64-posix googletest
    wine wine64 xvfb xauth mesa-utils libgl1-mesa-dri x11-xserver-utils x11-utils xdotool imagemagick
    glslang-tools python3 python3-pil python3-qrcode zbar-tools fonts-ebgaramond fonts-inter
    wixl msitools faketime osslsigncode openssl
)

log() { printf '>>> %s\n' "$*" >&2; }

install_packages() {
    local missing=()
    local package
    for package in "${PACKAGES[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$package")
        fi
    done
    if [ ${#missing[@]} -eq 0 ]; then
        return 0
    fi
    log "installing: ${missing[*]}"
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        sudo=(sudo)
    fi
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# Creates the Wine prefix on first use (about 15 s) with the settings the saver's tests rely on.
ensure_wine_prefix() {
    if [ -f "$WINEPREFIX/.orvane-ready" ]; then
        return 0
    fi
    log "creating Wine prefix $WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    # Managed=N: without a window manager, destroying a managed full-screen window blocks ~2 s.
    # UseXRandR=N: monitors come from the RandR 1.5 monitor list, so tests can split one screen.
    local reg="$WINEPREFIX/orvane.reg"
    printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\n"UseXRandR"="N"\n"Managed"="N"\n' >"$reg"
    wine regedit /S "$reg" >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.orvane-ready"
}

build_all() {
    local testing="$1"
    cmake --preset mingw -B "$BUILD_DIR" -DBUILD_TESTING="$testing" >/dev/null
    cmake --build "$BUILD_DIR"
}
