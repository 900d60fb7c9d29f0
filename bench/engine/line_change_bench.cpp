// What a tempo change and a sweep-rate change cost the block they happen in, beside a steady
// block (48 kHz, 120 BPM, 256 frames, default settings, a loud signal), and how many
// allocations a tempo ramp from 120 down to 60 BPM makes (counted by allocation_counter.cpp).
#include <benchmark/benchmark.h>

#include <cmath>

#include "engine_test_rig.h"
#include "tests/support/counting_allocator.h"

namespace velmora::dsp {
namespace {

using testing::EngineRig;
using testing::StereoBuffer;

constexpr int kBlock = 256;
constexpr size_t kSignalFrames = 48000;
constexpr double kRate = 48000.0;

double SamplesPerBeatAt(double tempo) {
  return kRate * 60.0 / tempo;
}

StereoBuffer Signal() {
  StereoBuffer in(kSignalFrames);
  for (size_t i = 0; i < kSignalFrames; ++i) {
    const double t = static_cast<double>(i);
    in.left[i] = 0.3 * std::sin(0.013 * t);
    in.right[i] = 0.3 * std::cos(0.007 * t);
  }
  return in;
}

// An opened engine at 48 kHz and 120 BPM, run past its first crossfade.
struct Warmed {
  Warmed() : in(Signal()), out(kSignalFrames) {
    rig.host.sampleRate = kRate;
    rig.host.samplesPerBeat = SamplesPerBeatAt(120.0);
    rig.Open();
    rig.engine.ResetEngine();  // what effSetSampleRate does before the host starts
    for (size_t first = 0; first + kBlock <= kSignalFrames; first += kBlock) {
      rig.Block(in, out, first, kBlock);
    }
  }

  // The next block of the signal, wrapping around.
  void Block() {
    rig.Block(in, out, first, kBlock);
    benchmark::DoNotOptimize(out.left.data());
    first = first + 2 * kBlock <= kSignalFrames ? first + kBlock : 0;
  }

  EngineRig rig;
  StereoBuffer in;
  StereoBuffer out;
  size_t first = 0;
};

void BM_SteadyBlock(benchmark::State& state) {
  Warmed w;
  for (auto _ : state) {
    w.Block();
  }
}
BENCHMARK(BM_SteadyBlock);

// Every block sees a tempo that differs from the last one's (120 BPM and a hair below).
void BM_TempoChangeBlock(benchmark::State& state) {
  Warmed w;
  const double tempos[2] = {SamplesPerBeatAt(120.0), SamplesPerBeatAt(119.99)};
  int next = 1;
  for (auto _ : state) {
    w.rig.host.samplesPerBeat = tempos[next];
    next ^= 1;
    w.Block();
  }
}
BENCHMARK(BM_TempoChangeBlock);

// Every block follows a "Left Sweep Rate" change, which silences the line.
void BM_SweepRateChangeBlock(benchmark::State& state) {
  Warmed w;
  int rate = 13;
  for (auto _ : state) {
    w.rig.Set(kLeftSweepRate, rate);
    rate = rate == 13 ? 12 : 13;
    w.Block();
  }
}
BENCHMARK(BM_SweepRateChangeBlock);

// 1,000 blocks whose tempo falls evenly from 120 to 60 BPM, one tempo per block.
void BM_TempoRampAllocations(benchmark::State& state) {
  constexpr int kRampBlocks = 1000;
  long allocations = 0;
  for (auto _ : state) {
    state.PauseTiming();
    Warmed w;
    state.ResumeTiming();
    const long before = velmora::testing::AllocationCount();
    for (int block = 0; block < kRampBlocks; ++block) {
      const double tempo = 120.0 - 60.0 * block / (kRampBlocks - 1);
      w.rig.host.samplesPerBeat = SamplesPerBeatAt(tempo);
      w.Block();
    }
    allocations = velmora::testing::AllocationCount() - before;
  }
  state.counters["allocs_per_1000_blocks"] = static_cast<double>(allocations);
}
BENCHMARK(BM_TempoRampAllocations)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace velmora::dsp
