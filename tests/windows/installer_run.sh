#!/usr/bin/env bash
# The NSIS installer under wine64, in the build folder's Wine prefix, as a
# user runs it: a silent install puts the program in Program Files, a
# Start-menu entry and an uninstall entry; the installed kavo-panel.exe
# starts from there and writes through the stand-in IO.DLL (found in the
# folder it is started from); installing again over it keeps one entry and
# one copy; the silent uninstall removes every file, the entry and the
# shortcuts.
# Usage: installer_run.sh <installer .exe> <Wine prefix> <stand-in IO.DLL>
set -euo pipefail
installer="$1" prefix="$2" stand_in="$3"
root="$(cd "$(dirname "$0")/../.." && pwd)"

wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver64)
for tool in "$wine" "$wineserver" Xvfb; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing (scripts/setup.sh windows)"; exit 77; }
done
[ -f "$installer" ] || { echo "FAIL: no $installer (cpack -G NSIS makes it)"; exit 1; }
[ -f "$prefix/.booted" ] || { echo "FAIL: the Wine prefix $prefix was not booted"; exit 1; }

tmp=$(mktemp -d)
xvfb_pid="" panel_pid=""
cleanup() {
    [ -z "$panel_pid" ] || kill "$panel_pid" 2>/dev/null || true
    [ -z "$xvfb_pid" ] || { kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; } || true
    rm -rf "$tmp"
}
trap cleanup EXIT
# shellcheck source=../../scripts/private-xvfb.sh
source "$root/scripts/private-xvfb.sh"
start_private_xvfb
# No Mono or Gecko, and no menu entries written into the host's desktop.
export DISPLAY="$xvfb_display" WINEPREFIX="$prefix" WINEDEBUG=-all \
    WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset WINEPATH

folder="$prefix/drive_c/Program Files/Kavo Panel"
menu="$prefix/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
fail() { echo "FAIL: $*"; exit 1; }
# Everything the installs left: files under drive_c, and uninstall entries.
copies() { find "$prefix/drive_c" -iname kavo-panel.exe | wc -l; }
entries() { "$wine" reg query "$key" /s 2>/dev/null | tr -d '\r' | grep -c 'DisplayName.*Kavo Panel' || true; }
shortcuts() { find "$menu" -iname '*.lnk' -ipath '*kavo*' | wc -l; }
# The installer, and the uninstaller (which copies itself away and returns at
# once), are done when the prefix's every program has ended.
run_to_end() { "$wine" "$@"; "$wineserver" -w; }

[ "$(copies)" = 0 ] && [ "$(entries)" = 0 ] || fail "the prefix has an install already"
run_to_end "$installer" /S
[ -f "$folder/kavo-panel.exe" ] || fail "no kavo-panel.exe in Program Files after /S"
[ "$(shortcuts)" -ge 1 ] || fail "no Start-menu entry"
[ "$(entries)" = 1 ] || fail "$(entries) uninstall entries"
"$wine" reg query "$key\\Kavo Panel" /v UninstallString | grep -q 'Program Files\\Kavo Panel\\Uninstall.exe' ||
    fail "the uninstall entry does not name the uninstaller"
echo "installed: $(cd "$folder" && find . -type f | wc -l) files, $(shortcuts) shortcuts, one entry"

# The installed program, started from a folder that holds the stand-in port
# library, writes its first 0.
cp "$stand_in" "$tmp/IO.DLL"
log="$tmp/io.log"
export KAVO_IO_LOG="Z:${log//\//\\}"
(cd "$tmp" && exec "$wine" "$folder/kavo-panel.exe" >"$tmp/panel.out" 2>&1) &
panel_pid=$!
for _ in $(seq 600); do
    [ -s "$log" ] && break
    kill -0 "$panel_pid" 2>/dev/null || break
    sleep 0.1
done
[ "$(tr '\n' ' ' <"$log" 2>/dev/null)" = "PortOut 888 0 " ] ||
    fail "the installed program wrote no 0 to port 888: $(cat "$tmp/panel.out")"
kill "$panel_pid"
wait "$panel_pid" 2>/dev/null || true
panel_pid=""
"$wineserver" -w
echo "the installed program wrote through IO.DLL: $(tr '\n' ' ' <"$log")"

run_to_end "$installer" /S
[ "$(copies)" = 1 ] && [ "$(entries)" = 1 ] ||
    fail "installed twice: $(copies) copies, $(entries) uninstall entries"
echo "installed again over it: one copy, one entry"

run_to_end "$folder/Uninstall.exe" /S
[ ! -e "$folder" ] || fail "the uninstaller left $(cd "$folder" && find . | tr '\n' ' ')"
[ "$(entries)" = 0 ] || fail "the uninstall entry is still there"
[ "$(shortcuts)" = 0 ] || fail "the Start-menu entry is still there"
echo "uninstalled: no files, no entry, no shortcuts"
