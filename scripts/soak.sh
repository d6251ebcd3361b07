#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The soak: 100,000 blanks (28 minutes of game time) of the whole game played at random on the
# fake host, with display and sound losses, under the address and undefined-behaviour
# sanitizers. Configures and builds build/soaksan with -DZELTO_SOAK=ON and runs the test
# labelled soak; ZELTO_SOAK_SEED in the environment picks another random player.
set -euo pipefail
cd "$(dirname "$0")/.."

build=build/soaksan
# The build runs the (sanitized) data generator too, so these hold for it as well.
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZELTO_SANITIZE=ON \
    -DZELTO_BUILD_TESTS=ON -DZELTO_BUILD_BENCH=OFF -DZELTO_SOAK=ON
cmake --build "$build" --target game_soak -j"$(nproc)"
ctest --test-dir "$build" -L soak --output-on-failure --verbose
