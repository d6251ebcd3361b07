#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs the Windows build's zelto.exe under Wine, in a Wine prefix of the tests' own (made on
# first use, under a lock, and shared by the tests after it: making one takes some 20 seconds).
#   wine_test.sh golden GAME_FOLDER PREFIX RECORDING
#       the recorded game verifies: every picture has the hash the desktop recorded
#   wine_test.sh window GAME_FOLDER PREFIX DESKTOP_PROGRAM SCREENSHOTS
#       under a virtual X server, zelto.exe --window shows the intro the desktop program shows;
#       a click and Space start play, played on to Game Over, which keeps the score in
#       %APPDATA%\zelto\ of the prefix's user; Escape, held, ends it with exit code 0, and the
#       settings are then kept there too
#   wine_test.sh session_end GAME_FOLDER PREFIX
#       the session's end (a logoff) ends the game with exit code 0, its settings kept
#   wine_test.sh missing_data GAME_FOLDER PREFIX
#       with a data folder that lacks a picture, a message box names it; Return closes it and
#       the game ends with exit code 1
#   wine_test.sh zip GAME_FOLDER PREFIX ZIP DATA_FILE...
#       the download holds, in one folder, this zelto.exe, every data file, the fonts with
#       their licences, LICENSE.txt and README.txt, the text files with Windows' line ends
# GAME_FOLDER is the Windows build's game folder (zelto.exe with its data set and fonts).
# Skipped (77) where the Windows build, Wine or the tools to drive the screen are missing.
set -u
mode=$1
game_folder=$2
prefix=$3
shift 3
here=$(dirname "$0")
program=$game_folder/zelto.exe

if [ ! -f "$program" ]; then
    echo "SKIP: no Windows build in $game_folder (scripts/build-windows.sh makes it)"
    exit 77
fi
if [ "$mode" = zip ]; then
    zip=$1
    shift
    if [ ! -f "$zip" ]; then
        echo "SKIP: no $zip (scripts/build-windows.sh makes it)"
        exit 77
    fi
    if ! command -v unzip >/dev/null; then
        echo "SKIP: unzip is not installed"
        exit 77
    fi
    top=$(basename "$zip" .zip)
    status=0
    names=$(unzip -Z1 "$zip")
    for name in zelto.exe "$@" fonts/DejaVuSans.ttf fonts/DejaVuSans-Bold.ttf \
        fonts/DancingScript-Regular.otf fonts/DancingScript-Bold.otf fonts/LICENSE-DejaVu.txt \
        fonts/LICENSE-DancingScript.txt LICENSE.txt README.txt; do
        grep -qxF "$top/$name" <<<"$names" || { echo "FAIL: $top/$name is missing"; status=1; }
    done
    strays=$(grep -v "^$top/" <<<"$names")
    [ -z "$strays" ] || { echo "FAIL: outside $top/: $strays"; status=1; }
    unzip -p "$zip" "$top/zelto.exe" | cmp -s - "$program" ||
        { echo "FAIL: the zip's zelto.exe is not the one built"; status=1; }
    for text in README.txt LICENSE.txt; do
        if unzip -p "$zip" "$top/$text" | grep -q $'[^\r]$\|^$'; then
            echo "FAIL: $text has lines that do not end in CRLF"
            status=1
        fi
    done
    [ $status = 0 ] && echo "$zip holds $(wc -l <<<"$names") files"
    exit $status
fi
for tool in wine wineboot wineserver; do
    if ! command -v $tool >/dev/null; then
        echo "SKIP: $tool is not installed (scripts/install-deps.sh windows installs it)"
        exit 77
    fi
done
export WINEPREFIX=$prefix WINEDEBUG=-all
# Wine's own first-run dialogs (Mono, Gecko) would wait for an answer that never comes.
export WINEDLLOVERRIDES="mscoree,mshtml="

# The prefix, made once by the first test that needs it while the others wait.
mkdir -p "$(dirname "$prefix")"
exec 9>"$prefix.lock"
flock 9
if [ ! -f "$prefix/system.reg" ]; then
    echo "making the Wine prefix $prefix"
    rm -rf "$prefix"
    (unset DISPLAY && wineboot --init >/dev/null 2>&1 && wineserver --wait) || {
        echo "FAIL: wineboot could not make the prefix"
        exit 1
    }
fi
flock --unlock 9

# The recording's Unix path reaches the program on drive Z:, Wine's drive for the Unix root.
if [ "$mode" = golden ]; then
    exec wine "$program" --replay "$1" --verify
fi

tools=(Xvfb xdotool xwininfo import convert compare)
for tool in "${tools[@]}"; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed"
        exit 77
    fi
