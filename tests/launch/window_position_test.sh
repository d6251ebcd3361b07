#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The window's place kept between runs, under a virtual X server of 1600 x 1000 with no window
# manager: a window moved and left there is written to the settings as `window-position` and
# the next run opens there; a kept place where the 640 x 480 window would not lie wholly on
# the display (a display gone or smaller) opens it centred, at 480,260.
# Skips (77) where no X server can be started or xdotool is missing.
set -u
game="$1"
data_folder="$2"

if ! command -v xdotool >/dev/null; then
    echo "SKIP: xdotool is not installed"
    exit 77
fi
source "$(dirname "$0")/../support/virtual_display.sh"
source "$(dirname "$0")/../support/game_screen.sh"
start_virtual_display 1600x1000x24
export SDL_AUDIODRIVER=dummy
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
settings="$XDG_CONFIG_HOME/zelto/settings"
status=0
fail() {
    echo "FAIL: $*"
    status=1
}

# Starts the game in a window; the window's id in $window, or fails.
start_game() {
    "$game" --window --data "$data_folder" >"$work/game.out" 2>&1 &
    game_pid=$!
    if ! window=$(wait_for_window zelto); then
        kill -KILL $game_pid
        wait $game_pid
        cat "$work/game.out"
        return 1
    fi
}

# Waits until the window stands at X,Y.
wait_for_window_position() {
    for _ in $(seq $((deadline_seconds * 5))); do
        read_window_geometry "$1"
        [ "$window_position" = "$2" ] && return 0
        sleep 0.2
    done
    return 1
}

quit_game() {
    end_with_escape "$game_pid" "$window" || fail "$1: Escape did not end the game"
    [ "$exit_code" = 0 ] || fail "$1: exit code $exit_code"
}

# A first run opens centred; moved, its place is kept; the next run opens there.
if start_game; then
    wait_for_window_position "$window" 480,260 || fail "first run: at $window_position, not centred"
    xdotool windowmove "$window" 200 100
    wait_for_window_position "$window" 200,100 || fail "the window did not move to 200,100"
    quit_game "moved"
    grep -qx 'window-position = 200,100' "$settings" ||
        fail "the moved window's place is not kept: $(grep position "$settings")"
    if start_game; then
        wait_for_window_position "$window" 200,100 ||
            fail "second run: at $window_position, not where the first was left"
        quit_game "second run"
    else
        fail "no window in the second run"
    fi
else
    fail "no window in the first run"
fi

# Kept places at the display's edges: the window opens there only where it fits.
for row in 960,520:960,520 0,0:0,0 961,520:480,260 960,521:480,260 -1,0:480,260 \
    5000,5000:480,260; do
    kept="${row%%:*}"
    expected="${row##*:}"
    printf 'window = yes\nwindow-position = %s\n' "$kept" >"$settings"
    if start_game; then
        wait_for_window_position "$window" "$expected" ||
            fail "kept $kept: the window opened at $window_position, not $expected"
        quit_game "kept $kept"
    else
        fail "kept $kept: no window"
    fi
done
exit $status
