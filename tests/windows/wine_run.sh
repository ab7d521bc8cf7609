#!/usr/bin/env bash
# Runs a Windows test program under Wine, as CMake's cross-compiling
# emulator: in one Wine prefix shared by the whole build folder (booted once,
# by the first caller, since that takes seconds), with the cross-built Qt's
# and the compiler's DLLs found through WINEPATH, and returns the program's
# own exit status.
# Usage: wine_run.sh <wine> <prefix> <DLL folders, ':'-separated> [<program> [args]]
#        (with no program it only boots the prefix)
#        wine_run.sh <wine> <prefix> --stop   (ends the prefix's wineserver)
set -euo pipefail
wine="$1" prefix="$2"
shift 2
wineserver="$(dirname "$(readlink -f "$wine")")/wineserver"
[ -x "$wineserver" ] || wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver64)

export WINEPREFIX="$prefix" WINEDEBUG=-all
# No Mono or Gecko: nothing here needs them, and asking to install them would
# stop the boot.
export WINEDLLOVERRIDES="mscoree,mshtml="
# No display: the tests draw offscreen, and Wine needs no window either.
unset DISPLAY WAYLAND_DISPLAY

if [ "${1:-}" = --stop ]; then
    [ ! -d "$prefix" ] || "$wineserver" -k 2>/dev/null || true
    exit 0
fi

# Unix path to the Windows one Wine maps it to (drive Z: is the root).
windows_path() { local p="${1//\//\\}"; echo "Z:$p"; }

mkdir -p "$(dirname "$prefix")"
(
    flock 9
    if [ ! -f "$prefix/.booted" ]; then
        rm -rf "$prefix"
        "$wine" wineboot --init >/dev/null 2>&1
        "$wineserver" -w
        touch "$prefix/.booted"
    fi
) 9>"$prefix.lock"

dll_path="${1:-}"
[ $# -gt 1 ] || exit 0
shift
winepath=""
IFS=':' read -ra folders <<<"$dll_path"
for folder in "${folders[@]}"; do
    winepath+="${winepath:+;}$(windows_path "$folder")"
done
export WINEPATH="$winepath"
# With no console attached, Qt would send the test log to the debugger.
export QT_FORCE_STDERR_LOGGING=1
# Wine keeps the host's QT_* variables (QT_QPA_PLATFORM among them) from
# Windows programs; it hands them the WINEQT_* ones as QT_* instead. Paths
# become Windows paths.
for name in $(compgen -e | grep '^QT_'); do
    case "$name" in
    QT_PLUGIN_PATH | QT_QPA_FONTDIR) export "WINE$name=$(windows_path "${!name}")" ;;
    *) export "WINE$name=${!name}" ;;
    esac
done

exec "$wine" "$@"
