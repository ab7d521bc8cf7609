#!/usr/bin/env bash
# Installs what the project's commands need on Debian 12, by group:
#   scripts/setup.sh run        building and running the panel (run-panel.sh)
#   scripts/setup.sh headless   run-panel.sh's private X display and screenshot
#   scripts/setup.sh deb        packing the Debian package (build-deb.sh)
#   scripts/setup.sh test       what only the tests use (run-tests.sh)
#   scripts/setup.sh windows    the Windows build, its Wine tests and installer
# Several groups may be named at once. Only missing packages are installed;
# apt-get runs through sudo when not root. Building and running take no
# recommended packages; the tests take them, as their tools expect.
set -euo pipefail

run=(
    build-essential cmake pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl-dev libxcb1-dev
    fonts-liberation2 fonts-dejavu-core tzdata
    # USB relay boards: HID (hidapi, hidraw backend) and serial (QtSerialPort)
    libhidapi-dev qt6-serialport-dev
    # Desktop integration: the bell through libcanberra, the native Wayland client
    libcanberra-dev sound-theme-freedesktop qt6-wayland
    # kavo-mqtt, the bridge to an MQTT broker
    libmosquitto-dev
)
headless=(
    xvfb imagemagick
)
deb=(
    dpkg-dev file
)
test=(
    # X and Wayland display servers, a window manager, a session bus
    xvfb xauth xdotool x11-utils imagemagick
    weston openbox wmctrl dbus
    # Package checks (systemd-analyze checks the system units) and artwork
    desktop-file-utils appstream lintian systemd librsvg2-bin
    # The Windows cross-build of the code that needs no Qt
    g++-mingw-w64-x86-64
    clang-format
    # A broker and its clients for kavo-mqtt's tests, and usbrelay's MQTT
    # daemon to compare with in bench/mqtt_latency
    mosquitto mosquitto-clients usbrelayd
)
windows=(g++-mingw-w64-x86-64-posix ninja-build wine64 nsis dpkg-dev zip xvfb xdotool
    # Screenshots of the program under Wine; the installer's payload listed
    imagemagick 7zip
    # A serial relay board's stand-in: a pseudo-terminal behind a COM port
    socat)

[ $# -gt 0 ] || { echo "usage: $0 run|headless|deb|test|windows ..." >&2; exit 2; }
wanted=()
install=(apt-get install -y -qq --no-install-recommends)
for group in "$@"; do
    case "$group" in
    run) wanted+=("${run[@]}") ;;
    headless) wanted+=("${headless[@]}") ;;
    deb) wanted+=("${deb[@]}") ;;
    test) wanted+=("${test[@]}") install=(apt-get install -y -qq) ;;
    windows) wanted+=("${windows[@]}") ;;
    *) echo "$0: no group '$group' (run, headless, deb, test, windows)" >&2; exit 2 ;;
    esac
done

missing=()
for p in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
"${as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" "${install[@]}" "${missing[@]}"
