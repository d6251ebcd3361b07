# Sourced by the tests that run real programs under a virtual X server.
# start_virtual_display SIZE: makes a scratch folder in $work (removed on exit), starts Xvfb at
# SIZE (e.g. 1280x800x24) on a free display, and exports DISPLAY; exits 77 (skipped) where no X
# server can be started.
start_virtual_display() {
    if ! command -v Xvfb >/dev/null; then
        echo "SKIP: Xvfb is not installed, no X server to run on"
        exit 77
    fi
    work=$(mktemp -d)
    trap 'kill $xvfb_pid 2>/dev/null; rm -rf "$work"' EXIT
    local display=":$((90 + RANDOM % 400))"
    Xvfb "$display" -screen 0 "$1" -nolisten tcp >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 50); do
        [ -e "/tmp/.X11-unix/X${display#:}" ] && break
        sleep 0.1
    done
    if ! kill -0 $xvfb_pid 2>/dev/null; then
        echo "SKIP: Xvfb could not start"
        exit 77
    fi
    export DISPLAY="$display"
}
