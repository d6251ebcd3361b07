#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs the real program and the SDL host under a virtual X server, as a player sees them:
# - the picture is scaled into the screen with black bars, and frames come at 60 Hz;
# - mouse motion and a click reach the engine;
# - the whole game plays through: the intro with its credits, a click, the instruction screen,
#   Space, play with the map, the player, the panel and its numbers, lives lost until the
#   Game Over screen; Escape then ends the game with exit code 0; on the first instruction
#   screen the keyboard's focus goes to another window and back before Space;
# - a close request ends the game with exit code 0, on the intro and on the instruction screen;
# - a data file that cannot be loaded is reported in a message box, Return closes the box, and
#   the game then ends by itself.
# Every wait polls for what the screen or a program shows, with a generous deadline: a busy
# machine makes the test slower, not red. The screenshots of the last run are kept in the
# folder given as the fourth argument.
# With a fifth argument, window-manager, the whole game alone is played again as a player on a
# desktop plays it, under a window manager (openbox), in a window: Alt+Enter at the intro puts
# the game in a window; the pointer leaves the window on the intro, the instruction screen and
# Game Over, and is held in it during play; P shows "Paused" over the map and the Energon level
# stands still until P again; Game Over shows the final and the best score; the window is
# resized before Escape, and a second run, without options, opens in a window of that size.
# Skips (77) where no X server can be started or the tools to drive and look at it are missing.
set -u
probe="$1"
game="$2"
game_dir="$3"
screenshots="$4"
mode="${5:-full-screen}"

tools=(xdotool import convert)
[ "$mode" = window-manager ] && tools+=(openbox xprop xwininfo)
for tool in "${tools[@]}"; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed"
        exit 77
    fi
done
source "$(dirname "$0")/../support/virtual_display.sh"
source "$(dirname "$0")/../support/game_screen.sh"

# The game's 640 x 480 picture fills the screen's height, between black bars 80 pixels wide: a
# small screen keeps each frame cheap for the game and each screenshot cheap for the test.
# Under the window manager the screen has room for a 640 x 480 window and its frame, and the
# picture's place is the window's (see enter_window).
screen_width=800
screen_height=480
[ "$mode" = window-manager ] && screen_height=600
scale=1
picture_left=$(((screen_width - 640 * scale) / 2))
picture_top=0

# The server picks a free display itself (see the support script).
start_virtual_display "${screen_width}x${screen_height}x24"
if [ "$mode" = window-manager ]; then
    openbox >"$work/openbox.log" 2>&1 &
    # The window manager is at work once it names itself on the root window.
    start=$SECONDS
    until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do
        if ((SECONDS - start >= deadline_seconds)); then
            echo "FAIL: the window manager did not start"
            cat "$work/openbox.log"
            exit 1
        fi
        sleep 0.2
    done
fi
export SDL_AUDIODRIVER=dummy
# Drivers that the real display stack loads and unloads leave allocations behind that the leak
# checker can no longer even name; in a sanitized build this test checks behaviour only.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

