#!/usr/bin/env bash
# Sets up, builds and packs the panel as a Debian package, in build/.
# Install it with: sudo apt install ./build/kavo-panel_*.deb
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh" run deb
"$root/scripts/build.sh" "$root/build"
rm -f "$root"/build/kavo-panel_*.deb
cpack -G DEB --config "$root/build/CPackConfig.cmake" -B "$root/build" >/dev/null
echo "Built $(ls "$root"/build/kavo-panel_*.deb)"
