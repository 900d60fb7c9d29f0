#include "vst3/state_stream.h"

namespace velmora::vst3 {

int64_t ReadStream(IBStream* stream, uint8_t* bytes, size_t capacity) {
  if (stream == nullptr || bytes == nullptr) {
    return -1;
  }
  size_t total = 0;
  // One byte beyond the capacity tells a stream that holds more than we take.
  uint8_t probe = 0;
  for (;;) {
    uint8_t* into = total < capacity ? bytes + total : &probe;
    const auto wanted = static_cast<int32_t>(total < capacity ? capacity - total : 1);
    int32_t got = 0;
    const tresult result = stream->read(into, wanted, &got);
    if (got < 0 || got > wanted) {
      return -1;
    }
    if (got == 0) {
      // Streams end with kResultFalse or kResultOk and no bytes; both mean "no more".
      return result == kResultOk || result == kResultFalse ? static_cast<int64_t>(total) : -1;
    }
    if (total >= capacity) {
      return -1;
    }
    total += static_cast<size_t>(got);
    if (result != kResultOk) {
      return static_cast<int64_t>(total);
    }
  }
}

bool WriteStream(IBStream* stream, const uint8_t* bytes, size_t size) {
  if (stream == nullptr) {
    return false;
  }
  size_t done = 0;
  while (done < size) {
    int32_t written = 0;
    const auto wanted = static_cast<int32_t>(size - done);
    const tresult result = stream->write(const_cast<uint8_t*>(bytes + done), wanted, &written);
    if (result != kResultOk || written <= 0 || written > wanted) {
      return false;
    }
    done += static_cast<size_t>(written);
  }
  return true;
}

}  // namespace velmora::vst3
