// The stages of one 256-frame chunk of the engine at its defaults (48 kHz, 120 BPM, both
// sides low-pass, noisy signal), each on its own, so that the cost of the whole chunk can
// be split between them: the oscillators' triangle values and coefficients (per side, on
// every vector path),
// the input range check, the quiet test a bypassed effect runs, the paired loop (tap reads,
// line write, both recursions with their coefficients, output stage), and the frame's float
// widening and narrowing (per channel). Per-frame figures are per stereo frame unless the
// name says per side or channel.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "engine/block_frames.h"
#include "engine/paired_sides.h"
#include "engine/quiet_scan.h"
#include "engine/sweep_chunk.h"
#include "engine/wide_passes.h"
#include "engine_cases.h"
#include "frame/sample_conversion.h"

namespace velmora::dsp {
namespace {

using bench::kBlock;

benchmark::Counter PerFrame(benchmark::State& state) {
  return benchmark::Counter(static_cast<double>(state.iterations() * kBlock),
                            benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// A side as the engine's defaults leave it at 48 kHz and 120 BPM.
SweepSide DefaultSide() {
  bench::EngineCase engine(bench::Setup::kDefaults);
  return engine.rig.engine.LeftSide();
}

// The triangle values alone, and with the coefficients the general loop uses.
void BM_StageTriangle(benchmark::State& state) {
  const VectorPath saved = ActiveVectorPath();
  if (!UseVectorPath(static_cast<VectorPath>(state.range(0)))) {
    state.SkipWithError("path not supported here");
    return;
  }
  SweepSide side = DefaultSide();
  SweepChunk chunk;
  for (auto _ : state) {
    PrepareSweepChunk(side, kBlock, {state.range(1) != 0, false}, chunk);
    benchmark::DoNotOptimize(chunk.triangle);
    benchmark::ClobberMemory();
  }
  UseVectorPath(saved);
  state.counters["per_side_frame"] = PerFrame(state);
}
BENCHMARK(BM_StageTriangle)->ArgNames({"path", "coefficients"})->ArgsProduct({{0, 1, 2}, {0, 1}});

void BM_StageRangeCheck(benchmark::State& state) {
  const VectorPath saved = ActiveVectorPath();
  if (!UseVectorPath(static_cast<VectorPath>(state.range(0)))) {
    state.SkipWithError("path not supported here");
    return;
  }
  const testing::StereoBuffer in = bench::NoisySignal();
  for (auto _ : state) {
    benchmark::DoNotOptimize(AllWithin(in.left.data(), in.right.data(), kBlock, kInputCeiling));
  }
  UseVectorPath(saved);
  state.counters["per_frame"] = PerFrame(state);
}
BENCHMARK(BM_StageRangeCheck)->ArgName("path")->Arg(0)->Arg(1)->Arg(2);

void BM_StageQuietTest(benchmark::State& state) {
  const testing::StereoBuffer in(kBlock, 0.0001);
  for (auto _ : state) {
    benchmark::DoNotOptimize(AnyLoudOrNotANumber(in.left.data(), in.right.data(), kBlock, 0.001));
  }
  state.counters["per_frame"] = PerFrame(state);
}
BENCHMARK(BM_StageQuietTest);

// The paired loop on a line of its own, with the defaults' coefficients and mix values.
// The taps read 11025 and 22050 samples behind the write, as at the defaults, so that no
// read lies a multiple of 4 KiB from a write (which the processor would take for a
// dependency).
void BM_StagePairedLoop(benchmark::State& state) {
  const bool highpass = state.range(0) != 0;
  const testing::StereoBuffer in = bench::NoisySignal();
  constexpr int kRightTap = 11025;
  constexpr int kLeftTap = 22050;
  std::vector<double> line(kLeftTap + kBlock, 0.0);
  for (size_t i = 0; i < line.size(); ++i) {
    line[i] = 0.2 * std::sin(0.01 * static_cast<double>(i));
  }
  std::vector<double> outLeft(kBlock);
  std::vector<double> outRight(kBlock);
  SweepSide left = DefaultSide();
  SweepSide right = left;
  if (highpass) {
    right.filterType = kFilterHighpass;
  }
  SweepChunk leftChunk;
  SweepChunk rightChunk;
  PrepareSweepChunk(left, kBlock, {false, false}, leftChunk);
  PrepareSweepChunk(right, kBlock, {false, false}, rightChunk);
  MixGains gains;
  gains.SetBase(kLinkPanWidth, 1.0f);
  gains.SetBase(kLinkFeedback, 60 * 0.00990099f);
  gains.SetBase(kLinkDryMix, 1.0f);
  gains.SetBase(kLinkWetMix, 0.6f);
  const MixView mix(gains);
  alignas(16) double held[2 * kBlock];
  const PairedRuns runs{in.left.data(),
                        in.right.data(),
                        outLeft.data(),
                        outRight.data(),
                        line.data() + kLeftTap - kLeftTap,
                        line.data() + kLeftTap - kRightTap,
                        line.data() + kLeftTap - kLeftTap,
                        line.data() + kLeftTap,
                        false,
                        -0.0,
                        leftChunk.triangle,
                        rightChunk.triangle,
                        leftChunk.coefficient,
                        rightChunk.coefficient,
                        held,
                        kBlock};
  for (auto _ : state) {
    RunPairedFrames(runs, left, right, {kLinkOff, kLinkOff}, gains, mix);
    benchmark::DoNotOptimize(outLeft.data());
    benchmark::ClobberMemory();
  }
  state.counters["per_frame"] = PerFrame(state);
}
BENCHMARK(BM_StagePairedLoop)->ArgName("highpass")->Arg(0)->Arg(1);

void BM_StageWiden(benchmark::State& state) {
  if (!UseConversionPath(static_cast<ConversionPath>(state.range(0)))) {
    state.SkipWithError("path not supported here");
    return;
  }
  std::vector<float> in(kBlock, 0.25f);
  std::vector<double> out(kBlock);
  for (auto _ : state) {
    WidenSamples(in.data(), out.data(), kBlock);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  UseConversionPath(WidestConversionPath());
  state.counters["per_channel_frame"] = PerFrame(state);
}
BENCHMARK(BM_StageWiden)->ArgName("path")->Arg(0)->Arg(1)->Arg(2);

void BM_StageNarrow(benchmark::State& state) {
  if (!UseConversionPath(static_cast<ConversionPath>(state.range(0)))) {
    state.SkipWithError("path not supported here");
    return;
  }
  std::vector<double> in(kBlock);
  for (int i = 0; i < kBlock; ++i) {
    in[i] = 0.3 * std::sin(0.01 * i);
  }
  std::vector<float> out(kBlock);
  for (auto _ : state) {
    NarrowSamples(in.data(), out.data(), kBlock);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  UseConversionPath(WidestConversionPath());
  state.counters["per_channel_frame"] = PerFrame(state);
}
BENCHMARK(BM_StageNarrow)->ArgName("path")->Arg(0)->Arg(1)->Arg(2);

}  // namespace
}  // namespace velmora::dsp
