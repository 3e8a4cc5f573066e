#!/bin/sh
# Draws the program's own pictures with ImageMagick: the nine 16x16 menu images, the drawer
# editor's two headings, the about box's two logos and the sample drawer icons shipped in
# icons/. Every glyph is drawn at 64x64 and scaled down, so the small sizes come out smooth.
# The results are committed; run this again only to change a picture.
set -eu
cd "$(dirname "$0")"
mkdir -p menu dialogs icons

# Shapes, in 64x64 coordinates.
DRAWER="-fill '#8d6e63' -stroke '#4e342e' -strokewidth 3 -draw 'roundrectangle 6,18 58,56 5,5' \
 -fill '#bcaaa4' -draw 'roundrectangle 10,28 54,52 3,3' \
 -fill '#4e342e' -stroke none -draw 'roundrectangle 24,36 40,42 2,2'"
OPEN_DRAWER="-fill '#6d4c41' -stroke '#3e2723' -strokewidth 3 -draw 'roundrectangle 6,8 58,34 5,5' \
 -fill '#d7ccc8' -draw 'polygon 6,34 58,34 62,58 2,58' \
 -fill '#3e2723' -stroke none -draw 'roundrectangle 24,44 40,50 2,2'"
FOLDER="-fill '#f9a825' -stroke '#8d6e00' -strokewidth 3 -draw 'polygon 4,14 24,14 30,20 60,20 60,54 4,54' \
 -fill '#fdd835' -draw 'polygon 4,26 60,26 60,54 4,54'"
PLUS="-fill '#2e7d32' -stroke '#1b5e20' -strokewidth 2 -draw 'rectangle 41,30 51,62' -draw 'rectangle 30,41 62,51'"
PENCIL="-fill '#fbc02d' -stroke '#5d4037' -strokewidth 3 -draw 'polygon 46,6 58,18 24,52 12,40' \
 -fill '#ffccbc' -draw 'polygon 12,40 24,52 6,58' -fill '#e57373' -draw 'polygon 46,6 58,18 62,12 52,2'"
ARROW_OUT="-fill '#1565c0' -stroke none -draw 'polygon 34,4 60,4 60,30 51,21 36,36 28,28 43,13'"
INFO="-fill '#1976d2' -stroke '#0d47a1' -strokewidth 3 -draw 'circle 32,32 32,4' \
 -fill white -stroke none -draw 'circle 32,17 32,12' -draw 'roundrectangle 27,25 37,51 2,2'"
UPDATE="-fill '#43a047' -stroke '#1b5e20' -strokewidth 3 -draw 'circle 32,32 32,4' \
 -fill white -stroke none -draw 'rectangle 27,14 37,36' -draw 'polygon 16,32 48,32 32,50'"
SLIDERS="-fill '#607d8b' -stroke none -draw 'roundrectangle 6,12 58,16 2,2' \
 -draw 'roundrectangle 6,30 58,34 2,2' -draw 'roundrectangle 6,48 58,52 2,2' \
 -fill '#eceff1' -stroke '#37474f' -strokewidth 3 -draw 'roundrectangle 38,6 48,22 2,2' \
 -draw 'roundrectangle 14,24 24,40 2,2' -draw 'roundrectangle 30,42 40,58 2,2'"
CLOSE="-fill '#e53935' -stroke '#b71c1c' -strokewidth 3 -draw 'circle 32,32 32,4' \
 -stroke white -strokewidth 8 -draw 'line 21,21 43,43' -draw 'line 43,21 21,43'"
WINDOW="-fill '#eceff1' -stroke '#455a64' -strokewidth 3 -draw 'roundrectangle 4,8 52,50 3,3' \
 -fill '#1e88e5' -stroke none -draw 'rectangle 6,10 50,20'"

draw() { # size output shapes...
    size=$1; out=$2; shift 2
    eval "convert -size 64x64 xc:none $* -resize ${size}x${size} PNG32:$out"
}

draw 16 menu/mAbrir.png "$OPEN_DRAWER"
draw 16 menu/mAbrirEx.png "$FOLDER" "$ARROW_OUT"
draw 16 menu/mNombre.png "$PENCIL"
draw 16 menu/mCAdd.png "$DRAWER" "$PLUS"
draw 16 menu/mCAbout.png "$INFO"
draw 16 menu/mCUpdate.png "$UPDATE"
draw 16 menu/mCConf.png "$SLIDERS"
draw 16 menu/mCCerrar.png "$CLOSE"
draw 16 menu/mPadd2.png "$WINDOW" "$PLUS"

draw 32 dialogs/imgAdd.png "$DRAWER" "$PLUS"
draw 32 dialogs/imgMod.png "$DRAWER" "$PENCIL"
draw 64 dialogs/imgLogo.png "$OPEN_DRAWER"
convert -size 64x64 xc:none -fill '#37474f' -draw 'roundrectangle 2,2 62,62 10,10' \
    -fill white -font DejaVu-Sans-Bold -pointsize 30 -gravity center -annotate +0+0 'PW' \
    PNG32:dialogs/ImageEmpresas.png

icon() { # name shapes...
    name=$1; shift
    draw 48 "/tmp/pindrel-icon-$name.png" "$@"
    convert "/tmp/pindrel-icon-$name.png" -define icon:auto-resize=48,32,16 "icons/$name.ico"
    rm -f "/tmp/pindrel-icon-$name.png"
}

icon drawer "$DRAWER"
icon folder "$FOLDER"
icon documents "$FOLDER" "-fill white -stroke '#607d8b' -strokewidth 2 -draw 'rectangle 30,30 54,58' \
 -draw 'line 34,38 50,38' -draw 'line 34,44 50,44' -draw 'line 34,50 46,50'"
icon music "$FOLDER" "-fill '#6a1b9a' -stroke none -draw 'circle 30,50 30,43' -draw 'circle 50,46 50,39' \
 -draw 'rectangle 34,26 37,50' -draw 'rectangle 54,22 57,46' -draw 'polygon 34,26 57,22 57,28 34,32'"
icon pictures "$FOLDER" "-fill '#e3f2fd' -stroke '#1565c0' -strokewidth 2 -draw 'rectangle 26,30 58,58' \
 -fill '#43a047' -stroke none -draw 'polygon 28,56 38,42 46,52 50,46 56,56' -fill '#fbc02d' -draw 'circle 50,36 50,33'"
icon downloads "$FOLDER" "$UPDATE"
draw 32 icons/projects.png "$DRAWER" "$PENCIL"
