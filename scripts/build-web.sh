#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the web build: the page in build/web/ (a static site any web server can serve) and
# the replaying verifier for node in build/web-build/node/. Installs what is missing first.
#   scripts/build-web.sh [NATIVE_BUILD]
# The data set comes from a desktop build folder (NATIVE_BUILD, build/release by default, made
# as ./play.sh makes it when missing), whose data generator makes it; the libraries come from
# Debian's source packages, built once into build/web-libraries/ (scripts/web/build-libraries.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh web

native=${1:-build/release}
if [ ! -f "$native/CMakeCache.txt" ]; then
    cmake -S . -B "$native" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZELTO_BUILD_TESTS=OFF \
        -DZELTO_BUILD_BENCH=OFF
fi
cmake --build "$native" --target zelto_data -j"$(nproc)"

# Debian's emscripten is frozen to Debian's own node modules; a node from elsewhere on the PATH
# finds them here.
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}
scripts/web/build-libraries.sh build/web-libraries
if [ ! -f build/web-build/CMakeCache.txt ]; then
    emcmake cmake -S . -B build/web-build -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DZELTO_WEB_LIBRARIES="$PWD/build/web-libraries/prefix" \
        -DZELTO_NATIVE_BUILD="$(realpath "$native")" -DZELTO_WEB_SITE="$PWD/build/web"
fi
cmake --build build/web-build -j"$(nproc)"
