#!/bin/sh
# SPDX-License-Identifier: MIT
# Renders the generated data set as PNG pictures for looking at: one contact sheet per sprite
# sheet (frames enlarged, on a grey ground so the transparent key shows as a chequer-free
# background), the title and panel, the whole map, and a sox report of every sound.
# Usage: tools/preview.sh GENERATOR GAME_FOLDER OUTPUT_FOLDER
set -eu
generator=$1
game=$2
out=$3
mkdir -p "$out"

for sheet in ZELTO SPIKE CYBUD SKULL JESTOID ENERGON; do
    convert-im6.q16 "$game/$sheet.BMP" -fill '#3a404c' -opaque '#ff00ff' \
        -filter point -resize 300% "$out/$sheet.png"
done
convert-im6.q16 "$game/MAIN.BMP" "$out/MAIN.png"
convert-im6.q16 "$game/HUD.BMP" -fill '#000000' -opaque '#ff00ff' -filter point -resize 200% \
    "$out/HUD.png"
"$generator" --map-preview "$out/map.bmp"
convert-im6.q16 "$out/map.bmp" "$out/map.png"
rm "$out/map.bmp"

for sound in Pick SPAWN GONG GRUNT Xplode MON; do
    printf '%s: ' "$sound"
    sox "$game/$sound.WAV" -n stat 2>&1 | awk '/Length|Maximum amplitude|Minimum amplitude/ {printf "%s ", $0} END {print ""}'
done
