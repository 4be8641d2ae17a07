#!/usr/bin/env bash
# Makes the sample project's files with ImageMagick: Front.jpg (a 1000 x 1000 photo-like
# picture), Back.bmp (552 x 472, the list of contents as the editor shows it) and Back.rtf.
set -euo pipefail
cd "$(dirname "$0")"
convert -size 1000x1000 radial-gradient:'#f6c3cf'-'#5a0f2e' \
    \( -size 1000x1000 plasma:'#c2185b'-'#311b2a' -blur 0x6 \) -compose overlay -composite \
    -fill '#fff4f6' -stroke '#3a0a1e' -strokewidth 2 -draw 'circle 500,470 500,300' \
    -fill '#c2185b' -stroke none -draw 'circle 500,470 500,360' \
    -fill '#e91e63' -draw 'circle 470,440 470,400' -fill '#ad1457' -draw 'circle 535,495 535,455' \
    -font DejaVu-Sans-Bold -pointsize 96 -fill white -gravity north -annotate +0+60 'VELMORA' \
    -font DejaVu-Sans -pointsize 56 -fill '#ffe4ec' -gravity south -annotate +0+80 'Last Rose Of Summer' \
    -quality 90 -sampling-factor 2x2 Front.jpg
convert -size 552x472 xc:white -font DejaVu-Sans -pointsize 13 -fill black \
    -annotate +40+40 'Velmora - Last Rose Of Summer 2002' \
    -annotate +40+80 '1.  The Last Rose Of Summer        4:12' \
    -annotate +40+105 '2.  Lantern Light                 3:48' \
    -annotate +40+130 '3.  Where The Heather Grows       5:01' \
    -annotate +40+155 '4.  Salt And Silver               3:22' \
    -annotate +40+180 '5.  Northern Quay                 4:35' \
    -annotate +40+205 '6.  A Letter Never Sent           3:59' \
    -annotate +40+230 '7.  Autumn Fields                 4:44' \
    -annotate +40+255 '8.  Evening Song                  6:10' \
    -type TrueColor BMP3:Back.bmp
