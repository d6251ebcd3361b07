#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The game as a person starts it from the repository root, under a virtual X server with no
# window manager (which grants no size change but the program's own): it finds its data beside
# the executable and shows the intro full screen, scaled with black bars; Alt+Enter shows the
# whole picture in a 640 x 480 window, and a second Alt+Enter brings back the full-screen
# picture with black bars only. --window starts in the window. --integer-scale shows the picture
# at twice its size, every picture pixel a 2 x 2 square of screen pixels, black all around it.
# Escape ends it with exit code 0.
# Skips (77) where no X server can be started or the tools to drive and look at it are missing.
set -u
game="$1"
source_dir="$2"
title_picture="$3"

for tool in xdotool import convert compare; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed"
        exit 77
    fi
done
source "$(dirname "$0")/../support/virtual_display.sh"
source "$(dirname "$0")/../support/game_screen.sh"
start_virtual_display 1600x1000x24
export SDL_AUDIODRIVER=dummy
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
status=0
fail() {
    echo "FAIL: $*"
    status=1
}

# 640 x 480 scaled into 1600 x 1000 is 1333 x 1000, 133 pixels from either side.
full_screen_picture=1333x1000+133+0
left_bar=120x1000+0+0
right_bar=120x1000+1480+0

expect_full_screen() {
    wait_for_window_size "$window" 1600x1000 || fail "$1: the window does not cover the screen"
    wait_for_picture "$full_screen_picture" "$title_picture" || fail "$1: no full-screen picture"
    all_black "$left_bar" || fail "$1: the bar left of the picture is not black"
    all_black "$right_bar" || fail "$1: the bar right of the picture is not black"
}

expect_window() {
    wait_for_window_size "$window" 640x480 || fail "$1: no 640 x 480 window"
    read_window_geometry "$window"
    wait_for_picture "640x480+${window_position/,/+}" "$title_picture" ||
        fail "$1: the window does not show the whole picture"
}

quit_with_escape() {
    end_with_escape "$game_pid" "$window" || fail "$1: Escape did not end the game"
    echo "$1: exit code $exit_code after Escape"
    [ "$exit_code" = 0 ] || fail "$1: exit code $exit_code"
}

# Full screen, from the repository root, then a window and full screen again.
(cd "$source_dir" && exec "$game") >"$work/game.out" 2>&1 &
game_pid=$!
if window=$(wait_for_window zelto); then
    expect_full_screen "started from the repository root"
    focus_window "$window"
    press_keys alt Return
    expect_window "after one Alt+Enter"
    focus_window "$window"
    press_keys alt Return
    expect_full_screen "after two Alt+Enter"
    quit_with_escape "full screen"
else
    fail "no window from the game started in the repository root"
    kill -KILL $game_pid
fi
cat "$work/game.out"

# --window: the window first, full screen after Alt+Enter.
(cd "$source_dir" && exec "$game" --window) >"$work/game.out" 2>&1 &
game_pid=$!
if window=$(wait_for_window zelto); then
    expect_window "started with --window"
    focus_window "$window"
    press_keys alt Return
    expect_full_screen "--window, then Alt+Enter"
    quit_with_escape "--window"
else
    fail "no window from the game started with --window"
    kill -KILL $game_pid
fi
cat "$work/game.out"

# --integer-scale, full screen (the last of --window and --fullscreen wins): twice 640 x 480.
(cd "$source_dir" && exec "$game" --window --fullscreen --integer-scale) >"$work/game.out" 2>&1 &
game_pid=$!
if window=$(wait_for_window zelto); then
    wait_for_window_size "$window" 1600x1000 || fail "--integer-scale: not full screen"
    wait_for_picture 1280x960+160+20 "$title_picture" || fail "--integer-scale: no picture"
    for bar in 160x1000+0+0 160x1000+1440+0 1600x20+0+0 1600x20+0+980; do
        all_black "$bar" || fail "--integer-scale: $bar around the picture is not black"
    done
    # Sampling every second pixel and doubling it again gives back the same picture only where
    # each 2 x 2 square is one colour: a blending scale softens the edges between them.
    convert "$work/screen.png" -crop 1280x960+160+20 +repage "$work/doubled.png"
    convert "$work/doubled.png" -sample 50% -sample 200% "$work/resampled.png"
    differing=$(compare -metric AE "$work/doubled.png" "$work/resampled.png" null: 2>&1)
    [ "$differing" = 0 ] || fail "--integer-scale: $differing pixels blended, not 2 x 2 squares"
    quit_with_escape "--integer-scale"
else
    fail "no window from the game started with --integer-scale"
    kill -KILL $game_pid
fi
cat "$work/game.out"
exit $status
