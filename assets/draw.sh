#!/usr/bin/env bash
# Draws the program's artwork from scratch with ImageMagick and writes the
# files the resource script embeds, next to this script:
#   go.jpg, done.jpg  faces of the Go and Done buttons (JPEG/JFIF, 54x20)
#   donate.gif        the donation picture (GIF89a, 147x47, 256-colour
#                     palette, one transparent colour)
#   kelvane.ico       the application icon (48, 32, 16 px, each in 256
#                     colours and in 32-bit colour)
# Run it again after changing a drawing; the outputs are committed so that a
# build needs no ImageMagick.
set -euo pipefail
cd "$(dirname "$0")"
magick=/usr/bin/convert   # the real ImageMagick, not a wrapper earlier in PATH
[ -x "$magick" ] || magick=convert
bold_font=DejaVu-Sans-Bold
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A glossy blue face: a vertical gradient, a lighter upper half for the gloss,
# a dark rim with rounded corners, and the word in white with a soft shadow.
draw_button() {  # word output
  local word=$1 output=$2
  "$magick" -size 54x20 xc:'#f0f0f0' \
    \( -size 54x20 gradient:'#4f98ea'-'#0a3a94' \) \
    \( -size 54x20 xc:black -fill white -draw 'roundrectangle 0,0 53,19 4,4' \) \
    -compose over -composite \
    -fill 'rgba(255,255,255,0.42)' -draw 'roundrectangle 2,1 51,9 3,3' \
    -fill 'rgba(255,255,255,0.18)' -draw 'rectangle 4,10 49,10' \
    -fill none -stroke '#082c6c' -strokewidth 1 -draw 'roundrectangle 0,0 53,19 4,4' \
    -stroke none -font "$bold_font" -pointsize 11 -gravity center \
    -fill '#062050' -annotate +1+1 "$word" \
    -fill white -annotate +0+0 "$word" \
    -strip -quality 95 -sampling-factor 1x1 "jpg:$output"
}
draw_button Go go.jpg
draw_button Done done.jpg

# The donation picture: an orange rounded button with the word Donate, and a
# row of five plain card shapes (stripe, chip, corner dot) in made-up colours.
cards=()
x=6
for colours in '#2a4da8 #f0f0f0' '#c83c3c #f6d040' '#2f8f4f #ffffff' '#6a3c9c #e0e0e0' '#383838 #d0a030'; do
  read -r face stripe <<<"$colours"
  cards+=(-fill "$face" -stroke '#505050' -strokewidth 1 -draw "roundrectangle $x,33 $((x + 21)),45 2,2"
          -stroke none -fill "$stripe" -draw "rectangle $((x + 1)),36 $((x + 20)),38"
          -fill '#e8c860' -draw "rectangle $((x + 3)),40 $((x + 6)),43"
          -fill '#ffffff' -draw "circle $((x + 17)),42 $((x + 17)),43")
  x=$((x + 28))
done
"$magick" -size 147x47 xc:none \
  \( -size 147x30 gradient:'#ffd27a'-'#f08a00' \
     \( -size 147x30 xc:black -fill white -draw 'roundrectangle 1,1 145,28 13,13' \) \
     -alpha off -compose copy_opacity -composite \) \
  -gravity northwest -compose over -composite \
  \( -size 147x30 xc:none -fill '#ffffff' -draw 'roundrectangle 8,3 138,13 8,8' \
     -channel A -evaluate multiply 0.45 +channel \) -compose over -composite \
  -fill none -stroke '#b35a00' -strokewidth 1.2 -draw 'roundrectangle 1,1 145,28 13,13' \
  -stroke none -font "$bold_font" -pointsize 15 -gravity north \
  -fill '#ffe2a8' -annotate +1+6 Donate -fill '#1c2e5c' -annotate +0+5 Donate \
  -gravity northwest "${cards[@]}" \
  "PNG32:$work/donate.png"
# One palette of 256 entries, one of them transparent: hard-edged alpha, the
# opaque pixels quantised to 255 colours.
"$magick" "$work/donate.png" -channel A -threshold 50% +channel \
  +dither -colors 255 -define gif:has-transparency=true "gif:donate.gif"

# The emblem: a blue rounded tile holding a white document with a red sweep
# across it, drawn large and scaled down for each size.
"$magick" -size 192x192 xc:none \
  -fill '#1d5fc4' -stroke '#0d3378' -strokewidth 6 -draw 'roundrectangle 8,8 184,184 32,32' \
  -stroke none -fill '#ffffff' -draw 'polygon 56,36 116,36 140,60 140,156 56,156' \
  -fill '#c7d7f0' -draw 'polygon 116,36 140,60 116,60' \
  -fill '#9fb6dc' -draw 'rectangle 70,76 124,84' -draw 'rectangle 70,96 124,104' -draw 'rectangle 70,116 110,124' \
  -stroke '#e03a1e' -strokewidth 20 -draw 'line 42,150 150,58' \
  -stroke '#ffffff' -strokewidth 4 -fill none -draw 'line 34,140 140,50' \
  "$work/emblem.png"
for size in 48 32 16; do
  "$magick" "$work/emblem.png" -filter Lanczos -resize ${size}x${size} "PNG32:$work/icon-$size.png"
  "$magick" "$work/icon-$size.png" -depth 8 "RGBA:$work/icon-$size-32.rgba"
  # 256 colours: at most 255 opaque colours, and a 1-bit transparency mask.
  "$magick" "$work/icon-$size.png" -channel A -threshold 50% +channel +dither -colors 255 \
    -depth 8 "RGBA:$work/icon-$size-8.rgba"
done
# ImageMagick writes every icon image in 32-bit colour, so the container is
# put together by a small helper that writes the 8-bit images as palettes.
python3 make_ico.py kelvane.ico \
  48:8:"$work/icon-48-8.rgba" 32:8:"$work/icon-32-8.rgba" 16:8:"$work/icon-16-8.rgba" \
  48:32:"$work/icon-48-32.rgba" 32:32:"$work/icon-32-32.rgba" 16:32:"$work/icon-16-32.rgba"
