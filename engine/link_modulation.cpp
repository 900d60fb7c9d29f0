#include "engine/link_modulation.h"

#include <cmath>

#include "engine/parameter_index.h"

namespace velmora::dsp {

int16_t LinkParamFor(int linkValue) {
  switch (linkValue) {
    case kLinkPanWidth:
      return kPanWidth;
    case kLinkFeedback:
      return kFeedback;
    case kLinkDryMix:
      return kDryMix;
    case kLinkWetMix:
      return kWetMix;
    default:
      return -1;
  }
}

void UpdateLinkCentre(SweepSide& side, const MixGains& gains) {
  if (side.linkTarget <= kLinkOff || side.linkTarget >= kLinkSlotCount) {
    return;
  }
  const float base = gains.base[side.linkTarget];
  const float depth = std::fabs(side.linkDepth);
  float centre = base - depth * 0.25f;
  const float highest = 1.0f - depth * 0.5f;
  if (centre >= highest) {
    centre = highest;
  }
  if (centre < 0.0f) {
    centre = 0.0f;
  }
  side.linkCentre = centre;
}

}  // namespace velmora::dsp
