#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The style checks of continuous integration, each with the command that mends what it finds:
#   1. every C++ file follows .clang-format            (clang-format -i <file>)
#   2. SDL is included only where it belongs: the platform layer, the tools, and the benchmarks,
#      whose SDL rows are the anchors the engine is measured against
#   3. every source file (C++, CMake, shell, Python) starts with the licence's SPDX line, after
#      a shebang where there is one                    (scripts/add-spdx-line.sh <file>)
#   4. every include under src/ names its header by its path from src/ and follows the arrows
#      between the libraries, which scripts/include-arrows.txt lists (the checker first proves
#      on a fixture that it catches a wrong include)   (mend the include, or the arrows and README)
#   5. the game's code (src/game) has no mutable global: its state lives in the Game value it
#      hands around (the checker first proves on a fixture that it names exactly the mutable
#      ones)                                           (move the variable into Game)
#   6. the libFuzzer targets compile with clang        (build/fuzz-compile; they are not run)
# Warnings are errors in the test suite's own build (./test.sh), so that is not repeated here.
# Run from anywhere; needs the "ci" profile of scripts/install-deps.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
failed=0

mapfile -t sources < <(git ls-files '*.cpp' '*.h')
if ! clang-format --dry-run -Werror "${sources[@]}"; then
    echo "check-style: the files above do not follow .clang-format" >&2
    failed=1
fi

if sdl_users=$(grep -lE '^\s*#\s*include\s*[<"](SDL2/)?SDL' "${sources[@]}" |
    grep -vE '^(src/platform|tools|bench)/'); then
    echo "check-style: SDL included outside src/platform, tools and bench:" >&2
    echo "$sdl_users" >&2
    failed=1
fi

mapfile -t licensed < <(git ls-files '*.cpp' '*.h' '*.c' '*.sh' '*.py' '*.cmake' '*CMakeLists.txt')
unlicensed=()
for file in "${licensed[@]}"; do
    [ -f "$file" ] || continue  # deleted in the work tree, not yet in the index
    case "$file" in
        *.cpp | *.h | *.c) spdx='// SPDX-License-Identifier: MIT' ;;
        *) spdx='# SPDX-License-Identifier: MIT' ;;
    esac
    awk -v spdx="$spdx" 'NR == 1 && /^#!/ { next } { found = ($0 == spdx); exit } END { exit !found }' \
        "$file" || unlicensed+=("$file")
done
if [ ${#unlicensed[@]} -gt 0 ]; then
    echo "check-style: these files do not start with the SPDX line (scripts/add-spdx-line.sh):" >&2
    printf '%s\n' "${unlicensed[@]}" >&2
    failed=1
fi

if ! python3 scripts/check-include-arrows.py --self-test; then
    echo "check-style: the include checker misses a wrong include in its own fixture" >&2
    failed=1
elif ! python3 scripts/check-include-arrows.py; then
    echo "check-style: the includes above break the arrows of scripts/include-arrows.txt" >&2
    failed=1
fi

if ! python3 scripts/check-game-globals.py --self-test; then
    echo "check-style: the globals checker misnames its own fixture's variables" >&2
    failed=1
elif ! python3 scripts/check-game-globals.py; then
    echo "check-style: the variables above are mutable globals of the game (keep them in Game)" >&2
    failed=1
fi

CC=clang CXX=clang++ cmake -S . -B build/fuzz-compile -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DZELTO_BUILD_FUZZ=ON -DZELTO_SANITIZE=ON -DZELTO_BUILD_TESTS=OFF -DZELTO_BUILD_BENCH=OFF \
    >/dev/null
mapfile -t fuzz_targets < <(sed -n 's/^add_executable(\([a-z_]*_fuzz\).*/\1/p' fuzz/*/CMakeLists.txt)
cmake --build build/fuzz-compile -j"$(nproc)" --target "${fuzz_targets[@]}" || failed=1

exit "$failed"
