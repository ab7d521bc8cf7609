#!/usr/bin/env bash
# start_private_xvfb (scripts/private-xvfb.sh): a real Xvfb on a display
# nobody else holds, and clear failure when Xvfb does not come up.
# Usage: test_private_xvfb.sh PATH/TO/private-xvfb.sh
# Exits 77 (skipped) when Xvfb or xdpyinfo is missing.
set -uo pipefail
# shellcheck source=../../scripts/private-xvfb.sh
. "$1"

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
scratch=$(mktemp -d)
started=()
cleanup() {
    for pid in "${started[@]}"; do kill "$pid" 2>/dev/null; done
    rm -rf "$scratch"
}
trap cleanup EXIT

# --- Stand-ins for Xvfb on PATH ---------------------------------------------
mkdir -p "$scratch/failing" "$scratch/silent"
cat >"$scratch/failing/Xvfb" <<'FAKE'
#!/bin/sh
echo "_XSERVTransMakeAllCOTSServerListeners: server already running" >&2
exit 1
FAKE
# Starts, never reports a display, and records its pid.
cat >"$scratch/silent/Xvfb" <<FAKE
#!/bin/sh
echo \$\$ >"$scratch/silent.pid"
exec sleep 60
FAKE
chmod +x "$scratch/failing/Xvfb" "$scratch/silent/Xvfb"

# An Xvfb that exits at once: failure, with its own words passed on.
if (PATH="$scratch/failing:$PATH" start_private_xvfb) 2>"$scratch/err"; then
    fail "a failing Xvfb counted as started"
fi
grep -q "Xvfb did not start: it ended." "$scratch/err" || fail "no clear message: $(cat "$scratch/err")"
grep -q "server already running" "$scratch/err" || fail "Xvfb's own message is not shown"

# No Xvfb at all: a PATH with the tools the function uses, and no Xvfb.
mkdir -p "$scratch/no-xvfb"
for tool in mktemp mkfifo sed rm; do ln -s "$(command -v "$tool")" "$scratch/no-xvfb/$tool"; done
if (PATH="$scratch/no-xvfb" start_private_xvfb) 2>"$scratch/err"; then
    fail "a missing Xvfb counted as started"
fi
grep -q "Xvfb did not start" "$scratch/err" || fail "no clear message for a missing Xvfb"

# An Xvfb that hangs without a display: failure after the timeout, and it is
# not left running.
if (PATH="$scratch/silent:$PATH" KAVO_XVFB_TIMEOUT=1 start_private_xvfb) 2>"$scratch/err"; then
    fail "an Xvfb that reported no display counted as started"
fi
grep -q "reported no display within 1 s" "$scratch/err" || fail "no timeout message: $(cat "$scratch/err")"
if [ -s "$scratch/silent.pid" ] && kill -0 "$(cat "$scratch/silent.pid")" 2>/dev/null; then
    fail "the hanging Xvfb was left running"
    kill "$(cat "$scratch/silent.pid")"
fi

# --- The real Xvfb ------------------------------------------------------------
if ! command -v Xvfb >/dev/null || ! command -v xdpyinfo >/dev/null; then
    echo "SKIP: Xvfb or xdpyinfo is not installed (scripts/setup.sh installs them)"
    [ "$failures" -eq 0 ] && exit 77
    exit 1
fi

# Two in a row: the second must not take the first one's display.
start_private_xvfb || { fail "Xvfb did not start"; exit 1; }
first_pid=$xvfb_pid first_display=$xvfb_display
started+=("$first_pid")
start_private_xvfb || { fail "a second Xvfb did not start"; exit 1; }
second_pid=$xvfb_pid second_display=$xvfb_display
started+=("$second_pid")

[[ "$first_display" =~ ^:[0-9]+$ ]] || fail "display '$first_display' is not :N"
[ "$first_display" != "$second_display" ] || fail "both servers on $first_display"
kill -0 "$first_pid" 2>/dev/null || fail "the first Xvfb ended when the second started"
# Each answers at once: the number comes only when the server is ready.
for display in "$first_display" "$second_display"; do
    DISPLAY="$display" xdpyinfo >/dev/null 2>&1 || fail "nothing answers on $display"
done

[ "$failures" -eq 0 ] && echo "PASS"
exit $((failures > 0))
