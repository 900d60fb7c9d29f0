// The engine uses the plug-in's parameter numbering and ranges.
#pragma once

#include "engine/parameter_index.h"

namespace velmora::dsp {

constexpr int kParamCount = kVelmoraParamCount;

}  // namespace velmora::dsp
