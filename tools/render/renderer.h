// The render loop: blocks of the source through the plug-in's processReplacing into the
// output, then a tail of silence so echoes and reverbs can ring out.
#pragma once

#include <cstdint>

#include "tools/host/plugin_host.h"
#include "tools/render/audio_output.h"
#include "tools/render/audio_source.h"
#include "tools/render/progress_bar.h"

namespace velmora::render {

// How long to keep processing silence after the source ends: exactly frames, or (untilQuiet)
// until every output sample of the last quietFrames frames stayed below quietLevel in
// magnitude, frames at most.
struct TailLength {
  int64_t frames = 0;
  bool untilQuiet = false;
  int64_t quietFrames = 0;
  double quietLevel = 0.0;
};

// The plug-in must be started (open, rate, block size, processing on) with the block size
// it will get here. A mono source feeds every plug-in input; otherwise source channel c
// feeds input c, and inputs without a source channel get silence.
host::Status Render(host::PluginHost& host, AudioSource& source, AudioOutput& output,
                    const TailLength& tail, ProgressBar& progress);

// Whether a source with this many channels can feed the plug-in's inputs.
host::Status CheckChannels(int32_t sourceChannels, int32_t pluginInputs, int32_t pluginOutputs);

}  // namespace velmora::render
