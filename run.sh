#!/usr/bin/env bash
# Installs what is missing, builds, and renders the built-in demo through the plug-in into out/.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
./scripts/build.sh
mkdir -p out
build/tools/velmora-render --output out/demo.wav
build/tools/velmora-snapshot --output out/editor.png --audio-seconds 3
echo "Wrote out/demo.wav and out/editor.png"
