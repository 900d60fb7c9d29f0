#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz/) in build-fuzz/ with clang, address and undefined-
# behaviour checks, and runs each for a fixed number of inputs from its committed seed corpus
# (fuzz/corpus/<target>/) with a fixed seed. Inputs the run discovers go to a scratch folder
# that starts empty every time, so the run takes the same time on every machine; a crash, a
# sanitizer report, a leak or a failed check fails the script, and the input that caused it
# is left in build-fuzz/artifacts/. Longer runs: see "Fuzzing" in README.md.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/compiler-cache.sh
# Inputs per target, sized so that the two lanes below take about a minute on two cores.
declare -A runs=([png]=100000 [fx_preset]=100000 [chunk]=6000 [dispatcher]=3000)
targets=(png fx_preset chunk dispatcher)

cmake -S fuzz -B build-fuzz -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_DEPS_SOURCE_DIR="$(scripts/deps-cache-dir.sh)" \
  "${launcher[@]}" >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target "${targets[@]/%/_fuzzer}"

mkdir -p build-fuzz/artifacts build-fuzz/logs
run_fuzzers() {
  for target in "$@"; do
    local scratch="build-fuzz/scratch/$target" log="build-fuzz/logs/$target.log" start=$SECONDS
    rm -rf "$scratch" && mkdir -p "$scratch"
    if ! "build-fuzz/${target}_fuzzer" -runs="${runs[$target]}" -seed=1 -timeout=60 \
      -artifact_prefix="build-fuzz/artifacts/$target-" "$scratch" "fuzz/corpus/$target" >"$log" 2>&1; then
      tail -n 60 "$log"
      echo "fuzz: ${target}_fuzzer failed; its input is in build-fuzz/artifacts/, the log in $log" >&2
      return 1
    fi
    echo "fuzz: ${target}_fuzzer ran ${runs[$target]} inputs in $((SECONDS - start)) s:" \
      "$(grep -o 'cov: [0-9]*' "$log" | tail -n 1)"
  done
}
# The dispatcher target takes as long as the other three together: it runs in a lane of its own.
run_fuzzers dispatcher &
dispatcher_lane=$!
status=0
run_fuzzers png fx_preset chunk || status=1
wait "$dispatcher_lane" || status=1
exit "$status"
