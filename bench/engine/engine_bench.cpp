// Cost of the delay engine per stereo frame at 48 kHz, 120 BPM, 256-frame blocks, beside
// the floor of its filter recursion (engine_cases.h).
#include <benchmark/benchmark.h>

#include <vector>

#include "engine_cases.h"

namespace velmora::dsp {
namespace {

using bench::EngineCase;
using bench::kBlock;
using bench::kSignalFrames;
using bench::Setup;

benchmark::Counter PerFrame(int64_t frames) {
  return benchmark::Counter(static_cast<double>(frames),
                            benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_FilterFloor(benchmark::State& state) {
  const testing::StereoBuffer in = bench::NoisySignal();
  std::vector<double> outLeft(kBlock);
  std::vector<double> outRight(kBlock);
  bench::FloorPair floor;
  size_t first = 0;
  for (auto _ : state) {
    floor.Block(in, first, outLeft.data(), outRight.data());
    benchmark::DoNotOptimize(outLeft.data());
    benchmark::DoNotOptimize(outRight.data());
    first = first + 2 * kBlock <= kSignalFrames ? first + kBlock : 0;
  }
  state.counters["per_frame"] = PerFrame(state.iterations() * kBlock);
}
BENCHMARK(BM_FilterFloor);

void RunEngine(benchmark::State& state, Setup setup) {
  EngineCase engine(setup);
  if (!engine.Ready(setup)) {
    state.SkipWithError("bypass did not engage");
    return;
  }
  for (auto _ : state) {
    engine.Block();
    benchmark::DoNotOptimize(engine.out.left.data());
  }
  state.counters["per_frame"] = PerFrame(state.iterations() * kBlock);
}

void BM_EngineDefaults(benchmark::State& state) {
  RunEngine(state, Setup::kDefaults);
}
void BM_EngineEverythingOn(benchmark::State& state) {
  RunEngine(state, Setup::kEverythingOn);
}
void BM_EngineBypassedSilence(benchmark::State& state) {
  RunEngine(state, Setup::kBypassedSilence);
}
BENCHMARK(BM_EngineDefaults);
BENCHMARK(BM_EngineEverythingOn);
BENCHMARK(BM_EngineBypassedSilence);

}  // namespace
}  // namespace velmora::dsp
