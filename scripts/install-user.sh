#!/usr/bin/env bash
# Installs the plug-ins of a built tree into this user's own plug-in folders, no root needed:
# ~/.vst/velmora.so, ~/.lv2/velmora.lv2/, and ~/.vst3/Velmora.vst3/ and ~/.clap/Velmora.clap
# when the tree builds those formats. It uses the tree's own install rules (the "plugins"
# component, staged with cmake --install), so it installs exactly what the packages hold.
# Usage: scripts/install-user.sh [BUILD_DIR]   (default: build, as ./run.sh leaves it)
set -euo pipefail
tree="${1:-$(dirname "$0")/../build}"
if [ ! -f "$tree/cmake_install.cmake" ]; then
  echo "install-user.sh: no configured build tree in $tree (run ./run.sh first)" >&2
  exit 1
fi
stage="$(mktemp -d)"
trap 'rm -rf "$stage"' EXIT
cmake --install "$tree" --component plugins --prefix "$stage" --strip >/dev/null

for format in vst lv2 vst3 clap; do
  [ -d "$stage/lib/$format" ] || continue
  mkdir -p "$HOME/.$format"
  for item in "$stage/lib/$format"/*; do
    target="$HOME/.$format/$(basename "$item")"
    # Replaced whole: no file of an older version stays inside a bundle, and a host that
    # has the old module loaded keeps its own copy instead of seeing it change underneath.
    rm -rf "$target"
    cp -R "$item" "$target"
    echo "Installed $target"
  done
done
