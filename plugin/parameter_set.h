// The effect's 22 automatable parameters: names, kinds, ranges, defaults, unit labels,
// shapes and display texts, in index order. The index is shared by host, programs, chunks,
// engine and editor.
#pragma once

#include "engine/parameter_index.h"
#include "frame/effect_base.h"

namespace velmora {

// Declares every parameter on the plug-in's store, in index order, each enumeration's texts
// right after it and the frequency shapes right after each frequency.
void DeclareParameters(IEffectBase& plugin);

}  // namespace velmora
