#!/bin/sh
# Renders the main-window artwork from the SVG sources into assets/main/.
#   skins/*.bmp   24-bit BMP3, figure on pure white (#FFFFFF is cut away by the app)
#   faces/*.jpg   38x78 channel button faces
#   image1.gif    50x50 logo, 256 colours
#   icon.ico/png  32x32 app icon, 16 colours
# and each of them again at twice the pixel size, named NAME@2x (PNG where the
# 1x is BMP, GIF or ICO; JPEG where it is JPEG), for screens scaled by 2:
#   skins/*@2x.png  white exactly where the 1x skin is white, pixel for pixel
#                   doubled, because the window's outline is cut from the 1x
# and the desktop's icons from the same source (../../icons/, hicolor sizes).
# Needs: python3 (standard library), rsvg-convert (librsvg2-bin), ImageMagick convert,
# fonts-dejavu-core. Idempotent: the same sources always give the same files.
set -eu

SRC=$(cd "$(dirname "$0")" && pwd)
OUT=$(cd "$SRC/../../main" && pwd)
ICONS=$(cd "$SRC/../.." && pwd)/icons
SVG=$SRC/svg
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT

# 1. SVG sources from the template (svg/*.svg are generated, kept for reference)
python3 "$SRC/gen_svg.py" "$SVG"

mkdir -p "$OUT/skins" "$OUT/faces"

# PNGs without time stamps, so unchanged sources give identical files
# png OUTPUT CONVERT-ARGUMENTS...
png() {
    out=$1
    shift
    convert "$@" -strip -define png:exclude-chunks=date,time -define png:compression-level=9 "$out"
}

# 2. Skins: render on transparent, then put the figure on pure white with the alpha
#    thresholded to 0/255 (crisp outline). Inside the figure no pixel may stay pure white,
#    so #FFFFFF there becomes #FEFEFE; soft edge pixels are blended with the rim colour.
python3 "$SRC/gen_svg.py" --manifest >"$TMP/manifest"
while read -r kind name w h rim; do
    rsvg-convert -w "$w" -h "$h" "$SVG/$name.svg" -o "$TMP/$name.png"
    rsvg-convert -w $((w * 2)) -h $((h * 2)) "$SVG/$name.svg" -o "$TMP/$name@2x.png"
    if [ "$kind" = skin ]; then
        convert "$TMP/$name.png" -background "$rim" -alpha remove -alpha off \
            -fuzz 0.5% -fill '#FEFEFE' -opaque '#FFFFFF' +fuzz "$TMP/$name-rgb.png"
        # mask: alpha thresholded; white pockets enclosed by the figure are filled
        # (they take the rim colour) so the cut-out has no holes
        convert "$TMP/$name.png" -alpha extract -threshold 50% \
            -bordercolor black -border 1 -fill gray50 -draw 'color 0,0 floodfill' -shave 1x1 \
            -fill white -opaque black -fill black -opaque gray50 "$TMP/$name-mask.png"
        convert -size "${w}x${h}" xc:white "$TMP/$name-rgb.png" "$TMP/$name-mask.png" \
            -composite -type TrueColor "BMP3:$OUT/skins/$name.bmp"
        # 2x: the figure rendered at 2x, cut by the 1x mask doubled
        convert "$TMP/$name@2x.png" -background "$rim" -alpha remove -alpha off \
            -fuzz 0.5% -fill '#FEFEFE' -opaque '#FFFFFF' +fuzz "$TMP/$name@2x-rgb.png"
        convert "$TMP/$name-mask.png" -sample 200% "$TMP/$name@2x-mask.png"
        png "PNG24:$OUT/skins/$name@2x.png" -size "$((w * 2))x$((h * 2))" xc:white \
            "$TMP/$name@2x-rgb.png" "$TMP/$name@2x-mask.png" -composite -type TrueColor
    elif [ "$kind" = spare ]; then
        # full bleed: no white ground at all
        convert "$TMP/$name.png" -background "$rim" -alpha remove -alpha off \
            -fuzz 0.5% -fill '#FEFEFE' -opaque '#FFFFFF' +fuzz -type TrueColor "BMP3:$OUT/skins/$name.bmp"
        png "PNG24:$OUT/skins/$name@2x.png" "$TMP/$name@2x.png" -background "$rim" \
            -alpha remove -alpha off -fuzz 0.5% -fill '#FEFEFE' -opaque '#FFFFFF' +fuzz -type TrueColor
    elif [ "$kind" = face ]; then
        convert "$TMP/$name.png" -background "$rim" -alpha remove -alpha off -strip \
            -sampling-factor 1x1 -quality 95 "$OUT/faces/$name.jpg"
        convert "$TMP/$name@2x.png" -background "$rim" -alpha remove -alpha off -strip \
            -sampling-factor 1x1 -quality 95 "$OUT/faces/$name@2x.jpg"
    elif [ "$kind" = logo ]; then
        convert "$TMP/$name.png" -background "$rim" -alpha remove -alpha off -strip \
            -dither FloydSteinberg -colors 256 "$OUT/image1.gif"
        png "PNG8:$OUT/image1@2x.png" "$TMP/$name@2x.png" -background "$rim" -alpha remove \
            -alpha off -dither FloydSteinberg -colors 256
    elif [ "$kind" = icon ]; then
        # 16 colours, fully transparent corners kept as the icon's mask
        convert "$TMP/$name.png" -channel A -threshold 50% +channel -strip \
            -dither None -colors 16 "$TMP/icon16.png"
        convert "$TMP/icon16.png" -define png:exclude-chunks=date,time -strip "PNG32:$OUT/icon.png"
        convert "$TMP/icon16.png" -colors 16 "$OUT/icon.ico"
        convert "$TMP/$name@2x.png" -channel A -threshold 50% +channel -strip \
            -dither None -colors 16 "$TMP/icon16@2x.png"
        png "PNG32:$OUT/icon@2x.png" "$TMP/icon16@2x.png"
        # The desktop's icons: full colour with soft edges, one per hicolor size
        for n in 16 24 32 48 64 128 256; do
            mkdir -p "$ICONS/${n}x${n}"
            rsvg-convert -w "$n" -h "$n" "$SVG/$name.svg" -o "$TMP/icon-$n.png"
            png "PNG32:$ICONS/${n}x${n}/com.quorvale.KavoPanel.png" "$TMP/icon-$n.png"
        done
    fi
done <"$TMP/manifest"

echo "rendered into $OUT and $ICONS"
