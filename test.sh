#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds everything and runs the whole test suite.
#   ./test.sh             Release build in build/release (warnings are errors), with Debian's
#                         hardening flags, as the Debian package is built; and the web build
#                         (scripts/build-web.sh), which the suite plays in Chromium; and the
#                         Windows build (scripts/build-windows.sh), which it runs under Wine
#   ./test.sh --sanitize  address and undefined-behaviour sanitizers, in build/sanitize
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh test

build=build/release
# Tests and benchmarks on, also in a build folder that ./play.sh configured without them; the
# package the suite makes and checks is hardened as the one users get.
options=(-DCMAKE_BUILD_TYPE=Release -DZELTO_BUILD_TESTS=ON -DZELTO_BUILD_BENCH=ON -DZELTO_WERROR=ON
    -DZELTO_HARDENING=ON)
if [ "${1:-}" = "--sanitize" ]; then
    build=build/sanitize
    options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DZELTO_SANITIZE=ON -DZELTO_BUILD_TESTS=ON
        -DZELTO_BUILD_BENCH=OFF -DZELTO_WERROR=ON)
    # The build runs the (sanitized) data generator too, so this holds for it as well.
    export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
fi
# A new build folder is made for Ninja, as ./play.sh makes it; an existing one keeps its own.
[ -f "$build/CMakeCache.txt" ] || options+=(-G Ninja)
cmake -S . -B "$build" "${options[@]}"
cmake --build "$build" -j"$(nproc)"
# The web and Windows builds, which the suite checks too (tests/web, tests/windows), from this
# build's data set.
if [ "$build" = build/release ]; then
    scripts/build-web.sh "$build"
    scripts/build-windows.sh "$build"
fi
export SDL_AUDIODRIVER=dummy
ctest --test-dir "$build" --output-on-failure -j"$(nproc)"
