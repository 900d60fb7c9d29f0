// The dispatcher fuzzer's input: a sequence of host calls, each one record
//   action (1 byte), flags (1 byte), index (int32), value (int64), opt (float bits, so NaN
//   and infinities come through), payload length (uint16), payload bytes,
// all little-endian. Reading stops at the first incomplete record. The seed writer uses the
// same layout to write the committed corpus.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace velmora::fuzz {

struct DispatcherRecord {
  uint8_t action = 0;
  uint8_t flags = 0;
  int32_t index = 0;
  int64_t value = 0;
  float opt = 0.0f;
  std::vector<uint8_t> payload;
};

class RecordReader {
 public:
  RecordReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  bool Next(DispatcherRecord& record) {
    uint16_t length = 0;
    if (!Take(record.action) || !Take(record.flags) || !Take(record.index) || !Take(record.value) ||
        !Take(record.opt) || !Take(length) || size_ - position_ < length) {
      return false;
    }
    record.payload.assign(data_ + position_, data_ + position_ + length);
    position_ += length;
    return true;
  }

 private:
  template <typename T>
  bool Take(T& field) {
    if (size_ - position_ < sizeof(T)) {
      return false;
    }
    std::memcpy(&field, data_ + position_, sizeof(T));
    position_ += sizeof(T);
    return true;
  }

  const uint8_t* data_;
  size_t size_;
  size_t position_ = 0;
};

inline void AppendRecord(std::vector<uint8_t>& out, const DispatcherRecord& record) {
  const auto put = [&out](const void* field, size_t size) {
    const auto* bytes = static_cast<const uint8_t*>(field);
    out.insert(out.end(), bytes, bytes + size);
  };
  const auto length = static_cast<uint16_t>(record.payload.size());
  put(&record.action, 1);
  put(&record.flags, 1);
  put(&record.index, 4);
  put(&record.value, 8);
  put(&record.opt, 4);
  put(&length, 2);
  put(record.payload.data(), length);
}

}  // namespace velmora::fuzz
