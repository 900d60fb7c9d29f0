#!/bin/sh
# Fails when a source file includes a header from a folder above its own. The folders of the
# product, each with the folders it may include from (its own always allowed):
#   clap, vst3  binding plugin controls editor graphics resources engine frame
#   binding   plugin controls editor graphics resources engine frame
#   plugin    controls editor graphics resources engine frame
#   lv2       plugin controls editor graphics resources engine frame
#   controls  editor graphics frame
#   editor    graphics frame
#   graphics  resources
#   engine, frame, resources: nothing but themselves
# tools/, tests/, bench/ and fuzz/ sit outside the product and may include anything.
# Usage: check_includes.sh [ROOT]   (default: the checkout this script belongs to)
set -eu
root=${1:-$(cd "$(dirname "$0")/../.." && pwd)}

allowed() {
  case $1 in
    clap | vst3) echo "binding plugin controls editor graphics resources engine frame" ;;
    binding) echo "plugin controls editor graphics resources engine frame" ;;
    plugin | lv2) echo "plugin controls editor graphics resources engine frame" ;;
    controls) echo "editor graphics frame" ;;
    editor) echo "graphics frame" ;;
    graphics) echo "resources" ;;
    *) echo "" ;;
  esac
}

status=0
checked=0
for folder in clap vst3 binding plugin lv2 controls editor graphics engine frame resources; do
  [ -d "$root/$folder" ] || continue
  permitted=" $folder $(allowed "$folder") "
  # Every quoted include of a project folder: file:line:"folder/...".
  matches=$(cd "$root" && grep -rnE --include='*.h' --include='*.cpp' --include='*.c' \
    '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[a-z0-9_]+/' "$folder" || true)
  [ -n "$matches" ] || continue
  while IFS= read -r line; do
    checked=$((checked + 1))
    target=$(printf '%s\n' "$line" | sed -E 's/^[^"]*"([a-z0-9_]+)\/.*/\1/')
    case $target in
      clap | vst3 | binding | plugin | lv2 | controls | editor | graphics | engine | frame | resources | tools | tests | bench | fuzz) ;;
      *) continue ;;
    esac
    case $permitted in
      *" $target "*) ;;
      *)
        echo "upward include: $line ($folder may not include $target/)"
        status=1
        ;;
    esac
  done <<LINES
$matches
LINES
done

if [ "$status" -eq 0 ]; then
  echo "includes point down only ($checked project includes checked)"
fi
exit "$status"
