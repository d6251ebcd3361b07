#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Started where there is no display at all, the program says so in one line and ends with exit
# code 1, rather than running blind on a driver that shows nothing; where a display is named but
# does not answer, the line says which and why.
set -u
game="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The user's own settings play no part.
export XDG_CONFIG_HOME="$work/config"
env -u DISPLAY -u WAYLAND_DISPLAY -u XDG_RUNTIME_DIR -u SDL_VIDEODRIVER SDL_AUDIODRIVER=dummy \
    "$game" --window >"$work/out" 2>"$work/err" </dev/null
code=$?
err=$(cat "$work/err")
echo "exit code $code: $err"
[ "$code" -eq 1 ] || { echo "FAIL: exit code $code, not 1"; exit 1; }
[[ "$err" == "zelto: no display found; "* ]] || { echo "FAIL: no clear message"; exit 1; }
[ "$(wc -l <"$work/err")" -eq 1 ] || { echo "FAIL: more than one line"; exit 1; }

# With a runtime folder but no display server in it, the drivers are probed and the blind ones
# that remain are refused the same way.
chmod 700 "$work"
env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER XDG_RUNTIME_DIR="$work" SDL_AUDIODRIVER=dummy \
    "$game" --window >"$work/out" 2>"$work/err" </dev/null
code=$?
echo "exit code $code: $(cat "$work/err")"
[ "$code" -eq 1 ] || { echo "FAIL: exit code $code, not 1, after probing"; exit 1; }
[[ "$(tail -1 "$work/err")" == "zelto: no display found; "* ]] || { echo "FAIL: no clear message after probing"; exit 1; }
echo "no display: refused in one line"

# A display that is named but does not answer is told apart from no display: the line names it
# and carries SDL's own words for the failure.
env -u WAYLAND_DISPLAY -u XDG_RUNTIME_DIR -u SDL_VIDEODRIVER DISPLAY=:987 SDL_AUDIODRIVER=dummy \
    "$game" --window >"$work/out" 2>"$work/err" </dev/null
code=$?
err=$(tail -1 "$work/err")
echo "exit code $code: $err"
[ "$code" -eq 1 ] || { echo "FAIL: exit code $code, not 1, for a display that does not answer"; exit 1; }
[[ "$err" == "zelto: cannot open the display :987 named in DISPLAY: "?*"; check that its server"* ]] ||
    { echo "FAIL: the line does not name the display and SDL's failure"; exit 1; }
echo "a named display that does not answer: refused in its own words"
