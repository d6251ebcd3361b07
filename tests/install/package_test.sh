#!/usr/bin/env bash
# Builds the Debian package with `cpack -G DEB` and reads it back with dpkg-deb: its name,
# section and run-time dependencies (SDL2, SDL2_ttf, fontconfig, the two font packages), and
# the files it installs under /usr. The packed program answers --version. Skips (77) where
# dpkg-deb is missing.
set -u
build_dir="$1"

if ! command -v dpkg-deb >/dev/null; then
    echo "SKIP: dpkg-deb is not installed"
    exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
fail() {
    echo "FAIL: $*"
    status=1
}

if ! cpack -G DEB -B "$work" --config "$build_dir/CPackConfig.cmake" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log"
    echo "FAIL: cpack -G DEB failed"
    exit 1
fi
package=$(find "$work" -maxdepth 1 -name 'zelto_*.deb' | head -1)
if [ -z "$package" ]; then
    cat "$work/cpack.log"
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
for file in ./usr/bin/zelto ./usr/share/zelto/ZELTO.FMP ./usr/share/zelto/MAIN.BMP \
    ./usr/share/zelto/Xplode.WAV ./usr/share/applications/zelto.desktop \
    ./usr/share/metainfo/org.zelto.zelto.metainfo.xml \
    ./usr/share/icons/hicolor/{32x32,64x64,128x128}/apps/zelto.png \
    ./usr/share/man/man6/zelto.6.gz; do
    grep -qxF "$file" <<<"$contents" || fail "the package does not hold $file"
done
data_files=$(grep -c '^\./usr/share/zelto/[^/]\+$' <<<"$contents")
[ "$data_files" -eq 15 ] || fail "the package holds $data_files data files, not 15"

dpkg-deb -x "$package" "$work/unpacked"
"$work/unpacked/usr/bin/zelto" --version || fail "the packed program does not run"
exit $status
