// The component state through a host's stream: the 180-byte chunk of the VST 2 plug-in.
#pragma once

#include <cstddef>
#include <cstdint>

#include "vst3/abi/vst3_base.h"

namespace velmora::vst3 {

// Reads what the stream holds from its position on, at most capacity bytes, into bytes.
// Returns the byte count, or -1 when the stream holds more than capacity bytes or reports
// an error. Short reads are retried until the stream reports no more bytes.
int64_t ReadStream(IBStream* stream, uint8_t* bytes, size_t capacity);

// Writes all size bytes; false when the stream refuses or takes fewer.
bool WriteStream(IBStream* stream, const uint8_t* bytes, size_t size);

}  // namespace velmora::vst3
