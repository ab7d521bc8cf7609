#!/usr/bin/env bash
# kavo-panel.exe under Wine on a private Xvfb, as unpacked from the zip:
# with the stand-in IO.DLL beside it, the start writes 0 to port 888,
# channel 1's ON button writes 1 and "&X" writes 0 before the program ends;
# with InpOut's inpoutx64.dll in its place the writes go through Out32; with
# no port library at all it starts, takes clicks, ends and writes nothing,
# and shows its warning dot. Its window is cut to its outline and moves with
# a drag on its surface; the About window's "&System Info..." starts the
# program that the registry names (a stand-in, msinfo32.exe beside the
# stand-in IO.DLL) and, where the registry names none, says so in a message.
# An LCUS board on COM5, a pseudo-terminal that Wine maps the port to, gets
# the frames of the start, of a switch and of the end.
# Usage: wine_panel_e2e.sh <Windows build folder> <stand-in IO.DLL>
set -euo pipefail
build="$1"
stand_in="$2"
root="$(cd "$(dirname "$0")/../.." && pwd)"
title="Quorvale Automation KAVO H1.10xp"
program="Quorvale Rivavavo Control System KAVO x"

wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver64)
for tool in "$wine" "$wineserver" Xvfb xdotool import socat; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing (scripts/setup.sh windows)"; exit 77; }
done

tmp=$(mktemp -d)
xvfb_pid="" socat_pid=""
cleanup() {
    WINEPREFIX="$tmp/prefix" "$wineserver" -k 2>/dev/null || true
    [ -z "$socat_pid" ] || kill "$socat_pid" 2>/dev/null || true
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
    [ ! -s "$tmp/panel.out" ] || { echo "The program said:"; sed 's/^/  /' "$tmp/panel.out"; }
    echo "Windows: $(xdotool search --name . getwindowname %@ 2>/dev/null | tr '\n' '|')"
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

# The colour of one pixel of the screen, as #RRGGBB.
pixel() {
    import -window root -crop "1x1+$1+$2" -depth 8 txt:- | awk 'NR == 2 { print $3 }'
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

# The window on Windows' own terms, still without a port library. The
# stand-in tool records its start in msinfo.log; the program passes its
# environment on.
msinfo_log="$tmp/msinfo.log"
export KAVO_MSINFO_LOG="Z:${msinfo_log//\//\\}"
start_panel
background=$(pixel 5 5)
drawn() { [ "$(pixel $((x + 100)) $((y + 215)))" != "$background" ]; }
wait_for drawn || fail "the panel's surface was never drawn"
for corner in 1,1 299,1 1,484 299,484; do
    [ "$(pixel $((x + ${corner%,*})) $((y + ${corner#*,})))" = "$background" ] ||
        fail "the corner $corner of the picture is not cut away"
done
echo "the window is cut to its outline"

# The warning dot, red while the port cannot be written.
dot() { [ "$(pixel $((x + 265)) $((y + 406)))" = "#E61E1E" ]; }
wait_for dot || fail "no warning dot while there is no port library"
echo "the warning dot shows"

# A drag on the bare surface in one motion: the window ends where the
# pointer let go.
at() { eval "$(xdotool getwindowgeometry --shell "$1")"; [ "$X,$Y" = "$2,$3" ]; }
xdotool mousemove $((x + 100)) $((y + 215)) mousedown 1 mousemove $((x + 130)) $((y + 235)) \
    mousemove $((x + 160)) $((y + 255)) mouseup 1
wait_for at "$window" $((x + 60)) $((y + 40)) || fail "the window did not follow the drag"
x=$((x + 60)) y=$((y + 40))

# "&?": the About window. Were the drag still going on, the click would only
# end it, and the window would have followed the pointer there.
click 212 44
about=""
find_about() { about=$(xdotool search --onlyvisible --name "^About $program\$" | head -n1); [ -n "$about" ]; }
wait_for find_about || fail "\"&?\" opened no About window (the drag did not end?)"
at "$window" "$x" "$y" || fail "the window moved on after the drag ended"
echo "a drag moved the window by 60,40"
eval "$(xdotool getwindowgeometry --shell "$about")"
about_x=$X about_y=$Y
sys_info() { xdotool mousemove --sync $((about_x + 301)) $((about_y + 211)) click 1; }

# No path to the tool in the registry: the message box, titled with the
# program's title; Enter dismisses it and the About window stays.
msinfo_key='HKLM\SOFTWARE\Microsoft\Shared Tools\MSINFO'
"$wine" reg delete "$msinfo_key" /v PATH /f >/dev/null 2>&1 || true
message() { xdotool search --onlyvisible --name "^$program\$" >/dev/null; }
no_message() { ! message; }
sys_info
wait_for message || fail "\"&System Info...\" without the tool showed no message titled \"$program\""
xdotool key Return
wait_for no_message || fail "Enter did not dismiss the message"
find_about || fail "the About window closed with the message"
echo "without the tool: the message \"$program\""

# With the tool's path under PATH: it starts.
msinfo="$(dirname "$stand_in")/msinfo32.exe"
"$wine" reg add "$msinfo_key" /v PATH /t REG_SZ /d "Z:${msinfo//\//\\}" /f >/dev/null
sys_info
wait_for [ -f "$msinfo_log" ] || fail "\"&System Info...\" did not start the program under PATH"
find_about || fail "the About window closed when the tool started"
echo "with PATH set: the tool started"
click 260 44
ends || fail "the program ended with status $? after the About window"

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
kinds="USB HID, CH340 serial"
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

# An LCUS serial board: COM5, mapped by Wine to a pseudo-terminal whose other
# end socat copies into a file. Wine reads its port mapping when it starts.
frames="$tmp/frames"
socat -u "pty,raw,echo=0,link=$tmp/com5" "open:$frames,creat,append" 2>"$tmp/socat.out" &
socat_pid=$!
wait_for [ -e "$tmp/com5" ] || fail "socat made no pseudo-terminal: $(cat "$tmp/socat.out")"
"$wine" reg add 'HKLM\Software\Wine\Ports' /v COM5 /d "$tmp/com5" /f >/dev/null
"$wineserver" -k 2>/dev/null || true
"$wineserver" -w
rm -f "$log"
sent() { [ "$(od -An -tx1 -v "$frames" | tr -s ' \n' ' ')" = " $1 " ]; }
start_off="a0 01 00 a1 a0 02 00 a2 a0 03 00 a3 a0 04 00 a4"
(cd "$tmp" && exec "$wine" "$tmp/app/kavo-panel.exe" --board=serial:COM5 >"$tmp/panel.out" 2>&1) &
panel_pid=$!
wait_for find_window || fail "--board=serial:COM5: no window titled \"$title\""
eval "$(xdotool getwindowgeometry --shell "$window")"
x=$X y=$Y
wait_for sent "$start_off" || fail "the start sent no four OFF frames to COM5: $(od -An -tx1 "$frames")"
click 172 276
wait_for sent "$start_off a0 01 01 a2" || fail "channel 1's ON sent no ON frame: $(od -An -tx1 "$frames")"
click 260 44
ends || fail "--board=serial:COM5: the program ended with status $?"
sent "$start_off a0 01 01 a2 a0 01 00 a1" || fail "\"&X\" sent no OFF frame: $(od -An -tx1 "$frames")"
[ ! -f "$log" ] || fail "--board=serial:COM5 wrote to the parallel port"
echo "COM5: $(od -An -tx1 "$frames" | tr -s ' \n' ' ')"
