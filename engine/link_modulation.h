// Link modulation: a side's oscillator moves one of the mix quantities around a centre
// chosen so that the swing [centre, centre + |depth| / 2] stays inside 0..1 and is centred
// on the quantity's base value where the range allows. The per-frame values themselves
// are computed with the oscillator's (sweep_chunk.cpp).
#pragma once

#include "engine/mix_gains.h"
#include "engine/sweep_side.h"

namespace velmora::dsp {

// The parameter index behind each link value: none, "Pan Width", "Feedback", "Dry Mix",
// "Wet Mix".
int16_t LinkParamFor(int linkValue);

// Recomputes the side's centre from its target's base value (single precision); a side
// without a target keeps its centre.
void UpdateLinkCentre(SweepSide& side, const MixGains& gains);

}  // namespace velmora::dsp
