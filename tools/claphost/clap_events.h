// Event lists for driving a CLAP plug-in: the input list a host hands to process or flush
// (parameter values, gestures, transports, raw headers for bad-input tests) and an output
// list that records what the plug-in pushed.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "clap/clap_abi.h"

namespace velmora::claphost {

// The transport as a test states it; MakeTransport turns it into the CLAP event.
struct TransportState {
  bool hasTempo = true;
  double tempo = 120.0;
  bool playing = true;
  double positionSamples = 0.0;  // song position at the block's (or event's) frame
  double sampleRate = 44100.0;
};

clap::EventTransport MakeTransport(const TransportState& state, uint32_t time = 0);

class InputEventList {
 public:
  InputEventList();
  void AddValue(uint32_t time, clap::Id id, double value);
  void AddTransport(uint32_t time, const TransportState& state);
  // Any bytes with a header in front, for events of other types or broken sizes.
  void AddRaw(const clap::EventHeader& header, const void* body, size_t bodySize);
  void Clear() { events_.clear(); }
  size_t Size() const { return events_.size(); }
  const clap::InputEvents* List() const { return &list_; }

 private:
  static uint32_t CountOf(const clap::InputEvents* list);
  static const clap::EventHeader* Get(const clap::InputEvents* list, uint32_t index);

  std::vector<std::unique_ptr<uint64_t[]>> events_;  // 8-byte aligned event copies
  clap::InputEvents list_{};
};

struct RecordedEvent {
  uint16_t type = 0;
  uint32_t time = 0;
  clap::Id paramId = clap::kInvalidId;
  double value = 0.0;
};

class OutputEventList {
 public:
  OutputEventList();
  const clap::OutputEvents* List() const { return &list_; }
  std::vector<RecordedEvent>& Events() { return events_; }
  // Refuses every push from now on, as a host whose queue is full.
  void RefusePushes(bool refuse) { refuse_ = refuse; }

 private:
  static bool TryPush(const clap::OutputEvents* list, const clap::EventHeader* event);

  std::vector<RecordedEvent> events_;
  bool refuse_ = false;
  clap::OutputEvents list_{};
};

}  // namespace velmora::claphost
