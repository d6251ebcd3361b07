#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the Debian packages a profile needs, when any is missing:
#   scripts/install-deps.sh play   building and running the game (the default)
#   scripts/install-deps.sh web    the above, plus what the web build needs: Debian's emscripten
#                                  and the tools that unpack Debian's source packages
#   scripts/install-deps.sh windows the play profile, plus what the Windows cross build needs:
#                                  Debian's MinGW-w64 compiler (posix threads), Wine to run
#                                  it, and the tools that unpack Debian's source packages
#   scripts/install-deps.sh test   the web and windows profiles, plus the test suite's tools:
#                                  GoogleTest, Google Benchmark, the virtual X server and what
#                                  drives and checks it, Chromium and the browser test's npm
#                                  packages
#   scripts/install-deps.sh fuzz   the above, plus clang and its sanitizer runtime for the
#                                  libFuzzer targets
#   scripts/install-deps.sh ci     the above, plus clang-format and python3 for the style checks
# Uses sudo when not run as root. Tried on Debian 12.
set -euo pipefail

profile="${1:-play}"
play_packages=(
    cmake ninja-build make g++ pkg-config
    libsdl2-dev libsdl2-ttf-dev libfontconfig-dev libx11-dev libxxhash-dev zlib1g-dev
    fonts-dejavu-core fonts-dancingscript
)
test_packages=(
    libgtest-dev libbenchmark-dev
    # The virtual display, with the X core fonts that SDL's message boxes draw their text in.
    xvfb xfonts-base xdotool imagemagick sox
    # xmessage: another window to give the keyboard to; xprop and xwininfo: what the window
    # manager and the windows say of themselves.
    x11-utils
    # A window manager, for playing in a window as on a desktop.
    openbox
    # Validators of the installed desktop entry and AppStream metadata, and of the Debian package;
    # dpkg-buildflags, for the hardening flags the package is built with.
    desktop-file-utils appstream lintian dpkg-dev
    # unzip: what the Windows download holds.
    unzip
    # The web build's browser test: Debian's Chromium, driven by puppeteer-core from the npm
    # registry (installed below; Debian's npm comes only where no npm is on the PATH, as a
    # Node.js from elsewhere brings its own).
    chromium
)
# The web build: Debian's emscripten; dpkg-dev unpacks Debian's source packages of the libraries.
web_packages=(emscripten dpkg-dev python3)
# The Windows build: MinGW-w64's compiler with the posix thread model (for C++'s threads),
# Wine to run zelto.exe; dpkg-dev unpacks Debian's source packages. (CMake packs the download.)
windows_packages=(g++-mingw-w64-x86-64-posix mingw-w64-tools wine wine64 dpkg-dev)

case "$profile" in
    play) packages=("${play_packages[@]}") ;;
    web) packages=("${play_packages[@]}" "${web_packages[@]}") ;;
    windows) packages=("${play_packages[@]}" "${windows_packages[@]}") ;;
    test) packages=("${play_packages[@]}" "${web_packages[@]}" "${windows_packages[@]}"
        "${test_packages[@]}") ;;
    fuzz) packages=("${play_packages[@]}" "${web_packages[@]}" "${windows_packages[@]}"
        "${test_packages[@]}" clang) ;;
    ci) packages=("${play_packages[@]}" "${web_packages[@]}" "${windows_packages[@]}"
        "${test_packages[@]}" clang clang-format) ;;
    *)
        echo "usage: $0 [play|web|windows|test|fuzz|ci]" >&2
        exit 2
        ;;
esac

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
updated=no

# Installs those of the packages that are missing; one dpkg-query answers for all of them.
install_missing() {
    local installed
    installed=$(dpkg-query -W -f='${Package} ${Status}\n' "$@" 2>/dev/null |
        awk '$NF == "installed" && $(NF-1) == "ok" { sub(/:.*/, "", $1); print $1 }' || true)
    local missing=()
    local package
    for package in "$@"; do
        [[ $'\n'"$installed"$'\n' == *$'\n'"$package"$'\n'* ]] || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    if [ "$updated" = no ]; then
        "${sudo_cmd[@]}" apt-get update -q
        updated=yes
    fi
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q \
        --no-install-recommends "${missing[@]}"
}

install_missing "${packages[@]}"

if [ "$profile" = fuzz ] || [ "$profile" = ci ]; then
    # The sanitizer and libFuzzer runtime comes in a package named after clang's major version.
    clang_major=$(clang --version | sed -n 's/.*clang version \([0-9]*\).*/\1/p' | head -1)
    install_missing "libclang-rt-${clang_major}-dev"
fi

if [ "$profile" != play ] && [ "$profile" != web ] && [ "$profile" != windows ]; then
    command -v npm >/dev/null || install_missing npm
    # The browser test's driver, at the versions tests/web/package-lock.json names; it drives
    # the system's Chromium and downloads no browser of its own.
    web_tests=$(dirname "$0")/../tests/web
    if [ ! -d "$web_tests/node_modules/puppeteer-core" ]; then
        PUPPETEER_SKIP_DOWNLOAD=1 npm ci --prefix "$web_tests" --no-audit --no-fund \
            --loglevel=error
    fi
fi
