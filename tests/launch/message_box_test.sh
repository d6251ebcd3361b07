#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# A message box does not hold the program against the player's wish to end it: SIGTERM or
# SIGINT while a box is shown, or the box's window closed, end the game within the close
# deadline with exit code 1, the code of the box's Escape answer; no further box follows, and
# the box is gone with the game.
# Each case starts the game under a virtual X server: a data folder without any data file
# (reported once, naming the folder), the question whether to go on without sound (a sound
# driver that does not exist), and two missing sounds (two reports, of which the first is
# closed).
#   message_box_test.sh GAME SEND_CLOSE_REQUEST DATA_FOLDER
# Skips (77) where no X server can be started or xdotool is missing.
set -u
game="$1"
send_close_request="$2"
data_folder="$3"

if ! command -v xdotool >/dev/null; then
    echo "SKIP: xdotool is not installed"
    exit 77
fi
source "$(dirname "$0")/../support/virtual_display.sh"
source "$(dirname "$0")/../support/game_screen.sh"
start_virtual_display 1024x768x24
export SDL_AUDIODRIVER=dummy
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
status=0
fail() {
    echo "FAIL: $*"
    status=1
}

mkdir "$work/empty" "$work/two_missing"
for file in "$data_folder"/*; do
    case "$(basename "$file")" in
        GONG.WAV | MON.WAV) ;;
        *) ln -s "$file" "$work/two_missing/" ;;
    esac
done

# CASE END OPTIONS...: starts the game with the options (a background job in a script ignores
# SIGINT, so both end signals are put back to their default), waits for its first box, ends it
# with END (a command) and expects the game to be gone within the deadline with exit code 1.
end_box() {
    local case_name="$1" end="$2"
    shift 2
    env --default-signal=INT,TERM "$game" --window "$@" >"$work/game.out" 2>&1 &
    game_pid=$!
    if ! wait_for_window Error >/dev/null; then
        fail "$case_name: no message box: $(cat "$work/game.out")"
        kill -KILL $game_pid
        wait $game_pid 2>/dev/null
        return
    fi
    $end
    local deadline
    deadline=$(close_deadline_tenths)
    for _ in $(seq "$deadline"); do
        kill -0 $game_pid 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 $game_pid 2>/dev/null; then
        fail "$case_name: still running $((deadline / 10)) s after the box was ended"
        kill -KILL $game_pid
        wait $game_pid 2>/dev/null
        return
    fi
    wait $game_pid
    local code=$?
    [ $code = 1 ] || fail "$case_name: exit code $code, not 1: $(cat "$work/game.out")"
    echo "$case_name: ended with $code"
    # SDL shows the box from a process of its own, which must not outlive the game.
    for _ in $(seq $((deadline_seconds * 5))); do
        box_left || return 0
        sleep 0.2
    done
    fail "$case_name: the box is still shown after the game ended"
    # Closed, so that the next case finds its own box.
    "$send_close_request" Error
}
# Whether a window titled Error is there.
box_left() {
    local window
    for window in $(xdotool search --classname '.*' 2>/dev/null); do
        [ "$(xdotool getwindowname "$window" 2>/dev/null)" = Error ] && return 0
    done
    return 1
}
terminate() { kill -TERM $game_pid; }
interrupt() { kill -INT $game_pid; }
close_box() { "$send_close_request" Error || fail "the box's close request could not be sent"; }

end_box "SIGTERM on the report of an empty data folder" terminate --data "$work/empty"
[ "$(grep -c '^Error: ' "$work/game.out")" = 1 ] ||
    fail "an empty data folder was not reported once: $(cat "$work/game.out")"
grep -q "'$work/empty'" "$work/game.out" ||
    fail "the report does not name the folder: $(cat "$work/game.out")"

SDL_AUDIODRIVER=none-such end_box "SIGINT on the sound question" interrupt --data "$data_folder"
grep -q "Continue with Sound turned off?" "$work/game.out" ||
    fail "the sound question was not asked: $(cat "$work/game.out")"

end_box "the first of two reports closed" close_box --data "$work/two_missing"
grep -q "Cant load File GONG.WAV" "$work/game.out" ||
    fail "the first report is not GONG.WAV's: $(cat "$work/game.out")"
exit $status
