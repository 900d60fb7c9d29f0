// The test material of the LV2 comparisons: a stereo signal with transients, silence and a
// steady tone, so echoes, sweeps and the automatic bypass all take part, and the sample-
// by-sample comparison of two renders.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "engine/parameter_index.h"

namespace velmora::lv2::testing {

// The settings every binding's render comparison applies at the start: as velmora-render
// takes them on its command line, and as plain parameter values.
struct RenderSetting {
  const char* text;
  int index;
  double plain;
};

inline constexpr RenderSetting kRenderSettings[] = {
    {"Feedback=70", kFeedback, 70.0},
    {"Freq Left=1200", kFreqLeft, 1200.0},
    {"Left Sweep Link=Pan Width", kLeftSweepLink, 1.0},
    {"Filter Right Type=Highpass", kFilterRightType, 2.0},
    {"Right Sweep Rate=1/4", kRightSweepRate, 9.0},
};

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
