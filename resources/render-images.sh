#!/usr/bin/env bash
# Regenerates the editor's images in img/ from the SVG sources in svg/: the set drawn at
# editor size (bg.png, knob.png, ...) and the same set at twice that size for high-density
# screens (bg@2x.png, knob@2x.png, ...). The PNGs are committed; the build uses them as they
# are. Needs rsvg-convert (Debian: librsvg2-bin) and ImageMagick's convert.
#
# Radio groups, switches and the Mirror button are drawn once in their own sources and
# composited into the background at their places (unlit); the lit pictures are cut from the
# same composition with the lit layers shown, and keep only the pixels that change, so that
# they line up with the background pixel for pixel. Every position below is in editor
# pixels; the double-size set multiplies it by two, so both sets line up the same way.
set -euo pipefail
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Final PNGs carry no time stamps, so that unchanged pictures regenerate byte for byte.
stable=(-strip -define png:exclude-chunks=date,time)

zoom=1    # set by render_set
suffix="" # "" or "@2x"

# svg SOURCE: renders an SVG at the current zoom to stdout.
svg() {
  rsvg-convert -z "$zoom" "$1"
}

# render SOURCE OUT [LAYER...]: renders an SVG with the named hidden layers shown.
render() {
  local source=$1 out=$2
  shift 2
  local script=""
  for layer in "$@"; do
    script+="s/id=\"$layer\" visibility=\"hidden\"/id=\"$layer\"/;"
  done
  sed -e "$script" "svg/$source" >"$tmp/variant.svg"
  svg "$tmp/variant.svg" >"$out"
}

# place BASE PICTURE X Y OUT: composites PICTURE over BASE at (X, Y) editor pixels.
place() {
  convert "$1" "$2" -geometry "+$(($3 * zoom))+$(($4 * zoom))" -compose over -composite "$5"
}

# crop IMAGE X Y W H OUT, in editor pixels.
crop() {
  convert "$1" -crop "$(($4 * zoom))x$(($5 * zoom))+$(($2 * zoom))+$(($3 * zoom))" +repage "$6"
}

# changed LIT BASE OUT: LIT where it differs from BASE, transparent elsewhere (RGBA).
changed() {
  convert "$1" "$2" -compose difference -composite -alpha off -colorspace gray \
    -threshold 0 "$tmp/mask.png"
  convert "$1" -alpha off "$tmp/mask.png" -compose copy_opacity -composite "${stable[@]}" \
    PNG32:"$3"
}

# out NAME: the committed file of this set.
out() {
  echo "img/$1$suffix.png"
}

# render_set ZOOM SUFFIX: writes the whole set at that zoom.
render_set() {
  zoom=$1
  suffix=$2
  local bg
  bg=$(out bg)

  # Background: panels, captions and seats, then the unlit controls at their places.
  svg svg/background.svg >"$tmp/bg.png"
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
  convert "$tmp/bg.png" -alpha off "${stable[@]}" PNG24:"$bg"

  # Ping Pong (RGBA) and Sweep Link (RGB): every row lit.
  render radio.svg "$tmp/radio-lit.png" lit
  place "$bg" "$tmp/radio-lit.png" 133 102 "$tmp/lit.png"
  crop "$tmp/lit.png" 133 102 82 85 "$tmp/radio-on.png"
  crop "$bg" 133 102 82 85 "$tmp/radio-off.png"
  changed "$tmp/radio-on.png" "$tmp/radio-off.png" "$(out radio)"

  render radio2.svg "$tmp/radio2-lit.png" lit
  place "$bg" "$tmp/radio2-lit.png" 99 356 "$tmp/lit.png"
  crop "$tmp/lit.png" 99 356 60 85 "$tmp/radio2-on.png"
  convert "$tmp/radio2-on.png" -alpha off "${stable[@]}" PNG24:"$(out radio2)"

  # Mirror button, lit (RGBA).
  render mirror.svg "$tmp/mirror-lit.png" lit
  place "$bg" "$tmp/mirror-lit.png" 215 220 "$tmp/lit.png"
  crop "$tmp/lit.png" 215 220 70 27 "$tmp/mirror-on.png"
  crop "$bg" 215 220 70 27 "$tmp/mirror-off.png"
  changed "$tmp/mirror-on.png" "$tmp/mirror-off.png" "$(out but)"

  # Filter type switch: frames Off, LP, HP stacked (RGBA).
  crop "$bg" 13 229 42 22 "$tmp/switch-under.png"
  local frames=()
  for state in off lp hp; do
    render switch.svg "$tmp/switch-$state.png" "$state"
    place "$bg" "$tmp/switch-$state.png" 13 229 "$tmp/lit.png"
    crop "$tmp/lit.png" 13 229 42 22 "$tmp/switch-$state-on.png"
    changed "$tmp/switch-$state-on.png" "$tmp/switch-under.png" "$tmp/frame-$state.png"
    frames+=("$tmp/frame-$state.png")
  done
  convert "${frames[@]}" -append "${stable[@]}" PNG32:"$(out radio3)"

  # Knobs (RGBA, turned by the editor) and the slider handle (RGB).
  svg svg/knob.svg | convert - "${stable[@]}" PNG32:"$(out knob)"
  svg svg/knob2.svg | convert - "${stable[@]}" PNG32:"$(out knob2)"
  svg svg/knob3.svg | convert - "${stable[@]}" PNG32:"$(out knob3)"
  svg svg/slider.svg | convert - -alpha off "${stable[@]}" PNG24:"$(out slider)"
}

render_set 1 ""
render_set 2 "@2x"
