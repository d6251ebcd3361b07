#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the Debian package with `cpack -G DEB` and checks it as a distribution would: its name,
# section, version (the changelog's latest) and run-time dependencies (SDL2, SDL2_ttf,
# fontconfig, the two font packages); the program in /usr/games and its data in
# /usr/share/games/zelto, nothing in the GNU layout's folders; the copyright file in Debian's
# format with the LICENSE text; the icons at every size and scalable; lintian with no error and
# no warning. From the package build (-DZELTO_HARDENING=ON, as ./test.sh configures it) the
# program must be hardened as Debian's flags make it: position-independent, its relocations
# read-only (RELRO) and bound at start (BIND_NOW), fortified C library calls, and no hardening
# tag from lintian even at its pedantic and info levels. Then dpkg installs it into
# a staging root, where the program, started from an unrelated folder under a virtual X server,
# shows its intro and ends with exit code 0 on Escape; purging it leaves no file behind.
# Skips (77) where dpkg-deb is missing; lintian and the X server are used where installed.
set -u
build_dir="$1"
source_dir="$2"
title_picture="$3"

source "$(dirname "$0")/../support/virtual_display.sh"
source "$(dirname "$0")/../support/game_screen.sh"

if ! command -v dpkg-deb >/dev/null; then
    echo "SKIP: dpkg-deb is not installed"
    exit 77
fi
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
status=0
fail() {
    echo "FAIL: $*"
    status=1
}

if ! cpack -G DEB -B "$scratch" --config "$build_dir/CPackConfig.cmake" >"$scratch/cpack.log" 2>&1
then
    cat "$scratch/cpack.log"
    echo "FAIL: cpack -G DEB failed"
    exit 1
fi
package=$(find "$scratch" -maxdepth 1 -name 'zelto_*.deb' | head -1)
if [ -z "$package" ]; then
    cat "$scratch/cpack.log"
    echo "FAIL: no zelto_*.deb made"
    exit 1
fi
echo "made $(basename "$package")"

info=$(dpkg-deb --info "$package")
field() { sed -n "s/^ $1: //p" <<<"$info"; }
[ "$(field Package)" = zelto ] || fail "the package is named '$(field Package)'"
[ "$(field Section)" = games ] || fail "the section is '$(field Section)'"
depends=$(field Depends)
echo "Depends: $depends"
for dependency in libsdl2-2.0-0 libsdl2-ttf-2.0-0 libfontconfig1 fontconfig fonts-dejavu-core \
    fonts-dancingscript; do
    grep -qE "(^|, )$dependency( |,|$)" <<<"$depends" || fail "no dependency on $dependency"
done

contents=$(dpkg-deb --contents "$package" | awk '{ print $NF }')
for file in ./usr/games/zelto ./usr/share/games/zelto/ZELTO.FMP \
    ./usr/share/games/zelto/MAIN.BMP ./usr/share/games/zelto/Xplode.WAV \
    ./usr/share/applications/zelto.desktop ./usr/share/metainfo/org.zelto.zelto.metainfo.xml \
    ./usr/share/icons/hicolor/{16x16,32x32,48x48,64x64,128x128,256x256}/apps/zelto.png \
    ./usr/share/icons/hicolor/scalable/apps/zelto.svg \
    ./usr/share/man/man6/zelto.6.gz ./usr/share/doc/zelto/copyright \
    ./usr/share/doc/zelto/changelog.Debian.gz; do
    grep -qxF "$file" <<<"$contents" || fail "the package does not hold $file"
done
data_files=$(grep -c '^\./usr/share/games/zelto/[^/]\+$' <<<"$contents")
[ "$data_files" -eq 15 ] || fail "the package holds $data_files data files, not 15"
if grep -E '^\./usr/(bin|share/zelto)/' <<<"$contents"; then
    fail "the package holds the GNU layout's folders above"
fi

dpkg-deb -x "$package" "$scratch/unpacked"
doc="$scratch/unpacked/usr/share/doc/zelto"
# The package's version is the one its changelog names last.
changelog_version=$(gzip -dc "$doc/changelog.Debian.gz" | sed -n '1s/^zelto (\([^)]*\)).*/\1/p')
[ "$(field Version)" = "$changelog_version" ] ||
    fail "the package's version $(field Version) is not the changelog's latest, $changelog_version"
# The copyright file's MIT text, unindented, is LICENSE's permission text word for word.
grep -qxF 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' \
    "$doc/copyright" || fail "the copyright file is not in Debian's machine-readable format"
awk '/^License: MIT$/ { text = ""; next } { text = text $0 "\n" } END { printf "%s", text }' \
    "$doc/copyright" | sed 's/^ //; s/^\.$//' >"$scratch/license-text"
