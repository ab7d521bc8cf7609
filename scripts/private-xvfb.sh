# Sourced by scripts that need a private virtual X display (bash).
#
# start_private_xvfb starts Xvfb on a display number that Xvfb picks itself
# (-displayfd): it skips every number another X server holds, so it cannot end
# up on somebody else's display. Xvfb reports the number only once it accepts
# connections. On success it sets xvfb_pid and xvfb_display (":N"); when Xvfb
# does not start within KAVO_XVFB_TIMEOUT seconds (default 10) it says why on
# stderr, leaves nothing running and returns 1.
start_private_xvfb() {
    local dir number="" reason status=0 timeout="${KAVO_XVFB_TIMEOUT:-10}"
    dir=$(mktemp -d) || return 1
    mkfifo "$dir/displayfd" || { rm -rf "$dir"; return 1; }
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp \
        3>"$dir/displayfd" >"$dir/log" 2>&1 </dev/null &
    xvfb_pid=$!
    # The fifo ends without a number when Xvfb exits (or cannot be run) first.
    read -r -t "$timeout" number <"$dir/displayfd" || status=$?
    if [[ "$number" =~ ^[0-9]+$ ]]; then
        rm -rf "$dir"
        xvfb_display=":$number"
        return 0
    fi
    if [ "$status" -gt 128 ]; then
        reason="it reported no display within $timeout s"
        kill "$xvfb_pid" 2>/dev/null || true
    else
        reason="it ended"
    fi
    wait "$xvfb_pid" 2>/dev/null || true
    {
        echo "Xvfb did not start: $reason."
        sed 's/^/  /' "$dir/log"
    } >&2
    rm -rf "$dir"
    xvfb_pid=""
    return 1
}
