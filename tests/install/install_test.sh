#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the game into a staging folder (DESTDIR) as `cmake --install` does for a user, checks
# that everything a desktop needs is in its place and well-formed (the icons at every size and
# the scalable one among them), and starts the installed program from an unrelated folder under
# a virtual X server: it finds its installed data, shows the intro picture, and Escape ends it
# with exit code 0. The validators and the X server are
# used where installed; without an X server the start is skipped (77) after the file checks.
set -u
build_dir="$1"
title_picture="$2"

source "$(dirname "$0")/../support/virtual_display.sh"
source "$(dirname "$0")/../support/game_screen.sh"
status=0
fail() {
    echo "FAIL: $*"
    status=1
}

staging=$(mktemp -d)
trap 'rm -rf "$staging"' EXIT
prefix=$(sed -n 's/^CMAKE_INSTALL_PREFIX:PATH=//p' "$build_dir/CMakeCache.txt")
root="$staging/root$prefix"
if ! DESTDIR="$staging/root" cmake --install "$build_dir" >"$staging/install.log" 2>&1; then
    cat "$staging/install.log"
    echo "FAIL: cmake --install failed"
    exit 1
fi

# The data set's files, as the one list names them (the second word of each line).
mapfile -t listed < <(sed -n 's/^k[A-Za-z0-9]*[[:space:]]\+\([^[:space:]]*\).*/\1/p' \
    "$(dirname "$0")/../../data/data-files.txt")
[ ${#listed[@]} -gt 0 ] || fail "data/data-files.txt names no file"
for file in bin/zelto "${listed[@]/#/share/zelto/}" share/applications/zelto.desktop \
    share/metainfo/org.zelto.zelto.metainfo.xml share/man/man6/zelto.6.gz; do
    [ -s "$root/$file" ] || fail "$file is not installed"
done
[ -x "$root/bin/zelto" ] || fail "the program is not executable"
data_files=$(find "$root/share/zelto" -type f | wc -l)
[ "$data_files" -eq ${#listed[@]} ] ||
    fail "share/zelto holds $data_files files, not the ${#listed[@]} data files"
# The Debian package's layout is the package's alone.
for folder in games share/games share/doc/zelto share/lintian; do
    [ ! -e "$root/$folder" ] || fail "cmake --install made $folder, which only the package has"
done

# The icon at each size: the tile's rounded corner (nearly) transparent, its middle opaque.
for size in 16 32 48 64 128 256; do
    icon="$root/share/icons/hicolor/${size}x${size}/apps/zelto.png"
    if [ ! -s "$icon" ]; then
        fail "no ${size} pixel icon"
    elif command -v identify >/dev/null; then
        seen=$(identify -format '%m %wx%h' "$icon")
        [ "$seen" = "PNG ${size}x${size}" ] || fail "the ${size} pixel icon is $seen"
        middle=$((size / 2))
        alphas=$(identify -format "%[fx:p{0,0}.a < 0.1] %[fx:p{$middle,$middle}.a]" "$icon")
        [ "$alphas" = "1 1" ] || fail "the ${size} pixel icon's corner and middle are not as drawn"
    fi
done
# The vector drawing beside them, for any other size.
svg="$root/share/icons/hicolor/scalable/apps/zelto.svg"
if [ ! -s "$svg" ]; then
    fail "no scalable icon"
elif command -v xmllint >/dev/null; then
    [ "$(xmllint --xpath 'name(/*)' "$svg")" = svg ] || fail "the scalable icon is not an SVG drawing"
fi

manual=$(gzip -dc "$root/share/man/man6/zelto.6.gz")
for section in NAME SYNOPSIS OPTIONS FILES "EXIT STATUS" "SEE ALSO"; do
    grep -q "^\.SH \"*$section" <<<"$manual" || fail "the manual page has no $section section"
done
# The FILES section names the data files the list names, no other and none missing.
manual_files=$(sed -n '/^\.SH FILES/,/^Without/p' <<<"$manual" |
    grep -o '[A-Za-z]*\.\(FMP\|BMP\|WAV\)' | sort -u)
[ "$manual_files" = "$(printf '%s\n' "${listed[@]}" | sort -u)" ] ||
    fail "the manual page's data files are not the list's:" $manual_files

if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$root/share/applications/zelto.desktop" ||
        fail "the desktop entry does not validate"
else
    echo "note: desktop-file-validate is not installed, the desktop entry is not validated"
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --pedantic --no-net \
        "$root/share/metainfo/org.zelto.zelto.metainfo.xml" ||
        fail "the AppStream metadata do not validate"
else
    echo "note: appstreamcli is not installed, the AppStream metadata are not validated"
fi

# The installed program, started from a folder that has nothing to do with the game.
mkdir -p "$staging/elsewhere"
cd "$staging/elsewhere" || exit 1
[ "$("$root/bin/zelto" --version)" != "" ] || fail "the installed program has no --version"
for tool in Xvfb xdotool import convert compare; do
    if ! command -v "$tool" >/dev/null; then
        echo "note: $tool is not installed, the installed program is not started"
        [ $status -eq 0 ] && exit 77
        exit $status
    fi
done
start_virtual_display 1024x768x24
trap 'kill $xvfb_pid 2>/dev/null; rm -rf "$work" "$staging"' EXIT
export SDL_AUDIODRIVER=dummy
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
"$root/bin/zelto" >"$work/game.out" 2>&1 &
game_pid=$!
if window=$(wait_for_window zelto); then
    # 640 x 480 fills 1024 x 768 exactly.
    wait_for_picture 1024x768+0+0 "$title_picture" || fail "the intro picture does not show"
    end_with_escape $game_pid "$window" || fail "Escape did not end the installed game"
    echo "exit code $exit_code after Escape"
    [ "$exit_code" = 0 ] || fail "exit code $exit_code"
else
    fail "the installed game opened no window"
    kill -KILL $game_pid
fi
cat "$work/game.out"
exit $status
