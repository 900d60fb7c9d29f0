#!/usr/bin/env bash
# Runs the test suite under the address and undefined-behaviour sanitizers (build-asan/), and
# the tests that start threads under the thread sanitizer (build-tsan/). Any report fails the
# script: undefined behaviour is compiled not to recover, and the runtime options below make
# every report end its process with a failure. The Windows tests stay in the normal tree.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
source scripts/compiler-cache.sh
configure() {
  cmake -S . -B "$1" -DVELMORA_SANITIZE="$2" -DVELMORA_WERROR=ON -DVELMORA_BENCH=OFF \
    "${launcher[@]}" >/dev/null
}

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:halt_on_error=1:exitcode=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1:exitcode=1
# fontconfig keeps process-wide configuration memory it never frees.
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:exitcode=1"
export TSAN_OPTIONS=halt_on_error=1:exitcode=1:second_deadlock_stack=1

configure build-asan address,undefined
cmake --build build-asan -j"$jobs"
ctest --test-dir build-asan --output-on-failure -j"$jobs"

# Every test that starts threads has one of these words in its name; the X11 editor's tests
# (an editor thread beside audio and host threads) run as one test under their own X server.
threaded='Thread|Concurrent|InstanceLock|velmora_editor_x11_tests'
configure build-tsan thread
cmake --build build-tsan -j"$jobs" --target velmora_frame_tests velmora_editor_tests \
  graphics_tests velmora_host_tests velmora_editor_x11_tests
ctest --test-dir build-tsan --output-on-failure -j"$jobs" -R "$threaded"
