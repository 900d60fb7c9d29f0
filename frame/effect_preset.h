// One program (the host's word for a preset): whether it is in use, its name, and its
// parameter values encoded as a program-state chunk.
#pragma once

#include "frame/effect_chunk.h"

namespace velmora {

struct IEffectPreset {
  static constexpr int kNameSize = 256;

  bool initialised = false;
  char name[kNameSize] = {};
  IEffectChunk state;
};

}  // namespace velmora