done
source "$here/../support/virtual_display.sh"
source "$here/../support/game_screen.sh"
# Wine starts one server per prefix, whose desktop process keeps the display it was started
# with: the game must meet a server started on this test's display. These tests run alone, so
# a server still running belongs to a test that has ended.
wineserver --wait
start_virtual_display 800x600x24
# Wine's processes of this test end with it; the prefix stays for the next test.
trap 'kill $xvfb_pid 2>/dev/null; wineserver --kill 2>/dev/null; rm -rf "$work"' EXIT

status=0
fail() {
    echo "FAIL: $*"
    status=1
}

# The inside of the window titled exactly NAME, as WIDTHxHEIGHT+X+Y on the screen.
window_area() {
    local info left top width height
    info=$(xwininfo -id "$1")
    left=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")
    top=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")
    width=$(sed -n 's/.*Width: *//p' <<<"$info")
    height=$(sed -n 's/.*Height: *//p' <<<"$info")
    echo "${width}x${height}+${left}+${top}"
}

if [ "$mode" = missing_data ]; then
    # Every data file but HUD.BMP, a picture the game loads before its first screen. (Without
    # a sound device, as here, the sounds are not loaded at all.)
    mkdir "$work/data"
    for file in "$game_folder"/*; do
        [ "$(basename "$file")" = HUD.BMP ] || ln -s "$(realpath "$file")" "$work/data/"
    done
    wine "$program" --nosound --data "$work/data" >"$work/game.out" 2>&1 &
    game_pid=$!
    if box=$(wait_for_window Error); then
        focus_window "$box"
        press_keys Return
        if wait_for_exit $game_pid; then
            echo "exit code after the message box: $exit_code"
            [ "$exit_code" = 1 ] || fail "the game ended with exit code $exit_code, not 1"
        else
            fail "the game did not end after its message box was closed"
        fi
    else
        fail "no message box for the missing HUD.BMP"
        kill -KILL $game_pid
    fi
    cat "$work/game.out"
    grep -q "Cant load File HUD.BMP" "$work/game.out" || fail "the report does not name HUD.BMP"
    exit $status
fi

# The kept files of the prefix's user: APPDATA is the roaming folder of the user's profile
# (Wine sets it for each process, whatever the Unix environment says).
kept_folder=$prefix/drive_c/users/$(id -un)/AppData/Roaming/zelto
rm -rf "$kept_folder"

if [ "$mode" = session_end ]; then
    # The session ends (a logoff) while the game shows its intro: the game is asked through its
    # window, answers "not yet" and ends on its own, with exit code 0, its settings kept, as
    # after SIGTERM on Linux.
    wine "$program" --window --nosound >"$work/game.out" 2>&1 &
    game_pid=$!
    if window=$(wait_for_window zelto); then
        wineboot --end-session >/dev/null 2>&1
        if wait_for_exit $game_pid; then
            echo "exit code after the session's end: $exit_code"
            [ "$exit_code" = 0 ] || fail "the game ended with exit code $exit_code, not 0"
        else
            fail "the game did not end with the session"
            kill -KILL $game_pid
        fi
        [ -f "$kept_folder/settings" ] || fail "no settings kept at the session's end"
    else
        fail "zelto.exe shows no window"
        kill -KILL $game_pid
    fi
    cat "$work/game.out"
    exit $status
fi

# Plays on to Game Over, as the smoke test does: Space held passes every instruction screen, and
# a large diagonal motion now and then sends the player into a corner of the play area, where
# it loses Energon until its life is gone. The game's end enters its score in the kept table.
play_to_game_over() {
    local start=$SECONDS
    focus_window "$window"
    xdotool keydown space
    until [ -f "$kept_folder/scores" ]; do
        if ((SECONDS - start >= 10 * deadline_seconds)); then
            fail "no Game Over within $((10 * deadline_seconds)) s"
            break
        fi
        focus_window "$window"
        xdotool mousemove_relative -- 200 150
        sleep 1
    done
    xdotool keyup space
    echo "the score was kept after $((SECONDS - start)) s of play"
    # Then the Game Over screen shows "Game Over!" in red over black.
    start=$SECONDS
    until import -window root "$work/screen.png" 2>/dev/null && game_over_shown; do
        if ((SECONDS - start >= deadline_seconds)); then
            keep_screenshot not_game_over
            fail "no Game Over screen"
            return
        fi
        sleep 0.5
    done
    keep_screenshot game_over
}

# "Game Over!" in red, where the smoke test finds it.
game_over_shown() {
    local red
    red=$(convert "$work/screen.png" -crop "220x45+$((area_left + 250))+$((area_top + 150))" \
        +repage -fuzz 10% -fill black +opaque red -fill white -opaque red -colorspace gray \
        -format '%[fx:round(mean*w*h)]' info:)
    [ "${red:-0}" -ge 200 ]
}

# --- window ---
desktop_program=$1
screenshots=$2
mkdir -p "$screenshots"
rm -f "$screenshots"/*.png

# The desktop's intro in its window: the picture once it holds still (virtual_display.sh keeps
# the desktop's settings in the scratch folder).
export SDL_AUDIODRIVER=dummy XDG_DATA_HOME=$work/data
"$desktop_program" --window --nosound >"$work/desktop.out" 2>&1 &
desktop_pid=$!
if ! window=$(wait_for_window zelto); then
    echo "FAIL: the desktop game shows no window"
    cat "$work/desktop.out"
    exit 1
fi
previous=""
start=$SECONDS
while :; do
    if ((SECONDS - start >= deadline_seconds)); then
        echo "FAIL: the desktop game showed no intro"
        exit 1
    fi
    sleep 0.5
    import -window root "$work/screen.png" 2>/dev/null || continue
    convert "$work/screen.png" -crop "$(window_area "$window")" +repage "$work/intro.png"
    # The pixels' own signature: the PNG file's bytes hold the time it was written.
    shown=$(convert "$work/intro.png" -format '%#' info: 2>/dev/null)
    colours=$(convert "$work/intro.png" -format '%k' info: 2>/dev/null || echo 0)
    [ "$shown" = "$previous" ] && ((colours > 1000)) && break
    previous=$shown
done
cp "$work/intro.png" "$screenshots/desktop-intro.png"
kill $desktop_pid
wait_for_exit $desktop_pid

keep_screenshot() {
    convert "$work/screen.png" -crop "$area" +repage "$screenshots/$1.png"
}
# The dark grey labels of the panel that play shows right of the map, and its instruction
# screen does not (as the smoke test tells them).
hud_labels_shown() {
    local labels
    labels=$(convert "$work/screen.png" -crop "95x20+$((area_left + 530))+$((area_top + 50))" \
        +repage \( +clone -fill 'rgb(25,25,25)' -colorize 100 \) -compose difference -composite \
        -separate -evaluate-sequence max -threshold 35% -negate \
        -format '%[fx:round(mean*w*h)]' info:)
    [ "${labels:-0}" -ge 40 ]
}

wine "$program" --window --nosound >"$work/game.out" 2>&1 &
game_pid=$!
if ! window=$(wait_for_window zelto); then
    fail "zelto.exe shows no window"
else
    area=$(window_area "$window")
    area_left=${area#*+} area_top=${area##*+}
    area_left=${area_left%+*}
    echo "zelto.exe's window: $area"
    [ "${area%%+*}" = 640x480 ] || fail "the window is ${area%%+*}, not 640x480"
    if wait_for_picture "$area" "$work/intro.png"; then
        keep_screenshot intro
        # A click leaves the intro for the instruction screen.
        started=no
        for _ in $(seq "$deadline_seconds"); do
            xdotool mousemove $((area_left + 320)) $((area_top + 240))
            focus_window "$window"
            xdotool mousedown 1
            sleep 0.1
            xdotool mouseup 1
            sleep 0.5
            import -window root "$work/screen.png" 2>/dev/null || continue
            distance=$(picture_distance "$work/screen.png" "$area" "$work/intro.png")
            if awk -v d="$distance" 'BEGIN { exit !(d != "" && d > 0.1) }'; then
                started=yes
                break
            fi
        done
        [ $started = yes ] || fail "the intro stayed after a click"
        keep_screenshot instructions
        # Space leaves the instruction screen for play, whose panel has its labels.
        playing=no
        for _ in $(seq "$deadline_seconds"); do
            focus_window "$window"
            press_keys space
            sleep 0.5
            import -window root "$work/screen.png" 2>/dev/null || continue
            if hud_labels_shown; then
                playing=yes
                break
            fi
        done
        if [ $playing = yes ]; then
            keep_screenshot play
            echo "a click and Space started play"
            play_to_game_over
        else
            keep_screenshot not_play
            fail "Space did not start play"
        fi
    else
        keep_screenshot not_intro
        fail "zelto.exe does not show the desktop's intro"
    fi
fi
if [ -f "$kept_folder/scores" ]; then
    echo "scores kept in %APPDATA%\\zelto:"
    cat "$kept_folder/scores"
    grep -q '^[0-9]' "$kept_folder/scores" || fail "the scores file holds no score"
else
    fail "no scores in $kept_folder after Game Over"
fi
if kill -0 $game_pid 2>/dev/null; then
    # "Escape to Quit.", held until the game has ended.
    focus_window "$window"
    xdotool keydown Escape
    wait_for_exit $game_pid || fail "Escape did not end the game"
    xdotool keyup Escape
    echo "exit code after Escape: $exit_code"
    [ "$exit_code" = 0 ] || fail "the game ended with exit code $exit_code after Escape"
fi
cat "$work/game.out"
if [ -f "$kept_folder/settings" ]; then
    echo "settings kept in %APPDATA%\\zelto:"
    cat "$kept_folder/settings"
    grep -q '^window = ' "$kept_folder/settings" || fail "the settings name no window mode"
else
    fail "no settings in $kept_folder"
fi
exit $status
