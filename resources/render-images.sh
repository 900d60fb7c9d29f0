#!/usr/bin/env bash
# Regenerates the editor's images in img/ from the SVG sources in svg/. The PNGs are
# committed; the build uses them as they are. Needs rsvg-convert (Debian: librsvg2-bin)
# and ImageMagick's convert.
#
# Radio groups, switches and the Mirror button are drawn once in their own sources and
# composited into the background at their places (unlit); the lit pictures are cut from the
# same composition with the lit layers shown, and keep only the pixels that change, so that
# they line up with the background pixel for pixel.
set -euo pipefail
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# render SOURCE OUT [LAYER...]: renders an SVG with the named hidden layers shown.
render() {
  local source=$1 out=$2
  shift 2
  local script=""
  for layer in "$@"; do
    script+="s/id=\"$layer\" visibility=\"hidden\"/id=\"$layer\"/;"
  done
  sed -e "$script" "svg/$source" >"$tmp/variant.svg"
  rsvg-convert "$tmp/variant.svg" -o "$out"
}

# place BASE PICTURE X Y OUT: composites PICTURE over BASE at (X, Y).
place() {
  convert "$1" "$2" -geometry "+$3+$4" -compose over -composite "$5"
}

# changed LIT BASE OUT: LIT where it differs from BASE, transparent elsewhere (RGBA).
changed() {
  convert "$1" "$2" -compose difference -composite -alpha off -colorspace gray \
    -threshold 0 "$tmp/mask.png"
  convert "$1" -alpha off "$tmp/mask.png" -compose copy_opacity -composite "${stable[@]}" \
    PNG32:"$3"
}

# Final PNGs carry no time stamps, so that unchanged pictures regenerate byte for byte.
stable=(-strip -define png:exclude-chunks=date,time)

# Background: panels, captions and seats, then the unlit controls at their places.
rsvg-convert svg/background.svg -o "$tmp/bg.png"
render radio.svg "$tmp/radio-unlit.png"
render radio2.svg "$tmp/radio2-unlit.png"
render switch.svg "$tmp/switch-unlit.png" unlit
render mirror.svg "$tmp/mirror-unlit.png"
place "$tmp/bg.png" "$tmp/radio-unlit.png" 133 102 "$tmp/bg.png"
place "$tmp/bg.png" "$tmp/radio2-unlit.png" 99 356 "$tmp/bg.png"
place "$tmp/bg.png" "$tmp/radio2-unlit.png" 340 356 "$tmp/bg.png"
place "$tmp/bg.png" "$tmp/switch-unlit.png" 13 229 "$tmp/bg.png"
place "$tmp/bg.png" "$tmp/switch-unlit.png" 441 229 "$tmp/bg.png"
place "$tmp/bg.png" "$tmp/mirror-unlit.png" 215 220 "$tmp/bg.png"
convert "$tmp/bg.png" -alpha off "${stable[@]}" PNG24:img/bg.png

# crop IMAGE X Y W H OUT
crop() {
  convert "$1" -crop "$4x$5+$2+$3" +repage "$6"
}

# Ping Pong (RGBA) and Sweep Link (RGB): every row lit.
render radio.svg "$tmp/radio-lit.png" lit
place img/bg.png "$tmp/radio-lit.png" 133 102 "$tmp/lit.png"
crop "$tmp/lit.png" 133 102 82 85 "$tmp/radio-on.png"
crop img/bg.png 133 102 82 85 "$tmp/radio-off.png"
changed "$tmp/radio-on.png" "$tmp/radio-off.png" img/radio.png

render radio2.svg "$tmp/radio2-lit.png" lit
place img/bg.png "$tmp/radio2-lit.png" 99 356 "$tmp/lit.png"
crop "$tmp/lit.png" 99 356 60 85 "$tmp/radio2-on.png"
convert "$tmp/radio2-on.png" -alpha off "${stable[@]}" PNG24:img/radio2.png

# Mirror button, lit (RGBA).
render mirror.svg "$tmp/mirror-lit.png" lit
place img/bg.png "$tmp/mirror-lit.png" 215 220 "$tmp/lit.png"
crop "$tmp/lit.png" 215 220 70 27 "$tmp/mirror-on.png"
crop img/bg.png 215 220 70 27 "$tmp/mirror-off.png"
changed "$tmp/mirror-on.png" "$tmp/mirror-off.png" img/but.png

# Filter type switch: frames Off, LP, HP stacked (RGBA).
crop img/bg.png 13 229 42 22 "$tmp/switch-under.png"
frames=()
for state in off lp hp; do
  render switch.svg "$tmp/switch-$state.png" "$state"
  place img/bg.png "$tmp/switch-$state.png" 13 229 "$tmp/lit.png"
  crop "$tmp/lit.png" 13 229 42 22 "$tmp/switch-$state-on.png"
  changed "$tmp/switch-$state-on.png" "$tmp/switch-under.png" "$tmp/frame-$state.png"
  frames+=("$tmp/frame-$state.png")
done
convert "${frames[@]}" -append "${stable[@]}" PNG32:img/radio3.png

# Knobs (RGBA, turned by the editor) and the slider handle (RGB).
rsvg-convert svg/knob.svg | convert - "${stable[@]}" PNG32:img/knob.png
rsvg-convert svg/knob2.svg | convert - "${stable[@]}" PNG32:img/knob2.png
rsvg-convert svg/knob3.svg | convert - "${stable[@]}" PNG32:img/knob3.png
rsvg-convert svg/slider.svg | convert - -alpha off "${stable[@]}" PNG24:img/slider.png
