# SPDX-License-Identifier: MIT
# Sourced by the tests that run real programs under a virtual X server.
# start_virtual_display SIZE: makes a scratch folder in $work (removed on exit), starts Xvfb at
# SIZE (e.g. 1280x800x24) on a display it picks itself, and exports DISPLAY once the server
# answers; exits 77 (skipped) where no X server can be started. The games started meanwhile
# keep their settings in the scratch folder: each test starts from the defaults, whatever the
# user running it has chosen.
start_virtual_display() {
    if ! command -v Xvfb >/dev/null; then
        echo "SKIP: Xvfb is not installed, no X server to run on"
        exit 77
    fi
    work=$(mktemp -d)
    trap 'kill $xvfb_pid 2>/dev/null; rm -rf "$work"' EXIT
    export XDG_CONFIG_HOME="$work/config"
    # The server chooses a free display and writes its number once it accepts connections, so
    # tests running side by side never share or race for one.
    # -noreset: by default the server starts itself over when its last client leaves, and a
    # program started again in that moment (a test's second launch) finds no display at all.
    Xvfb -displayfd 3 -screen 0 "$1" -nolisten tcp -noreset 3>"$work/display" >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    local number=""
    # A generous deadline: on a loaded machine the server may take seconds to come up.
    for _ in $(seq 200); do
        number=$(tr -dc '0-9' <"$work/display")
        [ -n "$number" ] && break
        kill -0 $xvfb_pid 2>/dev/null || break
        sleep 0.1
    done
    if [ -z "$number" ]; then
        echo "SKIP: Xvfb could not start"
        cat "$work/xvfb.log"
        exit 77
    fi
    export DISPLAY=":$number"
}
