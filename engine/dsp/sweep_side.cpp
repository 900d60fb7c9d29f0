#include "engine/dsp/sweep_side.h"

#include <cmath>

namespace velmora::dsp {

void RecomputeSweepCoefficients(SweepSide& side, double sampleRate) {
  side.baseCoeff = 1.0 - std::exp(side.cutoffHz / sampleRate * -6.283185307179586);
  side.sweepScale = static_cast<float>(side.depthScaled) * 0.0002002002f;
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
