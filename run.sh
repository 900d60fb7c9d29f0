#!/usr/bin/env bash
# The quick first run: installs what building the Linux plug-ins and tools needs, builds only
# those, renders the built-in demo through the plug-in, draws the editor, and copies every
# plug-in bundle into out/. ./test.sh builds and checks everything else.
set -euo pipefail
cd "$(dirname "$0")"
start=$SECONDS
./scripts/install-deps.sh build
./scripts/build.sh --quick
mkdir -p out
build/tools/velmora-render --quiet --output out/demo.wav
build/tools/velmora-snapshot --output out/editor.png --audio-seconds 3 >/dev/null
build/tools/velmora-snapshot --scale 2 --output out/editor@2x.png --audio-seconds 3 >/dev/null

# Each bundle is replaced whole, so nothing of an older build stays inside it.
bundles=(build/plugin/velmora.so build/lv2-bundles/velmora.lv2)
cached() { sed -n "s/^$1:[A-Z]*=//p" build/CMakeCache.txt; }
vst3_bundle=$(cached VELMORA_VST3_BUNDLE_DIR)
clap_module=$(cached VELMORA_CLAP_MODULE)
for bundle in "$vst3_bundle" "$clap_module"; do
  if [ -n "$bundle" ] && [ -e "$bundle" ]; then
    bundles+=("$bundle")
  fi
done
for bundle in "${bundles[@]}"; do
  rm -rf "out/$(basename "$bundle")"
  cp -R "$bundle" out/
done

format_of() {
  case "$1" in
    *.so) echo "VST 2" ;;
    *.lv2) echo LV2 ;;
    *.vst3) echo "VST 3" ;;
    *.clap) echo CLAP ;;
  esac
}
echo "Done in $((SECONDS - start)) s. Outputs:"
printf '  %-18s %s\n' out/demo.wav "the built-in demo rendered through Velmora" \
  out/editor.png "the editor as it appears in a host" \
  out/editor@2x.png "the same at 200 %, for high-density screens"
for bundle in "${bundles[@]}"; do
  printf '  %-18s %s\n' "out/$(basename "$bundle")" "the $(format_of "$bundle") plug-in"
done
cat <<EOT
Install for this user, no root:  scripts/install-user.sh
Install for everyone:            sudo cmake --install build --prefix /usr
                                 (or the Debian package: README.md, "Build a package")
Then let your host rescan its plug-ins. The user's guide: docs/guide.md
EOT
