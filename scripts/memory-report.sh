#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Memory report: starts the game under a virtual X server (Xvfb), measures the main thread's
# processor use while the intro shows (the idle figure), drives it into play as a player does
# (a click on the intro, Space on the instruction screen) and reports its resident memory from
# /proc/<pid>/status, split into anonymous memory (RssAnon: the game's own heap, surfaces and
# stacks) and file-backed memory (RssFile: the mapped program and libraries, most of it the GL
# driver's).
#
#     scripts/memory-report.sh [BUILD_DIR] [IDLE_SECONDS]     (defaults: build/release, 3)
#
# The screen is 640 x 480, so the full-screen game's picture lies on it pixel for pixel. The
# game runs with SDL's dummy sound driver (no sound hardware needed). Every wait polls the
# screen with a generous deadline; a press lasts a tenth of a second, as the game reads its
# input once a frame.
set -u
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build/release}"
if [ ! -d "$build" ]; then
    echo "memory-report: no build folder $build"
    exit 2
fi
idle_seconds="${2:-3}"
game_dir="$(cd "$build" && pwd)/game" || exit 2
if [ ! -x "$game_dir/zelto" ]; then
    echo "memory-report: $game_dir/zelto is missing; build $build first"
    exit 2
fi
if ! [[ "$idle_seconds" =~ ^[1-9][0-9]*$ ]]; then
    echo "memory-report: IDLE_SECONDS must be a positive whole number, not '$idle_seconds'"
    exit 2
fi
for tool in xdotool import convert; do
    if ! command -v "$tool" >/dev/null; then
        echo "memory-report: $tool is not installed (scripts/install-deps.sh test brings it)"
        exit 2
    fi
done

source "$root/tests/support/virtual_display.sh"
start_virtual_display 640x480x24
export SDL_AUDIODRIVER=dummy
deadline_seconds=30

(cd "$game_dir" && exec ./zelto) >"$work/game.log" 2>&1 &
game=$!
trap 'kill $game 2>/dev/null; kill $xvfb_pid 2>/dev/null; rm -rf "$work"' EXIT

# count_colour COLOUR GEOMETRY: how many pixels of that part of the last screenshot are within
# 8 % of the colour in every channel.
count_colour() {
    convert "$work/screen.ppm" -crop "$2" +repage -fuzz 8% -fill white -opaque "$1" \
        -fill black +opaque white -format '%[fx:round(mean*w*h)]' info: 2>/dev/null || echo 0
}
# What tells each screen, in the game's 640 x 480 picture: the title's yellow "CLICK TO
# BEGIN"; the instruction screen's first white line; the panel's HUD label in play.
intro_shown() {
    [ "$(count_colour 'rgb(255,220,120)' 220x30+228+420)" -ge 300 ]
}
instructions_shown() {
    [ "$(count_colour white 400x24+10+188)" -ge 100 ]
}
playing() {
    [ "$(count_colour 'rgb(25,25,25)' 95x20+530+50)" -ge 40 ] && ! instructions_shown
}

# wait_for CHECK: takes screenshots until the check passes; false after the deadline.
wait_for() {
    local start=$SECONDS
    while ((SECONDS - start < deadline_seconds)); do
        kill -0 $game 2>/dev/null || return 1
        import -window root "$work/screen.ppm" 2>/dev/null && "$1" && return 0
        sleep 0.2
    done
    return 1
}
click() {
    xdotool mousedown 1
    sleep 0.1
    xdotool mouseup 1
}
press_space() {
    xdotool keydown space
    sleep 0.1
    xdotool keyup space
}
# repeat_until ACTION CHECK: does the action, again every five seconds, until the check passes.
repeat_until() {
    local start=$SECONDS done_at=-5
    while ((SECONDS - start < deadline_seconds)); do
        kill -0 $game 2>/dev/null || return 1
        if ((SECONDS - done_at >= 5)); then
            $1
            done_at=$SECONDS
        fi
        import -window root "$work/screen.ppm" 2>/dev/null && "$2" && return 0
        sleep 0.2
    done
    return 1
}
give_up() {
    echo "memory-report: $*"
    cat "$work/game.log"
    exit 1
}

# cpu_ticks STAT_FILE: user plus system time, in clock ticks, from a stat line (the fields
# after the command name, which is in brackets and may hold spaces).
cpu_ticks() {
    sed 's/.*) //' "$1" | awk '{ print $12 + $13 }'
}
memory_line() {
    awk '/^(VmRSS|RssAnon|RssFile|RssShmem):/ { printf "%s %s kB  ", $1, $2 } END { print "" }' \
        "/proc/$game/status"
}

wait_for intro_shown || give_up "the intro did not show"
read -r load_before _ </proc/loadavg
echo "intro shown; load average $load_before"
echo "memory on the intro: $(memory_line)"

# The idle figure: the main thread (its id is the process's) over IDLE_SECONDS on the intro,
# next to all the game's threads together.
ticks_per_second=$(getconf CLK_TCK)
main_before=$(cpu_ticks "/proc/$game/task/$game/stat")
all_before=$(cpu_ticks "/proc/$game/stat")
start_ns=$(date +%s%N)
sleep "$idle_seconds"
main_after=$(cpu_ticks "/proc/$game/task/$game/stat")
all_after=$(cpu_ticks "/proc/$game/stat")
end_ns=$(date +%s%N)
awk -v m=$((main_after - main_before)) -v a=$((all_after - all_before)) \
    -v ns=$((end_ns - start_ns)) -v hz="$ticks_per_second" 'BEGIN {
    s = ns / 1e9
    printf "idle on the intro over %.1f s: main thread %.1f %% of a core, all threads %.1f %% (clock ticks of 1/%d s)\n",
        s, 100 * m / hz / s, 100 * a / hz / s, hz }'

repeat_until click instructions_shown || give_up "the click did not lead to the instruction screen"
echo "instruction screen shown"
repeat_until press_space playing || give_up "Space did not lead to play"
read -r load_after _ </proc/loadavg
echo "playing; load average $load_after"
echo "memory in play:    $(memory_line)"
