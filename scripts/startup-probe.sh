#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Start-up probe: how long the game takes from its launch to its first picture on the screen,
# next to a bare SDL program that opens the same window and renderer and presents one picture
# (tools/startup_probe). Both run under one virtual X server (Xvfb, 800 x 600), in turns, RUNS
# times each; the medians and their ratio are printed. As a guard it ends with 1 when the
# game's median comes more than 100 ms after the bare program's: a player sees the title
# within a tenth of a second of what SDL alone needs to show a window.
#
#     scripts/startup-probe.sh [BUILD_DIR] [RUNS]     (defaults: build/release, 5)
#
# BUILD_DIR must hold the game (game/zelto with its data beside it) and the probe's two
# programs (tools/startup_probe), e.g. a Release tree built with its default targets.
#
# How "first picture" is seen: first_picture_watch (tools/startup_probe) reads a 16 x 16 patch
# at the centre of the X screen before the launch, starts the program itself (fork and exec,
# its clock read just before), and reads the patch again every millisecond until it is
# neither all black nor the background it read first. Both programs open a 640 x 480 window
# at the centre of the screen, so the patch is the middle of their picture: the bare program's
# grey ramp, the game's intro title; an unmapped window or one that shows only black does not
# count. One reading is a 16 x 16 XGetImage from a local server, so a time is late by about
# 1.5 ms at most; the program is then asked to close (SIGTERM).
#
# The game runs in a window (--window) from its data folder, with SDL's dummy sound driver:
# on a machine without sound hardware its first picture would otherwise be the question
# whether to go on without sound.
set -u
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build/release}"
if [ ! -d "$build" ]; then
    echo "startup-probe: no build folder $build"
    exit 2
fi
runs="${2:-5}"
build="$(cd "$build" && pwd)" || exit 2
game_dir="$build/game"
bare="$build/tools/startup_probe/startup_probe"
watch="$build/tools/startup_probe/first_picture_watch"
for program in "$game_dir/zelto" "$bare" "$watch"; do
    if [ ! -x "$program" ]; then
        echo "startup-probe: $program is missing; build $build first"
        exit 2
    fi
done
if ! [[ "$runs" =~ ^[1-9][0-9]*$ ]]; then
    echo "startup-probe: RUNS must be a positive whole number, not '$runs'"
    exit 2
fi

source "$root/tests/support/virtual_display.sh"
start_virtual_display 800x600x24
export SDL_AUDIODRIVER=dummy

# median FILE: the middle one of the numbers in the file, one a line (the mean of the two
# middle ones for an even count).
median() {
    sort -n "$1" | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else printf "%.1f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# time_first_picture NAME FOLDER PROGRAM ARGUMENTS...: one launch, its time appended to
# $work/NAME.
time_first_picture() {
    local name="$1" folder="$2"
    shift 2
    local ms
    if ms=$(cd "$folder" && "$watch" --timeout 60 -- "$@" 2>>"$work/$name.log" >"$work/last.out";
        cat "$work/last.out"); then
        echo "$ms" >>"$work/$name"
        echo "  $name: $ms ms"
    else
        echo "  $name: no picture (see below)"
        cat "$work/$name.log"
        return 1
    fi
}

read -r load_before _ </proc/loadavg
echo "display $DISPLAY, $runs runs each, load average $load_before at the start"
: >"$work/bare"
: >"$work/game"
status=0
for run in $(seq "$runs"); do
    echo "run $run"
    time_first_picture bare "$build" "$bare" || status=1
    time_first_picture game "$game_dir" ./zelto --window || status=1
done
read -r load_after _ </proc/loadavg
[ $status = 0 ] || exit 1

bare_median=$(median "$work/bare")
game_median=$(median "$work/game")
echo "load average $load_after at the end"
echo "bare SDL program: median $bare_median ms (all: $(sort -n "$work/bare" | paste -sd ' '))"
echo "game:             median $game_median ms (all: $(sort -n "$work/game" | paste -sd ' '))"
awk -v g="$game_median" -v b="$bare_median" 'BEGIN { printf "ratio game / bare: %.2f\n", g / b }'
if awk -v g="$game_median" -v b="$bare_median" 'BEGIN { exit !(g - b > 100) }'; then
    echo "startup-probe: the game's title comes more than 100 ms after the bare program's picture"
    exit 1
fi
