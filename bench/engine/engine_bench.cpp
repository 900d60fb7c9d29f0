// Cost of the delay engine per stereo frame at 48 kHz, 120 BPM, 256-frame blocks, beside
// the floor: the two side filters' recursion alone, which no correct implementation can
// shorten (two dependent multiply-adds per side per sample).
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "engine_test_rig.h"

namespace velmora::dsp {
namespace {

using testing::EngineRig;
using testing::StereoBuffer;

constexpr int kBlock = 256;
constexpr size_t kSignalFrames = 48000;

StereoBuffer Signal() {
  StereoBuffer in(kSignalFrames);
  unsigned seed = 12345;
  for (size_t i = 0; i < kSignalFrames; ++i) {
    seed = seed * 1664525u + 1013904223u;
    const double noise = static_cast<double>(seed >> 8) / 16777216.0 - 0.5;
    in.left[i] = 0.3 * std::sin(0.013 * static_cast<double>(i)) + 0.1 * noise;
    in.right[i] = 0.3 * std::cos(0.007 * static_cast<double>(i)) - 0.1 * noise;
  }
  return in;
}

benchmark::Counter PerFrame(int64_t frames) {
  return benchmark::Counter(static_cast<double>(frames),
                            benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

struct Filter {
  double g = 0.2;
  double damping = 0.95;
  double velocity = 0.0;
  double out = 0.0;
};

inline double Step(Filter& f, double t) {
  const double v = (t - f.out) * f.g + f.damping * f.velocity;
  f.velocity = v;
  double y = v * f.g + f.damping * f.out;
  y = y >= 1.0 ? 1.0 : y;
  y = y >= -1.0 ? y : -1.0;
  f.out = y;
  return y;
}

void BM_FilterFloor(benchmark::State& state) {
  const StereoBuffer in = Signal();
  std::vector<double> outLeft(kBlock);
  std::vector<double> outRight(kBlock);
  Filter left;
  Filter right;
  right.g = 0.3;
  size_t first = 0;
  for (auto _ : state) {
    for (int i = 0; i < kBlock; ++i) {
      outLeft[i] = Step(left, in.left[first + i]);
      outRight[i] = Step(right, in.right[first + i]);
    }
    benchmark::DoNotOptimize(outLeft.data());
    benchmark::DoNotOptimize(outRight.data());
    first = first + 2 * kBlock <= kSignalFrames ? first + kBlock : 0;
  }
  state.counters["per_frame"] = PerFrame(state.iterations() * kBlock);
}
BENCHMARK(BM_FilterFloor);

enum class Setup { kDefaults, kEverythingOn, kBypassedSilence };

void RunEngine(benchmark::State& state, Setup setup) {
  EngineRig rig;
  rig.host.sampleRate = 48000.0;
  rig.host.samplesPerBeat = 24000.0;
  rig.Open();
  if (setup == Setup::kEverythingOn) {
    rig.Set(kLeftSweepLink, kLinkPanWidth);
    rig.Set(kRightSweepLink, kLinkFeedback);
    rig.Set(kPingPong, 4);  // "Dotted 2"
    rig.Set(kFeedback, 90);
  }
  StereoBuffer in = Signal();
  if (setup == Setup::kBypassedSilence) {
    in = StereoBuffer(kSignalFrames);
  }
  StereoBuffer out(kSignalFrames);
  // Run past the first crossfade; for silence, until the bypass has engaged.
  for (size_t first = 0; first + kBlock <= kSignalFrames; first += kBlock) {
    rig.Block(in, out, first, kBlock);
  }
  if (setup == Setup::kBypassedSilence && !rig.engine.Bypassed()) {
    state.SkipWithError("bypass did not engage");
    return;
  }
  size_t first = 0;
  for (auto _ : state) {
    rig.Block(in, out, first, kBlock);
    benchmark::DoNotOptimize(out.left.data());
    first = first + 2 * kBlock <= kSignalFrames ? first + kBlock : 0;
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
