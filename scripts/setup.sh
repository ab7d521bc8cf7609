#!/usr/bin/env bash
# Installs what building, running and testing the panel needs on Debian 12.
# Only missing packages are installed; apt-get runs through sudo when not root.
set -euo pipefail

packages=(
    build-essential cmake pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl-dev
    fonts-liberation2 fonts-dejavu-core tzdata
    # USB relay boards: HID (hidapi, hidraw backend) and serial (QtSerialPort)
    libhidapi-dev qt6-serialport-dev
    # Desktop integration: the bell through libcanberra, the native Wayland client
    libcanberra-dev sound-theme-freedesktop qt6-wayland
    # Tests: X and Wayland display servers, a window manager, a session bus
    xvfb xauth xdotool x11-utils imagemagick libxcb1-dev
    weston openbox wmctrl dbus
    # Package checks and artwork
    desktop-file-utils appstream lintian librsvg2-bin
    # The Windows cross-build of the code that needs no Qt
    g++-mingw-w64-x86-64
    clang-format
    # kavo-mqtt: the MQTT client library; a broker and its clients for the tests,
    # and usbrelay's MQTT daemon to compare with in bench/mqtt_latency
    libmosquitto-dev mosquitto mosquitto-clients usbrelayd
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
"${as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq "${missing[@]}"
