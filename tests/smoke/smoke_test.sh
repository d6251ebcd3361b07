#!/usr/bin/env bash
# Runs the real program and the SDL host under a virtual X server: the picture is scaled into
# the screen with its aspect kept, frames come at 60 Hz, and a close request ends the game with
# exit code 0. Skips (77) where no X server can be started.
set -u
probe="$1"
game="$2"
game_dir="$3"

if ! command -v xdotool >/dev/null; then
    echo "SKIP: xdotool is not installed"
    exit 77
fi
source "$(dirname "$0")/../support/virtual_display.sh"
start_virtual_display 1280x800x24
export SDL_AUDIODRIVER=dummy
# Drivers that the real display stack loads and unloads leave allocations behind that the leak
# checker can no longer even name; in a sanitized build this test checks behaviour only.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
status=0

# The probe's red picture with its white border, scaled from 640 x 480 into 1280 x 800: 1067
# pixels wide, centred, black bars left and right.
"$probe" 150 >"$work/probe.out" 2>&1 &
probe_pid=$!
sleep 1.5
if command -v import >/dev/null; then
    import -window root "$work/shot.png"
    pixel() { convert "$work/shot.png" -format "%[pixel:p{$1,$2}]" info:; }
    echo "centre $(pixel 640 400), left bar $(pixel 50 400), left border $(pixel 108 400)"
    case "$(pixel 640 400)" in *"255,0,0"* | red) ;; *) echo "FAIL: the centre is not the picture's red"; status=1 ;; esac
    case "$(pixel 50 400)" in *"0,0,0"* | black) ;; *) echo "FAIL: no black bar left of the picture"; status=1 ;; esac
    case "$(pixel 1230 400)" in *"0,0,0"* | black) ;; *) echo "FAIL: no black bar right of the picture"; status=1 ;; esac
else
    echo "note: ImageMagick missing, the screenshot is not checked"
fi
wait $probe_pid || { echo "FAIL: the probe failed"; status=1; }
cat "$work/probe.out"
ms=$(sed -n 's/.* in \([0-9]*\) ms/\1/p' "$work/probe.out")
if [ -z "$ms" ] || [ "$ms" -lt 2300 ] || [ "$ms" -gt 5000 ]; then
    echo "FAIL: 150 frames should take about 2.5 s at 60 Hz (never less)"
    status=1
fi

# Input through the SDL host: relative mouse motion and a click reach the engine's input.
"$probe" 240 input >"$work/input.out" 2>&1 &
probe_pid=$!
# Wait for the probe's window, then give it time to take the focus and the mouse.
for _ in $(seq 30); do
    window=$(xdotool search --name '^probe$' 2>/dev/null | head -1)
    [ -n "$window" ] && break
    sleep 0.1
done
sleep 0.8
[ -n "$window" ] && xdotool windowfocus "$window"
xdotool mousemove_relative -- 30 20
sleep 0.1
xdotool mousemove_relative -- 30 20
sleep 0.1
xdotool mousedown 1
sleep 0.1
xdotool mouseup 1
wait $probe_pid || { echo "FAIL: the input probe failed"; status=1; }
cat "$work/input.out"
grep -q "mouse 60 40, left button seen" "$work/input.out" || { echo "FAIL: motion or click lost"; status=1; }

# The game itself: it runs until asked to close, and then ends with exit code 0; Escape ends
# it too.
(cd "$game_dir" && exec "$game") >"$work/game.out" 2>&1 &
game_pid=$!
for _ in $(seq 50); do
    window=$(xdotool search --name '^zelto$' 2>/dev/null | head -1)
    [ -n "$window" ] && break
    sleep 0.1
done
sleep 1.5
[ -n "$window" ] && xdotool windowfocus "$window"
xdotool keydown Escape
sleep 0.1
xdotool keyup Escape
for _ in $(seq 30); do kill -0 $game_pid 2>/dev/null || break; sleep 0.1; done
if kill -0 $game_pid 2>/dev/null; then
    echo "FAIL: Escape did not end the game"
    kill -KILL $game_pid
    status=1
else
    wait $game_pid
    code=$?
    echo "game exit code after Escape: $code"
    [ $code -eq 0 ] || status=1
fi

# A close request.
(cd "$game_dir" && exec "$game") >"$work/game.out" 2>&1 &
game_pid=$!
sleep 2
if ! kill -0 $game_pid 2>/dev/null; then
    echo "FAIL: the game ended by itself"
    cat "$work/game.out"
    exit 1
fi
kill -TERM $game_pid
wait $game_pid
code=$?
echo "game exit code after the close request: $code"
[ $code -eq 0 ] || status=1
exit $status
