#include "tools/claphost/clap_events.h"

#include <cmath>
#include <cstring>

namespace velmora::claphost {

clap::EventTransport MakeTransport(const TransportState& state, uint32_t time) {
  clap::EventTransport t{};
  t.header = {sizeof(t), time, clap::kCoreEventSpace, clap::kEventTransport, 0};
  t.flags = clap::kTransportHasSecondsTimeline | clap::kTransportHasTimeSignature;
  if (state.hasTempo) {
    t.flags |= clap::kTransportHasTempo | clap::kTransportHasBeatsTimeline;
    t.tempo = state.tempo;
    const double beats = state.positionSamples / state.sampleRate * state.tempo / 60.0;
    t.songPosBeats = std::llround(beats * static_cast<double>(clap::kBeatTimeFactor));
  }
  if (state.playing) {
    t.flags |= clap::kTransportIsPlaying;
  }
  const double seconds = state.positionSamples / state.sampleRate;
  t.songPosSeconds = std::llround(seconds * static_cast<double>(clap::kSecTimeFactor));
  t.timeSigNumerator = 4;
  t.timeSigDenominator = 4;
  return t;
}

InputEventList::InputEventList() {
  list_.ctx = this;
  list_.size = &InputEventList::CountOf;
  list_.get = &InputEventList::Get;
}

void InputEventList::AddRaw(const clap::EventHeader& header, const void* body, size_t bodySize) {
  const size_t bytes = sizeof(header) + bodySize;
  auto storage = std::make_unique<uint64_t[]>((bytes + 7) / 8);
  std::memcpy(storage.get(), &header, sizeof(header));
  if (bodySize > 0) {
    std::memcpy(reinterpret_cast<uint8_t*>(storage.get()) + sizeof(header), body, bodySize);
  }
  events_.push_back(std::move(storage));
}

void InputEventList::AddValue(uint32_t time, clap::Id id, double value) {
  clap::EventParamValue e{};
  e.header = {sizeof(e), time, clap::kCoreEventSpace, clap::kEventParamValue, 0};
  e.paramId = id;
  e.noteId = -1;
  e.portIndex = e.channel = e.key = -1;
  e.value = value;
  AddRaw(e.header, reinterpret_cast<const uint8_t*>(&e) + sizeof(e.header),
         sizeof(e) - sizeof(e.header));
}

void InputEventList::AddTransport(uint32_t time, const TransportState& state) {
  const clap::EventTransport t = MakeTransport(state, time);
  AddRaw(t.header, reinterpret_cast<const uint8_t*>(&t) + sizeof(t.header),
         sizeof(t) - sizeof(t.header));
}

uint32_t InputEventList::CountOf(const clap::InputEvents* list) {
  return static_cast<uint32_t>(static_cast<const InputEventList*>(list->ctx)->events_.size());
}

const clap::EventHeader* InputEventList::Get(const clap::InputEvents* list, uint32_t index) {
  const auto* self = static_cast<const InputEventList*>(list->ctx);
  if (index >= self->events_.size()) {
    return nullptr;
  }
  return reinterpret_cast<const clap::EventHeader*>(self->events_[index].get());
}

OutputEventList::OutputEventList() {
  list_.ctx = this;
  list_.tryPush = &OutputEventList::TryPush;
}

bool OutputEventList::TryPush(const clap::OutputEvents* list, const clap::EventHeader* event) {
  auto* self = static_cast<OutputEventList*>(list->ctx);
  if (self->refuse_ || event == nullptr) {
    return false;
  }
  RecordedEvent recorded;
  recorded.type = event->type;
  recorded.time = event->time;
  if (event->type == clap::kEventParamValue && event->size >= sizeof(clap::EventParamValue)) {
    const auto* value = reinterpret_cast<const clap::EventParamValue*>(event);
    recorded.paramId = value->paramId;
    recorded.value = value->value;
  } else if ((event->type == clap::kEventParamGestureBegin ||
              event->type == clap::kEventParamGestureEnd) &&
             event->size >= sizeof(clap::EventParamGesture)) {
    recorded.paramId = reinterpret_cast<const clap::EventParamGesture*>(event)->paramId;
  }
  self->events_.push_back(recorded);
  return true;
}

}  // namespace velmora::claphost
