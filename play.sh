#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds the game in Release (build/release) and starts it; options
# are handed to the game (./play.sh --window). A second run finds everything in place: it
# checks the packages with one query, keeps the existing configuration, and builds only what
# changed.
set -euo pipefail
cd "$(dirname "$0")"
# ./play.sh --web [PORT]: the web build instead, served on 127.0.0.1 (port 8000 unless given)
# until Ctrl+C; build/web/ is the whole site, for any web server.
if [ "${1:-}" = --web ]; then
    scripts/build-web.sh
    port=${2:-8000}
    echo "Play in a browser at http://127.0.0.1:$port/ (Ctrl+C stops the server)"
    exec python3 -m http.server --bind 127.0.0.1 "$port" --directory build/web
fi
scripts/install-deps.sh play
if [ ! -f build/release/CMakeCache.txt ]; then
    # Ninja finds a build with nothing to do in a blink, where make takes seconds. Playing
    # needs neither the tests nor the benchmarks; ./test.sh turns them on.
    cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DZELTO_BUILD_TESTS=OFF \
        -DZELTO_BUILD_BENCH=OFF
fi
cmake --build build/release --target zelto -j"$(nproc)"
exec build/release/game/zelto "$@"
