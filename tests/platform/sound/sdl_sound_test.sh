#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The SDL host's sound under a virtual X server, written to a file by SDL's disk audio driver:
# WAVs made by sox in every PCM format play at their pitch and length, and the game's start-up
# gong is in the game's output. Skips (77) where no X server can be started or sox is missing.
set -u
check="$1"
game="$2"
game_dir="$3"

if ! command -v sox >/dev/null; then
    echo "SKIP: sox is not installed"
    exit 77
fi
source "$(dirname "$0")/../../support/virtual_display.sh"
start_virtual_display 1024x768x24
export SDL_AUDIODRIVER=disk
status=0

for format in "8 1 11025" "8 2 22050" "16 1 44100" "16 2 48000" "16 1 11025" "8 2 48000"; do
    read -r bits channels rate <<<"$format"
    wav="$work/tone-$bits-$channels-$rate.wav"
    sox -n -r "$rate" -b "$bits" -c "$channels" "$wav" synth 0.3 sine 440 vol 0.5
    SDL_DISKAUDIOFILE="$work/tone.raw" timeout 30 "$check" play "$wav" 440 0.3 || {
        echo "FAIL: $bits-bit, $channels channels, $rate Hz"
        status=1
    }
done

# The game plays the gong at the end of its start-up.
(cd "$game_dir" && SDL_DISKAUDIOFILE="$work/game.raw" exec "$game") >"$work/game.out" 2>&1 &
game_pid=$!
sleep 4.5
kill -TERM $game_pid 2>/dev/null
for _ in $(seq 50); do kill -0 $game_pid 2>/dev/null || break; sleep 0.1; done
if kill -0 $game_pid 2>/dev/null; then
    echo "FAIL: the game did not end on the close request"
    kill -KILL $game_pid
    status=1
fi
wait $game_pid
cat "$work/game.out"
"$check" find "$work/game.raw" "$game_dir/GONG.WAV" || { echo "FAIL: no gong in the output"; status=1; }
exit $status
