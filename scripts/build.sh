#!/usr/bin/env bash
# Configures and builds the Linux tree (build/) and the Windows cross tree (build-win/), with
# every test and tool, then packs the Debian package (build/packages/) and the Windows zip
# archive (build-win/packages/). `build.sh --quick` builds only what is installed from the
# Linux tree (the plug-ins, velmora-render, velmora-snapshot, velmora-validate), without the
# test suites, the benchmarks or the Windows tree: what ./run.sh needs.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
source scripts/compiler-cache.sh
quick=0
if [ "${1:-}" = --quick ]; then
  quick=1
  shift
fi

if [ "$quick" -eq 1 ]; then
  cmake -S . -B build -DVELMORA_WERROR=ON -DVELMORA_TESTS=OFF -DVELMORA_BENCH=OFF \
    "${launcher[@]}" "$@" >/dev/null
  cmake --build build -j"$jobs" --target velmora_products
  exit 0
fi

cmake -S . -B build -DVELMORA_WERROR=ON -DVELMORA_TESTS=ON -DVELMORA_BENCH=ON \
  -DVELMORA_WINDOWS_BUILD_DIR="$PWD/build-win" "${launcher[@]}" "$@" >/dev/null
cmake --build build -j"$jobs"
cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DVELMORA_WERROR=ON "${launcher[@]}" \
  -DVELMORA_DEPS_SOURCE_DIR="$(scripts/deps-cache-dir.sh)" >/dev/null
cmake --build build-win -j"$jobs"

# The packages, from the same install rules as `cmake --install`.
for tree in build build-win; do
  cpack --config "$tree/CPackConfig.cmake" >"$tree/cpack.log" 2>&1 || {
    cat "$tree/cpack.log"
    exit 1
  }
  grep -o "$PWD/$tree/packages/[^ ]*\.\(deb\|zip\)" "$tree/cpack.log" | sed 's/^/Packed /'
done
