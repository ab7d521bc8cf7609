#!/usr/bin/env bash
# Sets up, builds and starts the panel. Without a display it starts a private
# virtual X display, runs the panel there, saves a screenshot and says so.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh" "$root/build" -DKAVO_BUILD_TESTS=OFF -DKAVO_BUILD_BENCH=OFF
panel="$root/build/app/kavo-panel"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec "$panel"
fi

echo "No display was found: starting the panel on a private virtual X display (Xvfb)."
display=":$((90 + RANDOM % 100))"
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$panel_pid" "$xvfb" 2>/dev/null || true' EXIT
sleep 1
DISPLAY="$display" "$panel" &
panel_pid=$!
sleep 3
shot="$root/build/panel-screenshot.png"
DISPLAY="$display" import -window root "$shot"
echo "The panel is running on $display; screenshot saved to $shot"
echo "Press Ctrl+C to stop it."
wait "$panel_pid"
