#!/usr/bin/env bash
# Turns the end-to-end test's screenshots (build/screenshots) into the
# pictures the README shows (docs/screenshots).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
shots="${1:-$root/build/screenshots}"
out="$root/docs/screenshots"
mkdir -p "$out"
cd "$shots"
cp panel.png "$out/panel.png"
montage -label '%t' -font DejaVu-Sans -pointsize 13 -background '#e8e8e8' \
    skin-acqa.png skin-nature.png skin-gold.png skin-purple.png skin-sea-beach.png \
    skin-bird.png skin-lily.png skin-sky.png plain-view.png \
    -tile 9x1 -geometry +6+6 "$out/skins.png"
montage -label '%t' -font DejaVu-Sans -pointsize 13 -background '#e8e8e8' \
    guide-0-cover.png guide-1.png guide-2.png guide-3.png about.png \
    -tile 5x1 -geometry 360x345+6+6 -quality 85 "$out/guide-and-about.jpg"
montage -label '%t' -font DejaVu-Sans -pointsize 13 -background '#e8e8e8' \
    wiring-0-cover.png wiring-1.png wiring-2.png wiring-3.png wiring-4.png \
    -tile 5x1 -geometry 360x352+6+6 -quality 85 "$out/wiring.jpg"
echo "Contact sheets written to $out"
