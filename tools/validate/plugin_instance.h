// What the checks share: a started plug-in instance, reproducible random numbers, audio
// callbacks called straight through the effect record, and a tally of unusual samples.
#pragma once

#include <cmath>
#include <cstdint>
#include <memory>
#include <random>
#include <string>

#include "tools/host/audio_buffers.h"
#include "tools/host/plugin_host.h"
#include "tools/validate/check.h"

namespace velmora::validate {

using Instance = std::unique_ptr<host::PluginHost>;

// Loads a fresh instance and, when start is set, opens it at this rate and block size and
// switches processing on. The host keeps no call log: it would allocate on the audio thread.
host::Result<Instance> LoadInstance(const CheckContext& context, double sampleRate,
                                    int32_t blockSize, bool start = true);

// Random numbers that depend only on the seed and the check, so a failure can be replayed.
std::mt19937 RandomFor(const CheckContext& context, const char* check);
float RandomUnit(std::mt19937& random);

// Whether the effect record promises double-precision processing and has the callback.
bool ProcessesDouble(const vst::AEffect& effect);

// One audio callback with any frame count, bypassing the host's check against the announced
// block size, so a check can also send a block longer than announced.
void ProcessFloat(vst::AEffect& effect, host::AudioBuffers<float>& in,
                  host::AudioBuffers<float>& out, int32_t frames);
void ProcessDouble(vst::AEffect& effect, host::AudioBuffers<double>& in,
                   host::AudioBuffers<double>& out, int32_t frames);

// Output samples a host does not want to see.
struct SampleTally {
  int64_t nan = 0;
  int64_t infinite = 0;
  int64_t subnormal = 0;
  int64_t samples = 0;

  template <typename Sample>
  void Add(const host::AudioBuffers<Sample>& out, int32_t frames) {
    for (int32_t c = 0; c < out.Channels(); ++c) {
      const Sample* channel = out.Channel(c);
      for (int32_t i = 0; i < frames; ++i) {
        switch (std::fpclassify(channel[i])) {
          case FP_NAN:
            ++nan;
            break;
          case FP_INFINITE:
            ++infinite;
            break;
          case FP_SUBNORMAL:
            ++subnormal;
            break;
          default:
            break;
        }
      }
    }
    samples += static_cast<int64_t>(out.Channels()) * frames;
  }
  bool Finite() const { return nan == 0 && infinite == 0; }
  // "3 NaN, 1 Inf in 1024 samples"
  std::string NonFiniteText() const;
};

// A test signal: a 0.5 sine with a little noise, then (from silenceFrom on) silence, so
// decaying states reach the smallest numbers. Fills frames frames starting at frame start.
template <typename Sample>
void FillSignal(host::AudioBuffers<Sample>& in, int64_t start, int32_t frames, double sampleRate,
                int64_t silenceFrom, std::mt19937& random) {
  for (int32_t c = 0; c < in.Channels(); ++c) {
    Sample* channel = in.Channel(c);
    for (int32_t i = 0; i < frames; ++i) {
      int64_t frame = start + i;
      double value = 0.0;
      if (frame < silenceFrom) {
        value = 0.5 * std::sin(6.283185307179586 * 441.0 * (c + 1) * frame / sampleRate) +
                0.05 * (RandomUnit(random) - 0.5);
      }
      channel[i] = static_cast<Sample>(value);
    }
  }
}

}  // namespace velmora::validate
