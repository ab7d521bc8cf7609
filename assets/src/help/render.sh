#!/bin/sh
# Renders the help pictures from their SVG sources.
#   1. build_pages.py writes svg/*.svg and descriptions/*.txt
#   2. rsvg-convert rasterises each SVG at its exact size
#   3. ImageMagick converts to the format the program loads
#   4. the same at twice the pixel size, for screens scaled by 2: NAME@2x.jpg
#      where the 1x is JPEG, NAME@2x.png where it is BMP
# Needs: python3, rsvg-convert (librsvg2-bin), ImageMagick, fonts-dejavu-core.
# Safe to run again: the outputs depend only on the sources.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
out=$(cd "$here/../../help" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

python3 -B "$here/build_pages.py"

# name  width  height  target (relative to assets/help)  kind
while read -r name w h target kind; do
    [ -n "$name" ] || continue
    rsvg-convert -w "$w" -h "$h" -b white -o "$tmp/$name.png" "$here/svg/$name.svg"
    case $kind in
        jpg) convert "$tmp/$name.png" -background white -alpha remove -alpha off -strip \
                 -sampling-factor 4:4:4 -quality 90 "$out/$target" ;;
        bmp24) convert "$tmp/$name.png" -background white -alpha remove -alpha off -strip \
                 -type TrueColor "BMP3:$out/$target" ;;
        bmp8) convert "$tmp/$name.png" -background white -alpha remove -alpha off -strip \
                 -dither None -colors 256 -type Palette -compress None "BMP3:$out/$target" ;;
        *) echo "unknown kind $kind" >&2; exit 1 ;;
    esac
    echo "rendered $target (${w}x${h})"

    rsvg-convert -w $((w * 2)) -h $((h * 2)) -b white -o "$tmp/$name@2x.png" "$here/svg/$name.svg"
    base=${target%.*}
    case $kind in
        jpg) convert "$tmp/$name@2x.png" -background white -alpha remove -alpha off -strip \
                 -sampling-factor 4:4:4 -quality 90 "$out/$base@2x.jpg" ;;
        bmp24) convert "$tmp/$name@2x.png" -background white -alpha remove -alpha off -strip \
                 -type TrueColor -define png:exclude-chunks=date,time \
                 -define png:compression-level=9 "PNG24:$out/$base@2x.png" ;;
        bmp8) convert "$tmp/$name@2x.png" -background white -alpha remove -alpha off -strip \
                 -dither None -colors 256 -define png:exclude-chunks=date,time \
                 -define png:compression-level=9 "PNG8:$out/$base@2x.png" ;;
    esac
    echo "rendered $base@2x ($((w * 2))x$((h * 2)))"
done <<LIST
og_cover        694 637 og/cover.jpg          jpg
og_page1        628 637 og/page1.jpg          jpg
og_page2        694 637 og/page2.jpg          jpg
og_page3        628 637 og/page3.jpg          jpg
wiring_cover    584 478 wiring/cover.jpg      jpg
wiring_page1    600 450 wiring/page1.jpg      jpg
wiring_page2    343 344 wiring/page2.bmp      bmp24
wiring_page3    703 596 wiring/page3.jpg      jpg
wiring_page4    495 519 wiring/page4.jpg      jpg
about_background 343 250 about/background.jpg jpg
about_icon      50  50  about/icon.bmp        bmp8
LIST
