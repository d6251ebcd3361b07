#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Records the suite's golden games anew into tests/game/golden/ (see tests/README.md for when
# that is right): builds record_golden_games and the program in a Release tree (build/release,
# or the folder given), plays the games on the fake host there and checks that each new
# recording replays with zelto --replay FILE --verify before it replaces the old one.
set -euo pipefail
cd "$(dirname "$0")/.."

build="${1:-build/release}"
golden="$PWD/tests/game/golden"
[ -f "$build/CMakeCache.txt" ] ||
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZELTO_BUILD_TESTS=ON >/dev/null
cmake --build "$build" --target record_golden_games zelto -j2
fresh=$(mktemp -d)
trap 'rm -rf "$fresh"' EXIT
# The games read their data from the generated data set, as the program does.
(cd "$build/game" && "$OLDPWD/$build/tests/game/record_golden_games" "$fresh")
for game in "$fresh"/*.zrec; do
    (cd "$build/game" && ./zelto --replay "$game" --verify)
done
cp "$fresh"/*.zrec "$golden/"
ls -l "$golden"/*.zrec
