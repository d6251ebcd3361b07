#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The web build in a real browser: takes the desktop game's intro as the reference picture (the
# desktop program full screen on a 640 x 480 virtual display, where the picture is drawn at its
# own size), serves the web build's site on 127.0.0.1, and plays it in headless Chromium
# (browser_test.mjs), which checks the page against that picture.
#   browser_test.sh DESKTOP_PROGRAM SITE_FOLDER SCREENSHOT_FOLDER
# Skipped (77) where the web build, Chromium, node or the browser driver is missing.
set -uo pipefail
program=$1
site=$2
screenshots=$3
here=$(cd "$(dirname "$0")" && pwd)
deadline_seconds=90

if [ ! -f "$site/zelto.js" ]; then
    echo "SKIP: no web build in $site (scripts/build-web.sh makes it)"
    exit 77
fi
for tool in chromium node python3 import; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed"
        exit 77
    fi
done
if [ ! -d "$here/node_modules/puppeteer-core" ]; then
    echo "SKIP: the browser driver is not installed (scripts/install-deps.sh test installs it)"
    exit 77
fi

source "$here/../support/virtual_display.sh"
start_virtual_display 640x480x24
export SDL_AUDIODRIVER=dummy
export HOME=$work/home XDG_DATA_HOME=$work/data
mkdir -p "$HOME"

# The desktop's intro: the screen once it shows the title picture and holds still.
"$program" --nosound >"$work/desktop.log" 2>&1 &
desktop=$!
previous=""
start=$SECONDS
while :; do
    if ((SECONDS - start >= deadline_seconds)) || ! kill -0 $desktop 2>/dev/null; then
        echo "FAIL: the desktop game showed no intro"
        cat "$work/desktop.log"
        exit 1
    fi
    sleep 0.5
    import -window root -depth 8 "$work/reference.ppm" 2>/dev/null || continue
    shown=$(md5sum <"$work/reference.ppm")
    colours=$(convert "$work/reference.ppm" -format '%k' info: 2>/dev/null || echo 0)
    [ "$shown" = "$previous" ] && ((colours > 1000)) && break
    previous=$shown
done
kill $desktop
wait $desktop 2>/dev/null

# The site, on a port the server picks itself and names in its first line.
python3 -u -m http.server --bind 127.0.0.1 0 --directory "$site" >"$work/server.log" 2>&1 &
server=$!
trap 'kill $server 2>/dev/null; kill $xvfb_pid 2>/dev/null; rm -rf "$work"' EXIT
port=""
start=$SECONDS
until [ -n "$port" ]; do
    if ((SECONDS - start >= deadline_seconds)) || ! kill -0 $server 2>/dev/null; then
        echo "FAIL: the web server did not start"
        cat "$work/server.log"
        exit 1
    fi
    sleep 0.2
    port=$(sed -n 's/.* port \([0-9]*\) .*/\1/p' "$work/server.log" | head -1)
done

mkdir -p "$screenshots"
rm -f "$screenshots"/*.png
cp "$work/reference.ppm" "$screenshots/desktop-intro.ppm"
# Chromium keeps its profile in the scratch folder, so every run starts with empty storage.
cd "$here" && node browser_test.mjs "http://127.0.0.1:$port/" "$work/reference.ppm" \
    "$screenshots" "$work/chromium"
