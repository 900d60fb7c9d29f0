#include "engine/sweep_side.h"

#include <cmath>

namespace velmora::dsp {
namespace {

// -2 pi: the one-pole coefficient 1 - exp(-2 pi fc / fs) places the corner at fc.
constexpr double kMinusTwoPi = -6.283185307179586;
// Depth 0..19980 (percent x 199.8) to a sweep span of 0..4: 1/4995 in single precision.
constexpr float kSweepSpanPerDepth = 0.0002002002f;

}  // namespace

void RecomputeSweepCoefficients(SweepSide& side, double sampleRate) {
  side.baseCoeff = 1.0 - std::exp(side.cutoffHz / sampleRate * kMinusTwoPi);
  side.sweepScale = static_cast<float>(side.depthScaled) * kSweepSpanPerDepth;
  side.sweepOffset = 1.0 - side.sweepScale * 0.25;
}

void RelockLfo(SweepSide& side, uint64_t songPosition, bool halfPeriodOn) {
  const uint32_t period = side.lfoPeriod;
  if (period == 0) {
    side.lfoPhase = 0;
    return;
  }
  uint32_t phase = side.lfoCentre + static_cast<uint32_t>(songPosition % period);
  if (phase >= period) {
    phase -= period;
  }
  if (halfPeriodOn) {
    phase += side.lfoCentre;
    if (phase >= period) {
      phase -= period;
    }
  }
  side.lfoPhase = phase;
}

}  // namespace velmora::dsp
