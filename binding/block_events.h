// What a host hands over with an audio block besides the audio: parameter changes and
// transport changes, each at a frame inside the block. The hosted effect processes the block
// in segments between them, so a change takes effect at its own frame.
#pragma once

#include <cstdint>

#include "binding/transport.h"

namespace velmora::binding {

struct BlockEvent {
  enum Kind : uint8_t {
    kParamPlain,       // value in the parameter's own units
    kParamNormalised,  // value as 0..1
    kTransport,
  };
  uint32_t offset = 0;  // frame inside the block
  Kind kind = kParamPlain;
  uint32_t arrival = 0;  // position in the host's order, which SortByOffset keeps among equals
  int index = 0;
  double value = 0.0;
  Transport transport;
};

// Orders events by offset, keeping the given order among equal offsets. In place, without
// allocating, so it may run on the audio thread. A list already in order (one host queue,
// or CLAP's one list) costs one pass; any other, such as several queues of dense automation
// laid end to end, costs n log n, however the queues interleave.
void SortByOffset(BlockEvent* events, uint32_t count);

// Where an event takes effect: its offset, but never before the frames already processed
// (an event out of order waits for nothing) nor after the block's end.
uint32_t EffectiveOffset(uint32_t offset, uint32_t done, uint32_t frames);

}  // namespace velmora::binding
