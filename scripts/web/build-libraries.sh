#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the libraries the web build links, for WebAssembly with Debian's emscripten, from
# Debian's own source packages: SDL2, SDL2_ttf, FreeType and zlib, with xxHash's header.
#   scripts/web/build-libraries.sh FOLDER
# FOLDER/prefix receives the static libraries, their headers and their pkg-config files;
# FOLDER/sources the unpacked source packages. Each source package is taken at the version of
# the binary package this machine has installed, so the web build draws its text with the
# same FreeType and SDL2_ttf code as the desktop build; a package not installed is taken at
# the newest version Debian offers. The sources come through a private apt folder holding a
# deb-src list of its own: the machine's own apt sources are not touched. A library already
# built at the version wanted is not built again. Each library's build log is FOLDER/NAME.log.
set -euo pipefail

folder=$(realpath -m "${1:?usage: $0 FOLDER [--benchmark]}")
with_benchmark=no
case ${2:-} in
    "") ;;
    --benchmark) with_benchmark=yes ;;
    *)
        echo "usage: $0 FOLDER [--benchmark]" >&2
        exit 2
        ;;
esac
# Debian's emscripten is frozen to Debian's own node modules; a node from elsewhere on the PATH
# finds them here.
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}
mkdir -p "$folder"
libraries_for="for the web"
# shellcheck source=scripts/debian-sources.sh
source "$(dirname "$0")/../debian-sources.sh"

jobs=$(nproc)
cmake_options=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix"
    -DCMAKE_FIND_ROOT_PATH="$prefix" -DCMAKE_PREFIX_PATH="$prefix" -DBUILD_SHARED_LIBS=OFF)

# Builds the unpacked tree of one source package and installs it into the prefix: by CMake,
# by the tree's own configure script, or as a header alone.
build_unpacked() {
    local source=$1 tree=$2
    shift 2
    if [ "$#" -gt 0 ] && [ "$1" = header-only ]; then
        mkdir -p "$prefix/include"
        cp "$tree/xxhash.h" "$prefix/include/"
    elif [ "$#" -gt 0 ] && [ "$1" = configure ]; then
        # Built in a copy of the tree by its own configure script: Debian's tree lacks files its
        # CMake list names.
        local build=$folder/build/$source
        rm -rf "$build"
        mkdir -p "$folder/build"
        cp -a "$tree" "$build"
        (cd "$build" && emconfigure ./configure --static --prefix="$prefix" &&
            emmake make -j"$jobs" libz.a && make install) >"$folder/$source.log" 2>&1
    else
        local build=$folder/build/$source
        rm -rf "$build"
        emcmake cmake -S "$tree" -B "$build" "${cmake_options[@]}" "$@" >"$folder/$source.log"
        cmake --build "$build" -j"$jobs" >>"$folder/$source.log"
        cmake --install "$build" >>"$folder/$source.log"
    fi
}

build_library zlib zlib1g configure
build_library libsdl2 libsdl2-2.0-0 -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF
# FreeType reads only the TrueType and OpenType fonts the game ships: no PNG or shaped fonts.
# It takes the zlib built above, as Debian's takes the system's; without it FreeType would
# build a copy of its own, whose names clash with that zlib's.
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
Description: TrueType fonts for SDL2, static, for the web
Version: $(sed 's/.*=//; s/+.*//' "$prefix/built/libsdl2-ttf")
Requires: sdl2 freetype2
Libs: -L\${libdir} -lSDL2_ttf
Cflags: -I\${includedir}/SDL2
PC
# xxHash is used as a header only.
build_library xxhash libxxhash0 header-only
# Google Benchmark, asked for alone: the game's own web build does not link it. Its tests
# would need Google Test built for the web too. Debian's tree reads no Git tags: a version of
# 0.0.0 makes it take the one its own CMake list declares.
if [ "$with_benchmark" = yes ]; then
    build_library benchmark libbenchmark-dev -DGIT_VERSION=0.0.0 -DBENCHMARK_ENABLE_TESTING=OFF \
        -DBENCHMARK_ENABLE_GTEST_TESTS=OFF -DBENCHMARK_ENABLE_WERROR=OFF \
        -DBENCHMARK_INSTALL_DOCS=OFF -DBENCHMARK_ENABLE_LTO=OFF
fi
