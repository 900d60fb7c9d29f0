// The host's transport as a VST 3 host reports it in each block's process context, in the
// terms the hosted plug-in's time queries answer in.
#pragma once

#include "binding/transport.h"
#include "vst3/abi/vst3_processing.h"

namespace velmora::vst3 {

// Without a context the tempo is unknown, as under a VST 2 host without a transport. The
// project time in samples is always valid in a context; quarter notes and the tempo only
// with their flags, and only finite numbers are taken.
binding::Transport TransportOf(const ProcessContext* context);

}  // namespace velmora::vst3
