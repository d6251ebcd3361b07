#!/usr/bin/env bash
# The game as a person starts it from the repository root, under a virtual X server with no
# window manager (which grants no size change but the program's own): it finds its data beside
# the executable and shows the intro full screen, scaled with black bars; Alt+Enter shows the
# whole picture in a 640 x 480 window, and a second Alt+Enter brings back the full-screen
# picture with black bars only. --window starts in the window. Escape ends it with exit code 0.
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
start_virtual_display 1280x800x24
export SDL_AUDIODRIVER=dummy
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
status=0
fail() {
    echo "FAIL: $*"
    status=1
}

# 640 x 480 scaled into 1280 x 800 is 1067 x 800, 106 pixels from either side.
full_screen_picture=1067x800+107+0
left_bar=100x800+0+0
right_bar=100x800+1180+0

expect_full_screen() {
    wait_for_window_size "$window" 1280x800 || fail "$1: the window does not cover the screen"
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
exit $status
