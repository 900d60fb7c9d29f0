// The audio thread's work: the host's events become the shared layer's block events, the
// block is processed in segments between them, and the editor's gestures go out as events.
#include <algorithm>
#include <cmath>

#include "binding/output_silence.h"
#include "clap/clap_plugin.h"

namespace velmora::clap {
namespace {

bool ReadsAs(const EventHeader* header, uint16_t type, size_t size) {
  return header != nullptr && header->spaceId == kCoreEventSpace && header->type == type &&
         header->size >= size;
}

}  // namespace

binding::Transport ClapPlugin::TransportFrom(const EventTransport* transport, double sampleRate) {
  binding::Transport result;
  if (transport == nullptr) {
    return result;  // no transport: no tempo, standing at 0, as a host without one
  }
  const uint32_t flags = transport->flags;
  result.playing = (flags & kTransportIsPlaying) != 0;
  result.tempoValid = (flags & kTransportHasTempo) != 0 && std::isfinite(transport->tempo) &&
                      transport->tempo > 0.0;
  result.tempo = result.tempoValid ? transport->tempo : 0.0;
  const double beats = static_cast<double>(transport->songPosBeats) / kBeatTimeFactor;
  if ((flags & kTransportHasSecondsTimeline) != 0) {
    const double seconds = static_cast<double>(transport->songPosSeconds) / kSecTimeFactor;
    result.samplePosition = seconds * sampleRate;
  } else if ((flags & kTransportHasBeatsTimeline) != 0 && result.tempoValid) {
    result.samplePosition = beats * 60.0 / result.tempo * sampleRate;
  }
  result.beatPositionValid = (flags & kTransportHasBeatsTimeline) != 0;
  result.beatPosition = result.beatPositionValid ? beats : 0.0;
  return result;
}

// Parameter values and transport changes, in time order. Events past the capacity (a host
// sending thousands in one block) are applied after the block, in their order.
uint32_t ClapPlugin::CollectEvents(const InputEvents* in) {
  uint32_t count = 0;
  const uint32_t size = EventCount(in);
  uint32_t i = 0;
  for (; i < size && count < kMaxBlockEvents; ++i) {
    const EventHeader* header = in->get(in, i);
    binding::BlockEvent& event = events_[count];
    if (ReadsAs(header, kEventParamValue, sizeof(EventParamValue))) {
      const auto* value = reinterpret_cast<const EventParamValue*>(header);
      if (value->paramId >= static_cast<Id>(effect_->ParamCount())) {
        continue;
      }
      event.kind = binding::BlockEvent::kParamPlain;
      event.index = static_cast<int>(value->paramId);
      event.value = value->value;
    } else if (ReadsAs(header, kEventTransport, sizeof(EventTransport))) {
      event.kind = binding::BlockEvent::kTransport;
      event.transport = TransportFrom(reinterpret_cast<const EventTransport*>(header), sampleRate_);
    } else {
      continue;
    }
    event.offset = header->time;
    ++count;
  }
  uncollected_ = i;
  binding::SortByOffset(events_, count);
  return count;
}

// A gesture the host never saw begin is not ended, and one already begun is not begun again,
// so the host always sees begin, values, end.
void ClapPlugin::SendGestures(const OutputEvents* out) {
  binding::GestureMessage message;
  const bool canPush = out != nullptr && out->tryPush != nullptr;
  while (gestures_.Pop(message)) {
    if (!canPush || message.index < 0 || message.index >= dsp::kParamCount) {
      continue;
    }
    const Id id = static_cast<Id>(message.index);
    if (message.kind == binding::GestureMessage::kValue) {
      EventParamValue value{};
      value.header = {sizeof(value), 0, kCoreEventSpace, kEventParamValue, 0};
      value.paramId = id;
      value.noteId = -1;
      value.portIndex = value.channel = value.key = -1;
      value.value = message.plain;
      out->tryPush(out, &value.header);
      continue;
    }
    const bool begin = message.kind == binding::GestureMessage::kBegin;
    if (gestureOpen_[message.index] == begin) {
      continue;
    }
    gestureOpen_[message.index] = begin;
    EventParamGesture gesture{};
    gesture.header = {sizeof(gesture), 0, kCoreEventSpace,
                      begin ? kEventParamGestureBegin : kEventParamGestureEnd, 0};
    gesture.paramId = id;
    out->tryPush(out, &gesture.header);
  }
}

int32_t ClapPlugin::Process(const clap::Process* process) {
  if (process == nullptr || !active_ || !processing_ || !OnAudioThreadCheck()) {
    return kProcessError;
  }
  const uint32_t count = CollectEvents(process->inEvents);
  binding::AudioBlock block;
  block.frames = process->framesCount;
  if (process->audioInputsCount > 0 && process->audioInputs != nullptr) {
    const AudioBuffer& in = process->audioInputs[0];
    block.inputChannels = static_cast<int>(std::min<uint32_t>(in.channelCount, Channels()));
    block.in32 = in.data32;
    block.in64 = in.data64;
  }
  if (process->audioOutputsCount > 0 && process->audioOutputs != nullptr) {
    AudioBuffer& out = process->audioOutputs[0];
    block.outputChannels = static_cast<int>(std::min<uint32_t>(out.channelCount, Channels()));
    block.out32 = out.data32;
    block.out64 = out.data64;
    // Both sides in one sample size: double only when the host gave doubles for the output.
    if (block.out64 == nullptr) {
      block.in64 = nullptr;
    } else if (block.in64 == nullptr && block.inputChannels > 0) {
      block.inputChannels = 0;  // float input with double output: read as silence
    }
  }
  const binding::Transport transport = TransportFrom(process->transport, sampleRate_);
  const bool done = effect_->Process(block, transport, events_, count);
  ApplyHostValues(process->inEvents, uncollected_);
  SendGestures(process->outEvents);
  return done ? Status(block) : kProcessError;
}

// In its automatic bypass the plug-in passes its input through: once the output is silent it
// needs no processing until the input changes.
int32_t ClapPlugin::Status(const binding::AudioBlock& block) const {
  if (!effect_->Bypassed()) {
    return kProcessContinue;
  }
  return binding::OutputsSilent(block) ? kProcessSleep : kProcessContinueIfNotQuiet;
}

uint32_t ClapPlugin::EventCount(const InputEvents* in) {
  return in != nullptr && in->size != nullptr && in->get != nullptr ? in->size(in) : 0;
}

void ClapPlugin::Flush(const InputEvents* in, const OutputEvents* out) {
  ApplyHostValues(in, 0);
  SendGestures(out);
}

void ClapPlugin::ApplyHostValues(const InputEvents* in, uint32_t first) {
  const uint32_t size = EventCount(in);
  for (uint32_t i = first; i < size; ++i) {
    const EventHeader* header = in->get(in, i);
    if (ReadsAs(header, kEventParamValue, sizeof(EventParamValue))) {
      const auto* value = reinterpret_cast<const EventParamValue*>(header);
      if (value->paramId < static_cast<Id>(effect_->ParamCount())) {
        effect_->SetPlain(static_cast<int>(value->paramId), value->value);
      }
    }
  }
}

}  // namespace velmora::clap
