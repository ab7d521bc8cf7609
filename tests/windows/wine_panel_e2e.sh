#!/usr/bin/env bash
# kavo-panel.exe under Wine on a private Xvfb, as unpacked from the zip:
# with the stand-in IO.DLL beside it, the start writes 0 to port 888,
# channel 1's ON button writes 1 and "&X" writes 0 before the program ends;
# with InpOut's inpoutx64.dll in its place the writes go through Out32; with
# no port library at all it starts, takes clicks, ends and writes nothing.
# Usage: wine_panel_e2e.sh <Windows build folder> <stand-in IO.DLL>
set -euo pipefail
build="$1"
stand_in="$2"
root="$(cd "$(dirname "$0")/../.." && pwd)"
title="Quorvale Automation KAVO H1.10xp"

wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver64)
for tool in "$wine" "$wineserver" Xvfb xdotool; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing (scripts/setup.sh windows)"; exit 77; }
done

tmp=$(mktemp -d)
xvfb_pid=""
cleanup() {
    WINEPREFIX="$tmp/prefix" "$wineserver" -k 2>/dev/null || true
    [ -z "$xvfb_pid" ] || { kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; } || true
    rm -rf "$tmp"
}
trap cleanup EXIT

# shellcheck source=../../scripts/private-xvfb.sh
source "$root/scripts/private-xvfb.sh"
start_private_xvfb
export DISPLAY="$xvfb_display" WINEPREFIX="$tmp/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
"$wine" wineboot --init >/dev/null 2>&1
"$wineserver" -w

cmake --install "$build" --prefix "$tmp/app" >/dev/null
log="$tmp/io.log"
export KAVO_IO_LOG="Z:${log//\//\\}"

fail() {
    echo "FAIL: $*"
    [ ! -f "$log" ] || { echo "Port writes:"; sed 's/^/  /' "$log"; }
    exit 1
}

# Waits up to 60 s for a command to succeed.
wait_for() {
    local i
    for i in $(seq 600); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

writes() { [ -f "$log" ] && [ "$(tr '\n' ' ' <"$log")" = "$1" ]; }

# Starts the program and sets window, x and y (the client area's corner).
start_panel() {
    # From a folder of its own: Windows looks for DLLs in the current one too.
    (cd "$tmp" && exec "$wine" "$tmp/app/kavo-panel.exe" >"$tmp/panel.out" 2>&1) &
    panel_pid=$!
    window=""
    find_window() { window=$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -n1); [ -n "$window" ]; }
    wait_for find_window || fail "no window titled \"$title\""
    eval "$(xdotool getwindowgeometry --shell "$window")"
    x=$X y=$Y
}

click() {
    xdotool mousemove --sync $((x + $1)) $((y + $2)) click 1
}

ends() {
    local i
    for i in $(seq 300); do
        kill -0 "$panel_pid" 2>/dev/null || { wait "$panel_pid"; return; }
        sleep 0.1
    done
    fail "the program did not end after \"&X\""
}

# With the stand-in IO.DLL next to the program.
cp "$stand_in" "$tmp/app/IO.DLL"
start_panel
wait_for writes "PortOut 888 0 " || fail "the start wrote no 0 to port 888"
click 172 276 # channel 1's ON face
wait_for writes "PortOut 888 0 PortOut 888 1 " || fail "channel 1's ON button did not write 1"
click 260 44 # "&X"
ends || fail "the program ended with status $?"
writes "PortOut 888 0 PortOut 888 1 PortOut 888 0 " || fail "\"&X\" did not write 0"
echo "IO.DLL: $(tr '\n' ' ' <"$log")"

# Without a port library: the panel still runs and ends, and writes nothing.
rm -f "$tmp/app/IO.DLL" "$log"
start_panel
click 172 276
click 260 44
ends || fail "without IO.DLL the program ended with status $?"
[ ! -f "$log" ] || fail "without IO.DLL something was written"
echo "without IO.DLL: no writes"

# Where there is no IO.DLL, InpOut's 64-bit library.
cp "$stand_in" "$tmp/app/inpoutx64.dll"
start_panel
wait_for writes "Out32 888 0 " || fail "the start wrote nothing through inpoutx64.dll"
click 260 44
ends || fail "with inpoutx64.dll the program ended with status $?"
writes "Out32 888 0 Out32 888 0 " || fail "\"&X\" wrote nothing through inpoutx64.dll"
echo "inpoutx64.dll: $(tr '\n' ' ' <"$log")"

# The USB relay boards: --list-boards names the kinds this build drives, and
# --board=usb-hid with no board plugged in starts, says so and writes nothing
# (not even to the parallel port, whose stand-in library is back in place).
"$wine" "$tmp/app/kavo-panel.exe" --list-boards >"$tmp/list.out" 2>&1 || fail "--list-boards failed: $(cat "$tmp/list.out")"
kinds="USB HID"
[ ! -f "$tmp/app/Qt6SerialPort.dll" ] || kinds="USB HID, CH340 serial"
grep -q "($kinds" "$tmp/list.out" || fail "--list-boards does not name $kinds: $(cat "$tmp/list.out")"
echo "--list-boards: $(tr -d '\r' <"$tmp/list.out")"
rm -f "$tmp/app/inpoutx64.dll" "$log"
cp "$stand_in" "$tmp/app/IO.DLL"
(cd "$tmp" && exec "$wine" "$tmp/app/kavo-panel.exe" --board=usb-hid >"$tmp/panel.out" 2>&1) &
panel_pid=$!
wait_for find_window || fail "--board=usb-hid: no window titled \"$title\""
eval "$(xdotool getwindowgeometry --shell "$window")"
x=$X y=$Y
said="Cannot write to the relay board port usb-hid: no USB HID relay board is plugged in."
wait_for grep -qF "$said" "$tmp/panel.out" || fail "--board=usb-hid does not say \"$said\": $(cat "$tmp/panel.out")"
click 172 276
click 260 44
ends || fail "--board=usb-hid: the program ended with status $?"
[ ! -f "$log" ] || fail "--board=usb-hid wrote to the parallel port"
echo "--board=usb-hid without a board: $(tr -d '\r' <"$tmp/panel.out" | head -n1)"
