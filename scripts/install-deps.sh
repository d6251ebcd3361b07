#!/usr/bin/env bash
# Installs the Debian packages that building, playing and testing need, when any is missing.
set -euo pipefail

packages=(
    cmake g++ make pkg-config
    libsdl2-dev libsdl2-ttf-dev libfontconfig-dev fonts-dejavu-core fonts-dancingscript
    libgtest-dev libbenchmark-dev
    clang libclang-rt-14-dev
    xvfb xdotool imagemagick sox
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
"${sudo_cmd[@]}" apt-get update -q
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