sed -n '/^Permission is hereby granted/,$p' "$source_dir/LICENSE" |
    diff - "$scratch/license-text" || fail "the copyright file's licence text is not LICENSE's"

# The package build is hardened; another build's package is checked for all but that.
hardened=$(sed -n 's/^ZELTO_HARDENING:BOOL=//p' "$build_dir/CMakeCache.txt")
if [ "$hardened" = ON ]; then
    program="$scratch/unpacked/usr/games/zelto"
    readelf -h "$program" | grep -qE '^ *Type: +DYN' || fail "the program is not position-independent"
    readelf -l "$program" | grep -q 'GNU_RELRO' || fail "the program has no RELRO segment"
    readelf -d "$program" | grep -qE '\((FLAGS|FLAGS_1)\).*\b(BIND_NOW|NOW)\b' ||
        fail "the program's symbols are not bound at start (no BIND_NOW)"
    readelf --dyn-syms -W "$program" | grep -qE ' __[a-z0-9_]+_chk(@|$)' ||
        fail "the program calls no fortified C library function"
else
    echo "note: not the package build (ZELTO_HARDENING is not ON), its hardening is not checked"
fi

if command -v lintian >/dev/null; then
    # Overrides, each with its reason, are in packaging/lintian-overrides. Every tag is shown,
    # down to the pedantic and info levels; only errors and warnings fail here.
    lintian --pedantic -I --fail-on error,warning "$package" 2>&1 |
        grep -v 'running with root privileges' >"$scratch/lintian.log"
    lintian_status=${PIPESTATUS[0]}
    cat "$scratch/lintian.log"
    if [ "$lintian_status" -eq 0 ]; then
        echo "lintian: no error, no warning"
    else
        fail "lintian reports the errors or warnings above"
    fi
    if [ "$hardened" = ON ] && grep -E '^[A-Z]: .*hardening-' "$scratch/lintian.log"; then
        fail "lintian finds the package's program not hardened (above)"
    fi
else
    echo "note: lintian is not installed, the package is not checked with it"
fi

# Installed by dpkg into a root of its own, whose empty database knows none of the libraries.
root="$scratch/root"
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
touch "$root/var/lib/dpkg/status"
dpkg_in_root=(dpkg --root="$root" --force-not-root --force-script-chrootless --log=/dev/null)
if ! "${dpkg_in_root[@]}" --force-depends -i "$package" >"$scratch/dpkg.log" 2>&1; then
    cat "$scratch/dpkg.log"
    echo "FAIL: dpkg could not install the package"
    exit 1
fi
[ -x "$root/usr/games/zelto" ] || fail "dpkg installed no /usr/games/zelto"

# The installed program, started from a folder that has nothing to do with the game.
started=no
x_tools=yes
for tool in Xvfb xdotool import convert compare; do
    command -v "$tool" >/dev/null || x_tools=no
done
if [ $x_tools = yes ]; then
    mkdir -p "$scratch/elsewhere"
    cd "$scratch/elsewhere" || exit 1
    start_virtual_display 1024x768x24
    trap 'kill $xvfb_pid 2>/dev/null; rm -rf "$work" "$scratch"' EXIT
    export SDL_AUDIODRIVER=dummy
    export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
    "$root/usr/games/zelto" >"$scratch/game.out" 2>&1 &
    game_pid=$!
    if window=$(wait_for_window zelto); then
        # 640 x 480 fills 1024 x 768 exactly.
        wait_for_picture 1024x768+0+0 "$title_picture" || fail "the intro picture does not show"
        end_with_escape $game_pid "$window" || fail "Escape did not end the packaged game"
        echo "exit code $exit_code after Escape"
        [ "$exit_code" = 0 ] || fail "exit code $exit_code"
    else
        fail "the packaged game opened no window"
        kill -KILL $game_pid
    fi
    cat "$scratch/game.out"
    cd "$scratch" || exit 1
    started=yes
else
    echo "note: Xvfb, xdotool or ImageMagick is missing, the packaged program is not started"
fi

# Purged, the package leaves nothing but dpkg's own records.
"${dpkg_in_root[@]}" --purge zelto >>"$scratch/dpkg.log" 2>&1 || fail "dpkg could not purge it"
if left=$(find "$root" -mindepth 1 ! -path "$root/var" ! -path "$root/var/lib" \
    ! -path "$root/var/lib/dpkg" ! -path "$root/var/lib/dpkg/*" | grep .); then
    fail "purging left: $left"
fi

[ $status -eq 0 ] && [ $started = no ] && exit 77
exit $status
