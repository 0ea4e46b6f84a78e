#!/usr/bin/env bash
# Draws the program's decorative JPEG pictures with ImageMagick. The results are
# committed in data/pictures; run this only to change them.
set -euo pipefail
out=$(dirname "$0")/../data/pictures
mkdir -p "$out"
font=DejaVu-Sans-Bold

# Splash picture, 89 x 121.
convert -size 89x121 gradient:'#1c3f94'-'#05103a' \
  -fill none -stroke "#f5c400" -strokewidth 6 -draw "polyline 16,28 44,92 73,28" \
  -fill none -stroke '#ffffff' -strokewidth 1 -draw "rectangle 4,4 84,116" \
  -fill white -stroke none -font "$font" -pointsize 10 -gravity south -annotate +0+8 'PRO' \
  -quality 88 "$out/splash.jpg"

# Projects dialog picture, 169 x 313.
convert -size 169x313 gradient:'#e8eefc'-'#3a5bb8' \
  -fill none -stroke "#f5c400" -strokewidth 9 -draw "polyline 40,60 84,160 128,60" \
  -fill '#ffffff' -stroke none -font "$font" -pointsize 15 -gravity south \
  -annotate +0+110 "Vexa Web" -annotate +0+88 "Projects" \
  -fill none -stroke '#1c3f94' -strokewidth 2 -draw "rectangle 14,262 154,282" \
  -draw "line 14,290 154,290" -draw "line 14,298 120,298" \
  -quality 88 "$out/projects.jpg"

# Code generator strip, 97 x 313.
convert -size 97x313 gradient:'#f5c400'-'#c04000' \
  -fill '#ffffff' -stroke none -font "$font" -pointsize 20 -gravity center \
  -annotate +0-90 '<>' -annotate +0-40 '</>' -pointsize 11 -annotate 270x270+4+70 'HTML Code Generator' \
  -quality 88 "$out/codegen.jpg"