# The screenshots are kept as PPM, which is quick to write and to read.
screenshot_file="$work/screen.ppm"
mkdir -p "$screenshots"
rm -f "$screenshots"/*.png
echo "screenshots: $screenshots"
status=0
fail() {
    echo "FAIL: $*"
    status=1
}

# screen_area X Y WIDTH HEIGHT: where a rectangle of the game's picture lies on the screen.
screen_area() {
    echo "$(($3 * scale))x$(($4 * scale))+$((picture_left + $1 * scale))+$((picture_top + $2 * scale))"
}

# The places that tell what the screen shows, each with the colour that tells it and how far
# a pixel may be from that colour (percent in any channel: the picture has 16-bit colours):
#   name  colour  tolerance  x y width height (in the game's picture)
places=(
    # The probe's picture: red with a white border.
    "probe_red red 8 300 220 40 40"
    "probe_border_top white 8 0 0 640 3"
    "probe_border_bottom white 8 0 477 640 3"
    # The title picture's yellow "CLICK TO BEGIN", and the intro's first and last credit
    # lines over its dark glass plate.
    "title_caption rgb(255,220,120) 8 228 420 220 30"
    "credits_top white 8 320 150 110 16"
    "credits_bottom white 8 300 280 150 16"
    # The instruction screen's first line.
    "instruction_line white 8 10 188 400 24"
    # The panel right of the map: the light face of its first box, and the dark grey text
    # over the boxes (the label "Energon Level" and the four values).
    "panel_face rgb(226,234,241) 6 540 45 90 25"
    "level_label rgb(25,25,25) 35 530 50 95 20"
    "level_value rgb(25,25,25) 35 530 80 95 20"
    "mass_value rgb(25,25,25) 35 530 150 95 20"
    "lives_value rgb(25,25,25) 35 530 220 95 20"
    "score_value rgb(25,25,25) 35 530 290 95 20"
    # Black in the map view, and the player's blue where each stage starts it.
    "view_black black 5 0 0 500 480"
    "player_at_start rgb(30,120,200) 15 246 236 40 40"
    # "Game Over!" in red, " Click for another Game." in bright green; the final and best
    # scores in white under them on the left.
    "game_over_red red 10 250 150 220 45"
    "game_over_green rgb(25,255,25) 10 150 250 300 40"
    "final_scores white 8 160 360 150 55"
    # "Paused" in white in the middle of the map view.
    "paused_label white 8 200 220 100 40"
)

# Takes a screenshot and counts, in one pass over it, the pixels of each place's colour there
# (into seen[name]).
declare -A seen
take_screenshot() {
    import -window root "$work/screen.ppm" 2>/dev/null || return 1
    local place name colour tolerance x y width height
    local names=() measures=()
    for place in "${places[@]}"; do
        read -r name colour tolerance x y width height <<<"$place"
        names+=("$name")
        measures+=("(" -clone 0 -crop "$(screen_area "$x" "$y" "$width" "$height")" +repage
            "(" +clone -fill "$colour" -colorize 100 ")" -compose difference -composite
            -separate -evaluate-sequence max -threshold "$tolerance%" -negate ")")
    done
    local counts
    counts=($(convert "$work/screen.ppm" "${measures[@]}" -delete 0 \
        -format '%[fx:round(mean*w*h)]\n' info:)) || return 1
    [ ${#counts[@]} -eq ${#names[@]} ] || return 1
    local index
    for index in "${!names[@]}"; do
        seen[${names[$index]}]=$((counts[index] / (scale * scale)))
    done
}

# shows COUNT NAME: whether the last screenshot has at least COUNT pixels of the place's colour.
shows() {
    [ "${seen[$2]:-0}" -ge "$1" ]
}

keep_screenshot() {
    convert "$work/screen.ppm" "$screenshots/$1.png"
    local place counts=""
    for place in "${places[@]}"; do counts+=" ${place%% *}=${seen[${place%% *}]}"; done
    echo "kept $1.png:$counts"
}

# wait_for CHECK...: takes screenshots until the check passes on one; false after the deadline.
wait_for() {
    local start=$SECONDS
    while ((SECONDS - start < deadline_seconds)); do
        take_screenshot && "$@" && return 0
        sleep 0.2
    done
    return 1
}

# A press of the left button lasts a tenth of a second, as a key press does (press_keys): the
# game reads its input once a frame, and a shorter press may fall between two readings.
click() {
    xdotool mousedown 1
    sleep 0.1
    xdotool mouseup 1
}

# repeat_until ACTION CHECK...: does the action, and again every five seconds, until a
# screenshot passes the check; false after the deadline. On a busy machine more than a tenth
# of a second may pass between two readings of the input.
repeat_until() {
    local start=$SECONDS times=0 done_at=0
    while ((SECONDS - start < deadline_seconds)); do
        if ((times == 0 || SECONDS - done_at >= 5)); then
            ((times > 0)) && echo "$SECONDS s: $1, again"
            $1
            times=$((times + 1))
            done_at=$SECONDS
        fi
        take_screenshot && "${@:2}" && return 0
        sleep 0.2
    done
    return 1
}

# Waits for the line pattern in the file that a program writes.
wait_for_line() {
    local start=$SECONDS
    while ((SECONDS - start < deadline_seconds)); do
        grep -q "$1" "$2" && return 0
        sleep 0.1
    done
    return 1
}


# The SDL host's own checks run full screen, without a window manager.
if [ "$mode" = full-screen ]; then
    # --- The SDL host: the picture's place on the screen and the pace of its frames. ---

    # The probe times 150 flips (2.5 s at 60 Hz) and then goes on showing its picture until it is
    # asked to close. Nothing else of the test runs meanwhile, so the load counted below is the
    # machine's.
    paced_frames=150
    "$probe" pace $paced_frames >"$work/probe.out" 2>&1 &
    probe_pid=$!
    cores=$(nproc)
    read -r load_before _ </proc/loadavg
    runnable_sum=0
    runnable_samples=0
    pace_start=$SECONDS
    until grep -q ' ms$' "$work/probe.out" || ! kill -0 $probe_pid 2>/dev/null ||
        ((SECONDS - pace_start >= 3 * deadline_seconds)); do
        # Tasks ready to run, less the one reading them.
        runnable=$(sed -n 's/^procs_running //p' /proc/stat)
        runnable_sum=$((runnable_sum + runnable - 1))
        runnable_samples=$((runnable_samples + 1))
        sleep 0.1
    done
    read -r load_after _ </proc/loadavg
    # The load average lags a minute behind a load that has just begun, so the runnable tasks
    # counted during the run weigh in too.
    runnable_mean=$(awk -v sum=$runnable_sum -v n=$runnable_samples 'BEGIN { printf "%.1f", n ? sum / n : 0 }')
    if awk -v a="$load_before" -v b="$load_after" -v r="$runnable_mean" -v c="$cores" \
        'BEGIN { exit !(a >= c || b >= c || r >= c) }'; then
        overloaded=yes
    else
        overloaded=no
    fi
    echo "load average $load_before then $load_after, $runnable_mean tasks ready to run on average," \
        "$cores cores: overloaded $overloaded"

    red_picture_shown() {
        shows 1500 probe_red
    }
    if wait_for red_picture_shown; then
        keep_screenshot probe
        shows 1500 probe_border_top || fail "the picture's white border is missing at the top"
        shows 1500 probe_border_bottom || fail "the picture's white border is missing at the bottom"
        all_black "$((picture_left - 10))x${screen_height}+0+0" || fail "no black bar left of the picture"
        all_black "$((picture_left - 10))x${screen_height}+$((screen_width - picture_left + 10))+0" ||
            fail "no black bar right of the picture"
    else
        fail "the probe's red picture does not fill the middle of the screen"
    fi
    kill -TERM $probe_pid 2>/dev/null
    wait_for_exit $probe_pid || fail "the probe did not end on a close request"
    [ "$exit_code" = 0 ] || fail "the probe ended with exit code $exit_code"
    cat "$work/probe.out"
    ms=$(sed -n 's/.* in \([0-9]*\) ms$/\1/p' "$work/probe.out")
    if [ -z "$ms" ]; then
        fail "the probe did not time its frames"
    else
        # The blanks come at 60 Hz, never faster, however idle the machine. The clock is read
        # once the first flip has returned, anywhere within its blank period, so the frames timed
        # span at least one period less than their number; it reads whole milliseconds at either
        # end. At least 30 Hz is asked only of a machine that has a core free for the probe.
        if [ "$ms" -lt $(((paced_frames - 1) * 1000 / 60 - 2)) ]; then
            fail "$paced_frames frames in $ms ms: faster than 60 Hz"
        fi
        if [ $overloaded = no ] && [ "$ms" -gt $((paced_frames * 1000 / 30)) ]; then
            fail "$paced_frames frames in $ms ms: slower than 30 Hz on a machine with time to spare"
        fi
    fi

    # --- Input through the SDL host: relative mouse motion and a click reach the engine. ---

    "$probe" input >"$work/input.out" 2>&1 &
    probe_pid=$!
    if wait_for_line '^ready$' "$work/input.out" && window=$(wait_for_window probe); then
        xdotool windowfocus "$window" 2>/dev/null
        xdotool mousemove_relative -- 30 20
        sleep 0.1
        xdotool mousemove_relative -- 30 20
        sleep 0.1
        # The button stays down until the probe has seen it: the input is read once a frame.
        xdotool mousedown 1
        wait_for_exit $probe_pid || fail "the input probe did not end"
        xdotool mouseup 1
    else
        fail "the input probe did not get ready"
        kill -KILL $probe_pid
    fi
    cat "$work/input.out"
    grep -q "mouse 60 40, left button seen" "$work/input.out" || fail "motion or click lost"
fi

# --- The whole game. ---

# The intro: the title picture with the credits. The credits are written onto the picture on
# show, which is black before the first frame.
intro_shown() {
    shows 300 title_caption && shows 15 credits_top && shows 15 credits_bottom
}
intro_gone() {
    ! shows 300 title_caption
}
panel_shown() {
    shows 1500 panel_face
}
hud_labels_shown() {
    shows 40 level_label
}
# The instruction screen: the start picture with its panel still blank, and the white lines.
instructions_shown() {
    shows 100 instruction_line && panel_shown && ! hud_labels_shown
}
instructions_gone() {
    ! instructions_shown
}
playing() {
    panel_shown && hud_labels_shown
}
game_over_shown() {
    shows 200 game_over_red && shows 100 game_over_green
}

# A play frame as it should be: the map over the whole view, the player at its start (it
# stands still until the mouse moves), the panel, and a number under each of the four labels.
check_play_frame() {
    if [ "${seen[view_black]}" -gt $((500 * 480 / 10)) ]; then
        play_frame_problem="the map does not fill the view"
    elif ! shows 15 player_at_start; then
        play_frame_problem="the player is not at its start"
    elif ! shows 8 level_value; then
        play_frame_problem="no Energon level in the panel"
    elif ! shows 8 mass_value; then
        play_frame_problem="no critical mass in the panel"
    elif ! shows 8 lives_value; then
        play_frame_problem="no lives in the panel"
    elif ! shows 8 score_value; then
        play_frame_problem="no score in the panel"
    else
        return 0
    fi
    return 1
}

# Gives the keyboard to another window, waits until it has it, and gives it back to the window.
look_away_and_back() {
    xmessage -geometry +0+0 "another program" &
    local other_pid=$! other
    if other=$(wait_for_window xmessage); then
        local start=$SECONDS
        until [ "$(xdotool getwindowfocus -f 2>/dev/null)" = "$other" ] ||
            ((SECONDS - start >= deadline_seconds)); do
            xdotool windowfocus "$other" 2>/dev/null
            sleep 0.2
        done
        echo "the keyboard went to another window: $(xdotool getwindowfocus -f 2>/dev/null)"
    else
        fail "no other window to give the keyboard to"
    fi
    kill $other_pid 2>/dev/null
    wait $other_pid 2>/dev/null
    xdotool windowfocus "$1" 2>/dev/null
}

# What the last screenshot shows of the Energon level, as a checksum of its pixels.
energon_level_shown() {
    convert "$work/screen.ppm" -crop "$(screen_area 530 78 100 24)" +repage -format '%#' info:
}

# Under the window manager: Alt+Enter puts the game, started full screen, in a 640 x 480
# window, where the picture is looked for from then on.
enter_window() {
    focus_window "$window"
    press_keys alt Return
    wait_for_window_size "$window" 640x480 || return 1
    # xwininfo tells where the window's inside is on the screen, inside the window manager's
    # frame.
    local info
    info=$(xwininfo -id "$window")
    picture_left=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")
    picture_top=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")
    echo "the game is in a window at $picture_left,$picture_top"
}

# Where the pointer is, as X,Y.
pointer_position() {
    eval "$(xdotool getmouselocation --shell 2>/dev/null)"
    echo "${X:-0},${Y:-0}"
}

# expect_pointer_free SCREEN: the pointer can be moved out of the window, to the screen's corner;
# then it goes back to the window's middle, where clicks are meant for the game.
expect_pointer_free() {
    local start=$SECONDS
    until [ "$(pointer_position)" = 4,4 ]; do
        if ((SECONDS - start >= deadline_seconds)); then
            fail "$1: the pointer is held in the window, at $(pointer_position)"
            return
        fi
        xdotool mousemove 4 4
        sleep 0.2
    done
    echo "$1: the pointer left the window"
    xdotool mousemove $((picture_left + 320)) $((picture_top + 240))
}

# pointer_in_window X,Y: whether the position is inside the game's picture.
pointer_in_window() {
    local x=${1%,*} y=${1#*,}
    ((x >= picture_left && x < picture_left + 640 && y >= picture_top && y < picture_top + 480))
}

# expect_pointer_held SCREEN: moved towards the screen's corner, the pointer stays in the window.
# The hold is asked for as play starts, and a busy X server may grant it some frames after the
# first play picture shows: the pointer is first awaited in the window, then it must stay there
# each time it is looked at.
expect_pointer_held() {
    local position start=$SECONDS
    until xdotool mousemove 4 4 && sleep 0.1 && position=$(pointer_position) &&
        pointer_in_window "$position"; do
        if ((SECONDS - start >= deadline_seconds)); then
            fail "$1: the pointer is not held in the window: it went to $position"
            return
        fi
    done
    for _ in 1 2 3 4 5; do
        xdotool mousemove 4 4
        sleep 0.1
        position=$(pointer_position)
        if ! pointer_in_window "$position"; then
            fail "$1: the pointer left the window, to $position"
            return
        fi
    done
    echo "$1: the pointer is held in the window"
}

paused_shown() {
    shows 150 paused_label
}
paused_gone() {
    ! paused_shown
}

# P shows "Paused" over play, and the Energon level stands still until P again lets play go on.
check_pause() {
    if ! repeat_until "press_keys p" paused_shown; then
        keep_screenshot not_paused
        fail "P did not show \"Paused\""
        return
    fi
    keep_screenshot paused
    local paused_level
    paused_level=$(energon_level_shown)
    # A second and a half of pause: the level would lose about ninety rads meanwhile in play.
    sleep 1.5
    take_screenshot
    [ "$(energon_level_shown)" = "$paused_level" ] || fail "the Energon level changed while paused"
    repeat_until "press_keys p" paused_gone || fail "P again did not let play go on"
    echo "P paused play and let it go on"
}

(cd "$game_dir" && exec "$game") >"$work/game.out" 2>&1 &
game_pid=$!
if ! window=$(wait_for_window zelto); then
    fail "the game shows no window"
elif [ "$mode" = window-manager ] && ! enter_window; then
    fail "Alt+Enter did not put the game in a window"
elif ! wait_for intro_shown; then
    keep_screenshot intro
    fail "no intro with its credits"
else
    keep_screenshot intro
    [ "$mode" = window-manager ] && expect_pointer_free "the intro"
    xdotool windowfocus "$window" 2>/dev/null
    repeat_until click intro_gone || fail "the intro stayed after a click"

    # Then each state is answered as it shows: Space on the instruction screen, and in play a
    # large diagonal mouse motion, after which the player drifts into a corner of the play
    # area, where it loses two rads a frame until its life is gone. The first play screens
    # are looked at and kept; every later start of play is steered the same way. On the first
    # instruction screen another window takes the keyboard and gives it back before Space, as
    # a player who looks at another program for a moment does.
    instruction_screens=0
    play_frame_checked=no
    pause_checked=no
    level_change_seen=no
    play_frame_problem="no play frame seen"
    state=none
    state_since=$SECONDS
    last_level=none
    while :; do
        previous=$state
        if ! take_screenshot; then
            state=unseen
        elif game_over_shown; then
            state=game_over
        elif instructions_shown; then
            state=instructions
        elif playing; then
            state=playing
        else
            state=changing
        fi
        if [ "$state" != "$previous" ]; then
            echo "$SECONDS s: $state"
            state_since=$SECONDS
        fi
        case $state in
            game_over)
                keep_screenshot game_over
                if [ "$mode" = window-manager ]; then
                    shows 60 final_scores || fail "Game Over shows no final and best scores"
                    expect_pointer_free "Game Over"
                fi
                break
                ;;
            instructions)
                instruction_screens=$((instruction_screens + 1))
                if [ $instruction_screens -eq 1 ]; then
                    keep_screenshot instructions
                    [ "$mode" = window-manager ] && expect_pointer_free "the instruction screen"
                    look_away_and_back "$window"
                fi
                [ $level_change_seen = no ] && play_frame_checked=no
                steered=no
                if ! repeat_until "press_keys space" instructions_gone; then
                    fail "the instruction screen stayed after Space"
                    break
                fi
                # The screen has moved on; what it shows next is a new state.
                state=answered
                state_since=$SECONDS
                ;;
            playing)
                level=$(energon_level_shown)
                # On a slow machine a life lasts long; play goes on while the level changes.
                [ "$level" != "$last_level" ] && state_since=$SECONDS
                last_level=$level
                if [ $play_frame_checked = no ]; then
                    if check_play_frame; then
                        keep_screenshot play
                        play_frame_level=$level
                        play_frame_checked=yes
                        if [ "$mode" = window-manager ] && [ $pause_checked = no ]; then
                            expect_pointer_held "play"
                            check_pause
                            pause_checked=yes
                            state_since=$SECONDS
                        fi
                    fi
                elif [ $level_change_seen = no ] && [ "$level" != "$play_frame_level" ]; then
                    keep_screenshot play_later
                    level_change_seen=yes
                fi
                if [ $level_change_seen = yes ] && [ $steered = no ]; then
                    xdotool mousemove_relative -- 200 150
                    steered=yes
                fi
                ;;
        esac
        if ((SECONDS - state_since > deadline_seconds)); then
            keep_screenshot stuck
            fail "the game stayed $state"
            break
        fi
        sleep 0.2
    done
    echo "instruction screens passed: $instruction_screens"
    [ $play_frame_checked = yes ] || fail "no play frame as it should be: $play_frame_problem"
    [ $level_change_seen = yes ] || fail "the Energon level did not change in play"
fi
# A window of the player's own size, to be found again by the next run.
kept_size=720x540
if [ "$mode" = window-manager ] && kill -0 $game_pid 2>/dev/null; then
    xdotool windowsize "$window" "${kept_size%x*}" "${kept_size#*x}"
    wait_for_window_size "$window" $kept_size || fail "the window could not be resized"
fi
if kill -0 $game_pid 2>/dev/null; then
    # "Escape to Quit.", held until the game has ended.
    xdotool keydown Escape
    wait_for_exit $game_pid || fail "Escape did not end the game"
    xdotool keyup Escape
    echo "game exit code after Escape: $exit_code"
    [ "$exit_code" = 0 ] || fail "the game ended with exit code $exit_code after Escape"
fi
cat "$work/game.out"

# Under the window manager: the next run, without options, opens as the last one ended.
if [ "$mode" = window-manager ]; then
    echo "settings kept:"
    cat "$XDG_CONFIG_HOME/zelto/settings"
    (cd "$game_dir" && exec "$game") >"$work/game.out" 2>&1 &
    game_pid=$!
    if window=$(wait_for_window zelto); then
        wait_for_window_size "$window" $kept_size ||
            fail "the second run did not open in the window the first one left"
        end_with_escape $game_pid "$window" || fail "Escape did not end the second run"
    else
        fail "the second run shows no window"
        kill -KILL $game_pid
    fi
    cat "$work/game.out"
    echo "the smoke test took $SECONDS s"
    exit $status
fi

# --- Close requests (SIGTERM): on the intro, and on the instruction screen, which holds the
# game until Space. Each must end the game within two seconds (more on a busy machine, see
# close_deadline_tenths), with exit code 0. ---

# Waits for the process to end after a close request, within the deadline; exit_code as
# wait_for_exit, and none when it was still running (it is killed then).
wait_for_exit_after_close() {
    local deadline=$(($(date +%s%N) + $(close_deadline_tenths) * 100000000))
    while kill -0 "$1" 2>/dev/null && (($(date +%s%N) < deadline)); do
        sleep 0.05
    done
    if kill -0 "$1" 2>/dev/null; then
        kill -KILL "$1"
        wait "$1"
        exit_code=none
        return 1
    fi
    wait "$1"
    exit_code=$?
}

for screen in intro instructions; do
    (cd "$game_dir" && exec "$game") >"$work/game.out" 2>&1 &
    game_pid=$!
    if ! wait_for intro_shown; then
        fail "the game did not start for the close request on the $screen screen"
        kill -KILL $game_pid
        continue
    fi
    if [ $screen = instructions ]; then
        window=$(wait_for_window zelto)
        xdotool windowfocus "$window" 2>/dev/null
        if ! repeat_until click instructions_shown; then
            fail "no instruction screen for the close request"
            kill -KILL $game_pid
            continue
        fi
    fi
    kill -TERM $game_pid
    wait_for_exit_after_close $game_pid ||
        fail "the game did not end in time after a close request on the $screen screen"
    echo "game exit code after the close request on the $screen screen: $exit_code"
    [ "$exit_code" = 0 ] || [ "$exit_code" = none ] ||
        fail "the game ended with exit code $exit_code on a close request on the $screen screen"
    cat "$work/game.out"
done

# --- A missing sound: a message box, closed with Return, and then the end. ---

mkdir "$work/data"
for file in "$game_dir"/*; do
    [ "$(basename "$file")" = GONG.WAV ] || ln -s "$file" "$work/data/"
done
"$game" --data "$work/data" >"$work/game.out" 2>&1 &
game_pid=$!
if box=$(wait_for_window Error); then
    eval "$(xdotool getwindowgeometry --shell "$box")"
    box_area="${WIDTH}x${HEIGHT}+${X}+${Y}"
    # The box: a plain face with light text on it. Text is drawn only where the X server has
    # the fonts that SDL asks for.
    box_drawn() {
        local face text
        face=$(convert "$work/screen.ppm" -crop "$box_area" +repage -format %c histogram:info:- |
            sort -rn | awk 'NR == 1 { print $1 + 0 }')
        text=$(convert "$work/screen.ppm" -crop "$box_area" +repage -colorspace gray \
            -threshold 60% -format '%[fx:round(mean*w*h)]' info:)
        [ "${face:-0}" -ge $((WIDTH * HEIGHT / 2)) ] && [ "${text:-0}" -ge 30 ]
    }
    wait_for box_drawn || fail "no message box drawn at $box_area"
    keep_screenshot message_box
    xdotool windowfocus "$box" 2>/dev/null
    press_keys Return
    if wait_for_exit $game_pid; then
        echo "game exit code after the message box: $exit_code"
    else
        fail "the game did not end after its message box was closed"
    fi
else
    fail "no message box for the missing GONG.WAV"
    kill -KILL $game_pid
fi
cat "$work/game.out"
grep -q "Cant load File GONG.WAV" "$work/game.out" || fail "the report does not name GONG.WAV"
echo "the smoke test took $SECONDS s"
exit $status
