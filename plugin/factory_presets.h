// The factory programs: program 0 "---- default ----" and the 32 named programs with their
// parameter values, filled into the first 33 of the plug-in's 60 programs.
#pragma once

#include "frame/effect_base.h"

namespace velmora {

constexpr int kFactoryProgramCount = 32;

void FillFactoryPrograms(IEffectBase& plugin);

}  // namespace velmora
