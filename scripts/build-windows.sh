#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the Windows build: zelto.exe for 64-bit Windows, with its data set and fonts beside it
# in build/windows-build/game/, cross-built with Debian's MinGW-w64, and the download that holds
# them, build/windows/zelto-VERSION-win64.zip. Installs what is missing first.
#   scripts/build-windows.sh [NATIVE_BUILD]
# The data set comes from a desktop build folder (NATIVE_BUILD, build/release by default, made
# as ./play.sh makes it when missing), whose data generator makes it; the libraries come from
# Debian's source packages, built once into build/windows-libraries/
# (scripts/windows/build-libraries.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh windows

native=${1:-build/release}
if [ ! -f "$native/CMakeCache.txt" ]; then
    cmake -S . -B "$native" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZELTO_BUILD_TESTS=OFF \
        -DZELTO_BUILD_BENCH=OFF
fi
cmake --build "$native" --target zelto_data -j"$(nproc)"

scripts/windows/build-libraries.sh build/windows-libraries
if [ ! -f build/windows-build/CMakeCache.txt ]; then
    cmake -S . -B build/windows-build -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" \
        -DZELTO_WINDOWS_LIBRARIES="$PWD/build/windows-libraries/prefix" \
        -DZELTO_NATIVE_BUILD="$(realpath "$native")"
fi
cmake --build build/windows-build -j"$(nproc)"
mkdir -p build/windows
rm -f build/windows/zelto-*-win64.zip
cp build/windows-build/zelto-*-win64.zip build/windows/
ls build/windows/zelto-*-win64.zip
