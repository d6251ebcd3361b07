#!/usr/bin/env bash
# Installs what is missing, builds the game in Release and starts it from its data folder.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release
cmake --build build/release --target zelto -j"$(nproc)"
cd build/release/game
exec ./zelto
