#!/bin/sh
# Renders every picture of the program from its sources, at 1x and 2x, and the
# desktop icons (needs librsvg2-bin, imagemagick and python3). The results are
# committed; the build embeds them.
set -e
here="$(cd "$(dirname "$0")" && pwd)"
sh "$here/src/main/render.sh"
python3 "$here/src/main/check.py"
sh "$here/src/help/render.sh"
