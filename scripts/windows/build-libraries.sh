#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the libraries the Windows build links, for 64-bit Windows with Debian's MinGW-w64
# (cmake/mingw-w64-x86_64.cmake), from Debian's own source packages: zlib, SDL2, FreeType and
# SDL2_ttf, static, with xxHash's header.
#   scripts/windows/build-libraries.sh FOLDER
# FOLDER/prefix receives the static libraries, their headers and their pkg-config files;
# FOLDER/sources the unpacked source packages (scripts/debian-sources.sh says which versions and
# how they are fetched). A library already built at the version wanted is not built again. Each
# library's build log is FOLDER/NAME.log.
set -euo pipefail

folder=$(realpath -m "${1:?usage: $0 FOLDER}")
if [ "$#" -ne 1 ]; then
    echo "usage: $0 FOLDER" >&2
    exit 2
fi
toolchain=$(realpath "$(dirname "$0")/../../cmake/mingw-w64-x86_64.cmake")
target=x86_64-w64-mingw32
mkdir -p "$folder"
libraries_for="for Windows"
# shellcheck source=scripts/debian-sources.sh
source "$(dirname "$0")/../debian-sources.sh"

jobs=$(nproc)
cmake_options=(-G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release
    -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_FIND_ROOT_PATH="$prefix"
    -DCMAKE_PREFIX_PATH="$prefix" -DBUILD_SHARED_LIBS=OFF)

# Builds the unpacked tree of one source package and installs it into the prefix: by CMake,
# by the tree's own configure script, or as a header alone.
build_unpacked() {
    local source=$1 tree=$2
    shift 2
    local build=$folder/build/$source
    rm -rf "$build"
    mkdir -p "$folder/build"
    if [ "$#" -gt 0 ] && [ "$1" = header-only ]; then
        mkdir -p "$prefix/include"
        cp "$tree/xxhash.h" "$prefix/include/"
    elif [ "$#" -gt 0 ] && [ "$1" = configure ]; then
        # Built in a copy of the tree by its own configure script, told the target by CHOST:
        # Debian's tree lacks files its CMake list names, and its MinGW makefile.
        cp -a "$tree" "$build"
        (cd "$build" && CHOST=$target CC=$target-gcc-posix AR=$target-ar RANLIB=$target-ranlib \
            ./configure --static --prefix="$prefix" && make -j"$jobs" libz.a &&
            make install) >"$folder/$source.log" 2>&1
    else
        cmake -S "$tree" -B "$build" "${cmake_options[@]}" "$@" >"$folder/$source.log"
        cmake --build "$build" -j"$jobs" >>"$folder/$source.log"
        cmake --install "$build" >>"$folder/$source.log"
    fi
}

build_library zlib zlib1g configure
build_library libsdl2 libsdl2-2.0-0 -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF
# SDL2's pkg-config file links SDL2main and asks for a window program (-mwindows), for programs
# whose main SDL renames into its own WinMain. The game's main is its own and it runs as a
# console program, whose output --verify and the error messages reach: those two go.
sed -i 's/ -lSDL2main//g; s/ -mwindows//g' "$prefix/lib/pkgconfig/sdl2.pc"
# FreeType reads only the TrueType and OpenType fonts the game ships: no PNG or shaped fonts.
# It takes the zlib built above; without it FreeType would build a copy of its own.
build_library freetype libfreetype6 -DFT_REQUIRE_ZLIB=ON -DFT_DISABLE_BZIP2=ON \
    -DFT_DISABLE_PNG=ON -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON
build_library libsdl2-ttf libsdl2-ttf-2.0-0 -DSDL2TTF_VENDORED=OFF -DSDL2TTF_HARFBUZZ=OFF \
    -DSDL2TTF_SAMPLES=OFF
# SDL2_ttf writes a pkg-config file for its shared library only; the static one gets its own.
cat >"$prefix/lib/pkgconfig/SDL2_ttf.pc" <<PC
prefix=$prefix
libdir=\${prefix}/lib
includedir=\${prefix}/include

Name: SDL2_ttf
Description: TrueType fonts for SDL2, static, for Windows
Version: $(sed 's/.*=//; s/+.*//' "$prefix/built/libsdl2-ttf")
Requires: sdl2 freetype2
Libs: -L\${libdir} -lSDL2_ttf
Cflags: -I\${includedir}/SDL2
PC
# xxHash is used as a header only.
build_library xxhash libxxhash0 header-only
