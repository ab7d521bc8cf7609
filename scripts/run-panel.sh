#!/usr/bin/env bash
# Sets up, builds and starts the panel. Without a display it starts a private
# virtual X display, runs the panel there, saves a screenshot and says so.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    "$root/scripts/setup.sh" run
else
    "$root/scripts/setup.sh" run headless
fi
"$root/scripts/build.sh" "$root/build" -DKAVO_BUILD_TESTS=OFF -DKAVO_BUILD_BENCH=OFF
panel="$root/build/app/kavo-panel"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec "$panel"
fi

echo "No display was found: starting the panel on a private virtual X display (Xvfb)."
# shellcheck source=private-xvfb.sh
. "$root/scripts/private-xvfb.sh"
panel_pid=""
xvfb_pid=""
trap 'kill $panel_pid $xvfb_pid 2>/dev/null || true' EXIT
start_private_xvfb || { echo "The panel was not started." >&2; exit 1; }
DISPLAY="$xvfb_display" "$panel" &
panel_pid=$!
sleep 3
shot="$root/build/panel-screenshot.png"
DISPLAY="$xvfb_display" import -window root "$shot"
echo "The panel is running on $xvfb_display; screenshot saved to $shot"
echo "Press Ctrl+C to stop it."
wait "$panel_pid"
