#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# A game played on the SDL host under a virtual X server and recorded with --record replays
# without a display (--replay FILE --verify, the fake host) with every picture's hash and sound
# request as recorded: the intro's click, Space on the instruction screen, steering into a
# corner until a life is lost, Space on the next instruction screen, Escape. The recording and
# the data folder are named relative to the folder the game starts in, which is not the data
# folder. Then the recording is shown again in a window at its pace (--replay FILE), and Escape
# ends the viewing with 0.
# Skips (77) where no X server can be started or the tools to drive and look at it are missing.
set -u
game="$1"
title_picture="$2"

for tool in xdotool import convert compare; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed"
        exit 77
    fi
done
source "$(dirname "$0")/../support/virtual_display.sh"
source "$(dirname "$0")/../support/game_screen.sh"
# A 640 x 480 screen: the window's picture is the whole screen, unscaled.
start_virtual_display 640x480x24
export SDL_AUDIODRIVER=dummy
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
# The recorded game and its replay keep their scores apart from the user's.
export XDG_DATA_HOME="$work/data"
status=0
fail() {
    echo "FAIL: $*"
    status=1
}

# count_colour GEOMETRY COLOUR TOLERANCE: the pixels of the last screenshot within the part that
# are of the colour (within TOLERANCE percent in every channel: the picture has 16-bit colours).
count_colour() {
    convert "$work/screen.png" -crop "$1" +repage \( +clone -fill "$2" -colorize 100 \) \
        -compose difference -composite -separate -evaluate-sequence max -threshold "$3%" \
        -negate -format '%[fx:round(mean*w*h)]' info:
}
# The instruction screen: its first white line over the map, and the panel without its labels;
# play: the panel's dark labels.
instructions_shown() {
    [ "$(count_colour 400x24+10+188 white 8)" -ge 100 ] &&
        [ "$(count_colour 95x20+530+50 'rgb(25,25,25)' 35)" -lt 40 ]
}
playing() {
    [ "$(count_colour 95x20+530+50 'rgb(25,25,25)' 35)" -ge 40 ]
}
# wait_for CHECK: takes screenshots until the check passes on one; false after the deadline.
wait_for() {
    local start=$SECONDS
    while ((SECONDS - start < deadline_seconds)); do
        import -window root "$work/screen.png" 2>/dev/null && "$@" && return 0
        sleep 0.3
    done
    return 1
}
# Presses Space until play shows: the instruction screen reads the keyboard once a frame.
space_into_play() {
    for _ in $(seq 10); do
        focus_window "$window"
        press_keys space
        wait_for playing && return 0
    done
    return 1
}

# The recording is named as a person in the folder would name it: relative to the folder the game
# starts in, not to the data folder it reads from.
recording="$work/game.zrec"
(cd "$work" && "$game" --window --record game.zrec) >"$work/game.log" 2>&1 &
game_pid=$!
window=$(wait_for_window zelto) || { fail "no window"; kill $game_pid; exit 1; }
wait_for_picture 640x480+0+0 "$title_picture" || fail "no intro"
# The intro is held for three seconds before the click, so that the viewing at the recorded pace
# shows it long enough for a screenshot on a slow machine to find it.
sleep 3
focus_window "$window"
xdotool mousemove --window "$window" 320 240
for _ in $(seq 10); do
    xdotool mousedown 1
    sleep 0.1
    xdotool mouseup 1
    wait_for instructions_shown && break
done
instructions_shown || fail "the click did not lead to the instruction screen"
space_into_play || fail "Space did not start play"
# Steering: a few courses, then down and right into the corner until a life is lost and the
# next stage's instruction screen shows.
for motion in "8 -8" "-8 8" "12 12"; do
    # shellcheck disable=SC2086
    xdotool mousemove_relative -- $motion
    sleep 0.5
done
wait_for instructions_shown || fail "no life was lost in the corner"
space_into_play || fail "Space did not start play again"
xdotool mousemove_relative -- -6 6
end_with_escape "$game_pid" "$window"
[ "$exit_code" = 0 ] || fail "the recorded game ended with $exit_code"
cat "$work/game.log"
[ -f "$recording" ] || { fail "no recording"; exit 1; }
echo "recording: $(stat -c %s "$recording") bytes"

# Checked without a display, as fast as it runs: every picture and sound as recorded. The
# recording and the data folder are named relative to the folder the check starts in.
data_from_work=$(realpath --relative-to="$work" "$(dirname "$title_picture")")
(cd "$work" && env -u DISPLAY "$game" --replay game.zrec --verify --data "$data_from_work") \
    >"$work/verify.log" 2>&1
code=$?
cat "$work/verify.log"
[ $code -eq 0 ] || fail "the replay ended with $code"
grep -q "frames replayed as recorded" "$work/verify.log" || fail "the replay did not say so"
grep -q "cut short" "$work/verify.log" && fail "the recording of a game ended by Escape is cut short"

# Shown again in the window, at its pace: the intro shows, and Escape ends the viewing.
(cd "$work" && "$game" --window --replay "$recording") >"$work/view.log" 2>&1 &
view_pid=$!
window=$(wait_for_window zelto) || fail "no window for the viewing"
wait_for_picture 640x480+0+0 "$title_picture" || fail "the viewing shows no intro"
end_with_escape "$view_pid" "$window"
[ "$exit_code" = 0 ] || fail "the viewing ended with $exit_code: $(cat "$work/view.log")"
exit $status
