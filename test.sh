#!/usr/bin/env bash
# Installs what is missing, builds the Linux and Windows plug-ins and their packages, runs
# every test, checks the Debian package and the Windows archive, then the sanitizer runs and
# the fuzzers. Each phase reports how long it took.
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
phase tests/package/check_deb.sh
phase tests/package/check_windows_zip.sh
phase ./scripts/sanitizers.sh
phase ./scripts/fuzz.sh
