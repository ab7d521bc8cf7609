#!/bin/sh
# Renders the main-window artwork from the SVG sources into assets/main/.
#   skins/*.bmp   24-bit BMP3, figure on pure white (#FFFFFF is cut away by the app)
#   faces/*.jpg   38x78 channel button faces
#   image1.gif    50x50 logo, 256 colours
#   icon.ico/png  32x32 app icon, 16 colours
# Needs: python3 (standard library), rsvg-convert (librsvg2-bin), ImageMagick convert,
# fonts-dejavu-core. Idempotent: the same sources always give the same files.
set -eu

SRC=$(cd "$(dirname "$0")" && pwd)
OUT=$(cd "$SRC/../../main" && pwd)
SVG=$SRC/svg
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT

# 1. SVG sources from the template (svg/*.svg are generated, kept for reference)
python3 "$SRC/gen_svg.py" "$SVG"

mkdir -p "$OUT/skins" "$OUT/faces"

# 2. Skins: render on transparent, then put the figure on pure white with the alpha
#    thresholded to 0/255 (crisp outline). Inside the figure no pixel may stay pure white,
#    so #FFFFFF there becomes #FEFEFE; soft edge pixels are blended with the rim colour.
python3 "$SRC/gen_svg.py" --manifest >"$TMP/manifest"
while read -r kind name w h rim; do
    rsvg-convert -w "$w" -h "$h" "$SVG/$name.svg" -o "$TMP/$name.png"
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
    elif [ "$kind" = spare ]; then
        # full bleed: no white ground at all
        convert "$TMP/$name.png" -background "$rim" -alpha remove -alpha off \
            -fuzz 0.5% -fill '#FEFEFE' -opaque '#FFFFFF' +fuzz -type TrueColor "BMP3:$OUT/skins/$name.bmp"
    elif [ "$kind" = face ]; then
        convert "$TMP/$name.png" -background "$rim" -alpha remove -alpha off -strip \
            -sampling-factor 1x1 -quality 95 "$OUT/faces/$name.jpg"
    elif [ "$kind" = logo ]; then
        convert "$TMP/$name.png" -background "$rim" -alpha remove -alpha off -strip \
            -dither FloydSteinberg -colors 256 "$OUT/image1.gif"
    elif [ "$kind" = icon ]; then
        # 16 colours, fully transparent corners kept as the icon's mask
        convert "$TMP/$name.png" -channel A -threshold 50% +channel -strip \
            -dither None -colors 16 "$TMP/icon16.png"
        convert "$TMP/icon16.png" -define png:exclude-chunks=date,time -strip "PNG32:$OUT/icon.png"
        convert "$TMP/icon16.png" -colors 16 "$OUT/icon.ico"
    fi
done <"$TMP/manifest"

echo "rendered into $OUT"
