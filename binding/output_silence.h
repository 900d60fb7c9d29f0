// Which of a block's output channels hold nothing but zeros: what a host may skip reading
// or processing after the plug-in (VST 3's silence flags, CLAP's sleep status).
#pragma once

#include <cstdint>

#include "binding/hosted_effect.h"

namespace velmora::binding {

// Bit c set when output channel c of the block holds zeros only. The scan of a channel stops
// at its first sample that is not zero, so only a block that really is silent is read whole.
uint64_t SilentOutputs(const AudioBlock& block);

// Whether every output channel of the block is silent.
bool OutputsSilent(const AudioBlock& block);

}  // namespace velmora::binding
