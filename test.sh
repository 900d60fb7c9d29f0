#!/usr/bin/env bash
# Installs what is missing, builds the Linux and Windows plug-ins and runs every test, then
# the sanitizer runs and the fuzzers. Each phase reports how long it took.
set -euo pipefail
cd "$(dirname "$0")"
phase() {
  local start=$SECONDS
  "$@"
  echo "test.sh: '$*' took $((SECONDS - start)) s"
}
phase ./scripts/install-deps.sh
phase ./scripts/build.sh
phase ctest --test-dir build --output-on-failure -j"$(nproc)"
phase ./scripts/sanitizers.sh
phase ./scripts/fuzz.sh
