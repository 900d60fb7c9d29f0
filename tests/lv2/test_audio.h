// The test material of the LV2 comparisons: a stereo signal with transients, silence and a
// steady tone, so echoes, sweeps and the automatic bypass all take part, and the sample-
// by-sample comparison of two renders.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace velmora::lv2::testing {

// Interleaved stereo, frames frames at rate Hz, the same every time.
std::vector<float> MakeTestSignal(double rate, size_t frames);

bool WriteFloatWav(const std::string& path, const std::vector<float>& interleaved, int rate);

// Pairs of samples that both lie below the smallest normal float (a subnormal or a zero of
// either sign: the LV2 plug-in writes such outputs as +0, as the VST 2 float path does once
// it flushes subnormals too) are counted apart from real differences.
struct Comparison {
  size_t samples = 0;
  size_t differing = 0;
  size_t flushedSubnormals = 0;
  double maxDifference = 0.0;
  bool sameLength = false;
  bool Identical() const { return sameLength && differing == 0; }
  std::string Text() const;
};

Comparison Compare(const std::vector<float>& expected, const std::vector<float>& actual);

}  // namespace velmora::lv2::testing
