// What the engine benchmarks share: the test signal (two sines with noise, 48 kHz), the
// engine set up for each measured case, and the floor, the two side filters' recursion
// alone, which no correct implementation can shorten (two dependent multiply-adds per side
// per sample).
#pragma once

#include <cmath>
#include <vector>

#include "engine_test_rig.h"

namespace velmora::dsp::bench {

constexpr int kBlock = 256;
constexpr size_t kSignalFrames = 48000;

inline testing::StereoBuffer NoisySignal() {
  testing::StereoBuffer in(kSignalFrames);
  unsigned seed = 12345;
  for (size_t i = 0; i < kSignalFrames; ++i) {
    seed = seed * 1664525u + 1013904223u;
    const double noise = static_cast<double>(seed >> 8) / 16777216.0 - 0.5;
    in.left[i] = 0.3 * std::sin(0.013 * static_cast<double>(i)) + 0.1 * noise;
    in.right[i] = 0.3 * std::cos(0.007 * static_cast<double>(i)) - 0.1 * noise;
  }
  return in;
}

struct FloorFilter {
  double g = 0.2;
  double damping = 0.95;
  double velocity = 0.0;
  double out = 0.0;

  double Step(double t) {
    const double v = (t - out) * g + damping * velocity;
    velocity = v;
    double y = v * g + damping * out;
    y = y >= 1.0 ? 1.0 : y;
    y = y >= -1.0 ? y : -1.0;
    out = y;
    return y;
  }
};

// The floor over one block of the signal from frame first. The filters run on local
// copies: the stores to the outputs could otherwise alias their states and send the
// recursion through memory.
struct FloorPair {
  FloorPair() { right.g = 0.3; }
  void Block(const testing::StereoBuffer& in, size_t first, double* outLeft, double* outRight) {
    FloorFilter l = left;
    FloorFilter r = right;
    for (int i = 0; i < kBlock; ++i) {
      outLeft[i] = l.Step(in.left[first + i]);
      outRight[i] = r.Step(in.right[first + i]);
    }
    left = l;
    right = r;
  }
  FloorFilter left;
  FloorFilter right;
};

enum class Setup { kDefaults, kEverythingOn, kBypassedSilence };

// The engine at 48 kHz and 120 BPM in one of the measured set-ups, its input, and the first
// frames already played: past the first crossfade, and for silence until the bypass has
// engaged (false when it did not).
struct EngineCase {
  explicit EngineCase(Setup setup)
      : in(setup == Setup::kBypassedSilence ? testing::StereoBuffer(kSignalFrames) : NoisySignal()),
        out(kSignalFrames) {
    rig.host.sampleRate = 48000.0;
    rig.host.samplesPerBeat = 24000.0;
    rig.Open();
    if (setup == Setup::kEverythingOn) {
      rig.Set(kLeftSweepLink, kLinkPanWidth);
      rig.Set(kRightSweepLink, kLinkFeedback);
      rig.Set(kPingPong, 4);  // "Dotted 2"
      rig.Set(kFeedback, 90);
    }
    for (size_t first = 0; first + kBlock <= kSignalFrames; first += kBlock) {
      rig.Block(in, out, first, kBlock);
    }
  }

  bool Ready(Setup setup) const {
    return setup != Setup::kBypassedSilence || rig.engine.Bypassed();
  }

  // The next block of the signal, wrapping before its end.
  void Block() {
    rig.Block(in, out, next, kBlock);
    next = next + 2 * kBlock <= kSignalFrames ? next + kBlock : 0;
  }

  testing::EngineRig rig;
  testing::StereoBuffer in;
  testing::StereoBuffer out;
  size_t next = 0;
};

}  // namespace velmora::dsp::bench
