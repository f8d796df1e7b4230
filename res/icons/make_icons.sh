#!/bin/bash
# Draws the program's icons with ImageMagick and writes the PNG files beside this
# script. The files are kept in the repository, so the build never needs ImageMagick;
# run this again only after changing a design.
#   128.png        32 x 32   program icon (window icon, about box)
#   128-16.png     16 x 16   program icon, small
#   tavik-256.png 256 x 256  program icon for the desktop
#   130.png        32 x 32   the about box's second picture
set -euo pipefail
cd "$(dirname "$0")"

# Every design is drawn on a 256-unit square, four times larger than the target
# and scaled down, which smooths the edges.
render() {  # render <size> <output> <draw commands...>
    local size=$1 out=$2
    shift 2
    local canvas=$((size * 4))
    local scale
    scale=$(awk -v c="$canvas" 'BEGIN { printf "%.6f", c / 256 }')
    convert -size "${canvas}x${canvas}" xc:none \
        -draw "scale $scale,$scale $*" \
        -filter Triangle -resize "${size}x${size}" \
        -strip -define png:exclude-chunks=date,time "PNG32:$out"
}

# A note pad: white sheet, blue binding band, ruled lines, and a green check mark
# over a white rim so that it reads on the lines. `plain` leaves out the rings and
# lines for the 16-pixel size, where they would only blur.
notepad() {  # notepad <outline width> <check width> <detail: lines|plain>
    local outline=$1 check=$2 detail=$3
    local rim=$((check + outline * 2))
    local lines=""
    if [[ $detail == lines ]]; then
        lines="fill '#ffffff' circle 84,54 84,64 circle 128,54 128,64 circle 172,54 172,64
               stroke '#c3cad4' stroke-width 8 stroke-linecap round
               line 76,116 180,116 line 76,148 180,148 line 76,180 180,180 line 76,212 140,212"
    fi
    echo "fill '#fffdf6' stroke none roundrectangle 36,24 220,240 26,26
          fill '#3b7dd8' roundrectangle 36,24 220,84 26,26 rectangle 36,60 220,84
          $lines
          fill none stroke '#44546a' stroke-width $outline roundrectangle 36,24 220,240 26,26
          stroke-linecap round stroke-linejoin round
          stroke '#ffffff' stroke-width $rim polyline 70,150 114,198 206,98
          stroke '#23a047' stroke-width $check polyline 70,150 114,198 206,98"
}

# A five-pointed golden star.
star() {
    local points
    points=$(awk 'BEGIN {
        pi = atan2(0, -1)
        for (i = 0; i < 10; i++) {
            r = (i % 2 == 0) ? 112 : 46
            a = -pi / 2 + i * pi / 5
            printf "%.1f,%.1f ", 128 + r * cos(a), 140 + r * sin(a)
        }
    }')
    echo "fill '#ffc928' stroke '#b07800' stroke-width 12 stroke-linejoin round polygon $points
          fill '#ffe38a' stroke none circle 104,118 104,126"
}

render 256 tavik-256.png "$(notepad 8 30 lines)"
render 32 128.png "$(notepad 12 34 lines)"
render 16 128-16.png "$(notepad 16 44 plain)"
render 32 130.png "$(star)"
