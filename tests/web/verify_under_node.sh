#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Verifies a recorded game with the web build's verifier under node: the WebAssembly program
# must draw every picture with the hash the desktop recorded.
#   verify_under_node.sh WEB_BUILD_FOLDER RECORDING
# Skipped (77) where node or the web build is missing.
set -uo pipefail
web_build=$1
recording=$2
verifier=$web_build/node/zelto-verify.js
if [ ! -f "$verifier" ]; then
    echo "SKIP: no web build in $web_build (scripts/build-web.sh makes it)"
    exit 77
fi
if ! command -v node >/dev/null; then
    echo "SKIP: node is not installed"
    exit 77
fi
# The data set with the fonts the page ships, as the page reads it. Node's own fetch would stand
# in for the runtime's file reading, which it does not do as the runtime expects.
exec node --no-experimental-fetch "$verifier" --replay "$recording" --verify \
    --data "$web_build/staged"
