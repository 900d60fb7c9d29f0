// The processor: bus arrangements, set-up and the audio block with its parameter queues.
#include <algorithm>
#include <cmath>

#include "binding/output_silence.h"
#include "plugin/velmora_plugin.h"
#include "vst3/process_context.h"
#include "vst3/velmora_vst3.h"

namespace velmora::vst3 {
namespace {

// The parameter queues carry normalised values; anything else is no value.
bool ReadPoint(IParamValueQueue* queue, int32_t index, binding::BlockEvent& event) {
  int32_t offset = 0;
  ParamValue value = 0.0;
  if (queue->getPoint(index, offset, value) != kResultOk || !std::isfinite(value)) {
    return false;
  }
  event.offset = offset > 0 ? static_cast<uint32_t>(offset) : 0;
  event.kind = binding::BlockEvent::kParamNormalised;
  event.value = std::clamp(value, 0.0, 1.0);
  return true;
}

// The last value a queue holds: for the switches that act on whole blocks.
bool LastValue(IParamValueQueue* queue, int32_t points, double& value) {
  binding::BlockEvent event;
  if (points <= 0 || !ReadPoint(queue, points - 1, event)) {
    return false;
  }
  value = event.value;
  return true;
}

// The bus's channels as the hosted effect takes them; a bus without buffers has none.
void BindBus(const AudioBusBuffers* bus, int layoutChannels, bool wide, bool output,
             binding::AudioBlock& block) {
  const bool usable = bus != nullptr && bus->channelBuffers32 != nullptr;
  const int channels = usable ? std::clamp(bus->numChannels, 0, layoutChannels) : 0;
  if (output) {
    block.outputChannels = channels;
    block.out32 = usable && !wide ? bus->channelBuffers32 : nullptr;
    block.out64 = usable && wide ? bus->channelBuffers64 : nullptr;
  } else {
    block.inputChannels = channels;
    block.in32 = usable && !wide ? bus->channelBuffers32 : nullptr;
    block.in64 = usable && wide ? bus->channelBuffers64 : nullptr;
  }
}

void CopyThrough(const binding::AudioBlock& block) {
  for (int c = 0; c < block.outputChannels; ++c) {
    const bool hasInput = c < block.inputChannels;
    if (block.out64 != nullptr && block.out64[c] != nullptr) {
      const double* in = hasInput && block.in64 != nullptr ? block.in64[c] : nullptr;
      for (uint32_t i = 0; i < block.frames; ++i) {
        block.out64[c][i] = in != nullptr ? in[i] : 0.0;
      }
    } else if (block.out64 == nullptr && block.out32 != nullptr && block.out32[c] != nullptr) {
      const float* in = hasInput && block.in32 != nullptr ? block.in32[c] : nullptr;
      for (uint32_t i = 0; i < block.frames; ++i) {
        block.out32[c][i] = in != nullptr ? in[i] : 0.0f;
      }
    }
  }
}

}  // namespace

// "1-1 2-2": one main bus each way, stereo to stereo or mono to mono.
tresult VelmoraVst3::setBusArrangements(SpeakerArrangement* inputs, int32_t numIns,
                                        SpeakerArrangement* outputs, int32_t numOuts) {
  if (inputs == nullptr || outputs == nullptr || numIns != 1 || numOuts != 1 || active_) {
    return kResultFalse;
  }
  const SpeakerArrangement in = inputs[0];
  if (in != outputs[0] || (in != kArrangementStereo && in != kArrangementMono)) {
    return kResultFalse;
  }
  const int channels = in == kArrangementMono ? 1 : 2;
  if (effect_ && !effect_->SetChannelLayout(channels, channels)) {
    return kResultFalse;
  }
  arrangement_ = in;
  return kResultTrue;
}

tresult VelmoraVst3::getBusArrangement(int32_t direction, int32_t index,
                                       SpeakerArrangement& arrangement) {
  if ((direction != kInput && direction != kOutput) || index != 0) {
    return kInvalidArgument;
  }
  arrangement = arrangement_;
  return kResultOk;
}

tresult VelmoraVst3::canProcessSampleSize(int32_t symbolicSampleSize) {
  return symbolicSampleSize == kSample32 || symbolicSampleSize == kSample64 ? kResultTrue
                                                                            : kResultFalse;
}

uint32_t VelmoraVst3::getLatencySamples() {
  return effect_ ? static_cast<uint32_t>(effect_->Latency()) : 0;
}

tresult VelmoraVst3::setupProcessing(ProcessSetup& setup) {
  if (active_) {
    return kResultFalse;
  }
  if (!(std::isfinite(setup.sampleRate) && setup.sampleRate > 0.0) ||
      setup.maxSamplesPerBlock <= 0 ||
      canProcessSampleSize(setup.symbolicSampleSize) != kResultOk) {
    return kInvalidArgument;
  }
  sampleRate_ = setup.sampleRate;
  maxBlock_ = setup.maxSamplesPerBlock;
  sampleSize_ = setup.symbolicSampleSize;
  return kResultOk;
}

// Processing starts and stops without touching the engine: clearing the delay line is
// work in proportion to its size, which a host may ask for on its audio thread here.
tresult VelmoraVst3::setProcessing(TBool) {
  return effect_ ? kResultOk : kNotInitialized;
}

uint32_t VelmoraVst3::getTailSamples() {
  return effect_ ? effect_->TailSamples() : kNoTail;
}

uint32_t VelmoraVst3::CollectEvents(IParameterChanges* changes, uint32_t) {
  if (changes == nullptr) {
    return 0;
  }
  uint32_t count = 0;
  const int32_t queues = changes->getParameterCount();
  for (int32_t q = 0; q < queues; ++q) {
    IParamValueQueue* queue = changes->getParameterData(q);
    if (queue == nullptr) {
      continue;
    }
    const ParamID id = queue->getParameterId();
    const int32_t points = queue->getPointCount();
    double value = 0.0;
    if (id == kBypassParamId) {
      if (LastValue(queue, points, value)) {
        bypass_.store(value >= 0.5);
      }
      continue;
    }
    if (id == kProgramParamId) {
      if (LastValue(queue, points, value)) {
        SelectProgram(static_cast<int>(std::lround(value * (effect_->Plugin().NumPrograms() - 1))));
      }
      continue;
    }
    if (id >= static_cast<ParamID>(effect_->ParamCount()) || points <= 0) {
      continue;
    }
    // A queue that does not fit keeps its last value, so the block ends where the host meant.
    const int32_t first = kMaxEvents - count >= static_cast<uint32_t>(points) ? 0 : points - 1;
    for (int32_t p = first; p < points && count < kMaxEvents; ++p) {
      if (ReadPoint(queue, p, events_[count])) {
        events_[count].index = static_cast<int>(id);
        ++count;
      }
    }
  }
  binding::SortByOffset(events_, count);
  return count;
}

tresult VelmoraVst3::process(ProcessData& data) {
  if (!effect_ || !active_) {
    return kNotInitialized;
  }
  if (data.numSamples < 0 ||
      (data.symbolicSampleSize != kSample32 && data.symbolicSampleSize != kSample64)) {
    return kInvalidArgument;
  }
  const uint32_t count = CollectEvents(data.inputParameterChanges, 0);
  const binding::Transport transport = TransportOf(data.processContext);
  binding::AudioBlock block;
  block.frames = static_cast<uint32_t>(data.numSamples);
  const bool wide = data.symbolicSampleSize == kSample64;
  const int layout = ChannelsOf(kInput);
  BindBus(data.numInputs > 0 ? data.inputs : nullptr, layout, wide, false, block);
  BindBus(data.numOutputs > 0 ? data.outputs : nullptr, layout, wide, true, block);
  if (block.outputChannels == 0) {
    // Nothing to write into: the changes still count, as between blocks.
    effect_->ApplyEvents(events_, count);
    return kResultOk;
  }
  if (bypass_.load()) {
    effect_->ApplyEvents(events_, count);
    CopyThrough(block);
  } else {
    ProcessInSlices(block, transport, count);
  }
  data.outputs[0].silenceFlags = binding::SilentOutputs(block);
  return kResultOk;
}

// A host block longer than it announced is processed in announced-size slices, each with
// the changes that fall inside it, so nothing is cut and the scratch space stays fixed.
void VelmoraVst3::ProcessInSlices(const binding::AudioBlock& block,
                                  const binding::Transport& transport, uint32_t count) {
  const auto slice = static_cast<uint32_t>(maxBlock_);
  if (block.frames <= slice) {
    effect_->Process(block, transport, events_, count);
    return;
  }
  const float* in32[2] = {};
  float* out32[2] = {};
  const double* in64[2] = {};
  double* out64[2] = {};
  uint32_t next = 0;
  for (uint32_t start = 0; start < block.frames; start += slice) {
    binding::AudioBlock part = block;
    part.frames = std::min(slice, block.frames - start);
    for (int c = 0; c < 2; ++c) {
      const bool in = c < block.inputChannels, out = c < block.outputChannels;
      in32[c] = in && block.in32 && block.in32[c] ? block.in32[c] + start : nullptr;
      in64[c] = in && block.in64 && block.in64[c] ? block.in64[c] + start : nullptr;
      out32[c] = out && block.out32 && block.out32[c] ? block.out32[c] + start : nullptr;
      out64[c] = out && block.out64 && block.out64[c] ? block.out64[c] + start : nullptr;
    }
    part.in32 = block.in32 ? in32 : nullptr;
    part.in64 = block.in64 ? in64 : nullptr;
    part.out32 = block.out32 ? out32 : nullptr;
    part.out64 = block.out64 ? out64 : nullptr;
    const uint32_t first = next;
    const bool last = start + part.frames >= block.frames;
    while (next < count && (last || events_[next].offset < start + part.frames)) {
      events_[next].offset = events_[next].offset > start ? events_[next].offset - start : 0;
      ++next;
    }
    effect_->Process(part, binding::Advanced(transport, start, sampleRate_), events_ + first,
                     next - first);
  }
}

}  // namespace velmora::vst3
