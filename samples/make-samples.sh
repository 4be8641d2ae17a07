#!/usr/bin/env bash
# Makes the sample project's files with ImageMagick: Front.jpg (a 1000 x 1000 photo-like
# picture), Back.bmp (552 x 472, the list of contents as the editor shows it) and Back.rtf.
set -euo pipefail
cd "$(dirname "$0")"
convert -seed 2002 -size 1000x1000 radial-gradient:'#f6c3cf'-'#5a0f2e' \
    \( -size 1000x1000 plasma:'#c2185b'-'#311b2a' -blur 0x6 \) -compose overlay -composite \
    -fill '#fff4f6' -stroke '#3a0a1e' -strokewidth 2 -draw 'circle 500,470 500,300' \
    -fill '#c2185b' -stroke none -draw 'circle 500,470 500,360' \
    -fill '#e91e63' -draw 'circle 470,440 470,400' -fill '#ad1457' -draw 'circle 535,495 535,455' \
    -font DejaVu-Sans-Bold -pointsize 96 -fill white -gravity north -annotate +0+60 'VELMORA' \
    -font DejaVu-Sans -pointsize 56 -fill '#ffe4ec' -gravity south -annotate +0+80 'Last Rose Of Summer' \
    -quality 90 -sampling-factor 2x2 Front.jpg
convert -size 552x472 xc:white -font Liberation-Sans-Bold -pointsize 13 -fill black \
    -annotate +12+24 'Velmora - Last Rose Of Summer 2002' -font Liberation-Sans \
    -annotate +12+70 '1.' -annotate +48+70 'The Last Rose Of Summer' -annotate +300+70 '4:12' \
    -annotate +12+92 '2.' -annotate +48+92 'Lantern Light' -annotate +300+92 '3:48' \
    -annotate +12+114 '3.' -annotate +48+114 'Where The Heather Grows' -annotate +300+114 '5:01' \
    -annotate +12+136 '4.' -annotate +48+136 'Salt And Silver' -annotate +300+136 '3:22' \
    -annotate +12+158 '5.' -annotate +48+158 'Northern Quay' -annotate +300+158 '4:35' \
    -annotate +12+180 '6.' -annotate +48+180 'A Letter Never Sent' -annotate +300+180 '3:59' \
    -annotate +12+202 '7.' -annotate +48+202 'Autumn Fields' -annotate +300+202 '4:44' \
    -annotate +12+224 '8.' -annotate +48+224 'Evening Song' -annotate +300+224 '6:10' \
    -font Liberation-Sans-Italic -fill '#800040' -annotate +12+268 'Recorded in Galway, summer 2002.' \
    -type TrueColor BMP3:Back.bmp
