#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# A window manager's close request (WM_PROTOCOLS / WM_DELETE_WINDOW, as sent when the user
# clicks the close button) ends the game with exit code 0 within two seconds, every time: on
# the full-screen intro, where the mouse is captured for steering, sent soon and late after the
# intro shows; on the intro of a game started with --window; and right after the click that
# starts the cross-fade into the instruction screen. No session bus is named, and starting one
# would hang.
#   close_request_test.sh GAME SEND_CLOSE_REQUEST TITLE_PICTURE [ROUNDS]
# Skips (77) where no X server can be started or the tools to drive and look at it are missing.
set -u
game="$1"
send_close_request="$2"
title_picture="$3"
rounds="${4:-20}"

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
# A desktop without a session bus, where one started on demand would never answer: the game
# must not try to start one, or it hangs before its first picture.
unset DBUS_SESSION_BUS_ADDRESS
mkdir -p "$work/bin"
printf '#!/bin/sh\nexec sleep 600\n' >"$work/bin/dbus-launch"
chmod +x "$work/bin/dbus-launch"
export PATH="$work/bin:$PATH"
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
status=0


# The intro's picture seen as game_screen.sh sees pictures (16 x 12 averaged blocks), made once.
convert "$title_picture" -resize '16x12!' "$work/intro.png"

# Where the intro shows, full screen (640 x 480 scaled into 1280 x 800) or in the window.
intro_geometry() {
    if [ "${1:-}" = --window ]; then
        read_window_geometry "$window"
        echo "640x480+${window_position/,/+}"
    else
        echo 1067x800+107+0
    fi
}

# Takes screenshots until the intro shows at GEOMETRY, as wait_for_picture does, with one
# screenshot and one comparison per look: the test starts the game sixty times.
wait_for_intro() {
    local distance
    for _ in $(seq $((deadline_seconds * 4))); do
        if import -window root miff:- 2>/dev/null |
            convert - -crop "$1" +repage -resize '16x12!' "$work/seen.png" 2>/dev/null; then
            distance=$(compare -metric RMSE "$work/seen.png" "$work/intro.png" null: 2>&1 |
                sed -n 's/.*(\([0-9.e-]*\)).*/\1/p')
            awk -v d="$distance" 'BEGIN { exit !(d != "" && d < 0.06) }' && return 0
        fi
        sleep 0.25
    done
    return 1
}

# One game: started with the options, the intro awaited, then BEFORE (a command) run, the close
# request sent, and the end awaited. Prints one line and returns 1 if the game did not end with
# exit code 0 in time (it is killed then).
close_once() {
    local before="$1"
    shift
    "$game" "$@" >"$work/game.out" 2>&1 &
    local game_pid=$!
    if ! window=$(wait_for_window zelto) ||
        ! wait_for_intro "$(intro_geometry "$@")"; then
        echo "no intro: $(cat "$work/game.out")"
        kill -KILL $game_pid
        wait $game_pid 2>/dev/null
        return 1
    fi
    $before
    local deadline
    deadline=$(close_deadline_tenths)
    "$send_close_request" zelto || echo "the request could not be sent"
    for _ in $(seq "$deadline"); do
        kill -0 $game_pid 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 $game_pid 2>/dev/null; then
        kill -KILL $game_pid
        wait $game_pid 2>/dev/null
        echo "still running $((deadline / 10)) s after the request"
        return 1
    fi
    wait $game_pid
    local code=$?
    [ $code = 0 ] || { echo "exit code $code: $(cat "$work/game.out")"; return 1; }
    return 0
}

# The request goes soon after the intro shows, or late, in turns: 0.3 s, then DELAY.
soon_or_after() {
    if ((round % 2)); then sleep 0.3; else sleep "$1"; fi
}
soon_or_late() { soon_or_after 3; }
soon_or_a_second() { soon_or_after 1; }
click() {
    focus_window "$window"
    xdotool mousedown 1
    sleep 0.1
    xdotool mouseup 1
}

# CASE BEFORE [OPTIONS]: ROUNDS games; every close request must be acted on.
expect_every_close() {
    local case_name="$1"
    local before="$2"
    shift 2
    local lost=0
    local round
    for ((round = 1; round <= rounds; round++)); do
        close_once "$before" "$@" >"$work/round.out" || {
            lost=$((lost + 1))
            echo "$case_name, round $round: $(cat "$work/round.out")"
        }
    done
    echo "$case_name: $((rounds - lost)) of $rounds close requests ended the game"
    [ $lost = 0 ] || status=1
}

# Each case names its window mode: a run starts in the mode the last one ended in.
expect_every_close "full-screen intro, 0.3 s or 3 s after it shows" soon_or_late --fullscreen
expect_every_close "intro in a window, 0.3 s or 1 s after it shows" soon_or_a_second --window
# The instruction screen that follows the fade waits for Space and must hear the request too.
expect_every_close "right after the click that starts the fade" click --fullscreen
exit $status
