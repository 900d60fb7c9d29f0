// Link modulation: a side's oscillator moves one of the mix quantities around a centre
// chosen so that the swing [centre, centre + |depth| / 2] stays inside 0..1 and is centred
// on the quantity's base value where the range allows.
#pragma once

#include "engine/dsp/mix_gains.h"
#include "engine/dsp/sweep_side.h"

namespace velmora::dsp {

// The parameter index behind each link value: none, "Pan Width", "Feedback", "Dry Mix",
// "Wet Mix".
int16_t LinkParamFor(int linkValue);

// Recomputes the side's centre from its target's base value (single precision); a side
// without a target keeps its centre.
void UpdateLinkCentre(SweepSide& side, const MixGains& gains);

// The modulated value for oscillator value x: rising with x for a positive depth, falling
// for a negative one. Products in double, result in single.
inline float LinkModulatedValue(const SweepSide& side, float x) {
  const double centre = side.linkCentre;
  const double depth = side.linkDepth;
  if (side.linkDepth > 0.0f) {
    return static_cast<float>(centre + depth * static_cast<double>(x));
  }
  return static_cast<float>(centre + (static_cast<double>(x) - 0.5) * depth);
}

}  // namespace velmora::dsp
