#include "engine/dsp/sweep_chunk.h"

#include <cstdlib>

#include "engine/dsp/link_modulation.h"

namespace velmora::dsp {

namespace {

// The triangle value of each frame: |phase - centre| / period in single precision, 0 for
// an oscillator without a period.
void TriangleValues(const SweepSide& side, float* x) {
  const uint32_t period = side.lfoPeriod;
  if (period == 0) {
    for (int i = 0; i < kSweepChunk; ++i) {
      x[i] = 0.0f;
    }
    return;
  }
  int32_t distance[kSweepChunk];
  uint32_t phase = side.lfoPhase;
  const int32_t centre = static_cast<int32_t>(side.lfoCentre);
  for (int i = 0; i < kSweepChunk; ++i) {
    distance[i] = std::abs(static_cast<int32_t>(phase) - centre);
    if (++phase >= period) {
      phase = 0;
    }
  }
  const float periodValue = static_cast<float>(period);
  for (int i = 0; i < kSweepChunk; ++i) {
    x[i] = static_cast<float>(distance[i]) / periodValue;
  }
}

}  // namespace

void AdvanceLfoBy(SweepSide& side, uint32_t frames) {
  side.lfoPhase = side.lfoPeriod == 0 ? 0 : (side.lfoPhase + frames) % side.lfoPeriod;
}

void PrepareSweepChunk(SweepSide& side, int frames, bool withLink, SweepChunk& chunk) {
  float x[kSweepChunk];
  TriangleValues(side, x);
  if (side.filterType > kFilterOff) {
    for (int i = 0; i < kSweepChunk; ++i) {
      chunk.coefficient[i] = SweptCoefficient(side, x[i]);
    }
  }
  if (withLink) {
    for (int i = 0; i < kSweepChunk; ++i) {
      chunk.linkValue[i] = LinkModulatedValue(side, x[i]);
    }
  }
  AdvanceLfoBy(side, static_cast<uint32_t>(frames));
}

}  // namespace velmora::dsp
