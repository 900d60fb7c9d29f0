#!/usr/bin/env bash
# Installs what is missing, builds, and renders the built-in demo through the plug-in into out/.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
./scripts/build.sh
mkdir -p out
build/tools/velmora-render --output out/demo.wav
build/tools/velmora-snapshot --output out/editor.png --audio-seconds 3
rm -rf out/velmora.lv2
cp -R build/lv2-bundles/velmora.lv2 out/velmora.lv2
echo "Wrote out/demo.wav, out/editor.png and the LV2 bundle out/velmora.lv2"
