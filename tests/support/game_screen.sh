# SPDX-License-Identifier: MIT
# Sourced by the tests that start the real game under a virtual X server (after
# virtual_display.sh): finding its window, pressing keys the way a person does, and looking at
# what the screen shows. Every wait polls with a generous deadline, for busy machines.

# The longest wait for anything the game should do on its own.
deadline_seconds=20

# A key held for a tenth of a second: the game reads the keyboard once per 60 Hz frame, so a
# press shorter than a frame may never be seen. Several keys are pressed in order and released
# in reverse (press_keys alt Return).
press_keys() {
    local key
    for key in "$@"; do
        xdotool keydown "$key"
        sleep 0.1
    done
    local index
    for ((index = $# ; index >= 1; index--)); do
        xdotool keyup "${!index}"
        sleep 0.1
    done
}

# Gives the window the keyboard, unless it has it: moving the focus away and back tells a
# full-screen game that its display was lost.
focus_window() {
    [ "$(xdotool getwindowfocus -f 2>/dev/null)" = "$1" ] || xdotool windowfocus "$1" 2>/dev/null
}

# Prints the id of the window titled exactly NAME, waiting for it to appear; fails if none does.
# Windows are listed by class and their titles compared here: xdotool cannot match a title by
# name when it is stored only as UTF-8, as SDL's message boxes store theirs.
wait_for_window() {
    local window
    for _ in $(seq $((deadline_seconds * 5))); do
        for window in $(xdotool search --classname '.*' 2>/dev/null); do
            if [ "$(xdotool getwindowname "$window" 2>/dev/null)" = "$1" ]; then
                echo "$window"
                return 0
            fi
        done
        sleep 0.2
    done
    return 1
}

# The window's size as WIDTHxHEIGHT and position as X,Y, in two variables.
read_window_geometry() {
    eval "$(xdotool getwindowgeometry --shell "$1" 2>/dev/null)"
    window_size="${WIDTH:-0}x${HEIGHT:-0}"
    window_position="${X:-0},${Y:-0}"
}

# Waits until the window has the size WIDTHxHEIGHT.
wait_for_window_size() {
    for _ in $(seq $((deadline_seconds * 5))); do
        read_window_geometry "$1"
        [ "$window_size" = "$2" ] && return 0
        sleep 0.2
    done
    echo "the window stayed $window_size, not $2"
    return 1
}

# How far a part of the screen is from a picture, from 0 (the same) to 1, both seen as 16 x 12
# averaged blocks: fine differences (scaling, the 16-bit colours, a line of text on top) count
# for little, while a picture in the wrong place or at the wrong size counts for much.
# picture_distance SCREENSHOT GEOMETRY(WxH+X+Y) PICTURE
picture_distance() {
    convert "$1" -crop "$2" +repage -resize '16x12!' "$work/seen.png"
    convert "$3" -resize '16x12!' "$work/expected.png"
    compare -metric RMSE "$work/seen.png" "$work/expected.png" null: 2>&1 |
        sed -n 's/.*(\([0-9.e-]*\)).*/\1/p'
}

# Takes screenshots until the part of the screen shows the picture; prints the last distance.
# wait_for_picture GEOMETRY PICTURE
wait_for_picture() {
    local distance=1
    for _ in $(seq $((deadline_seconds * 2))); do
        import -window root "$work/screen.png" 2>/dev/null || { sleep 0.5; continue; }
        distance=$(picture_distance "$work/screen.png" "$1" "$2")
        if awk -v d="$distance" 'BEGIN { exit !(d != "" && d < 0.06) }'; then
            echo "the picture shows at $1 (distance $distance)"
            return 0
        fi
        sleep 0.5
    done
    echo "the picture does not show at $1 (distance $distance)"
    return 1
}

# Whether every pixel of a part of the last screenshot is black. The screenshot is
# $work/screen.png unless the test keeps its own in screenshot_file.
all_black() {
    local file="${screenshot_file:-$work/screen.png}"
    [ "$(convert "$file" -crop "$1" +repage -format '%[fx:maxima]' info:)" = 0 ]
}

# Presses Escape in the window, again every second or so, until the game (a child of the test)
# ends, and puts its exit code in exit_code. The game looks at the keyboard once per frame and
# not at all while it loads or fades, so on a busy machine a single press may go unseen.
end_with_escape() {
    for _ in $(seq "$deadline_seconds"); do
        kill -0 "$1" 2>/dev/null || break
        focus_window "$2"
        press_keys Escape
        sleep 0.8
    done
    wait_for_exit "$1"
}

# How long a game has to end after a close request, in tenths of a second: two seconds, after
# which a person who sees nothing happen tries again. On a machine busier than its cores, where
# the game waits its turn for a processor, ten; the reason goes to the error stream.
close_deadline_tenths() {
    local load
    read -r load _ </proc/loadavg
    if awk -v load="$load" -v cores="$(nproc)" 'BEGIN { exit !(load >= cores) }'; then
        echo "busy machine (load $load on $(nproc) cores): 10 s for a close request" >&2
        echo 100
    else
        echo 20
    fi
}

# Waits for the process (a child of the test) to end by itself and puts its exit code in
# exit_code; kills it and fails if it does not end.
wait_for_exit() {
    for _ in $(seq $((deadline_seconds * 5))); do
        if ! kill -0 "$1" 2>/dev/null; then
            wait "$1"
            exit_code=$?
            return 0
        fi
        sleep 0.2
    done
    kill -KILL "$1"
    wait "$1"
    exit_code=none
    return 1
}
