// A scripted stand-in for the plug-in frame and a small harness that drives a DelayEngine
// the way the frame does: apply every parameter at open, then process blocks.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "engine/delay_engine.h"
#include "engine/engine_host.h"

namespace velmora::dsp::testing {

// Default values of the 22 parameters, in index order.
inline constexpr double kDefaultValues[kParamCount] = {
    9, 2, 100, 60, 3000, 40, 1, 50, 12, 0, 50, 3000, 40, 1, 50, 12, 0, 50, 1, 100, 60, -60};

class FakeEngineHost : public EngineHost {
 public:
  FakeEngineHost() { std::copy(std::begin(kDefaultValues), std::end(kDefaultValues), values); }

  double StoredParamValue(int index) const override { return values[index]; }
  double CurrentSampleRate() const override { return sampleRate; }
  double SamplesPerBeat() override {
    ++tempoQueries;
    return samplesPerBeat;
  }
  int64_t HostSamplePosition() override {
    ++positionQueries;
    return songPosition;
  }

  double values[kParamCount];
  double sampleRate = 44100.0;
  double samplesPerBeat = 22050.0;  // 120 beats per minute at 44.1 kHz
  int64_t songPosition = 0;
  int tempoQueries = 0;
  int positionQueries = 0;
};

struct StereoBuffer {
  explicit StereoBuffer(size_t frames, double value = 0.0)
      : left(frames, value), right(frames, value) {}
  std::vector<double> left;
  std::vector<double> right;
};

class EngineRig {
 public:
  EngineRig() = default;

  // What the frame does when the host opens the effect: every parameter in index order.
  void Open() {
    for (int i = 0; i < kParamCount; ++i) {
      engine.ApplyParameter(i);
    }
  }

  void Set(int index, double value) {
    host.values[index] = value;
    engine.ApplyParameter(index);
  }

  // Processes frames first..first+count-1 of in into out as one block.
  void Block(const StereoBuffer& in, StereoBuffer& out, size_t first, size_t count) {
    double* inputs[2] = {const_cast<double*>(in.left.data()) + first,
                         const_cast<double*>(in.right.data()) + first};
    double* outputs[2] = {out.left.data() + first, out.right.data() + first};
    engine.ProcessBlock(inputs, outputs, static_cast<int>(count));
  }

  // Processes the whole buffer in blocks of blockSize frames.
  StereoBuffer Render(const StereoBuffer& in, size_t blockSize = 256) {
    StereoBuffer out(in.left.size());
    for (size_t first = 0; first < in.left.size(); first += blockSize) {
      Block(in, out, first, std::min(blockSize, in.left.size() - first));
    }
    return out;
  }

  FakeEngineHost host;
  DelayEngine engine{host};
};

}  // namespace velmora::dsp::testing
