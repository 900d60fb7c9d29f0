#!/usr/bin/env bash
# Configures and builds the Linux tree (build/) and the Windows cross tree (build-win/).
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
source scripts/compiler-cache.sh
cmake -S . -B build -DVELMORA_WERROR=ON -DVELMORA_WINDOWS_BUILD_DIR="$PWD/build-win" "${launcher[@]}" "$@" >/dev/null
cmake --build build -j"$jobs"
cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DVELMORA_WERROR=ON "${launcher[@]}" \
  -DVELMORA_DEPS_SOURCE_DIR="$(scripts/deps-cache-dir.sh)" >/dev/null
cmake --build build-win -j"$jobs"
