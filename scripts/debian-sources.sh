# SPDX-License-Identifier: MIT
# Sourced by the scripts that cross-build the game's libraries from Debian's own source packages
# (scripts/web/build-libraries.sh, scripts/windows/build-libraries.sh). Before sourcing, the
# script sets `folder` (the libraries' folder, absolute) and defines
#   build_unpacked SOURCE TREE [ARGUMENTS...]
# which builds the unpacked TREE of SOURCE and installs it into $prefix, its log in
# $folder/SOURCE.log. build_library SOURCE BINARY [ARGUMENTS...] then takes the source package at
# the version of the binary package this machine has installed (so the libraries draw text with
# the same FreeType and SDL2_ttf code as the desktop build; a package not installed is taken at
# the newest version Debian offers) and builds it, unless $prefix holds it at that version
# already. The sources come through a private apt folder holding a deb-src list of its own: the
# machine's own apt sources are not touched.

prefix=$folder/prefix
sources=$folder/sources
apt_folder=$folder/apt
mkdir -p "$sources" "$prefix"

apt_options=(-o "Dir::Etc::SourceList=$apt_folder/sources.list" -o Dir::Etc::SourceParts=/nonexistent
    -o "Dir::State::Lists=$apt_folder/lists" -o "Dir::Cache=$apt_folder/cache"
    -o Debug::NoLocking=1 -o APT::Sandbox::User=root -q)
lists_ready=no
# Makes the private apt folder ready: its own deb-src list (the suites of the machine's own
# list) and package lists.
ready_apt() {
    [ "$lists_ready" = yes ] && return 0
    mkdir -p "$apt_folder/lists/partial" "$apt_folder/cache/archives/partial"
    local suites
    suites=$(grep -h '^Suites:' /etc/apt/sources.list.d/*.sources 2>/dev/null | head -1 |
        cut -d: -f2 || true)
    : >"$apt_folder/sources.list"
    for suite in ${suites:-bookworm bookworm-updates}; do
        echo "deb-src http://deb.debian.org/debian $suite main" >>"$apt_folder/sources.list"
    done
    echo "deb-src http://deb.debian.org/debian-security bookworm-security main" \
        >>"$apt_folder/sources.list"
    apt-get "${apt_options[@]}" update >/dev/null
    lists_ready=yes
}

# The source package's folder under sources/, unpacked at the version wanted (source=version,
# or the newest): its name goes to stdout.
unpack() {
    local wanted=$1
    local name=${wanted%%=*}
    local stamp=$sources/$name.version
    if [ ! -f "$stamp" ] || [ "$(cat "$stamp")" != "$wanted" ]; then
        ready_apt
        rm -rf "$sources/$name" "$stamp"
        mkdir -p "$sources/$name"
        (cd "$sources/$name" && apt-get "${apt_options[@]}" source "$wanted" >/dev/null)
        echo "$wanted" >"$stamp"
    fi
    find "$sources/$name" -maxdepth 1 -mindepth 1 -type d | head -1
}

# Builds and installs one source package through build_unpacked, unless the prefix holds it at
# the version wanted already.
build_library() {
    local source=$1 binary=$2
    shift 2
    local version wanted
    version=$(dpkg-query -W -f='${Version}' "$binary" 2>/dev/null || true)
    wanted=$source${version:+=$version}
    local stamp=$prefix/built/$source
    if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$wanted" ]; then return 0; fi
    echo "Building $wanted $libraries_for, from Debian's source package"
    local tree
    tree=$(unpack "$wanted")
    build_unpacked "$source" "$tree" "$@"
    mkdir -p "$prefix/built"
    echo "$wanted" >"$stamp"
}

