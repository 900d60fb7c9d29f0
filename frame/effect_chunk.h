// A growable byte buffer holding encoded parameter values: the state of each program and the
// two chunks handed to the host. Capacity grows ahead of need so appending stays cheap.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace velmora {

class IEffectChunk {
 public:
  static constexpr int kDefaultGranularity = 4096;

  explicit IEffectChunk(int granularity = kDefaultGranularity);

  const uint8_t* Data() const { return bytes_.data(); }
  uint8_t* Data() { return bytes_.data(); }
  int Size() const { return static_cast<int>(bytes_.size()); }
  bool Empty() const { return bytes_.empty(); }

  void Clear() { bytes_.clear(); }
  // Makes room for size bytes now, so the chunk later grows to that size without allocating
  // (hosts may change programs or ask for chunks on their audio thread). False when memory
  // runs out or the size is negative.
  bool ReserveExactly(int size);
  // New bytes are zero. Returns false (and leaves the chunk as it was) when memory runs out
  // or the size is negative.
  bool Resize(int size);
  bool Append(const void* bytes, int count);
  // Replaces the contents with a copy of count bytes, in place when they fit the room held.
  // The bytes may be this chunk's own (a host handing back what it was given): they are
  // then copied before the old storage goes.
  bool Assign(const void* bytes, int count);
  bool AppendInt32(int32_t value);
  bool AppendDouble(double value);

  // Reads count bytes at position; false when they are not all inside the chunk.
  bool ReadAt(int position, void* bytes, int count) const;
  bool ReadInt32(int position, int32_t* value) const;
  bool ReadDouble(int position, double* value) const;

 private:
  bool Reserve(size_t needed);

  size_t granularity_;
  std::vector<uint8_t> bytes_;
};

}  // namespace velmora
